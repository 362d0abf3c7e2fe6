// Live polling of the main window against the simulator on a real
// pseudo-terminal: seconds counted from a stepped clock, readings shown,
// charted and logged, failed and broadcast readings, and the check box.
// Dialogs are answered through the prompts seam.
#include "app_test_main.h"
#include "Hl_modul.h"
#include "UnitPort.h"
#include "bus_protocol.h"
#include "deviation_chart.h"
#include "scripted_prompts.h"
#include "sim_process.h"
#include "stepped_clock.h"

#include <QAccessible>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>

#include <bit>
#include <limits>
#include <memory>

namespace {

const QDateTime kStart(QDate(2026, 3, 15), QTime(10, 0, 1));
const QStringList kPanels{"pa_voda", "pa_venkovni", "pa_sp", "pa_utlum", "pa_odchylka"};


// Table 16 as the regulator sends it: four floats big-endian, two bytes.
QByteArray measuredTable(float water, float outdoor, float demanded, float setback)
{
    QByteArray bytes;
    const auto put = [&](float value) {
        const auto bits = std::bit_cast<uint32_t>(value);
        for (int shift = 24; shift >= 0; shift -= 8)
            bytes.append(char(bits >> shift));
    };
    put(water);
    put(outdoor);
    bytes.append(char(0));
    put(demanded);
    put(setback);
    bytes.append(char(0));
    return bytes;
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestPolling : public QObject {
    Q_OBJECT

    QTemporaryDir m_portDir;
    QTemporaryDir m_logDir;
    std::unique_ptr<SimProcess> m_sim;
    SteppedClock m_clock{kStart};
    std::unique_ptr<Tqzr17> m_window;
    std::unique_ptr<Tport> m_link;

    QStringList panelTexts() const
    {
        QStringList texts;
        for (const QString& name : kPanels)
            texts.append(m_window->findChild<QLabel*>(name)->text());
        return texts;
    }

    QWidget* lamp() const { return m_window->findChild<QWidget*>("pa_prijem"); }

    // One tick of Timer1 as an event, after the clock moved on by `seconds`.
    void tick(int seconds = 1)
    {
        m_clock.step(seconds);
        Tqzr17* window = m_window.get();
        QMetaObject::invokeMethod(window, [window] { window->Timer1Timer(); }, Qt::QueuedConnection);
        QCoreApplication::processEvents();
    }

    void pin(float water, float outdoor, float demanded, float setback)
    {
        QVERIFY(m_sim->setTable(16, measuredTable(water, outdoor, demanded, setback)));
    }

    void check(bool on)
    {
        m_window->check_spust->setChecked(on);
    }

    QString logFile(const QString& name) const { return m_logDir.filePath(name); }

private slots:
    void initTestCase()
    {
        qputenv("KV36_PORT_DIR", m_portDir.path().toLocal8Bit());
        m_sim = std::make_unique<SimProcess>(QStringList{"--com", "1"});
        QVERIFY(m_sim->start());
        QTRY_VERIFY(QFileInfo::exists(m_portDir.filePath("COM1")));
    }

    void init()
    {
        m_clock.reset();
        m_window = std::make_unique<Tqzr17>();
        m_window->FormCreate();
        m_window->setClock(&m_clock);
        m_link = std::make_unique<Tport>(m_window->store(), m_window.get());
        m_link->FormCreate();
        bus_protocol::AttachPort(m_link.get());
        bus_protocol::SetDestinationAddress(0);
        QCOMPARE(m_sim->command("silent off"), QStringLiteral("OK"));
        pin(45.26f, -2.04f, 40.04f, 0.0f);
    }

    void cleanup()
    {
        bus_protocol::AttachPort(nullptr);
        m_link.reset();
        m_window.reset();
    }

    void firstCountedSecondReadsShowsChartsAndLogs()
    {
        ScriptedPrompts prompts;
        prompts.fileNames = {logFile("prvni.txt")};
        check(true);
        QVERIFY(m_window->Timer1->isActive());
        tick();
        QCOMPARE(panelTexts(), (QStringList{"45,3", "-2,0", "40,0", "0,0", "5,3"}));
        QCOMPARE(m_window->Chart1->count(), 1);
        QCOMPARE(m_window->log().lineCount(), 7);
        pin(50.0f, 1.0f, 41.0f, 2.0f);
        tick();
        QCOMPARE(panelTexts(), (QStringList{"50,0", "1,0", "41,0", "2,0", "9,0"}));
        QCOMPARE(m_window->Chart1->count(), 2);
        QCOMPARE(m_window->log().lineCount(), 8);
        // The same second again counts nothing.
        tick(0);
        QCOMPARE(m_window->Chart1->count(), 2);
        QCOMPARE(m_window->log().lineCount(), 8);
        QVERIFY(prompts.calls.isEmpty());
    }

    void intervalsCountNewSeconds_data()
    {
        QTest::addColumn<int>("chartInterval");
        QTest::addColumn<int>("fileInterval");
        QTest::addColumn<int>("seconds");
        QTest::addColumn<int>("readings");
        QTest::addColumn<int>("lines");
        QTest::newRow("1 and 1") << 1 << 1 << 6 << 6 << 6;
        QTest::newRow("5 and 60") << 5 << 60 << 125 << 25 << 3;
        QTest::newRow("0 means every second") << 0 << 0 << 4 << 4 << 4;
        QTest::newRow("3 and 2") << 3 << 2 << 9 << 3 << 5;
    }

    void intervalsCountNewSeconds()
    {
        QFETCH(int, chartInterval);
        QFETCH(int, fileInterval);
        QFETCH(int, seconds);
        QFETCH(int, readings);
        QFETCH(int, lines);
        m_window->chart_interval = chartInterval;
        m_window->file_interval = fileInterval;
        m_window->chart_tick = chartInterval;
        m_window->file_tick = fileInterval;
        for (int s = 0; s < seconds; ++s)
            tick();
        QCOMPARE(m_window->Chart1->count(), readings);
        QCOMPARE(m_window->log().lineCount(), lines + 1); // and the date mark before the first;
    }

    void firstReadingAndLogLineComeAtOnceThenEveryInterval()
    {
        m_window->chart_interval = m_window->chart_tick = 5;
        m_window->file_interval = m_window->file_tick = 60;
        tick();
        QCOMPARE(m_window->Chart1->count(), 1);
        QCOMPARE(m_window->log().lineCount(), 2);
        for (int s = 0; s < 4; ++s)
            tick();
        QCOMPARE(m_window->Chart1->count(), 1);
        tick();
        QCOMPARE(m_window->Chart1->count(), 2);
        for (int s = 0; s < 54; ++s)
            tick();
        QCOMPARE(m_window->log().lineCount(), 2);
        QCOMPARE(m_window->Chart1->count(), 12);
        // The 61st counted second reads and logs; the line holds the fresh values.
        pin(60.0f, 5.0f, 55.0f, 1.0f);
        tick();
        QCOMPARE(m_window->log().lineCount(), 3);
        QVERIFY(m_window->log().line(2).startsWith(QStringLiteral("60,0;  5,0;  55,0;  1,0;  5,0;  ")));
    }

    void valuesShowAsTheyAreRounded_data()
    {
        QTest::addColumn<float>("water");
        QTest::addColumn<float>("outdoor");
        QTest::addColumn<float>("demanded");
        QTest::addColumn<QStringList>("shown");
        QTest::newRow("deviation of the rounded values") << 45.26f << -2.04f << 40.04f
                                                         << QStringList{"45,3", "-2,0", "40,0", "0,0", "5,3"};
        QTest::newRow("below zero rounds to plain zero") << 40.0f << -0.04f << 40.02f
                                                          << QStringList{"40,0", "0,0", "40,0", "0,0", "0,0"};
        QTest::newRow("negative deviation") << 38.44f << 10.0f << 40.0f
                                            << QStringList{"38,4", "10,0", "40,0", "0,0", "-1,6"};
        QTest::newRow("five digits before the decimal") << 12345.67f << 1234.56f << 0.0f
                                                        << QStringList{"12345,7", "1234,6", "0,0", "0,0", "12345,7"};
        QTest::newRow("x.x5 floats just above, rounded once") << 20.45f << 45.15f << 0.15f
                                                              << QStringList{"20,5", "45,2", "0,2", "0,0", "20,3"};
        QTest::newRow("x.x5 floats just below, rounded once") << 45.35f << -20.45f << 45.24996f
                                                              << QStringList{"45,3", "-20,5", "45,2", "0,0", "0,1"};
        QTest::newRow("exponent from 100000") << 123456.0f << -100000.0f << 40.0f
                                              << QStringList{"1,2346E+05", "-1,0000E+05", "40,0", "0,0", "1,2342E+05"};
    }

    void valuesShowAsTheyAreRounded()
    {
        QFETCH(float, water);
        QFETCH(float, outdoor);
        QFETCH(float, demanded);
        QFETCH(QStringList, shown);
        pin(water, outdoor, demanded, 0.0f);
        tick();
        QCOMPARE(panelTexts(), shown);
        // Screen readers read each panel's caption as its name and what it shows as its value.
        for (qsizetype i = 0; i < kPanels.size(); ++i) {
            QAccessibleInterface* panel = QAccessible::queryAccessibleInterface(m_window->findChild<QLabel*>(kPanels[i]));
            QCOMPARE(panel->text(QAccessible::Value), shown[i]);
            QVERIFY(!panel->text(QAccessible::Name).isEmpty() && panel->text(QAccessible::Name) != shown[i]);
        }
        const double deviation = QLocale().toDouble(shown.constLast());
        QCOMPARE(m_window->Chart1->pointAt(0).y, double(float(deviation)));
    }

    void aValueThatIsNoNumberIsShownButNotCharted()
    {
        ScriptedPrompts prompts;
        pin(std::numeric_limits<float>::quiet_NaN(), 0.0f, 40.0f, 0.0f);
        tick();
        QCOMPARE(panelTexts().constFirst(), QStringLiteral("nan"));
        QCOMPARE(panelTexts().constLast(), QStringLiteral("nan"));
        QCOMPARE(m_window->Chart1->count(), 0);
        QVERIFY(prompts.calls.isEmpty());
    }

    void lampFlashesAfterAReading()
    {
        QVERIFY(lamp()->isHidden());
        tick();
        QVERIFY(!lamp()->isHidden());
        QVERIFY(m_window->Timer2->isActive());
        QTRY_VERIFY(lamp()->isHidden());
        QVERIFY(!m_window->Timer2->isActive());
    }

    void failedReadingChangesNothingAndMarksTheOutage()
    {
        ScriptedPrompts prompts;
        tick();
        QTRY_VERIFY(lamp()->isHidden());
        const QStringList before = panelTexts();
        QCOMPARE(m_sim->command("silent on"), QStringLiteral("OK"));
        pin(60.0f, 5.0f, 55.0f, 1.0f);
        tick();
        QCOMPARE(panelTexts(), before);
        QCOMPARE(m_window->Chart1->count(), 1);
        QVERIFY(lamp()->isHidden());
        QCOMPARE(m_window->point_x, 1.0);
        QCOMPARE(m_window->log().lineCount(), 3);
        QCOMPARE(m_window->log().line(2), QStringLiteral("# regulátor neodpovídá od 10:00:03"));
        QVERIFY(prompts.calls.isEmpty());
        // Polling goes on at the next interval.
        QCOMPARE(m_sim->command("silent off"), QStringLiteral("OK"));
        tick();
        QCOMPARE(panelTexts().constFirst(), QStringLiteral("60,0"));
        QCOMPARE(m_window->Chart1->count(), 2);
        QCOMPARE(m_window->Chart1->pointAt(1).x, 2.0);
    }

    // No data line repeats values that were not measured.
    void anOutageIsMarkedNotLogged_data()
    {
        QTest::addColumn<int>("fileInterval");
        QTest::addColumn<QString>("answers"); // a tick each: + answered, - silent
        QTest::addColumn<QStringList>("lines");
        const QString data = QStringLiteral("45,3;  -2,0;  40,0;  0,0;  5,3;  10:00:%1");
        const QString began = QStringLiteral("# regulátor neodpovídá od 10:00:%1");
        const QString ended = QStringLiteral("# regulátor odpovídá od 10:00:%1");
        QTest::newRow("silent for two") << 1 << "+--+"
                                        << QStringList{data.arg("02"), began.arg("03"), ended.arg("05"), data.arg("05")};
        QTest::newRow("silent from the first") << 1 << "--+" << QStringList{began.arg("02"), ended.arg("04"), data.arg("04")};
        QTest::newRow("between log lines") << 5 << "+-++++"
                                           << QStringList{data.arg("02"), began.arg("03"), ended.arg("04"), data.arg("07")};
        QTest::newRow("silent when the line is due") << 2 << "+--" << QStringList{data.arg("02"), began.arg("03")};
    }

    void anOutageIsMarkedNotLogged()
    {
        QFETCH(int, fileInterval);
        QFETCH(QString, answers);
        QFETCH(QStringList, lines);
        m_window->file_interval = m_window->file_tick = fileInterval;
        for (const QChar answer : answers) {
            QCOMPARE(m_sim->command(answer == u'+' ? "silent off" : "silent on"), QStringLiteral("OK"));
            tick();
        }
        QStringList logged; // after the date mark before the first line
        for (qsizetype i = 1; i < m_window->log().lineCount(); ++i)
            logged.append(m_window->log().line(i));
        QCOMPARE(logged, lines);
    }

    void broadcastReadingFlashesAndAddsAPoint()
    {
        tick();
        QTRY_VERIFY(lamp()->isHidden());
        bus_protocol::SetDestinationAddress(bus_protocol::kBroadcastAddress);
        pin(60.0f, 5.0f, 55.0f, 1.0f);
        tick();
        QVERIFY(!lamp()->isHidden());
        QCOMPARE(panelTexts(), (QStringList{"45,3", "-2,0", "40,0", "0,0", "5,3"}));
        QCOMPARE(m_window->Chart1->count(), 2);
    }

    void dataLineOfTheLogFile()
    {
        ScriptedPrompts prompts;
        prompts.fileNames = {logFile("radek.txt")};
        pin(45.3f, -2.0f, 40.0f, 0.0f);
        check(true);
        tick();
        const QByteArray rule = "\r\n" + QByteArray(61, '-') + "\r\n";
        const QByteArray bytes = readAll(logFile("radek.txt"));
        const QByteArray afterHeader = bytes.mid(bytes.lastIndexOf(rule) + rule.size());
        // The first line follows the date mark.
        QVERIFY(afterHeader.startsWith("# datum a \xE8" "as "));
        QVERIFY(afterHeader.endsWith("\r\n45,3;  -2,0;  40,0;  0,0;  5,3;  10:00:02\r\n"));
    }

    void uncheckingAndCheckingKeepsTheCountersAndRewritesTheFile()
    {
        ScriptedPrompts prompts;
        prompts.fileNames = {logFile("znovu.txt")};
        m_window->chart_interval = m_window->chart_tick = 5;
        m_window->file_interval = m_window->file_tick = 60;
        check(true);
        for (int s = 0; s < 3; ++s)
            tick();
        check(false);
        QVERIFY(!m_window->Timer1->isActive());
        const int chartTick = m_window->chart_tick;
        const int fileTick = m_window->file_tick;
        QCOMPARE(chartTick, 2);
        QCOMPARE(fileTick, 2);
        QVERIFY(QFile::remove(logFile("znovu.txt")));
        check(true);
        QVERIFY(m_window->Timer1->isActive());
        QCOMPARE(m_window->chart_tick, chartTick);
        QCOMPARE(m_window->file_tick, fileTick);
        QCOMPARE(readAll(logFile("znovu.txt")).count("\r\n"), 7);
        QCOMPARE(prompts.fileRequests.size(), 1);
    }

    // Screen readers and UI automation toggle the box through its accessible
    // action, which emits no click.
    void accessibleToggleRunsTheHandlerOnce()
    {
        ScriptedPrompts prompts;
        QAccessibleActionInterface* box =
            QAccessible::queryAccessibleInterface(m_window->check_spust)->actionInterface();
        box->doAction(QAccessibleActionInterface::toggleAction());
        QVERIFY(m_window->check_spust->isChecked());
        QVERIFY(m_window->Timer1->isActive());
        QCOMPARE(prompts.fileRequests.size(), 1);
        box->doAction(QAccessibleActionInterface::toggleAction());
        QVERIFY(!m_window->Timer1->isActive());
        QCOMPARE(prompts.fileRequests.size(), 1);
    }

    // Counting up to the largest interval must not overflow the count.
    void largestIntervalsStillCount()
    {
        const int largest = std::numeric_limits<int>::max();
        m_window->chart_interval = m_window->chart_tick = largest;
        m_window->file_interval = m_window->file_tick = largest;
        tick();
        QCOMPARE(m_window->Chart1->count(), 1);
        QCOMPARE(m_window->log().lineCount(), 2);
        tick();
        QCOMPARE(m_window->chart_tick, 1);
        QCOMPARE(m_window->Chart1->count(), 1);
    }

    void checkingWithoutALogAsksAndPollsEvenWhenCancelled()
    {
        ScriptedPrompts prompts;
        check(true);
        QCOMPARE(prompts.fileRequests.size(), 1);
        QVERIFY(m_window->Timer1->isActive());
        QVERIFY(!m_window->log_named);
        tick();
        QCOMPARE(m_window->log().lineCount(), 2);
        QVERIFY(QDir(m_logDir.path()).entryList(QDir::Files).filter("neni").isEmpty());
    }

    void checkingWithALogThatCannotBeWrittenStillPolls()
    {
        ScriptedPrompts prompts;
        const QString folder = logFile("odpojeny");
        QVERIFY(QDir().mkpath(folder));
        prompts.fileNames = {folder + "/zaznam.txt"};
        m_window->mn_novyClick();
        QVERIFY(QDir(folder).removeRecursively());
        Tqzr17* window = m_window.get();
        QMetaObject::invokeMethod(window, [window] { window->check_spust->setChecked(true); }, Qt::QueuedConnection);
        QCoreApplication::processEvents();
        QCOMPARE(prompts.texts(), QStringList{QStringLiteral("Cannot create file %1/zaznam.txt.").arg(folder)});
        QVERIFY(m_window->Timer1->isActive());
    }

    void theRealTimerPollsTheRealClock()
    {
        m_window->setClock(nullptr);
        check(true);
        QTRY_VERIFY_WITH_TIMEOUT(m_window->Chart1->count() >= 2, 5000);
        QVERIFY(m_window->log().lineCount() >= 2);
    }
};

int main(int argc, char** argv) { return runAppTest<TestPolling>(argc, argv, QLocale(QLocale::Czech, QLocale::CzechRepublic)); }

#include "tst_polling.moc"
