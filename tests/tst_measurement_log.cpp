// The measurement log: the file's bytes after every line, also when the file
// changed behind the program's back or the program was killed, failures
// reported once a run, and the commands New..., Save and Save as... of the
// main window with their save dialog answered through the prompts seam.
#include "Hl_modul.h"
#include "app_test_main.h"
#include "appended_log.h"
#include "encoded_lines.h"
#include "language.h"
#include "log_history.h"
#include "log_lines.h"
#include "measurement_log.h"
#include "qt_prompts.h"
#include "scripted_prompts.h"
#include "stepped_clock.h"

#include "app_error.h"

#include <QAbstractButton>
#include <QBuffer>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimeZone>
#include <QTimer>

#include <sys/stat.h>

#include <cstdio>
#include <memory>

namespace {

const QDateTime kStart(QDate(2026, 3, 15), QTime(10, 0, 1));
const QByteArray kRule = QByteArray(61, '-') + "\r\n";
// The column header in Windows-1250: í E9→ED, ž 9E, á E1, ú FA, č E8.
const QByteArray kColumns = "Teplota vody; venkovn\xED teplota; \x9E\xE1" "dan\xE1; \xFAtlum; odchylka; \xE8" "as\r\n";


QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray headerBytes(const QString& path, const QByteArray& date)
{
    return path.toLocal8Bit() + "\r\nKV-36      Datum: " + date + "\r\n" + kRule + kColumns + kRule;
}

// What a full rewrite of the log would write.
QByteArray allLines(const MeasurementLog& log)
{
    QStringEncoder encoder("windows-1250");
    QByteArray bytes;
    for (qsizetype i = 0; i < log.lineCount(); ++i)
        bytes += encoder.encode(log.line(i)) + "\r\n";
    return bytes;
}

ino_t inodeOf(const QString& path)
{
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_ino : 0;
}

void touch(const QString& path, const QByteArray& bytes, bool keepTime)
{
    QFile file(path);
    const QDateTime modified = QFileInfo(path).lastModified();
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
    if (keepTime)
        QVERIFY(file.setFileTime(modified, QFileDevice::FileModificationTime));
}

// Runs `step` as an event, so that what it raises reaches the standard error
// box as it does from a menu command or a timer tick.
void runAsEvent(QObject* receiver, const std::function<void()>& step)
{
    QMetaObject::invokeMethod(receiver, step, Qt::QueuedConnection);
    QCoreApplication::processEvents();
}

// A child that logs a line every few milliseconds until it is killed.
int logUntilKilled(const QString& path)
{
    MeasurementLog log;
    log.setFileName(path);
    log.addLine(QStringLiteral("hlavička"));
    log.save();
    for (int i = 0;; ++i) {
        log.addLine(QStringLiteral("řádek %1").arg(i));
        log.update();
        std::printf("LOGGED %d\n", i);
        std::fflush(stdout);
        QThread::msleep(2);
    }
}

} // namespace

class TestMeasurementLog : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    SteppedClock m_clock{kStart};

    QString path(const QString& name) const { return m_dir.filePath(name); }

    std::unique_ptr<Tqzr17> startMain()
    {
        auto window = std::make_unique<Tqzr17>();
        window->FormCreate();
        window->setClock(&m_clock);
        return window;
    }

private slots:
    void linesReadBackAcrossChunks()
    {
        EncodedLines lines;
        QByteArray expected;
        for (int i = 0; i < 5000; ++i) {
            const QByteArray line = QByteArray(i % 97, 'a' + i % 26) + QByteArray::number(i);
            lines.append(line);
            expected += line + "\r\n";
        }
        const QByteArray longLine(EncodedLines::kChunkSize + 10, 'x');
        lines.append(longLine);
        lines.append("after");
        expected += longLine + "\r\nafter\r\n";
        QCOMPARE(lines.count(), 5002);
        QCOMPARE(lines.byteSize(), expected.size());
        for (int i : {0, 1, 1337, 4999})
            QCOMPARE(lines.line(i).toByteArray(), QByteArray(i % 97, 'a' + i % 26) + QByteArray::number(i));
        QCOMPARE(lines.line(5000).toByteArray(), longLine);
        QCOMPARE(lines.line(5001).toByteArray(), QByteArray("after"));
        for (qint64 from : {qint64(0), qint64(1), EncodedLines::kChunkSize - 1, EncodedLines::kChunkSize,
                            qint64(expected.size() - 7), qint64(expected.size())}) {
            QByteArray written;
            QBuffer buffer(&written);
            buffer.open(QIODevice::WriteOnly);
            QVERIFY(lines.writeFrom(from, buffer));
            QCOMPARE(written, expected.mid(from));
        }
        QCOMPARE(lines.tail(9), expected.right(9));
    }

    void linesAreWindows1250WithCrLf()
    {
        MeasurementLog log;
        log.setFileName(path("kodovani.txt"));
        log.addLine(QStringLiteral("žádaná útlum čas"));
        log.addLine(QString());
        log.save();
        QCOMPARE(readAll(log.fileName()), QByteArray("\x9E\xE1" "dan\xE1 \xFAtlum \xE8" "as\r\n\r\n"));
        QCOMPARE(log.line(0), QStringLiteral("žádaná útlum čas"));
    }

    void untouchedFileIsAppendedNotReplaced()
    {
        MeasurementLog log;
        log.setFileName(path("pripojeni.txt"));
        log.addLine(QStringLiteral("hlavička"));
        log.save();
        const ino_t inode = inodeOf(log.fileName());
        for (int i = 0; i < 20; ++i) {
            log.addLine(QStringLiteral("řádek %1").arg(i));
            log.update();
            QCOMPARE(readAll(log.fileName()), allLines(log));
        }
        QCOMPARE(inodeOf(log.fileName()), inode);
    }

    void fileChangedBehindTheProgramIsRewritten_data()
    {
        QTest::addColumn<QString>("change");
        QTest::newRow("deleted") << "delete";
        QTest::newRow("truncated") << "truncate";
        QTest::newRow("emptied") << "empty";
        QTest::newRow("extended by another program") << "extend";
        QTest::newRow("same size, same time, other end") << "tail";
        QTest::newRow("same size, newer time") << "middle";
    }

    void fileChangedBehindTheProgramIsRewritten()
    {
        QFETCH(QString, change);
        MeasurementLog log;
        log.setFileName(path(QStringLiteral("zmena-%1.txt").arg(change)));
        log.addLine(QStringLiteral("hlavička"));
        log.save();
        for (int i = 0; i < 3; ++i) {
            log.addLine(QStringLiteral("řádek %1").arg(i));
            log.update();
        }
        QByteArray bytes = readAll(log.fileName());
        if (change == "delete")
            QVERIFY(QFile::remove(log.fileName()));
        else if (change == "truncate")
            touch(log.fileName(), bytes.left(bytes.size() - 5), false);
        else if (change == "empty")
            touch(log.fileName(), QByteArray(), false);
        else if (change == "extend")
            touch(log.fileName(), bytes + "cizí řádek\r\n", false);
        else if (change == "tail")
            touch(log.fileName(), bytes.left(bytes.size() - 3) + "X\r\n", true);
        else if (change == "middle") {
            QThread::msleep(20);
            touch(log.fileName(), bytes.replace("1", "9"), false);
        }
        log.addLine(QStringLiteral("po změně"));
        log.update();
        QCOMPARE(readAll(log.fileName()), allLines(log));
    }

    // A small file system that fills up while logging: the file is always a
    // whole earlier state of the log, the failure is reported once, and the
    // missing lines follow when there is room again.
    void aFullDiskNeverCutsTheFileAndItCatchesUp()
    {
        const QString disk = path("maly-disk");
        QVERIFY(QDir().mkpath(disk));
        if (QProcess::execute(QStringLiteral("mount"), {"-t", "tmpfs", "-o", "size=64k", "tmpfs", disk}) != 0)
            QSKIP("mounting a small file system needs root");
        const auto unmount = qScopeGuard([&] { QProcess::execute(QStringLiteral("umount"), {disk}); });
        QFile filler(disk + "/vypln");
        QVERIFY(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        while (filler.write(QByteArray(4096, 'x')) == 4096) {
        }
        QVERIFY(filler.resize(filler.size() - 8192));

        MeasurementLog log;
        log.setFileName(disk + "/log.txt");
        int reported = 0;
        for (int i = 0; i < 200; ++i) {
            log.addLine(QStringLiteral("řádek %1; ").arg(i).leftJustified(90, u'.'));
            try {
                i == 0 ? log.save() : log.update();
            } catch (const AppError&) {
                ++reported;
            }
            const QByteArray onDisk = readAll(log.fileName());
            QVERIFY2(!onDisk.isEmpty() && onDisk.endsWith("\r\n") && allLines(log).startsWith(onDisk),
                     qPrintable(QStringLiteral("after line %1: %2 bytes").arg(i).arg(onDisk.size())));
        }
        QCOMPARE(reported, 1);
        QVERIFY(filler.remove());
        log.addLine(QStringLiteral("zase je místo"));
        log.update();
        QCOMPARE(readAll(log.fileName()), allLines(log));
    }

    void aRunOfFailuresIsReportedOnceAndTheLinesArriveLater()
    {
        const QString folder = path("odpojena");
        QVERIFY(QDir().mkpath(folder));
        MeasurementLog log;
        log.setFileName(folder + "/log.txt");
        log.addLine(QStringLiteral("hlavička"));
        log.save();
        QVERIFY(QDir(folder).removeRecursively());
        int reported = 0;
        for (int i = 0; i < 5; ++i) {
            log.addLine(QStringLiteral("řádek %1").arg(i));
            try {
                log.update();
            } catch (const AppError& e) {
                ++reported;
                QCOMPARE(e.message(), QStringLiteral("Cannot create file %1/log.txt").arg(folder));
            }
        }
        QCOMPARE(reported, 1);
        QVERIFY(QDir().mkpath(folder));
        log.addLine(QStringLiteral("zase zapisuje"));
        log.update();
        QCOMPARE(log.lineCount(), 7);
        QCOMPARE(readAll(log.fileName()), allLines(log));
        // A new run of failures is reported again, and an explicit save always.
        QVERIFY(QDir(folder).removeRecursively());
        log.addLine(QStringLiteral("znovu"));
        QVERIFY_THROWS_EXCEPTION(AppError, log.update());
        QVERIFY_THROWS_EXCEPTION(AppError, log.save());
    }

    void killedProgramLeavesEveryLoggedLine()
    {
        const QString file = path("zabito.txt");
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--log-until-killed"), file});
        QVERIFY(child.waitForStarted());
        QByteArray output;
        while (!output.contains("LOGGED 200\n")) {
            QVERIFY2(child.waitForReadyRead(5000), "the child logs nothing");
            output += child.readAllStandardOutput();
        }
        child.kill();
        QVERIFY(child.waitForFinished());
        output += child.readAllStandardOutput();
        const QList<QByteArray> reported = output.trimmed().split('\n');
        const int lastReported = reported.constLast().mid(7).toInt();

        QStringEncoder encoder("windows-1250");
        const QByteArray bytes = readAll(file);
        QByteArray expected = encoder.encode(QStringLiteral("hlavička\r\n"));
        int line = 0;
        while (expected.size() < bytes.size())
            expected += encoder.encode(QStringLiteral("řádek %1\r\n").arg(line++));
        QCOMPARE(bytes, expected);
        QVERIFY2(line - 1 >= lastReported, qPrintable(QStringLiteral("%1 lines, %2 reported").arg(line).arg(lastReported)));
    }

    void newInAFreshFolderWritesTheHeader_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QByteArray>("date");
        QTest::newRow("Czech") << QLocale(QLocale::Czech, QLocale::CzechRepublic) << QByteArray("15.03.26");
        QTest::newRow("English") << QLocale(QLocale::English, QLocale::UnitedStates) << QByteArray("3/15/26");
    }

    void newInAFreshFolderWritesTheHeader()
    {
        QFETCH(QLocale, locale);
        QFETCH(QByteArray, date);
        const QLocale previous;
        QLocale::setDefault(locale);
        const auto restore = qScopeGuard([&] { QLocale::setDefault(previous); });
        ScriptedPrompts prompts;
        const QString file = path(QStringLiteral("nova-%1/zaznam.txt").arg(locale.name()));
        QVERIFY(QDir().mkpath(QFileInfo(file).path()));
        prompts.fileNames = {file};
        auto window = startMain();
        window->mn_novyClick();
        QVERIFY(window->log_named);
        QCOMPARE(readAll(file), headerBytes(file, date));
        QCOMPARE(QDir(QFileInfo(file).path()).entryList(QDir::Files), QStringList{"zaznam.txt"});
        QCOMPARE(prompts.fileRequests.size(), 1);
        QCOMPARE(prompts.fileRequests[0].fileName, QString());
        QCOMPARE(prompts.fileRequests[0].filter, QStringLiteral("Textový soubor [*.txt] (*.txt)"));
        QCOMPARE(prompts.fileRequests[0].defaultExtension, QStringLiteral("TXT"));
    }

    void dataLinesCarryTheTimeInTheLongFormat_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("line");
        QTest::newRow("Czech") << QLocale(QLocale::Czech, QLocale::CzechRepublic) << "0;  0;  0;  0;  0;  10:00:01";
        QTest::newRow("English") << QLocale(QLocale::English, QLocale::UnitedStates)
                                 << "0;  0;  0;  0;  0;  10:00:01 AM";
    }

    void dataLinesCarryTheTimeInTheLongFormat()
    {
        QFETCH(QLocale, locale);
        QFETCH(QString, line);
        const QLocale previous;
        QLocale::setDefault(locale);
        const auto restore = qScopeGuard([&] { QLocale::setDefault(previous); });
        ScriptedPrompts prompts;
        const QString file = path(QStringLiteral("cas-%1.txt").arg(locale.name()));
        prompts.fileNames = {file};
        auto window = startMain();
        window->mn_novyClick();
        window->AppendLogLine();
        QCOMPARE(window->log().line(6), line);
        QVERIFY(readAll(file).endsWith(line.toLatin1() + "\r\n"));
    }

    // The log is a file format others read: English changes none of its bytes.
    void theFileIsTheSameInEitherLanguage()
    {
        const auto restore = qScopeGuard([] { applyLanguage(Language::Czech); });
        const QString file = path(QStringLiteral("jazyk.txt"));
        QMap<Language, QByteArray> written;
        for (const Language language : {Language::Czech, Language::English}) {
            applyLanguage(language);
            QFile::remove(file);
            ScriptedPrompts prompts;
            prompts.fileNames = {file};
            auto window = startMain();
            QCOMPARE(window->findChild<QMenu*>(QStringLiteral("mn_sobor"))->title() ==
                         QStringLiteral("&File"),
                     language == Language::English);
            window->mn_novyClick();
            window->AppendLogLine();
            written[language] = readAll(file);
        }
        QVERIFY(written[Language::Czech].startsWith(headerBytes(file, "15.03.26")));
        QCOMPARE(written[Language::English], written[Language::Czech]);
    }

    // The lines carry only a time of day: whatever the clock did between
    // them, the log read back puts each at the moment it was written (a
    // clock set back keeps the order of the lines).
    void everyLineKeepsItsDate_data()
    {
        QTest::addColumn<QDateTime>("start");
        QTest::addColumn<QList<int>>("steps"); // seconds before each line, the first after New...
        QTest::addColumn<bool>("watch");       // each line by a run of qzr17ctl watch of its own
        const QDateTime evening(QDate(2026, 3, 15), QTime(23, 59, 58));
        QTest::newRow("midnight") << evening << QList<int>{0, 1, 1, 1} << false;
        QTest::newRow("clock set back 20 s") << evening.addSecs(-3600) << QList<int>{0, 1, -20, 1} << false;
        QTest::newRow("outage of two days") << evening << QList<int>{0, 1, 2 * 86400 + 5, 1} << false;
        QTest::newRow("New... the day before") << evening << QList<int>{86400, 1} << false;
        QTest::newRow("autumn clock change")
            << QDateTime(QDate(2026, 10, 25), QTime(1, 30)) << QList<int>{0, 1800, 1800, 1800, 1800} << false;
        QTest::newRow("written in another time zone")
            << QDateTime(QDate(2026, 3, 15), QTime(23, 0), QTimeZone("America/New_York"))
            << QList<int>{0, 3600, 86400} << false;
        QTest::newRow("continued by another run days later") << evening << QList<int>{0, 1, 2 * 86400, -30} << true;
    }

    void everyLineKeepsItsDate()
    {
        QFETCH(QDateTime, start);
        QFETCH(QList<int>, steps);
        QFETCH(bool, watch);
        const QString file = path(QStringLiteral("datum-%1.txt").arg(QTest::currentDataTag()));
        SteppedClock clock(start);
        ScriptedPrompts prompts;
        prompts.fileNames = {file};
        auto window = startMain();
        window->setClock(&clock);
        if (!watch)
            window->mn_novyClick();
        QList<qint64> written;
        for (const int step : steps) {
            clock.step(step);
            if (!watch)
                window->AppendLogLine();
            else // a run of its own
                QVERIFY(AppendedLog(file, false).append(log_lines::data(QStringList(5, "0"), clock.now().time()),
                                                        clock.now()));
            written.append(std::max(clock.now().toSecsSinceEpoch(), written.value(written.size() - 1)));
        }
        const LogReadResult result = readLogFile(file);
        QVERIFY(std::holds_alternative<LogHistory>(result));
        QCOMPARE(QList<qint64>(std::get<LogHistory>(result).times.begin(), std::get<LogHistory>(result).times.end()),
                 written);
        QCOMPARE(std::get<LogHistory>(result).undatedSamples, 0);
    }

    void theDialogOpensWithTheCurrentName()
    {
        ScriptedPrompts prompts;
        prompts.fileNames = {path("prvni.txt"), std::nullopt};
        auto window = startMain();
        window->mn_novyClick();
        window->mn_novyClick();
        QCOMPARE(prompts.fileRequests.size(), 2);
        QCOMPARE(prompts.fileRequests[1].fileName, path("prvni.txt"));
        QCOMPARE(window->log().fileName(), path("prvni.txt"));
    }

    void linesOfAnUnnamedLogStayInMemoryUntilNew()
    {
        ScriptedPrompts prompts;
        auto window = startMain();
        window->AppendLogLine();
        window->AppendLogLine();
        QCOMPARE(window->log().lineCount(), 3);
        QVERIFY(prompts.fileRequests.isEmpty());
        prompts.fileNames = {path("po-pameti.txt")};
        window->mn_novyClick();
        QCOMPARE(window->log().lineCount(), 5);
        QCOMPARE(readAll(path("po-pameti.txt")), headerBytes(path("po-pameti.txt"), "15.03.26"));
    }

    void newCancelledChangesNothing()
    {
        ScriptedPrompts prompts;
        prompts.fileNames = {path("zruseno.txt"), std::nullopt};
        auto window = startMain();
        window->mn_novyClick();
        window->AppendLogLine();
        window->mn_novyClick();
        QCOMPARE(window->log().lineCount(), 7);
        QCOMPARE(window->log().fileName(), path("zruseno.txt"));
        QVERIFY(window->log_named);
    }

    void saveWithoutANameRunsNew()
    {
        ScriptedPrompts prompts;
        prompts.fileNames = {path("ulozit.txt")};
        auto window = startMain();
        window->AppendLogLine();
        window->mn_ulozClick();
        QCOMPARE(prompts.fileRequests.size(), 1);
        QVERIFY(window->log_named);
        QCOMPARE(readAll(path("ulozit.txt")), headerBytes(path("ulozit.txt"), "15.03.26"));
    }

    void saveWithANameRewritesTheFile()
    {
        ScriptedPrompts prompts;
        prompts.fileNames = {path("prepsat.txt")};
        auto window = startMain();
        window->mn_novyClick();
        window->AppendLogLine();
        QVERIFY(QFile::remove(path("prepsat.txt")));
        window->mn_ulozClick();
        QCOMPARE(prompts.fileRequests.size(), 1);
        QCOMPARE(readAll(path("prepsat.txt")), allLines(window->log()));
    }

    void saveAsWithoutANameDoesNothing()
    {
        ScriptedPrompts prompts;
        auto window = startMain();
        window->AppendLogLine();
        window->mn_uloz_jakoClick();
        QVERIFY(prompts.fileRequests.isEmpty());
        QCOMPARE(window->log().lineCount(), 2);
    }

    void saveAsMovesTheFollowingLinesToTheNewFile()
    {
        ScriptedPrompts prompts;
        prompts.fileNames = {path("stary.txt"), path("novy.txt")};
        auto window = startMain();
        window->mn_novyClick();
        window->AppendLogLine();
        const QByteArray before = readAll(path("stary.txt"));
        window->mn_uloz_jakoClick();
        m_clock.step();
        window->AppendLogLine();
        QCOMPARE(readAll(path("stary.txt")), before);
        QCOMPARE(readAll(path("novy.txt")), allLines(window->log()));
        QCOMPARE(window->log().lineCount(), 8);
        QCOMPARE(window->log().line(0), path("stary.txt"));
        QCOMPARE(prompts.fileRequests[1].fileName, path("stary.txt"));
    }

    void saveAsCancelledShowsTheDialogAgainAsNew()
    {
        ScriptedPrompts prompts;
        prompts.fileNames = {path("puvodni.txt"), std::nullopt, path("znovu.txt")};
        auto window = startMain();
        window->mn_novyClick();
        window->AppendLogLine();
        window->mn_uloz_jakoClick();
        QCOMPARE(prompts.fileRequests.size(), 3);
        QCOMPARE(window->log().lineCount(), 5);
        QCOMPARE(readAll(path("znovu.txt")), headerBytes(path("znovu.txt"), "15.03.26"));
    }

    void saveAsCancelledTwiceLeavesTheLog()
    {
        ScriptedPrompts prompts;
        prompts.fileNames = {path("zustava.txt"), std::nullopt, std::nullopt};
        auto window = startMain();
        window->mn_novyClick();
        window->AppendLogLine();
        const QByteArray before = readAll(path("zustava.txt"));
        window->mn_uloz_jakoClick();
        QCOMPARE(prompts.fileRequests.size(), 3);
        QCOMPARE(window->log().lineCount(), 7);
        QCOMPARE(readAll(path("zustava.txt")), before);
        QCOMPARE(window->log().fileName(), path("zustava.txt"));
    }

    void failedNewIsShownAndLeavesTheLogUnnamed()
    {
        ScriptedPrompts prompts;
        const QString file = path("neexistuje/zaznam.txt");
        prompts.fileNames = {file};
        auto window = startMain();
        runAsEvent(window.get(), [&] { window->findChild<QAction*>("mn_novy")->trigger(); });
        QCOMPARE(prompts.texts(), QStringList{QStringLiteral("Cannot create file %1.").arg(file)});
        QCOMPARE(prompts.calls[0].caption, QStringLiteral("KV-36"));
        QCOMPARE(prompts.calls[0].icon, Prompts::Icon::Error);
        QVERIFY(!window->log_named);
    }

    void pollingIntoAVanishedFolderShowsOneBoxAndCatchesUp()
    {
        ScriptedPrompts prompts;
        const QString folder = path("vymenny-disk");
        QVERIFY(QDir().mkpath(folder));
        prompts.fileNames = {folder + "/zaznam.txt"};
        auto window = startMain();
        window->mn_novyClick();
        QVERIFY(QDir(folder).removeRecursively());
        for (int i = 0; i < 4; ++i) {
            m_clock.step();
            runAsEvent(window.get(), [&] { window->AppendLogLine(); });
        }
        QCOMPARE(prompts.calls.size(), 1);
        QVERIFY(QDir().mkpath(folder));
        m_clock.step();
        runAsEvent(window.get(), [&] { window->AppendLogLine(); });
        QCOMPARE(prompts.calls.size(), 1);
        QCOMPARE(window->log().lineCount(), 11);
        QCOMPARE(readAll(folder + "/zaznam.txt"), allLines(window->log()));
    }

    // The Qt dialog behind the prompts seam asks before it replaces a file.
    void anExistingFileAsksBeforeItIsReplaced_data()
    {
        QTest::addColumn<bool>("replace");
        QTest::newRow("replaced") << true;
        QTest::newRow("kept") << false;
    }

    void anExistingFileAsksBeforeItIsReplaced()
    {
        QFETCH(bool, replace);
        const QString file = path("existujici.txt");
        touch(file, "staré", false);
        QtPrompts qtPrompts;
        QString question;
        QString shownFilter;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            if (auto* types = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo")))
                shownFilter = types->currentText();
            QTimer::singleShot(0, [&, dialog] {
                auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                QVERIFY(box);
                question = box->text();
                box->button(replace ? QMessageBox::Yes : QMessageBox::No)->click();
                if (!replace)
                    QTimer::singleShot(0, dialog, &QDialog::reject);
            });
            QMetaObject::invokeMethod(dialog, "accept");
        });
        const auto chosen = qtPrompts.saveFileName({QString(), file, "Textový soubor [*.txt] (*.txt)", "TXT"}, nullptr);
        QVERIFY(question.contains(QStringLiteral("existujici.txt")));
        QCOMPARE(shownFilter, QStringLiteral("Textový soubor [*.txt]"));
        QCOMPARE(chosen.has_value(), replace);
        if (replace)
            QCOMPARE(*chosen, file);
    }
};

int main(int argc, char** argv)
{
    if (argc == 3 && QByteArray(argv[1]) == "--log-until-killed") {
        QCoreApplication app(argc, argv);
        return logUntilKilled(QString::fromLocal8Bit(argv[2]));
    }
    return runAppTest<TestMeasurementLog>(argc, argv, QLocale(QLocale::Czech, QLocale::CzechRepublic));
}

#include "tst_measurement_log.moc"
