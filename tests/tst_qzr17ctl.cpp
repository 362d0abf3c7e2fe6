// End-to-end tests of qzr17ctl: the built program runs as a child process
// against the simulator on a real pseudo-terminal, with a settings store and a
// port directory of its own, under a Czech locale (decimal comma).
#include "sim_process.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;
constexpr int kRunTimeoutMs = 20000;
constexpr int kScanTimeoutMs = 150000; // 126 silent addresses at 512 ms each

struct CtlResult {
    int exitCode = -1;
    QStringList out;
    QStringList err;
};

QStringList linesOf(const QByteArray& bytes)
{
    return QString::fromUtf8(bytes).split(u'\n', Qt::SkipEmptyParts);
}

QStringList traceLines(const QStringList& err, const QString& direction)
{
    QStringList lines;
    for (const QString& line : err) {
        if (line.startsWith(direction + u' '))
            lines.append(line);
    }
    return lines;
}

QRegularExpressionMatch traceMatch(const QString& line)
{
    static const QRegularExpression form(
        QStringLiteral("^(TX|RX) (\\d+) ((?:[0-9A-F]{2} )*[0-9A-F]{2}) \\| (.+)$"));
    return form.match(line);
}

// "TX 12 10 00 00 69 69 16 | SD1 dotaz na stav, DA 0, SA 0" → "10 00 00 69 69 16";
// empty when the line has another form.
QString tracedBytes(const QString& line) { return traceMatch(line).captured(3); }
QString tracedMeaning(const QString& line) { return traceMatch(line).captured(4); }

QStringList wroteTables(const QStringList& events)
{
    QStringList tables;
    for (const QString& event : events) {
        if (event.startsWith(u"WROTE ") || event.startsWith(u"REFUSED ") || event == u"EEPROM")
            tables.append(event.section(u' ', 0, 1));
    }
    return tables;
}

} // namespace

class TestQzr17Ctl : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void probe_data();
    void probe();
    void readPrintsEveryField_data();
    void readPrintsEveryField();
    void writeChangesNamedFields_data();
    void writeChangesNamedFields();
    void refusedWrite_data();
    void refusedWrite();
    void eeprom_data();
    void eeprom();
    void deviceTexts_data();
    void deviceTexts();
    void traceShowsEveryTelegram_data();
    void traceShowsEveryTelegram();
    void badUsage_data();
    void badUsage();
    void languageFromTheStoreOrLang_data();
    void languageFromTheStoreOrLang();
    void portThatCannotBeOpened_data();
    void portThatCannotBeOpened();
    void settingsStoreFillsMissingOptions_data();
    void settingsStoreFillsMissingOptions();
    void scanListsAnsweringAddresses_data();
    void scanListsAnsweringAddresses();
    void lateReplyOfAnEarlierRunIsDropped_data();
    void lateReplyOfAnEarlierRunIsDropped();
    void comPortUnpluggedAndPluggedInAgain();
    void portsListsPortsAndComLinks();
    void setRoundTrip();
    void loadSaysWhatItLeaves_data();
    void loadSaysWhatItLeaves();
    void badSetFileTouchesNothing_data();
    void badSetFileTouchesNothing();
    void diffListsDifferingFields_data();
    void diffListsDifferingFields();

private:
    QString dumpToFile(const QString& name);
    void editFile(const QString& path, const QString& pattern, const QString& by);
    void startSim(const QStringList& arguments = {});
    void control(const QStringList& lines);
    void writeStore(const QString& ini);
    void linkCom(qint64 number, const QString& target);
    CtlResult run(const QStringList& arguments, int timeoutMs = kRunTimeoutMs);
    CtlResult runOnSim(const QStringList& arguments);

    std::unique_ptr<QTemporaryDir> m_home;
    std::unique_ptr<SimProcess> m_sim;
};

void TestQzr17Ctl::init()
{
    m_home = std::make_unique<QTemporaryDir>();
    QVERIFY(m_home->isValid());
    QVERIFY(QDir(m_home->path()).mkpath(QStringLiteral("config")));
    QVERIFY(QDir(m_home->path()).mkpath(QStringLiteral("ports")));
    startSim();
}

void TestQzr17Ctl::cleanup()
{
    m_sim.reset();
    m_home.reset();
}

void TestQzr17Ctl::startSim(const QStringList& arguments)
{
    m_sim = std::make_unique<SimProcess>(arguments);
    QVERIFY2(m_sim->start(), "the simulator did not start");
}

void TestQzr17Ctl::control(const QStringList& lines)
{
    for (const QString& line : lines)
        QCOMPARE(m_sim->command(line), QStringLiteral("OK"));
}

void TestQzr17Ctl::writeStore(const QString& ini)
{
    QFile file(m_home->filePath(QStringLiteral("config/Talvex_R16.ini")));
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QVERIFY(file.write(ini.toUtf8()) == ini.toUtf8().size());
}

void TestQzr17Ctl::linkCom(qint64 number, const QString& target)
{
    const QString link = m_home->filePath(QStringLiteral("ports/COM%1").arg(number));
    QVERIFY(QFile::link(target, link));
}

CtlResult TestQzr17Ctl::run(const QStringList& arguments, int timeoutMs)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), m_home->filePath(QStringLiteral("config")));
    environment.insert(QStringLiteral("KV36_PORT_DIR"), m_home->filePath(QStringLiteral("ports")));
    // What a run leaves for the next one stays with the test.
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_home->path());
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("cs_CZ.UTF-8"));
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(QZR17CTL_PATH), arguments);
    CtlResult result;
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished();
        return result;
    }
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.out = linesOf(process.readAllStandardOutput());
    result.err = linesOf(process.readAllStandardError());
    return result;
}

CtlResult TestQzr17Ctl::runOnSim(const QStringList& arguments)
{
    return run(QStringList{QStringLiteral("--port"), m_sim->portPath()} + arguments);
}

void TestQzr17Ctl::probe_data()
{
    QTest::addColumn<QStringList>("simControl");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("why");

    QTest::newRow("station answers") << QStringList{} << QStringList{"probe"} << kExitOk << QString();
    QTest::newRow("station silent") << QStringList{"silent on"} << QStringList{"probe"} << kExitFailed
                                    << "regulátor neodpověděl";
    QTest::newRow("no station at that address") << QStringList{} << QStringList{"--da", "5", "probe"}
                                                << kExitFailed << "regulátor neodpověděl";
    QTest::newRow("station at the address given") << QStringList{"address 5"} << QStringList{"--da=5", "probe"}
                                                  << kExitOk << QString();
    QTest::newRow("checksum corrupted") << QStringList{"corrupt-checksum 1"} << QStringList{"probe"} << kExitFailed
                                        << "chybná odpověď";
    QTest::newRow("reply cut short") << QStringList{"short 2"} << QStringList{"probe"} << kExitFailed
                                     << "neúplná odpověď regulátoru (4 z 6 bajtů)";
}

void TestQzr17Ctl::probe()
{
    QFETCH(QStringList, simControl);
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, why);
    control(simControl);

    const CtlResult result = runOnSim(arguments);

    QCOMPARE(result.exitCode, exitCode);
    QVERIFY(result.out.isEmpty());
    if (why.isEmpty())
        QCOMPARE(result.err, QStringList());
    else
        QVERIFY2(result.err.join(u'\n').contains(why), qPrintable(result.err.join(u'\n')));
}

void TestQzr17Ctl::readPrintsEveryField_data()
{
    QTest::addColumn<QStringList>("simControl");
    QTest::addColumn<QStringList>("tables");
    QTest::addColumn<QStringList>("lines");

    QTest::newRow("equithermal curve") << QStringList{"set 0 42A0000041A00000"} << QStringList{"0"}
                                       << QStringList{"SP_0=80", "SP20=20"};
    QTest::newRow("measured values, shortest floats")
        << QStringList{"set 16 42350000C1480000FF3DCCCCCD3A83126F7F"} << QStringList{"16"}
        << QStringList{"water_temperature=45.25", "outdoor_temperature=-12.5", "aux_byte1=-1",
                       "demanded_temperature=0.1", "setback=0.001", "aux_byte2=127"};
    QTest::newRow("monday programme")
        << QStringList{"set 8 C0A0000000000000402000000000000006081016001E000F"} << QStringList{"8"}
        << QStringList{"shift1=-5", "shift2=0", "shift3=2.5", "shift4=0", "hour1=6", "hour2=8", "hour3=16",
                       "hour4=22", "minute1=0", "minute2=30", "minute3=0", "minute4=15"};
    QTest::newRow("int16 fields unsigned, bytes signed") << QStringList{"set 6 FFFF270F0180"} << QStringList{"6"}
                                                         << QStringList{"FILTR=65535", "PASS=9999", "LOC_=1",
                                                                        "reserved=-128"};
    QTest::newRow("large float in exponent form") << QStringList{"set 17 501502F93F000000BFC00000"}
                                                  << QStringList{"17"}
                                                  << QStringList{"PB=1e+10", "INT=0.5", "DER=-1.5"};
    QTest::newRow("several tables in the order given") << QStringList{"set 0 42A0000041A00000", "set 20 0102"}
                                                       << QStringList{"20", "0"}
                                                       << QStringList{"INA1=1", "INA2=2", "SP_0=80", "SP20=20"};
}

void TestQzr17Ctl::readPrintsEveryField()
{
    QFETCH(QStringList, simControl);
    QFETCH(QStringList, tables);
    QFETCH(QStringList, lines);
    control(simControl);

    const CtlResult result = runOnSim(QStringList{"read"} + tables);

    QCOMPARE(result.exitCode, kExitOk);
    QCOMPARE(result.out, lines);
    QCOMPARE(result.err, QStringList());
}

void TestQzr17Ctl::writeChangesNamedFields_data()
{
    QTest::addColumn<QStringList>("simControl");
    QTest::addColumn<int>("table");
    QTest::addColumn<QStringList>("fields");
    QTest::addColumn<QString>("written");

    QTest::newRow("float") << QStringList{"set 0 42A0000041A00000"} << 0 << QStringList{"SP_0=55.5"}
                           << "425E000041A00000";
    QTest::newRow("negative float, C notation") << QStringList{"set 0 42A0000041A00000"} << 0
                                                << QStringList{"SP20=-1.5"} << "42A00000BFC00000";
    QTest::newRow("int16 and byte among floats")
        << QStringList{"set 4 C040000040000000C100000040800000010078000200040005"} << 4
        << QStringList{"DSER=300", "REGO=0"} << "C0400000 40000000 C1000000 40800000 00 012C 0002 0004 0005";
    QTest::newRow("day record") << QStringList{"set 9 000000000000000000000000000000000000000000000000"} << 9
                                << QStringList{"shift1=-5", "hour2=8", "minute2=30"}
                                << "C0A00000 00000000 00000000 00000000 00080000 001E0000";
    QTest::newRow("later field wins") << QStringList{"set 7 00"} << 7
                                      << QStringList{"regulator_address=3", "regulator_address=0"} << "00";
}

void TestQzr17Ctl::writeChangesNamedFields()
{
    QFETCH(QStringList, simControl);
    QFETCH(int, table);
    QFETCH(QStringList, fields);
    QFETCH(QString, written);
    written.remove(u' ');
    control(simControl);

    const CtlResult result = runOnSim(QStringList{"write", QString::number(table)} + fields);

    QCOMPARE(result.exitCode, kExitOk);
    QCOMPARE(result.err, QStringList());
    QCOMPARE(m_sim->waitForEvent(QStringLiteral("WROTE %1 ").arg(table)), QStringLiteral("WROTE %1 %2").arg(table).arg(written));
    QCOMPARE(m_sim->table(table).toHex().toUpper(), written.toLatin1());
}

void TestQzr17Ctl::refusedWrite_data()
{
    QTest::addColumn<QStringList>("simControl");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("why");

    QTest::newRow("table refused") << QStringList{"refuse 0"} << QStringList{"write", "0", "SP_0=50"}
                                   << "Tabulka 0: regulátor odmítl požadavek, kód 2";
    QTest::newRow("value out of range") << QStringList{} << QStringList{"write", "3", "HYST=50"}
                                        << "Tabulka 3: regulátor odmítl požadavek, kód 2";
    QTest::newRow("regulator silent") << QStringList{"silent on"} << QStringList{"write", "3", "HYST=5"}
                                      << "Tabulka 3: regulátor neodpověděl";
}

void TestQzr17Ctl::refusedWrite()
{
    QFETCH(QStringList, simControl);
    QFETCH(QStringList, arguments);
    QFETCH(QString, why);
    const int table = arguments[1].toInt();
    const QByteArray before = m_sim->table(table);
    control(simControl);

    const CtlResult result = runOnSim(arguments);

    QCOMPARE(result.exitCode, kExitFailed);
    QCOMPARE(result.err, QStringList{why});
    QCOMPARE(m_sim->table(table), before);
}

void TestQzr17Ctl::eeprom_data()
{
    QTest::addColumn<QStringList>("simControl");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("why");

    QTest::newRow("acknowledged") << QStringList{} << kExitOk << QString();
    QTest::newRow("silent") << QStringList{"silent on"} << kExitFailed << "Uložení do EEPROM: regulátor neodpověděl";
    QTest::newRow("acknowledgement with a wrong sum") << QStringList{"corrupt-checksum 1"} << kExitFailed
                                                      << "Uložení do EEPROM: chybná odpověď regulátoru";
    QTest::newRow("acknowledgement cut short") << QStringList{"short 1"} << kExitFailed
                                               << "Uložení do EEPROM: neúplná odpověď regulátoru (5 z 6 bajtů)";
}

void TestQzr17Ctl::eeprom()
{
    QFETCH(QStringList, simControl);
    QFETCH(int, exitCode);
    QFETCH(QString, why);
    control(simControl);

    const CtlResult result = runOnSim({"eeprom"});

    QCOMPARE(result.exitCode, exitCode);
    QCOMPARE(result.err, why.isEmpty() ? QStringList() : QStringList{why});
    if (exitCode == kExitOk)
        QCOMPARE(m_sim->waitForEvent(QStringLiteral("EEPROM")), QStringLiteral("EEPROM"));
}

void TestQzr17Ctl::deviceTexts_data()
{
    QTest::addColumn<QStringList>("simArguments");
    QTest::addColumn<QString>("command");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QStringList>("out");

    QTest::newRow("type with Czech letters") << QStringList{"--type", "Regulátor QZR 17 – čerpadlo Ř"} << "type"
                                             << kExitOk << QStringList{"Regulátor QZR 17 – čerpadlo Ř"};
    QTest::newRow("version") << QStringList{"--version", "QZR17 verze 2.1 03.10.2008"} << "version" << kExitOk
                             << QStringList{"QZR17 verze 2.1 03.10.2008"};
    QTest::newRow("text ends at the first zero byte") << QStringList{"--type-hex", "414200434400"} << "type"
                                                      << kExitOk << QStringList{"AB"};
    QTest::newRow("type not answered") << QStringList{"--no-type"} << "type" << kExitFailed << QStringList{};
    QTest::newRow("version not answered") << QStringList{"--no-version"} << "version" << kExitFailed
                                          << QStringList{};
}

void TestQzr17Ctl::deviceTexts()
{
    QFETCH(QStringList, simArguments);
    QFETCH(QString, command);
    QFETCH(int, exitCode);
    QFETCH(QStringList, out);
    startSim(simArguments);

    const CtlResult result = runOnSim({command});

    QCOMPARE(result.exitCode, exitCode);
    QCOMPARE(result.out, out);
    QCOMPARE(result.err.isEmpty(), exitCode == kExitOk);
}

void TestQzr17Ctl::traceShowsEveryTelegram_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QStringList>("sent");
    QTest::addColumn<QStringList>("received");
    QTest::addColumn<QStringList>("meanings");

    QTest::newRow("probe") << QStringList{"probe"} << QStringList{"10 00 00 69 69 16"}
                           << QStringList{"10 00 00 00 00 16"}
                           << QStringList{"SD1 dotaz na stav, DA 0, SA 0",
                                          "SD1 odpověď na stav: připravena, DA 0, SA 0"};
    QTest::newRow("probe from address 1") << QStringList{"--sa", "1", "probe"} << QStringList{"10 00 01 69 6A 16"}
                                          << QStringList{"10 01 00 00 01 16"}
                                          << QStringList{"SD1 dotaz na stav, DA 0, SA 1",
                                                         "SD1 odpověď na stav: připravena, DA 1, SA 0"};
    QTest::newRow("read of table 0") << QStringList{"read", "0"}
                                     << QStringList{"68 07 07 68 00 00 6C 01 00 08 00 75 16"}
                                     << QStringList{"68 0B 0B 68 00 00 08 42 A0 00 00 41 A0 00 00 CB 16"}
                                     << QStringList{"čtení tabulky 0, DA 0, SA 0",
                                                    "data tabulky 0 (8 bajtů), DA 0, SA 0"};
    QTest::newRow("write reads first") << QStringList{"write", "0", "SP20=-1.5"}
                                       << QStringList{"68 07 07 68 00 00 6C 01 00 08 00 75 16",
                                                      "68 0F 0F 68 00 00 63 02 00 08 00 42 A0 00 00 BF C0 00 00 "
                                                      "CE 16"}
                                       << QStringList{"68 0B 0B 68 00 00 08 42 A0 00 00 41 A0 00 00 CB 16",
                                                      "10 00 00 00 00 16"}
                                       << QStringList{"čtení tabulky 0, DA 0, SA 0",
                                                      "data tabulky 0 (8 bajtů), DA 0, SA 0",
                                                      "zápis tabulky 0, DA 0, SA 0", "kladné potvrzení, DA 0, SA 0"};
}

void TestQzr17Ctl::traceShowsEveryTelegram()
{
    QFETCH(QStringList, arguments);
    QFETCH(QStringList, sent);
    QFETCH(QStringList, received);
    QFETCH(QStringList, meanings);
    control({"set 0 42A0000041A00000"});

    const CtlResult result = runOnSim(QStringList{"--trace"} + arguments);

    QCOMPARE(result.exitCode, kExitOk);
    QStringList tracedSent;
    QStringList tracedReceived;
    for (const QString& line : traceLines(result.err, QStringLiteral("TX")))
        tracedSent.append(tracedBytes(line));
    for (const QString& line : traceLines(result.err, QStringLiteral("RX")))
        tracedReceived.append(tracedBytes(line));
    QCOMPARE(tracedSent, sent);
    QCOMPARE(tracedReceived, received);
    QCOMPARE(result.err.size(), sent.size() + received.size());
    // Requests and replies alternate, with times that never go back.
    qint64 previous = 0;
    for (qsizetype i = 0; i < result.err.size(); ++i) {
        QCOMPARE(tracedMeaning(result.err[i]), meanings[i]);
        const QStringList words = result.err[i].split(u' ');
        QCOMPARE(words[0], i % 2 == 0 ? QStringLiteral("TX") : QStringLiteral("RX"));
        const qint64 ms = words[1].toLongLong();
        QVERIFY(ms >= previous);
        previous = ms;
    }
}

void TestQzr17Ctl::badUsage_data()
{
    QTest::addColumn<QStringList>("arguments");

    QTest::newRow("no command") << QStringList{};
    QTest::newRow("unknown command") << QStringList{"reset"};
    QTest::newRow("unknown option") << QStringList{"--speed", "9600", "probe"};
    QTest::newRow("option without its value") << QStringList{"--baud"};
    QTest::newRow("baud rate not a number") << QStringList{"--baud", "fast", "probe"};
    QTest::newRow("address above the broadcast address") << QStringList{"--da", "128", "probe"};
    QTest::newRow("negative source address") << QStringList{"--sa", "-1", "probe"};
    QTest::newRow("argument after probe") << QStringList{"probe", "1"};
    QTest::newRow("scan with another switch") << QStringList{"scan", "--all"};
    QTest::newRow("argument after ports") << QStringList{"ports", "all"};
    QTest::newRow("read without a table") << QStringList{"read"};
    QTest::newRow("read of table 18, which has no layout") << QStringList{"read", "18"};
    QTest::newRow("read of table 21") << QStringList{"read", "21"};
    QTest::newRow("read of a table that is not a number") << QStringList{"read", "x"};
    QTest::newRow("one bad table among good ones") << QStringList{"read", "0", "18"};
    QTest::newRow("write of the measured values") << QStringList{"write", "16", "setback=1"};
    QTest::newRow("write without fields") << QStringList{"write", "0"};
    QTest::newRow("write of an unknown field") << QStringList{"write", "0", "SPX=1"};
    QTest::newRow("write of another table's field") << QStringList{"write", "0", "HYST=1"};
    QTest::newRow("field without a value") << QStringList{"write", "0", "SP_0"};
    QTest::newRow("value without a name") << QStringList{"write", "0", "=1"};
    QTest::newRow("decimal comma") << QStringList{"write", "0", "SP_0=1,5"};
    QTest::newRow("value not a number") << QStringList{"write", "0", "SP_0=abc"};
    QTest::newRow("int16 above 65535") << QStringList{"write", "4", "DSER=65536"};
    QTest::newRow("negative int16") << QStringList{"write", "4", "DSER=-1"};
    QTest::newRow("byte above 127") << QStringList{"write", "5", "RE_1=128"};
    QTest::newRow("fraction for a byte") << QStringList{"write", "5", "RE_1=1.5"};
    QTest::newRow("read from the broadcast address") << QStringList{"--da", "127", "read", "0"};
    QTest::newRow("write to the broadcast address") << QStringList{"--da", "127", "write", "0", "SP_0=1"};
    QTest::newRow("port number beyond any integer") << QStringList{"--port", "COM99999999999", "probe"};
}

void TestQzr17Ctl::badUsage()
{
    QFETCH(QStringList, arguments);
    const QByteArray before = m_sim->table(0);

    const CtlResult result = runOnSim(QStringList{"--trace"} + arguments);

    QCOMPARE(result.exitCode, kExitUsage);
    QVERIFY(result.out.isEmpty());
    QVERIFY2(result.err.contains(QStringLiteral("Nápověda: qzr17ctl --help")), qPrintable(result.err.join(u'\n')));
    // Nothing went on the bus.
    QCOMPARE(traceLines(result.err, QStringLiteral("TX")), QStringList());
    QCOMPARE(m_sim->table(0), before);
}

void TestQzr17Ctl::languageFromTheStoreOrLang_data()
{
    QTest::addColumn<QString>("store");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("expected");

    const QString english = QStringLiteral("[JAZYK]\nVOLBA=1\n");
    QTest::newRow("nothing stored") << QString() << QStringList{"--help"} << "Použití: qzr17ctl [--port";
    QTest::newRow("English stored") << english << QStringList{"--help"} << "Usage: qzr17ctl [--port";
    QTest::newRow("--lang cs over English stored")
        << english << QStringList{"--lang", "cs", "--help"} << "Použití: qzr17ctl [--port";
    QTest::newRow("--lang=en") << QString() << QStringList{"--lang=en", "--help"}
                               << "Usage: qzr17ctl [--port";
    QTest::newRow("usage error after --lang en")
        << QString() << QStringList{"--lang", "en", "--speed", "1", "probe"}
        << "Unknown option --speed\nHelp: qzr17ctl --help";
    QTest::newRow("unknown language")
        << english << QStringList{"--lang", "de", "probe"} << "Option --lang expects cs or en, not \"de\"";
    QTest::newRow("trace in English")
        << QString() << QStringList{"--lang", "en", "--trace", "probe"} << "| SD1 status request, DA 0, SA 0";
}

void TestQzr17Ctl::languageFromTheStoreOrLang()
{
    QFETCH(QString, store);
    QFETCH(QStringList, arguments);
    QFETCH(QString, expected);
    writeStore(store);

    const CtlResult result = runOnSim(arguments);

    const QString printed = (result.out + result.err).join(u'\n');
    QVERIFY2(printed.contains(expected), qPrintable(printed));
}

void TestQzr17Ctl::portThatCannotBeOpened_data()
{
    QTest::addColumn<QString>("store");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");

    QTest::newRow("device path that does not exist")
        << QString() << QStringList{"--port", "/nonexistent/ttyQZR", "probe"}
        << "Sériový port /nonexistent/ttyQZR nelze otevřít";
    QTest::newRow("COM port without a device") << QString() << QStringList{"--port", "COM42", "probe"}
                                               << "Sériový port COM42 nelze otevřít";
    QTest::newRow("port 0 from the store") << "[PORT]\nCOM=0\n" << QStringList{"probe"}
                                           << "Sériový port COM0 nelze otevřít";
    QTest::newRow("COM port whose link leads nowhere") << QString() << QStringList{"--port", "COM3", "version"}
                                                       << "Sériový port COM3 nelze otevřít";
}

void TestQzr17Ctl::portThatCannotBeOpened()
{
    QFETCH(QString, store);
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);
    writeStore(store);
    linkCom(3, m_home->filePath(QStringLiteral("gone")));

    const CtlResult result = run(arguments);

    QCOMPARE(result.exitCode, kExitUsage);
    QVERIFY(result.out.isEmpty());
    QCOMPARE(result.err, QStringList{message});
}

void TestQzr17Ctl::settingsStoreFillsMissingOptions_data()
{
    QTest::addColumn<QString>("store");
    QTest::addColumn<int>("com");
    QTest::addColumn<QString>("simAddress");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("sent");

    QTest::newRow("port and addresses from the store")
        << "[PORT]\nCOM=4\nBAUDRATE=9600\n[ADRESA]\nDA=5\nSA=3\n" << 4 << "5" << QStringList{"probe"}
        << "10 05 03 69 71 16";
    QTest::newRow("empty store: COM1, addresses 0") << QString() << 1 << "0" << QStringList{"probe"}
                                                    << "10 00 00 69 69 16";
    QTest::newRow("options win over the store")
        << "[PORT]\nCOM=4\n[ADRESA]\nDA=9\nSA=9\n" << 2 << "5" << QStringList{"--port", "COM2", "--da", "5", "--sa", "1", "probe"}
        << "10 05 01 69 6F 16";
    QTest::newRow("stored addresses beyond the bus read as 0")
        << "[ADRESA]\nDA=261\nSA=256\n"
        << 1 << "0" << QStringList{"probe"} << "10 00 00 69 69 16";
    QTest::newRow("unreadable stored values give the defaults") << "[PORT]\nCOM=x\n[ADRESA]\nDA=five\n" << 1 << "0"
                                                                << QStringList{"probe"} << "10 00 00 69 69 16";
}

void TestQzr17Ctl::settingsStoreFillsMissingOptions()
{
    QFETCH(QString, store);
    QFETCH(int, com);
    QFETCH(QString, simAddress);
    QFETCH(QStringList, arguments);
    QFETCH(QString, sent);
    writeStore(store);
    linkCom(com, m_sim->portPath());
    control({QStringLiteral("address ") + simAddress});

    const CtlResult result = run(QStringList{"--trace"} + arguments);

    QCOMPARE(result.exitCode, kExitOk);
    const QStringList requests = traceLines(result.err, QStringLiteral("TX"));
    QCOMPARE(requests.size(), 1);
    QCOMPARE(tracedBytes(requests.first()), sent);
}

void TestQzr17Ctl::scanListsAnsweringAddresses_data()
{
    QTest::addColumn<QStringList>("line");
    QTest::addColumn<QStringList>("scan");
    QTest::addColumn<QStringList>("out");
    QTest::newRow("addresses") << QStringList{"--address", "5"} << QStringList{"scan"} << QStringList{"5"};
    // Station 9 gives no type: the type of station 5 must not show beside it.
    QTest::newRow("with texts") << QStringList{"--address", "5,9", "--no-type", "9"}
                                << QStringList{"scan", "--texts"}
                                << QStringList{"5\tQZR 17 ekvitermní regulátor 5\tQZR17-5 FW 15.03.2012",
                                               "9\t\tQZR17-5 FW 16.03.2012"};
}

void TestQzr17Ctl::scanListsAnsweringAddresses()
{
    QFETCH(QStringList, line);
    QFETCH(QStringList, scan);
    QFETCH(QStringList, out);
    startSim(line);

    const CtlResult result = run(QStringList{"--port", m_sim->portPath()} + scan, kScanTimeoutMs);

    QCOMPARE(result.exitCode, kExitOk);
    QCOMPARE(result.out, out);
}

void TestQzr17Ctl::lateReplyOfAnEarlierRunIsDropped_data()
{
    QTest::addColumn<int>("lateMs");
    QTest::addColumn<QStringList>("first");
    QTest::addColumn<QStringList>("second");
    QTest::addColumn<bool>("killOneBetween"); // a run of `second` killed while it waits

    // Tables 1 and 2 have the same length.
    QTest::newRow("table after table") << 900 << QStringList{"read", "1"} << QStringList{"read", "2"} << false;
    // Later than a text read's own time-out (1010 ms), within the table's window (1076 ms).
    QTest::newRow("device type after a table") << 1050 << QStringList{"read", "2"} << QStringList{"type"} << false;
    QTest::newRow("probe after a store to EEPROM") << 900 << QStringList{"eeprom"} << QStringList{"probe"} << false;
    QTest::newRow("write building on a read") << 900 << QStringList{"read", "2"}
                                              << QStringList{"write", "1", "TYPE=1"} << false;
    QTest::newRow("a run killed while it waits") << 900 << QStringList{"read", "1"} << QStringList{"read", "2"}
                                                 << true;
    // Beyond every window: the checks of a line in doubt.
    QTest::newRow("device type after a table, beyond the window") << 1400 << QStringList{"read", "2"}
                                                                   << QStringList{"type"} << false;
    QTest::newRow("write building on a read, beyond the window") << 1400 << QStringList{"read", "2"}
        << QStringList{"write", "1", "TYPE=1"} << false;
}

// Every answer comes late, the second run's own too: a second run that
// succeeds, or writes anything, took the first run's answer for its own.
void TestQzr17Ctl::lateReplyOfAnEarlierRunIsDropped()
{
    QFETCH(int, lateMs);
    QFETCH(QStringList, first);
    QFETCH(QStringList, second);
    QFETCH(bool, killOneBetween);
    control({QStringLiteral("late %1").arg(lateMs)});

    QCOMPARE(runOnSim(first).exitCode, kExitFailed);
    if (killOneBetween)
        QCOMPARE(run(QStringList{QStringLiteral("--port"), m_sim->portPath()} + second, 300).exitCode, -1);
    const CtlResult result = runOnSim(second);

    QVERIFY2(result.exitCode == kExitFailed, qPrintable(result.out.join(u' ')));
    // Answered once every request sent has been served.
    QCOMPARE(m_sim->command(QStringLiteral("late 0"), 5000), QStringLiteral("OK"));
    QCOMPARE(m_sim->waitForEvent(QStringLiteral("WROTE"), 0), QString());
}

// While the adapter is out, its COM link dangles: no port, not the machine's
// own ttyS0. Plugged in again under the same name, the next run works.
void TestQzr17Ctl::comPortUnpluggedAndPluggedInAgain()
{
    const QString ports = m_home->filePath(QStringLiteral("ports"));
    qputenv("KV36_PORT_DIR", QFile::encodeName(ports));
    const auto restore = qScopeGuard([] { qunsetenv("KV36_PORT_DIR"); });
    startSim({"--com", "1"});
    QTRY_VERIFY(QFileInfo::exists(ports + QStringLiteral("/COM1")));
    QCOMPARE(run({"--port", "COM1", "probe"}).exitCode, kExitOk);

    m_sim->kill();
    QCOMPARE(run({"--port", "COM1", "probe"}).err, QStringList{"Sériový port COM1 nelze otevřít"});

    startSim({"--com", "1"});
    QTRY_VERIFY(QFileInfo::exists(ports + QStringLiteral("/COM1")));
    QCOMPARE(run({"--port", "COM1", "probe"}).exitCode, kExitOk);
}

// The system's ports come one a line with six tab-separated fields, then the
// COM entries in the order of their numbers, however long: a server entry
// with whether it takes a connection, or what is wrong with its address.
void TestQzr17Ctl::portsListsPortsAndComLinks()
{
    linkCom(10, QStringLiteral("/dev/serial/by-id/usb-unplugged-if00-port0"));
    linkCom(2, m_sim->portPath());
    linkCom(99999999999, m_sim->portPath());
    for (const auto& [number, entry] : {std::pair{5, "tcp://127.0.0.1"}, {6, "tcp://127.0.0.1:9"}}) {
        QFile file(m_home->filePath(QStringLiteral("ports/COM%1").arg(number)));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(entry + QByteArray("\n")) > 0);
    }

    const CtlResult result = run({"ports"});

    QCOMPARE(result.exitCode, kExitOk);
    QCOMPARE(result.err, QStringList());
    QStringList links;
    for (const QString& line : result.out) {
        if (line.count(u'\t') == 2)
            links.append(line);
        else
            QCOMPARE(line.count(u'\t'), 5);
    }
    QCOMPARE(links, (QStringList{"COM2\t" + m_sim->portPath() + "\t" + m_sim->portPath(),
                                 "COM5\ttcp://127.0.0.1\tneplatná adresa serveru: chybí číslo portu TCP",
                                 "COM6\ttcp://127.0.0.1:9\tserver nedostupný: server odmítl spojení na portu 9",
                                 "COM10\t/dev/serial/by-id/usb-unplugged-if00-port0\tnení připojeno",
                                 "COM99999999999\t" + m_sim->portPath() + "\t" + m_sim->portPath()}));
    // A COM name whose number is no port number names no port, and breaks nothing.
    QCOMPARE(run({"--port", "COM-2147483648", "probe"}).err,
             QStringList{"Sériový port COM-2147483648 nelze otevřít"});
}

QString TestQzr17Ctl::dumpToFile(const QString& name)
{
    const QString path = m_home->filePath(name);
    const CtlResult result = runOnSim({"dump", path});
    if (result.exitCode != kExitOk)
        qWarning() << "dump failed:" << result.err;
    return path;
}

QStringList setLines(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringList lines = linesOf(file.readAll());
    lines.removeIf([](const QString& line) { return line.startsWith(u"saved="); });
    return lines;
}

// Regulator → dump (standard output) → file → load into other values →
// dump (file) gives the same set; the address is never written.
void TestQzr17Ctl::setRoundTrip()
{
    const CtlResult dumped = runOnSim({"dump"});
    QCOMPARE(dumped.exitCode, kExitOk);
    QCOMPARE(dumped.out.first(), QStringLiteral("KV36 PARAMETER SET 1"));
    const QString first = m_home->filePath(QStringLiteral("first.txt"));
    QFile file(first);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write((dumped.out.join(u'\n') + u'\n').toUtf8());
    file.close();
    control({"set 0 42A0000041A00000", "set 4 C020000040000000C10000004080000001012C000200040005",
             "set 9 000000000000000000000000000000000000000000000000", "set 20 0102"});

    const CtlResult loaded = runOnSim({"load", first});

    QCOMPARE(loaded.exitCode, kExitOk);
    QCOMPARE(loaded.err, QStringList());
    QCOMPARE(setLines(dumpToFile(QStringLiteral("second.txt"))), setLines(first));
    m_sim->table(0); // collects the events that came meanwhile
    QCOMPARE(wroteTables(m_sim->events()),
             (QStringList{"WROTE 0", "WROTE 1", "WROTE 2", "WROTE 3", "WROTE 4", "WROTE 5", "WROTE 6", "WROTE 17",
                          "WROTE 19", "WROTE 20", "WROTE 8", "WROTE 9", "WROTE 10", "WROTE 11", "WROTE 12",
                          "WROTE 13", "WROTE 14"}));
}

void TestQzr17Ctl::editFile(const QString& path, const QString& pattern, const QString& by)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QString text = QString::fromUtf8(file.readAll());
    text.replace(QRegularExpression(pattern), by);
    file.resize(0);
    file.write(text.toUtf8());
}

QStringList wrote(const QList<int>& tables)
{
    QStringList events;
    for (const int table : tables)
        events.append(QStringLiteral("WROTE %1").arg(table));
    return events;
}

void TestQzr17Ctl::loadSaysWhatItLeaves_data()
{
    QTest::addColumn<QStringList>("simControl");
    QTest::addColumn<QStringList>("edit"); // a pattern of the dumped file and its replacement
    QTest::addColumn<int>("lateMs");       // of every answer during the load
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QStringList>("err"); // %1: the file
    QTest::addColumn<QStringList>("events");

    const QString oldFirmware = "version-hex " + QByteArray("QZR17-5 FW 02.10.2008").toHex();
    const QStringList otherType{"device_type=[^\n]*", "device_type=QZR 99"};
    const QList<int> days{8, 9, 10, 11, 12, 13, 14};
    QTest::newRow("refused in the middle")
        << QStringList{"refuse 4"} << QStringList{} << 0 << QStringList{"--eeprom"} << kExitFailed
        << QStringList{"Tabulka 4: regulátor odmítl požadavek, kód 2",
                       "V pracovní paměti (RAM) regulátoru už jsou tabulky 0, 1, 2, 3; do EEPROM se nic neuložilo."}
        << wrote({0, 1, 2, 3}) + QStringList{"REFUSED 4"};
    QTest::newRow("older firmware has no table 20: dumped and loaded without")
        << QStringList{oldFirmware, "unreadable 20", "refuse 20"} << QStringList{"\\z", "[20]\nINA1=1\nINA2=0\n"}
        << 0 << QStringList{"--eeprom"} << kExitOk
        << QStringList{"Tabulka 20 (vstupy alarmů) se vynechává: regulátor má firmware starší než 3. 10. 2008."}
        << wrote(QList<int>{0, 1, 2, 3, 4, 5, 6, 17, 19} + days) + QStringList{"EEPROM"};
    QTest::newRow("tables cut off")
        << QStringList{} << QStringList{"\\n# [^\\n]*\\n\\[(3|9)\\][^#]*", "\n"} << 0 << QStringList{} << kExitOk
        << QStringList{"Sada nemá tabulky 3, 9; v regulátoru zůstávají, jak jsou."}
        << wrote({0, 1, 2, 4, 5, 6, 17, 19, 20, 8, 10, 11, 12, 13, 14});
    QTest::newRow("another device type") << QStringList{} << otherType << 0 << QStringList{} << kExitUsage
        << QStringList{"%1: sada je z přístroje typu \"QZR 99\", regulátor je typu \"QZR 17 ekvitermní "
                       "regulátor\"; zapsat ji lze jen s volbou --force"} << QStringList{};
    QTest::newRow("another device type, forced") << QStringList{} << otherType << 0 << QStringList{"--force"} << kExitOk
        << QStringList{} << wrote(QList<int>{0, 1, 2, 3, 4, 5, 6, 17, 19, 20} + days);
    QTest::newRow("acknowledgement late") << QStringList{} << QStringList{} << 700 << QStringList{} << kExitFailed
        << QStringList{"Tabulka 0: regulátor neodpověděl", "Tabulka 0 se do pracovní paměti (RAM) regulátoru možná "
                       "zapsala, zápis se nepotvrdil; do EEPROM se nic neuložilo."} << wrote({0});
}

void TestQzr17Ctl::loadSaysWhatItLeaves()
{
    QFETCH(QStringList, simControl);
    QFETCH(QStringList, edit);
    QFETCH(int, lateMs);
    QFETCH(QStringList, options);
    QFETCH(int, exitCode);
    QFETCH(QStringList, err);
    QFETCH(QStringList, events);
    control(simControl);
    const QString path = dumpToFile(QStringLiteral("set.txt"));
    if (!edit.isEmpty())
        editFile(path, edit.first(), edit.last());
    control({QStringLiteral("late %1").arg(lateMs)});

    const CtlResult result = runOnSim(QStringList{"load", path} + options);

    QCOMPARE(m_sim->command(QStringLiteral("late 0"), 5000), QStringLiteral("OK"));
    QCOMPARE(result.exitCode, exitCode);
    QCOMPARE(result.err, err.replaceInStrings(QStringLiteral("%1"), path));
    m_sim->table(0); // collects the events that came meanwhile
    QCOMPARE(wroteTables(m_sim->events()), events);
}

void TestQzr17Ctl::badSetFileTouchesNothing_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("by");
    QTest::addColumn<QString>("message");

    QTest::newRow("load, value out of range") << "load" << "DSER=120" << "DSER=2000"
                                              << "Řádek 38: hodnota 2000 pole 4.DSER je mimo rozsah 5 až 1000";
    QTest::newRow("diff, unknown field") << "diff" << "HYST=2" << "HYSTERE=2"
                                         << "Řádek 29: tabulka 3 nemá pole \"HYSTERE\"";
    QTest::newRow("load, newer format") << "load" << "KV36 PARAMETER SET 1" << "KV36 PARAMETER SET 2"
                                        << "Řádek 1: sada je ve formátu verze 2, program čte verzi 1";
}

void TestQzr17Ctl::badSetFileTouchesNothing()
{
    QFETCH(QString, command);
    QFETCH(QString, line);
    QFETCH(QString, by);
    QFETCH(QString, message);
    const QString path = dumpToFile(QStringLiteral("set.txt"));
    editFile(path, QRegularExpression::escape(line + u'\n'), by + u'\n');

    const CtlResult result = runOnSim({"--trace", command, path});

    QCOMPARE(result.exitCode, kExitUsage);
    QCOMPARE(result.err, QStringList{path + QStringLiteral(": ") + message});
    QCOMPARE(traceLines(result.err, QStringLiteral("TX")), QStringList());
}

void TestQzr17Ctl::diffListsDifferingFields_data()
{
    QTest::addColumn<QStringList>("simControl");
    QTest::addColumn<QStringList>("lines");

    QTest::newRow("equal") << QStringList{} << QStringList{};
    QTest::newRow("float and int16") << QStringList{"set 4 C020000040000000C10000004080000001012C000200040005"}
                                     << QStringList{"4.P_LO file=-3 regulator=-2.5", "4.DSER file=120 regulator=300"};
    QTest::newRow("day and alarm input") << QStringList{"set 13 400000000000000040000000C1200000070B1217002D0000",
                                                        "set 20 0001"}
                                         << QStringList{"13.minute2 file=30 regulator=45", "20.INA2 file=2 regulator=1"};
}

void TestQzr17Ctl::diffListsDifferingFields()
{
    QFETCH(QStringList, simControl);
    QFETCH(QStringList, lines);
    const QString path = dumpToFile(QStringLiteral("set.txt"));
    control(simControl);

    const CtlResult result = runOnSim({"diff", path});

    QCOMPARE(result.exitCode, lines.isEmpty() ? kExitOk : kExitFailed);
    QCOMPARE(result.out, lines);
    QCOMPARE(result.err, QStringList());
}

QTEST_GUILESS_MAIN(TestQzr17Ctl)
#include "tst_qzr17ctl.moc"
