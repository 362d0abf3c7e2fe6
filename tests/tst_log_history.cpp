// A measurement log read back: days inferred from the header and the times,
// lines that are no data counted, gaps; the CSV of the window's export and of
// qzr17ctl log-csv; the decimation that draws it; the heating curve; which
// files open. Runs in the Prague time zone.
#include "Hl_modul.h"
#include "app_test_main.h"
#include "history_chart.h"
#include "log_decimation.h"
#include "log_history_window.h"
#include "param_record.h"
#include "param_set_file.h"
#include "scripted_prompts.h"
#include "stepped_clock.h"

#include <QCheckBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLineEdit>
#include <QProcess>
#include <QRandomGenerator>
#include <QScopeGuard>
#include <QStringEncoder>
#include <QWheelEvent>

#include <cmath>

Q_DECLARE_METATYPE(std::optional<HeatingCurve>)

namespace {

QByteArray logBytes(const QString& day, const QStringList& lines)
{
    const QStringList header{"C:\\zaznam.txt", "KV-36      Datum: " + day, QString(61, '-'),
                             "Teplota vody; venkovní teplota; žádaná; útlum; odchylka; čas",
                             QString(61, '-')};
    return QStringEncoder("windows-1250").encode((header + lines).join("\r\n") + "\r\n");
}

QString data(const QString& time)
{
    return "45,3;  -2,0;  40,0;  0,0;  5,3;  " + time;
}

QString mark(const QString& moment)
{
    return "# datum a čas " + moment;
}

QString writeFile(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes)
{
    QFile file(dir.filePath(name));
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
    return file.fileName();
}

struct CsvRun {
    int exitCode;
    QByteArray out;
    QString error;
};

QProcessEnvironment withLocale(const QString& locale, const QString& home = QString())
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("LC_ALL", locale);
    if (!home.isEmpty())
        environment.insert("HOME", home);
    return environment;
}

CsvRun runLogCsv(const QStringList& arguments, const QString& locale = QStringLiteral("C"))
{
    QProcess ctl;
    ctl.setProcessEnvironment(withLocale(locale));
    ctl.start(QStringLiteral(QZR17CTL_PATH), QStringList{"log-csv"} + arguments);
    ctl.waitForFinished();
    return {ctl.exitCode(), ctl.readAllStandardOutput(), QString::fromUtf8(ctl.readAllStandardError())};
}

// Each CSV converted to xlsx by LibreOffice under the given settings, with
// its text import dialog's defaults (split at commas, semicolons and tabs,
// the character set found from the file, only plain numbers), and its cells
// as openpyxl reads them: rows of [type, value], "n" number, "d" date, "s" text.
QJsonArray spreadsheetCells(const QString& folder, QStringList csvFiles, const QString& locale, int language)
{
    QProcess office;
    office.setProcessEnvironment(withLocale(locale, folder));
    office.start("soffice",
                 QStringList{"--headless", "--norestore", "--convert-to", "xlsx", "--outdir", folder,
                             QStringLiteral("--infilter=CSV:44/59/9,34,,1,,%1,false,false").arg(language)} +
                     csvFiles);
    QProcess reader;
    if (office.waitForFinished(180000) && office.exitCode() == 0)
        reader.start(
            "/usr/bin/python3",
            QStringList{"-c", "import json, sys, openpyxl\n"
                              "print(json.dumps([[[[c.data_type, c.value.isoformat() if c.data_type == 'd' "
                              "else c.value] for c in row] for row in openpyxl.load_workbook(f.replace("
                              "'.csv', '.xlsx')).active.iter_rows()] for f in sys.argv[1:]]))"} +
                csvFiles.replaceInStrings(QFileInfo(csvFiles.first()).path(), folder));
    reader.waitForFinished(60000);
    return QJsonDocument::fromJson(reader.readAllStandardOutput()).array();
}

// A history of `count` samples a second apart with random values.
LogHistory randomHistory(int count, int breakEvery, int nanEvery, bool spikes)
{
    LogHistory history;
    QRandomGenerator random(count);
    for (int i = 0; i < count; ++i) {
        history.times.push_back(1'000'000 + i + i / 7);
        float v = spikes ? (random.bounded(500) == 0 ? float(random.bounded(200) - 100) : 0.0f)
                         : float(random.generateDouble() * 100);
        history.values[0].push_back(nanEvery && i % nanEvery == 5 ? NAN : v);
        if (breakEvery && i % breakEvery == 3)
            history.breaks.push_back(i);
    }
    return history;
}

} // namespace

class TestLogHistory : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

private slots:
    void daysFromTheHeaderAndTheTimes_data()
    {
        QTest::addColumn<QString>("day");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QByteArray>("raw"); // as it is, after the lines
        QTest::addColumn<QStringList>("moments");
        QTest::addColumn<QList<qsizetype>>("breaks");
        QTest::addColumn<int>("skipped");
        QTest::addColumn<int>("undated"); // samples whose date is a guess
        QTest::newRow("midnight") << "07.12.26" << QStringList{data("23:59:59"), data("0:00:00")}
                                  << QByteArray()
                                  << QStringList{"2026-12-07T23:59:59+01:00", "2026-12-08T00:00:00+01:00"}
                                  << QList<qsizetype>{} << 0 << 0;
        QTest::newRow("two midnights")
            << "07.12.26" << QStringList{data("12:00:00"), data("23:00:00"), data("1:00:00"), data("0:30:00")}
            << QByteArray()
            << QStringList{"2026-12-07T12:00:00+01:00", "2026-12-07T23:00:00+01:00",
                           "2026-12-08T01:00:00+01:00", "2026-12-09T00:30:00+01:00"}
            << QList<qsizetype>{1, 3} << 0 << 1;
        // The days lost in a gap of more than a day leave no trace in the times.
        QTest::newRow("gap of more than a day")
            << "07.12.26" << QStringList{data("10:00:00"), data("10:00:01"), data("9:00:00")} << QByteArray()
            << QStringList{"2026-12-07T10:00:00+01:00", "2026-12-07T10:00:01+01:00",
                           "2026-12-08T09:00:00+01:00"}
            << QList<qsizetype>{2} << 0 << 1;
        QTest::newRow("hour repeated in autumn")
            << "25.10.26"
            << QStringList{data("2:59:58"), data("2:59:59"), data("2:00:00"), data("2:00:01"),
                           data("3:00:00")}
            << QByteArray()
            << QStringList{"2026-10-25T02:59:58+02:00", "2026-10-25T02:59:59+02:00",
                           "2026-10-25T02:00:00+01:00", "2026-10-25T02:00:01+01:00",
                           "2026-10-25T03:00:00+01:00"}
            << QList<qsizetype>{4} << 0 << 1;
        QTest::newRow("repeated hour after midnight")
            << "24.10.26" << QStringList{data("23:59:59"), data("2:30:00"), data("2:10:00")} << QByteArray()
            << QStringList{"2026-10-24T23:59:59+02:00", "2026-10-25T02:30:00+02:00",
                           "2026-10-25T02:10:00+01:00"}
            << QList<qsizetype>{1} << 0 << 2;
        QTest::newRow("english") << "12/7/26"
                                 << QStringList{"45.3;  -2.0;  40.0;  0.0;  5.3;  11:59:59 PM",
                                                "45.3;  -2.0;  40.0;  0.0;  5.3;  12:00:01 AM"}
                                 << QByteArray()
                                 << QStringList{"2026-12-07T23:59:59+01:00", "2026-12-08T00:00:01+01:00"}
                                 << QList<qsizetype>{} << 0 << 2; // 12/7/26 may be 12 July
        QTest::newRow("C locale, LF line ends")
            << "7 Dec 2026" << QStringList{}
            << QByteArray(
                   "45.3;  -2.0;  40.0;  0.0;  5.3;  13:04:05\n45.3;  -2.0;  40.0;  0.0;  5.3;  13:04:06\n")
            << QStringList{"2026-12-07T13:04:05+01:00", "2026-12-07T13:04:06+01:00"} << QList<qsizetype>{}
            << 0 << 0;
        // Garbage, a line short of a field, a second header, a cut last line;
        // the outage marks are neither data nor skipped.
        QTest::newRow("lines that are no data")
            << "07.12.26"
            << QStringList{data("8:00:00"),
                           "garbage",
                           "45,3;  -2,0;  40,0;  0,0;  8:00:01",
                           "# regulátor neodpovídá od 8:00:02",
                           "# regulátor odpovídá od 8:00:04",
                           data("8:00:04"),
                           "C:\\zaznam.txt",
                           "KV-36      Datum: 10.12.26",
                           QString(61, '-'),
                           "x",
                           QString(61, '-'),
                           data("7:00:00")}
            << QByteArray("45,3;  -2,0;  40,0;  0,0;  5,3;  7:00:0")
            << QStringList{"2026-12-07T08:00:00+01:00", "2026-12-07T08:00:04+01:00",
                           "2026-12-10T07:00:00+01:00"}
            << QList<qsizetype>{1, 2} << 8 << 1;
        // Unmarked, from an earlier version: the outage may have lasted days.
        QTest::newRow("outage, unmarked")
            << "07.12.26"
            << QStringList{data("10:00:00"), "# regulátor neodpovídá od 10:00:01", data("9:00:00")}
            << QByteArray() << QStringList{"2026-12-07T10:00:00+01:00", "2026-12-08T09:00:00+01:00"}
            << QList<qsizetype>{1} << 0 << 1;
        // Written by an earlier version under a Spanish locale.
        QTest::newRow("time zone brackets left behind")
            << "13/12/26" << QStringList{data("13:06:14 ( )"), data("13:06:15 ( )")} << QByteArray()
            << QStringList{"2026-12-13T13:06:14+01:00", "2026-12-13T13:06:15+01:00"} << QList<qsizetype>{}
            << 0 << 0;
    }

    void daysFromTheHeaderAndTheTimes()
    {
        QFETCH(QString, day);
        QFETCH(QStringList, lines);
        QFETCH(QByteArray, raw);
        QFETCH(QStringList, moments);
        QFETCH(QList<qsizetype>, breaks);
        QFETCH(int, skipped);
        QFETCH(int, undated);
        const LogReadResult result = readLogHistory(logBytes(day, lines) + raw);
        QVERIFY(std::holds_alternative<LogHistory>(result));
        const LogHistory& history = std::get<LogHistory>(result);
        QStringList read;
        for (qsizetype s = 0; s < history.size(); ++s)
            read.append(history.localTime(s).toString(Qt::ISODate));
        QCOMPARE(read, moments);
        QVERIFY(std::is_sorted(history.times.begin(), history.times.end()));
        QCOMPARE(QList<qsizetype>(history.breaks.begin(), history.breaks.end()), breaks);
        QCOMPARE(history.skippedLines, skipped);
        QCOMPARE(history.undatedSamples, undated);
    }

    void csvOfTheVisibleRangeAndOfTheWholeLog_data()
    {
        QTest::addColumn<QString>("day");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QStringList>("csv");
        // English numbers; the window's and the test's locale is C.
        const QStringList twoLines{
            "\uFEFFčas,posun od UTC,teplota vody,venkovní teplota,žádaná,útlum,odchylka",
            "2026-12-07T23:59:59,+01:00,45.3,-2.0,40.0,0.0,5.3",
            "2026-12-08T00:00:01,+01:00,45.3,-2.0,40.0,0.0,5.3", ""};
        QTest::newRow("czech") << "07.12.26" << QStringList{data("23:59:59"), data("0:00:01")} << twoLines;
        QTest::newRow("english") << "12/7/26"
                                 << QStringList{"45.3;  -2.0;  40.0;  0.0;  5.3;  11:59:59 PM",
                                                "45.3;  -2.0;  40.0;  0.0;  5.3;  12:00:01 AM"}
                                 << twoLines;
        QTest::newRow("no number, the first reading, exponent")
            << "07.12.26" << QStringList{"nan;  0;  1,2346E+05;  0;  -nan;  8:00:00"}
            << QStringList{twoLines.first(), "2026-12-07T08:00:00,+01:00,,0.0,1.2346e+05,0.0,", ""};
    }

    void csvOfTheVisibleRangeAndOfTheWholeLog()
    {
        QFETCH(QString, day);
        QFETCH(QStringList, lines);
        QFETCH(QStringList, csv);
        const QString log =
            writeFile(m_dir, QTest::currentDataTag() + QStringLiteral(".txt"), logBytes(day, lines));
        ScriptedPrompts prompts;
        prompts.fileNames = {m_dir.filePath("export.csv")};
        std::unique_ptr<LogHistoryWindow> window(LogHistoryWindow::open(log, nullptr));
        QVERIFY(window);
        window->tl_csvClick();
        QFile exported(m_dir.filePath("export.csv"));
        QVERIFY(exported.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(exported.readAll()).split("\r\n"), csv);
        QCOMPARE(QString::fromUtf8(runLogCsv({log}).out).split("\r\n"), csv);
    }

    // Exported under Czech and under English settings, by the window and by
    // qzr17ctl log-csv, and opened in LibreOffice under the same settings:
    // a readable header, times as dates, the offset as text, values as
    // numbers, no value where the log holds none.
    void csvOpensAsDataInASpreadsheet_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("systemLocale");
        QTest::addColumn<int>("officeLanguage");
        QTest::newRow("Czech settings") << QLocale(QLocale::Czech, QLocale::Czechia) << "cs_CZ.UTF-8" << 1029;
        QTest::newRow("English settings")
            << QLocale(QLocale::English, QLocale::UnitedStates) << "C.UTF-8" << 1033;
    }

    void csvOpensAsDataInASpreadsheet()
    {
        QFETCH(QLocale, locale);
        QFETCH(QString, systemLocale);
        QFETCH(int, officeLanguage);
        const auto restore = qScopeGuard([previous = QLocale()] { QLocale::setDefault(previous); });
        QLocale::setDefault(locale);
        const QString log =
            writeFile(m_dir, "tabulka.txt",
                      logBytes("07.12.26", {mark("2026-12-07T23:59:59+01:00"), data("23:59:59"),
                                            mark("2026-12-08T00:00:01+01:00"),
                                            "nan;  -2,0;  1,2346E+05;  0,0;  -0,1;  0:00:01"}));
        const QString exported = m_dir.filePath("okno-" + systemLocale + ".csv");
        ScriptedPrompts prompts;
        prompts.fileNames = {exported};
        std::unique_ptr<LogHistoryWindow> window(LogHistoryWindow::open(log, nullptr));
        window->tl_csvClick();
        const QString printed =
            writeFile(m_dir, "prikaz-" + systemLocale + ".csv", runLogCsv({log}, systemLocale).out);
        const QJsonArray expected = QJsonDocument::fromJson(R"([
            [["s", "čas"], ["s", "posun od UTC"], ["s", "teplota vody"], ["s", "venkovní teplota"],
             ["s", "žádaná"], ["s", "útlum"], ["s", "odchylka"]],
            [["d", "2026-12-07T23:59:59"], ["s", "+01:00"], ["n", 45.3], ["n", -2], ["n", 40], ["n", 0], ["n", 5.3]],
            [["d", "2026-12-08T00:00:01"], ["s", "+01:00"], ["n", null], ["n", -2], ["n", 123460], ["n", 0],
             ["n", -0.1]]])")
                                        .array();
        const QJsonArray sheets = spreadsheetCells(m_dir.filePath("xlsx-" + systemLocale),
                                                   {exported, printed}, systemLocale, officeLanguage);
        QCOMPARE(sheets.size(), 2);
        for (const QJsonValue& sheet : sheets)
            QCOMPARE(sheet.toArray(), expected);
    }

    // The main window logs under one locale, a computer with another reads
    // it: an afternoon and the next morning, on their dates.
    void logsOfAnyLocaleAreRead_data()
    {
        QTest::addColumn<QString>("writer");
        QTest::addColumn<QString>("reader");
        QTest::newRow("Slovak") << "sk_SK"
                                << "cs_CZ";
        QTest::newRow("Polish") << "pl_PL"
                                << "en_US";
        QTest::newRow("Hungarian") << "hu_HU"
                                   << "cs_CZ";
        QTest::newRow("Dutch") << "nl_NL"
                               << "en_GB";
        QTest::newRow("Spanish, a zone in brackets") << "es_ES"
                                                     << "cs_CZ";
        QTest::newRow("American, PM") << "en_US"
                                      << "de_DE";
        QTest::newRow("Canadian French, 13 h 06 min") << "fr_CA"
                                                      << "cs_CZ";
        QTest::newRow("Korean, PM in Hangul") << "ko_KR"
                                              << "cs_CZ";
        QTest::newRow("Egyptian Arabic, other digits") << "ar_EG"
                                                       << "cs_CZ";
    }

    void logsOfAnyLocaleAreRead()
    {
        QFETCH(QString, writer);
        QFETCH(QString, reader);
        const auto restore = qScopeGuard([previous = QLocale()] { QLocale::setDefault(previous); });
        QLocale::setDefault(QLocale(writer));
        const QString path = m_dir.filePath(writer + ".txt");
        SteppedClock clock(QDateTime(QDate(2026, 12, 7), QTime(13, 6, 14)));
        ScriptedPrompts prompts;
        prompts.fileNames = {path};
        QList<qint64> written;
        Tqzr17 window;
        window.FormCreate();
        window.setClock(&clock);
        window.mn_novyClick();
        for (const int step : {0, 12 * 60 * 60}) {
            clock.step(step);
            window.AppendLogLine();
            written.append(clock.now().toSecsSinceEpoch());
        }
        QLocale::setDefault(QLocale(reader));
        const LogReadResult result = readLogFile(path);
        QVERIFY(std::holds_alternative<LogHistory>(result));
        const LogHistory& history = std::get<LogHistory>(result);
        QCOMPARE(QList<qint64>(history.times.begin(), history.times.end()), written);
        QCOMPARE(history.undatedSamples + history.skippedLines, 0);
        const CsvRun csv = runLogCsv({path}, reader);
        QCOMPARE(csv.exitCode, 0);
        QCOMPARE(csv.out.count("\r\n"), 3);
    }

    void decimationKeepsEachColumnsExtremes_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("breakEvery");
        QTest::addColumn<int>("nanEvery");
        QTest::addColumn<bool>("spikes");
        QTest::addColumn<double>("share"); // of the time span shown, from its start
        QTest::addColumn<int>("columns");
        QTest::newRow("noise") << 100000 << 0 << 0 << false << 1.0 << 300;
        QTest::newRow("rare spikes") << 60000 << 0 << 0 << true << 1.0 << 257;
        QTest::newRow("breaks and no numbers") << 30000 << 777 << 1013 << false << 1.0 << 200;
        QTest::newRow("zoomed in") << 100000 << 0 << 0 << false << 0.07 << 640;
        QTest::newRow("fewer samples than columns") << 300 << 41 << 57 << false << 1.0 << 400;
    }

    void decimationKeepsEachColumnsExtremes()
    {
        QFETCH(int, count);
        QFETCH(int, breakEvery);
        QFETCH(int, nanEvery);
        QFETCH(bool, spikes);
        QFETCH(double, share);
        QFETCH(int, columns);
        const LogHistory history = randomHistory(count, breakEvery, nanEvery, spikes);
        const double from = double(history.times.front()) + 0.5;
        const double to = from + (double(history.times.back()) - from) * share;
        const QList<LogStretch> drawn =
            decimate(history, LogValue::Water, LogColumns(history, from, to, columns));
        const double width = (to - from) / columns;
        const auto columnOf = [&](double t) { return t < from ? -1 : int(std::floor((t - from) / width)); };
        std::map<int, std::pair<float, float>> extremes;
        for (qsizetype s = 0; s < history.size(); ++s) {
            const float v = history.value(LogValue::Water, s);
            if (!std::isnan(v) && history.times[s] >= from && history.times[s] < to) {
                auto [it, added] = extremes.try_emplace(columnOf(double(history.times[s])), v, v);
                it->second = {std::min(it->second.first, v), std::max(it->second.second, v)};
            }
        }
        std::map<int, QSet<float>> drawnValues;
        double previous = -1;
        for (const LogStretch& stretch : drawn)
            for (const QPointF& point : stretch) {
                QVERIFY(point.x() > previous); // in time order
                const bool afterBreak =
                    &point != &stretch.first() &&
                    std::any_of(history.breaks.begin(), history.breaks.end(), [&](qsizetype b) {
                        return history.times[b] > previous && history.times[b] <= point.x();
                    });
                QVERIFY2(!afterBreak, "a stretch joins across a break");
                previous = point.x();
                drawnValues[columnOf(point.x())].insert(float(point.y()));
            }
        for (const auto& [column, range] : extremes) {
            QVERIFY2(drawnValues[column].contains(range.first), qPrintable(QString::number(column)));
            QVERIFY2(drawnValues[column].contains(range.second), qPrintable(QString::number(column)));
        }
        QVERIFY(drawnValues.size() <= size_t(columns + 2));
    }

    void heatingCurveFromTheRegulatorOrASet_data()
    {
        QTest::addColumn<float>("readSp0");
        QTest::addColumn<float>("readSp20");
        QTest::addColumn<QByteArray>("setFile"); // chosen in the window when not empty
        QTest::addColumn<std::optional<HeatingCurve>>("curve");
        QTest::addColumn<int>("messages");
        ParamRecord record{};
        record.SP_0 = 75.0f;
        record.SP20 = 35.5f;
        record.DSER = 100, record.TPID = 5, record.INT = 1, record.DER = 1;
        const QByteArray set = param_set::formatSet(param_set::completeSet(record, "QZR 17", "1.0"));
        QTest::newRow("the regulator's last read")
            << 80.0f << 20.0f << QByteArray() << std::optional(HeatingCurve{80, 20}) << 0;
        QTest::newRow("never read") << 0.0f << 0.0f << QByteArray() << std::optional<HeatingCurve>() << 0;
        QTest::newRow("a parameter set")
            << 80.0f << 20.0f << set << std::optional(HeatingCurve{75, 35.5}) << 0;
        QTest::newRow("a file that is no set")
            << 80.0f << 20.0f << QByteArray("SP_0=1\n") << std::optional(HeatingCurve{80, 20}) << 1;
    }

    void heatingCurveFromTheRegulatorOrASet()
    {
        QFETCH(float, readSp0);
        QFETCH(float, readSp20);
        QFETCH(QByteArray, setFile);
        QFETCH(std::optional<HeatingCurve>, curve);
        QFETCH(int, messages);
        param_record.SP_0 = readSp0;
        param_record.SP20 = readSp20;
        ScriptedPrompts prompts;
        std::unique_ptr<LogHistoryWindow> window(LogHistoryWindow::open(
            writeFile(m_dir, "krivka.txt", logBytes("07.12.26", {data("8:00:00")})), nullptr));
        QVERIFY(window);
        window->tl_regulatorClick();
        if (!setFile.isEmpty()) {
            prompts.openFileNames = {writeFile(m_dir, "sada.qzr", setFile)};
            window->tl_sadaClick();
        }
        QCOMPARE(window->curveChart()->curve(), curve);
        QCOMPARE(prompts.calls.size(), messages);
    }

    // An hour at a line a second, driven by keys, the wheel and the mouse;
    // the range in seconds from the first line.
    void navigationStaysWithinTheLog_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<double>("from");
        QTest::addColumn<double>("to");
        QTest::addColumn<QString>("cursor"); // in the cursor's line
        QTest::newRow("+ zooms to the middle") << QStringList{"+"} << 899.75 << 2699.25 << "";
        QTest::newRow("- on the whole log") << QStringList{"-"} << 0.0 << 3599.0 << "";
        QTest::newRow("right arrow pans a tenth") << QStringList{"+", ">"} << 1079.7 << 2879.2 << "";
        QTest::newRow("panning stops at the end")
            << QStringList{"+"} + QStringList(6, ">") << 1799.5 << 3599.0 << "";
        QTest::newRow("Home shows the whole log") << QStringList{"+", "<", "home"} << 0.0 << 3599.0 << "";
        QTest::newRow("zooming stops at 20 s") << QStringList(20, "+") << 1789.5 << 1809.5 << "";
        QTest::newRow("the wheel keeps the moment under it")
            << QStringList{"wheel"} << 179.95 << 3059.15 << "";
        QTest::newRow("a rectangle dragged") << QStringList{"drag"} << 899.75 << 1799.5 << "";
        QTest::newRow("Ctrl and an arrow move the cursor")
            << QStringList{"ctrl>"} << 0.0 << 3599.0 << "8:29:59";
    }

    void navigationStaysWithinTheLog()
    {
        QFETCH(QStringList, steps);
        QFETCH(double, from);
        QFETCH(double, to);
        QFETCH(QString, cursor);
        QStringList lines;
        for (int second = 0; second < 3600; ++second)
            lines.append(data(QTime(8, 0).addSecs(second).toString("H:mm:ss")));
        std::unique_ptr<LogHistoryWindow> window(
            LogHistoryWindow::open(writeFile(m_dir, "hodina.txt", logBytes("07.12.26", lines)), nullptr));
        HistoryChart* chart = window->chart();
        const double start = double(window->history().times.front());
        const QRect plot = chart->plotRect();
        const QPoint quarter(plot.left() + plot.width() / 4, plot.center().y());
        const QPoint half(plot.left() + plot.width() / 2, plot.center().y());
        for (const QString& step : steps) {
            if (step == "wheel") {
                QWheelEvent wheel(quarter, chart->mapToGlobal(quarter), {}, {0, 120}, Qt::NoButton, {},
                                  Qt::NoScrollPhase, false);
                QApplication::sendEvent(chart, &wheel);
            } else if (step == "drag") {
                QTest::mousePress(chart, Qt::RightButton, {}, quarter);
                QTest::mouseMove(chart, half + QPoint(0, 40));
                QTest::mouseRelease(chart, Qt::RightButton, {}, half + QPoint(0, 40));
            } else {
                const QHash<QString, int> keys{{"+", Qt::Key_Plus},    {"-", Qt::Key_Minus},
                                               {">", Qt::Key_Right},   {"<", Qt::Key_Left},
                                               {"home", Qt::Key_Home}, {"ctrl>", Qt::Key_Right}};
                QTest::keyClick(chart, Qt::Key(keys.value(step)),
                                step == "ctrl>" ? Qt::ControlModifier : Qt::NoModifier);
            }
        }
        const double pixel = 3599.0 / plot.width(); // the mouse hits whole pixels
        QVERIFY2(std::abs(chart->from() - start - from) < pixel,
                 qPrintable(QString::number(chart->from() - start)));
        QVERIFY2(std::abs(chart->to() - start - to) < pixel,
                 qPrintable(QString::number(chart->to() - start)));
        QVERIFY(window->findChild<QLineEdit*>("ed_kurzor")->text().contains(cursor));
    }

    // The picture says what it shows: the file and the range above the
    // chart, below it a swatch of each value shown and of none hidden.
    void pictureTellsWhatItShows()
    {
        const QList<int> hidden{0, 4};
        ScriptedPrompts prompts;
        prompts.fileNames = {m_dir.filePath("obrazek.png")};
        std::unique_ptr<LogHistoryWindow> window(LogHistoryWindow::open(
            writeFile(m_dir, "obrazek.txt", logBytes("07.12.26", {data("8:00:00"), data("8:00:01")})),
            nullptr));
        for (const int value : hidden)
            window->findChild<QCheckBox*>(QStringLiteral("check_hodnota%1").arg(value + 1))->click();
        window->tl_obrazekClick();
        const QImage image(m_dir.filePath("obrazek.png"));
        QSet<QRgb> heading, legend;
        for (int x = 0; x < image.width(); ++x)
            for (int y = 0; y < 16; ++y)
                heading.insert(image.pixel(x, y)), legend.insert(image.pixel(x, image.height() - 1 - y));
        QVERIFY(image.height() > window->chart()->height() + 40 && heading.size() > 1);
        for (int value = 0; value < kLogValueCount; ++value)
            QCOMPARE(legend.contains(HistoryChart::colorOf(LogValue(value)).rgb()), !hidden.contains(value));
    }

    // Samples every ten seconds from 8:00:00 to 8:00:50, an outage, and
    // 9:00:00; the range and the cursor in seconds from the first sample.
    void cursorReadsOnlyWhatIsShown_data()
    {
        QTest::addColumn<QList<double>>("rangeAndCursor");
        QTest::addColumn<QString>("read");
        QTest::newRow("on a sample") << QList<double>{0, 3600, 10} << "8:00:10; teplota vody 45,3";
        QTest::newRow("nearest sample left of the range")
            << QList<double>{4, 24, 4} << "8:00:10; teplota vody";
        QTest::newRow("in the outage") << QList<double>{0, 3600, 1800} << "8:30:00: bez měření";
    }

    void cursorReadsOnlyWhatIsShown()
    {
        QFETCH(QList<double>, rangeAndCursor);
        QFETCH(QString, read);
        QStringList lines;
        for (int second = 0; second <= 50; second += 10)
            lines.append(data(QTime(8, 0).addSecs(second).toString("H:mm:ss")));
        lines += QStringList{"# regulátor neodpovídá od 8:01:00", data("9:00:00")};
        const auto restore = qScopeGuard([previous = QLocale()] { QLocale::setDefault(previous); });
        QLocale::setDefault(QLocale(QLocale::Czech, QLocale::Czechia));
        std::unique_ptr<LogHistoryWindow> window(
            LogHistoryWindow::open(writeFile(m_dir, "kurzor.txt", logBytes("07.12.26", lines)), nullptr));
        const double start = double(window->history().times.front());
        window->chart()->showRange(start + rangeAndCursor[0], start + rangeAndCursor[1]);
        window->chart()->setCursorAt(start + rangeAndCursor[2]);
        const QString shown = window->findChild<QLineEdit*>("ed_kurzor")->text();
        QVERIFY2(shown.contains(read), qPrintable(shown));
    }

    // qzr17ctl log-csv gives 0 exactly where the window opens; a file opened
    // again shows what was written since in the same window.
    void whichFilesOpen_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("isLog");
        QTest::addColumn<QString>("told"); // on log-csv's standard error
        QTest::newRow("a log") << logBytes("07.12.26", {mark("2026-12-07T08:00:00+01:00"), data("8:00:00"),
                                                        "x", "# regulátor neodpovídá od 8:00:01",
                                                        "# regulátor odpovídá od 8:00:09", data("8:00:09")})
                               << true << "Řádků s měřením: 2, vynechaných řádků: 1, výpadků regulátoru: 1\n";
        QTest::newRow("a log whose dates are guesses")
            << logBytes("07.12.26", {data("8:00:00"), data("8:00:01"), data("7:00:00")}) << true
            << "Řádků s měřením: 3, vynechaných řádků: 0, datum odhadnuto u 1 měření od řádku 8\n";
        QTest::newRow("a log not yet measured")
            << logBytes("07.12.26", {}) << true << "Řádků s měřením: 0, vynechaných řádků: 0\n";
        QTest::newRow("a log without a readable measurement")
            << logBytes("07.12.26", {"45,3;  -2,0;  40,0;  0,0;  5,3;  ??:??:??"}) << false
            << "není žádný čitelný řádek s měřením";
        QTest::newRow("empty file") << QByteArray() << false << "není záznam měření";
        QTest::newRow("a text file") << QByteArray("Teplota vody\r\n45,3\r\n") << false
                                     << "není záznam měření";
        QTest::newRow("a header without its day")
            << logBytes("", {data("8:00:00")}) << false << "není záznam měření";
        QTest::newRow("missing file") << QByteArray("missing") << false << "nelze přečíst";
    }

    void whichFilesOpen()
    {
        QFETCH(QByteArray, content);
        QFETCH(bool, isLog);
        QFETCH(QString, told);
        const QString path = content == "missing" ? m_dir.filePath("chybi.txt")
                                                  : writeFile(m_dir, QTest::currentDataTag(), content);
        ScriptedPrompts prompts;
        QWidget owner;
        LogHistoryWindow* window = LogHistoryWindow::open(path, &owner);
        QCOMPARE(window != nullptr, isLog);
        QCOMPARE(prompts.calls.size(), isLog ? 0 : 1);
        const CsvRun csv = runLogCsv({path});
        QCOMPARE(csv.exitCode, isLog ? 0 : 2);
        QVERIFY2(isLog ? csv.error == told : csv.error.contains(told), qPrintable(csv.error));
        if (!isLog)
            return;
        QFile grown(path);
        QVERIFY(grown.open(QIODevice::Append));
        grown.write(data("8:00:01").toLatin1() + "\r\n");
        grown.close();
        const qsizetype before = window->history().size();
        QCOMPARE(LogHistoryWindow::open(path, &owner), window);
        QCOMPARE(window->history().size(), before + 1);
    }
};

int main(int argc, char** argv)
{
    return runAppTest<TestLogHistory>(argc, argv);
}

#include "tst_log_history.moc"
