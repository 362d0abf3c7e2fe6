// The deviation chart of the main window: the point limit, the legend's first
// row, the pen colour and its dialog, the outline drawn for many points, and
// printing through the printer set-up of the prompts seam.
#include "app_test_main.h"
#include "Hl_modul.h"
#include "chart_points.h"
#include "deviation_chart.h"
#include "scripted_prompts.h"
#include "value_legend.h"

#include <QFile>
#include <QFrame>
#include <QImage>
#include <QPrinter>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

namespace {

// Ends the test run when the GUI thread does not come back in time, so that
// a hang fails instead of stalling the suite.
class Watchdog {
public:
    explicit Watchdog(std::chrono::seconds limit)
        : m_thread([this, limit] {
              std::unique_lock lock(m_mutex);
              if (!m_done.wait_for(lock, limit, [this] { return m_finished; }))
                  qFatal("the GUI thread did not come back within %lld s", static_cast<long long>(limit.count()));
          })
    {
    }
    ~Watchdog()
    {
        {
            std::lock_guard lock(m_mutex);
            m_finished = true;
        }
        m_done.notify_one();
        m_thread.join();
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_done;
    bool m_finished = false;
    std::thread m_thread;
};

constexpr qsizetype kBudget = 800;

// Answers the printer set-up as a user who prints to a PDF file.
class PdfPrompts : public ScriptedPrompts {
public:
    QString pdfPath;

    bool printerSetup(QPrinter& printer, QWidget* owner) override
    {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdfPath);
        return ScriptedPrompts::printerSetup(printer, owner);
    }
};

int pageCount(const QByteArray& pdf)
{
    static const QRegularExpression page(QStringLiteral("/Type\\s*/Page(?!s)"));
    return static_cast<int>(QString::fromLatin1(pdf).count(page));
}

} // namespace

class TestDeviationChart : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

    std::unique_ptr<Tqzr17> startMain()
    {
        auto window = std::make_unique<Tqzr17>();
        window->FormCreate();
        return window;
    }

    static void addPoints(Tqzr17& window, int count)
    {
        for (int i = 0; i < count; ++i)
            window.AddChartPoint(static_cast<float>(i % 7) - 3.0f);
    }

private slots:
    void theSeriesKeepsOneMoreThanTheLimit_data()
    {
        QTest::addColumn<int>("limit");
        QTest::addColumn<int>("added");
        QTest::addColumn<int>("count");
        QTest::addColumn<double>("firstX");
        QTest::newRow("the 401st point deletes nothing") << 400 << 401 << 401 << 1.0;
        QTest::newRow("the 402nd deletes the oldest") << 400 << 402 << 401 << 2.0;
        QTest::newRow("steady at 401") << 400 << 1000 << 401 << 600.0;
        QTest::newRow("limit 0 keeps one point") << 0 << 5 << 1 << 5.0;
        QTest::newRow("limit 1 keeps two") << 1 << 5 << 2 << 4.0;
    }

    void theSeriesKeepsOneMoreThanTheLimit()
    {
        QFETCH(int, limit);
        QFETCH(int, added);
        QFETCH(int, count);
        QFETCH(double, firstX);
        auto window = startMain();
        window->point_limit = limit;
        addPoints(*window, added);
        QCOMPARE(window->Chart1->count(), count);
        QCOMPARE(window->Chart1->pointAt(0).x, firstX);
        QCOMPARE(window->Chart1->pointAt(count - 1).x, double(added));
        QCOMPARE(window->point_x, double(added));
    }

    void aLoweredLimitDoesNotShrinkTheSeries()
    {
        auto window = startMain();
        addPoints(*window, 50);
        window->point_limit = 10;
        addPoints(*window, 5);
        QCOMPARE(window->Chart1->count(), 50);
        QCOMPARE(window->Chart1->pointAt(0).x, 6.0);
        window->point_limit = 60;
        addPoints(*window, 30);
        QCOMPARE(window->Chart1->count(), 61);
    }

    void theLegendListsThePointsBeforeTheNewest()
    {
        auto window = startMain();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        const int capacity = window->Chart1->legend()->rowCapacity();
        QVERIFY(capacity > 3);
        for (int i = 0; i < capacity + 20; ++i) {
            window->AddChartPoint(float(i));
            QCoreApplication::processEvents();
            window->Chart1->legend()->repaint();
        }
        QCOMPARE(window->Chart1->legendRowsShown(), capacity);
        // At the last point, capacity + 19 points preceded it.
        QCOMPARE(window->Chart1->legendFirstIndex(), 19);
    }

    void aNewColourRecoloursTheWholeLine()
    {
        ScriptedPrompts prompts;
        const QColor blue(0, 0, 200);
        prompts.colors = {blue, std::nullopt};
        auto window = startMain();
        addPoints(*window, 3);
        window->tl_barva_peraClick();
        QCOMPARE(window->pen_color, blue);
        QCOMPARE(window->Chart1->penColor(), blue);
        QCOMPARE(window->findChild<QFrame*>("pa_barva_pera")->palette().color(QPalette::Window), blue);
        QCOMPARE(QColor(window->Chart1->pointAt(0).color), QColor(Qt::red));
        window->AddChartPoint(1.0f);
        QCOMPARE(QColor(window->Chart1->pointAt(3).color), blue);
        // Cancelled: nothing changes, and the dialog opened with the colour
        // last chosen in it, not with the pen colour.
        window->pen_color = QColor(1, 2, 3);
        window->tl_barva_peraClick();
        QCOMPARE(window->pen_color, QColor(1, 2, 3));
        QCOMPARE(window->Chart1->penColor(), blue);
        QCOMPARE(prompts.colorInitials, (QList<QColor>{Qt::black, blue}));
    }

    void aCancelledPrinterSetUpPrintsNothing()
    {
        PdfPrompts prompts;
        prompts.pdfPath = m_dir.filePath("zruseno.pdf");
        prompts.printerAnswers = {false};
        auto window = startMain();
        addPoints(*window, 10);
        window->mn_printClick();
        QCOMPARE(prompts.printerCalls, 1);
        QVERIFY(!QFile::exists(prompts.pdfPath));
    }

    void printingGivesOnePageShowingTheChart()
    {
        PdfPrompts prompts;
        prompts.pdfPath = m_dir.filePath("graf.pdf");
        prompts.printerAnswers = {true};
        auto window = startMain();
        window->pen_color = QColor(0, 0, 255);
        window->Chart1->setPenColor(window->pen_color);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        for (int i = 0; i < 60; ++i)
            window->AddChartPoint(float(10.0 * std::sin(i / 5.0)));
        window->mn_printClick();
        QFile pdf(prompts.pdfPath);
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        QCOMPARE(pageCount(pdf.readAll()), 1);

        const QString png = m_dir.filePath("graf");
        QCOMPARE(QProcess::execute("pdftoppm", {"-r", "30", "-png", "-singlefile", prompts.pdfPath, png}), 0);
        const QImage page(png + ".png");
        QVERIFY(!page.isNull());
        int ink = 0;
        int line = 0;
        for (int y = 0; y < page.height(); ++y)
            for (int x = 0; x < page.width(); ++x) {
                const QColor c = page.pixelColor(x, y);
                ink += c.lightness() < 200;
                line += c.blue() > 150 && c.red() < 100 && c.green() < 100;
            }
        QVERIFY2(ink > page.width() * page.height() / 200, "the page is blank");
        QVERIFY2(line > 20, "the chart's line is not on the page");
    }

    void fewPointsAreDrawnAsTheyAre()
    {
        auto window = startMain();
        addPoints(*window, 30);
        QCoreApplication::processEvents();
        const QList<QPointF> drawn = window->Chart1->drawnPoints();
        QCOMPARE(drawn.size(), 30);
        QCOMPARE(drawn[29], QPointF(30.0, 29 % 7 - 3.0));
    }

    void theOutlineKeepsEveryPeak_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("peakAt");
        QTest::addColumn<int>("removed");
        QTest::newRow("in the oldest block") << 101000 << 3 << 0;
        QTest::newRow("at the oldest point after removals") << 101000 << 7000 << 7000;
        QTest::newRow("in the middle") << 101000 << 50321 << 1000;
        QTest::newRow("at the newest point") << 101000 << 100999 << 1000;
        QTest::newRow("just over the budget") << 1000 << 517 << 190;
    }

    void theOutlineKeepsEveryPeak()
    {
        QFETCH(int, count);
        QFETCH(int, peakAt);
        QFETCH(int, removed);
        ChartPoints points;
        QRandomGenerator random(42);
        for (int i = 0; i < count; ++i) {
            const double y = i == peakAt ? 500.0 : i == peakAt + 1 ? -500.0 : random.bounded(20.0) - 10.0;
            points.append({double(i + 1), y, 0});
        }
        for (int i = 0; i < removed; ++i)
            points.removeFirst();
        const QList<QPointF> drawn = points.outline(kBudget);
        QVERIFY(drawn.size() <= kBudget);
        // Fine enough to follow the line: most groups give two points.
        QVERIFY(drawn.size() >= kBudget / 2);
        QCOMPARE(drawn.constFirst().x(), points.at(0).x);
        QCOMPARE(drawn.constLast().x(), points.at(points.size() - 1).x);
        for (qsizetype i = 1; i < drawn.size(); ++i)
            QVERIFY(drawn[i].x() > drawn[i - 1].x());
        const double peakX = peakAt + 1;
        if (peakX >= points.at(0).x)
            QVERIFY(drawn.contains(QPointF(peakX, 500.0)));
        if (peakX + 1 <= points.at(points.size() - 1).x)
            QVERIFY(drawn.contains(QPointF(peakX + 1, -500.0)));
        const auto [low, high] = points.yRange();
        QCOMPARE(high, 500.0);
        QCOMPARE(low, peakX + 1 <= points.at(points.size() - 1).x ? -500.0 : low);
    }

    // A garbled reading can chart values whose ticks of a normal range would
    // not change the number when added to it.
    void hugeEqualValuesStillDraw_data()
    {
        QTest::addColumn<QList<double>>("values");
        QTest::newRow("4e15, all equal") << QList<double>{4e15, 4e15, 4e15};
        QTest::newRow("1e16 and 1e16 + 4") << QList<double>{1e16, 1e16 + 4};
        QTest::newRow("1e30") << QList<double>{1e30, 1e30};
        QTest::newRow("-1e30") << QList<double>{-1e30};
    }

    void hugeEqualValuesStillDraw()
    {
        QFETCH(QList<double>, values);
        DeviationChart chart;
        chart.resize(600, 300);
        chart.show();
        Watchdog watchdog(std::chrono::seconds(30));
        for (double value : values)
            chart.addPoint(chart.count() + 1, value, Qt::red);
        QTRY_COMPARE(chart.drawnPoints().size(), values.size());
        QVERIFY(!chart.grab().isNull());
    }

    void theRangeForgetsRemovedPoints()
    {
        ChartPoints points;
        points.append({1, 100.0, 0});
        for (int i = 2; i <= 200; ++i)
            points.append({double(i), double(i % 5), 0});
        points.removeFirst();
        QCOMPARE(points.yRange(), std::make_pair(0.0, 4.0));
        while (points.size() > 1)
            points.removeFirst();
        QCOMPARE(points.yRange(), std::make_pair(0.0, 0.0));
        points.removeFirst();
        points.append({300, -7.0, 0});
        QCOMPARE(points.yRange(), std::make_pair(-7.0, -7.0));
        QCOMPARE(points.outline(10), QList<QPointF>{QPointF(300, -7.0)});
    }
};

int main(int argc, char** argv) { return runAppTest<TestDeviationChart>(argc, argv, QLocale(QLocale::Czech, QLocale::CzechRepublic)); }

#include "tst_deviation_chart.moc"
