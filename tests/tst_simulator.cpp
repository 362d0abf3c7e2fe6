// End-to-end tests of the regulator simulator: a raw client on the pty sends
// hand-written telegrams and checks the exact bytes that come back.

#include "sim_process.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <bit>
#include <cmath>
#include <cstring>
#include <limits>
#include <memory>

namespace {

constexpr int kReplyTimeoutMs = 1000;
constexpr int kSilenceMs = 300;

// The serial line as the program sees it: the pty slave in raw mode.
class PtyClient {
public:
    explicit PtyClient(const QString& path)
        : m_fd(::open(QFile::encodeName(path).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK))
    {
        termios settings{};
        if (m_fd >= 0 && ::tcgetattr(m_fd, &settings) == 0) {
            ::cfmakeraw(&settings);
            ::tcsetattr(m_fd, TCSANOW, &settings);
        }
    }
    ~PtyClient()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    PtyClient(const PtyClient&) = delete;
    PtyClient& operator=(const PtyClient&) = delete;

    bool isOpen() const { return m_fd >= 0; }

    bool send(const QByteArray& bytes)
    {
        return ::write(m_fd, bytes.constData(), size_t(bytes.size())) == bytes.size();
    }

    // Up to `count` bytes; fewer when the time-out ends the wait.
    QByteArray receive(int count, int timeoutMs = kReplyTimeoutMs)
    {
        QByteArray bytes;
        QDeadlineTimer deadline(timeoutMs);
        while (bytes.size() < count) {
            pollfd fd{m_fd, POLLIN, 0};
            if (::poll(&fd, 1, int(deadline.remainingTime())) <= 0)
                break;
            char chunk[512];
            const ssize_t n = ::read(m_fd, chunk, size_t(qMin<qsizetype>(sizeof chunk, count - bytes.size())));
            if (n > 0)
                bytes.append(chunk, n);
        }
        return bytes;
    }

    QByteArray exchange(const QByteArray& request, int replyLength)
    {
        return send(request) ? receive(replyLength) : QByteArray();
    }

private:
    int m_fd;
};

QByteArray hex(const char* text)
{
    return QByteArray::fromHex(text);
}

quint8 sumOf(const QByteArray& bytes, qsizetype from, qsizetype count)
{
    unsigned sum = 0;
    for (qsizetype i = from; i < from + count; ++i)
        sum += quint8(bytes[i]);
    return quint8(sum);
}

QByteArray sd1(quint8 da, quint8 sa, quint8 fc)
{
    QByteArray t;
    t.append(char(0x10)).append(char(da)).append(char(sa)).append(char(fc));
    t.append(char(sumOf(t, 1, 3))).append(char(0x16));
    return t;
}

QByteArray sd2(quint8 da, quint8 sa, quint8 fc, const QByteArray& du)
{
    const int le = int(du.size()) + 3;
    QByteArray t;
    t.append(char(0x68)).append(char(le)).append(char(le)).append(char(0x68));
    t.append(char(da)).append(char(sa)).append(char(fc)).append(du);
    t.append(char(sumOf(t, 4, le))).append(char(0x16));
    return t;
}

// Service, table number, table length and the zero byte of a table transfer.
QByteArray tableHeader(int service, int table, int length)
{
    const char header[] = {char(service), char(table), char(length), 0};
    return QByteArray(header, sizeof header);
}

QByteArray readRequest(quint8 da, int table, int length)
{
    return sd2(da, 0, 0x6C, tableHeader(1, table, length));
}

QByteArray writeRequest(quint8 da, int table, const QByteArray& data)
{
    return sd2(da, 0, 0x63, tableHeader(2, table, int(data.size())) + data);
}

QByteArray dataReply(const QByteArray& data)
{
    return sd2(0, 1, 0x08, data);
}

const QByteArray kAckFrom1 = hex("100001000116");
const QByteArray kRefusalFrom1 = hex("100001020316");
const QByteArray kProbe1 = hex("10010069 6A16");

const int kTableLength[] = {8, 10, 10, 12, 25, 5, 6, 1, 24, 24, 24, 24, 24, 24, 24, 7, 18, 12, 6, 10, 2};

// Sets one environment variable for the simulator about to start, and clears the
// others that decide the port directory, so the row's variable is the one that counts.
class EnvironmentOverride {
public:
    EnvironmentOverride(const QByteArray& name, const QByteArray& value)
    {
        for (const char* variable : {"KV36_PORT_DIR", "XDG_CONFIG_HOME", "HOME"}) {
            m_saved.append({variable, qgetenv(variable), qEnvironmentVariableIsSet(variable)});
            qunsetenv(variable);
        }
        qputenv(name.constData(), value);
    }
    ~EnvironmentOverride()
    {
        for (const Saved& s : m_saved) {
            if (s.wasSet)
                qputenv(s.name.constData(), s.value);
            else
                qunsetenv(s.name.constData());
        }
    }
    EnvironmentOverride(const EnvironmentOverride&) = delete;
    EnvironmentOverride& operator=(const EnvironmentOverride&) = delete;

private:
    struct Saved {
        QByteArray name;
        QByteArray value;
        bool wasSet;
    };
    QList<Saved> m_saved;
};

struct StartedSim {
    explicit StartedSim(const QStringList& args)
        : process(args)
    {
    }
    SimProcess process;
    std::unique_ptr<PtyClient> line;
};

float floatAt(const QByteArray& bytes, int offset)
{
    const quint32 bits = qFromBigEndian<quint32>(bytes.constData() + offset);
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

} // namespace

class TstSimulator : public QObject {
    Q_OBJECT

private:
    // Starts a simulator and opens its port; QVERIFY-style failure reporting through the return value.
    std::unique_ptr<StartedSim> startSim(const QStringList& args)
    {
        auto sim = std::make_unique<StartedSim>(args);
        if (!sim->process.start())
            return nullptr;
        sim->line = std::make_unique<PtyClient>(sim->process.portPath());
        return sim->line->isOpen() ? std::move(sim) : nullptr;
    }

private slots:
    void workedExamples_data();
    void workedExamples();
    void silence_data();
    void silence();
    void streamFraming_data();
    void streamFraming();
    void everyTableReadsAndWritesBack_data();
    void everyTableReadsAndWritesBack();
    void writeRangeCheck_data();
    void writeRangeCheck();
    void table7WriteMovesAddressAfterAck();
    void texts_data();
    void texts();
    void shortReply();
    void corruptChecksum();
    void corruptByteKeepsOldChecksum();
    void noiseBeforeReply();
    void lateReply();
    void baudPacing();
    void unpacedReplyIsImmediate();
    void runtimeSwitches_data();
    void runtimeSwitches();
    void controlReplies_data();
    void controlReplies();
    void clockTicksOverMidnight();
    void measuredValuesFollowCurveAndProgramme();
    void measuredValuesMoveUnlessHeld();
    void eofOnStdinKeepsServing();
    void stationsOfOneLineDiffer_data();
    void stationsOfOneLineDiffer();
    void linksFollowTheProcess_data();
    void linksFollowTheProcess();
    void comLinkReplacesStaleOne();
    void stopsCleanly_data();
    void stopsCleanly();
    void killMakesDeviceVanish();
    void clientThatLeftUnrestoredLeavesNoTrace_data();
    void clientThatLeftUnrestoredLeavesNoTrace();
    void badUsageExitsWithTwo_data();
    void badUsageExitsWithTwo();
};

void TstSimulator::workedExamples_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("setup");
    QTest::addColumn<QByteArray>("request");
    QTest::addColumn<QByteArray>("reply");

    const QStringList at1{"--address", "1"};
    QTest::newRow("probe") << at1 << QString() << hex("10010069 6A16") << kAckFrom1;
    QTest::newRow("probe from station 5") << QStringList() << QString() << hex("10000569 6E16") << hex("100500000516");
    QTest::newRow("read table 0") << at1 << "set 0 42A0000041A00000" << hex("68070768 01006C01000800 7616")
                                  << hex("680B0B68 000108 42A00000 41A00000 CC16");
    QTest::newRow("write table 0") << at1 << QString()
                                   << hex("680F0F68 010063 02000800 42A00000 41A00000 3116") << kAckFrom1;
    QTest::newRow("store EEPROM") << at1 << QString() << hex("68040468 01006306 6A16") << kAckFrom1;
    QTest::newRow("table 18 reads zeros") << at1 << QString() << hex("68070768 01006C01120600 8616")
                                          << hex("68090968 000108 000000000000 0916");
    QTest::newRow("version text") << at1 << QString() << hex("68040468 01006C04 7116")
                                  << hex("68181868 000108 515A5231372D35204657203135 2E 3033 2E 32303132 9716");
    const QStringList line{"--address", "3-4,9", "--refuse-eeprom", "4", "--late-ms", "9:900"};
    QTest::newRow("one station of several") << line << QString() << sd1(4, 0, 0x69) << hex("100004000416");
    QTest::newRow("station refusing EEPROM") << line << QString() << sd2(4, 0, 0x63, hex("06")) << hex("100004020616");
    QTest::newRow("EEPROM beside it") << line << QString() << sd2(3, 0, 0x63, hex("06")) << hex("100003000316");
    QTest::newRow("control for one station") << line << "@4 set 0 42A0000041A00000" << readRequest(4, 0, 8)
                                             << hex("680B0B68 000408 42A00000 41A00000 CF16");
}

void TstSimulator::workedExamples()
{
    QFETCH(QStringList, args);
    QFETCH(QString, setup);
    QFETCH(QByteArray, request);
    QFETCH(QByteArray, reply);
    auto sim = startSim(args);
    QVERIFY(sim);
    if (!setup.isEmpty())
        QCOMPARE(sim->process.command(setup), QStringLiteral("OK"));
    QCOMPARE(sim->line->exchange(request, int(reply.size())).toHex(' '), reply.toHex(' '));
}

void TstSimulator::silence_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QByteArray>("request");

    const QStringList at1{"--address", "1"};
    QTest::newRow("probe to another address") << at1 << sd1(2, 0, 0x69);
    QTest::newRow("read to another address") << at1 << readRequest(3, 0, 8);
    QTest::newRow("broadcast probe") << at1 << sd1(127, 0, 0x69);
    QTest::newRow("broadcast read") << at1 << readRequest(127, 0, 8);
    QTest::newRow("broadcast write") << at1 << writeRequest(127, 0, hex("42A0000041A00000"));
    QTest::newRow("probe with bad checksum") << at1 << hex("10010069 6B16");
    QTest::newRow("probe with bad end") << at1 << hex("10010069 6A17");
    QTest::newRow("read with bad checksum") << at1 << hex("68070768 01006C01000800 7716");
    QTest::newRow("read with LE and LEr apart") << at1 << hex("68070868 01006C01000800 7616");
    QTest::newRow("read with wrong table length") << at1 << readRequest(1, 0, 9);
    QTest::newRow("read with nonzero fourth byte") << at1 << sd2(1, 0, 0x6C, hex("01000801"));
    QTest::newRow("read of table 21") << at1 << readRequest(1, 21, 8);
    QTest::newRow("read with write function code") << at1 << sd2(1, 0, 0x63, hex("01000800"));
    QTest::newRow("write one byte short") << at1 << sd2(1, 0, 0x63, hex("02000800 42A0000041A000"));
    QTest::newRow("unknown service") << at1 << sd2(1, 0, 0x6C, hex("03"));
    QTest::newRow("silent option") << QStringList{"--address", "1", "--silent"} << sd1(1, 0, 0x69);
    QTest::newRow("no-type option") << QStringList{"--address", "1", "--no-type"} << sd2(1, 0, 0x6C, hex("00"));
    QTest::newRow("no-version option") << QStringList{"--address", "1", "--no-version"} << sd2(1, 0, 0x6C, hex("04"));
    const QStringList line{"--address", "3-5,9", "--silent", "5", "--late-ms", "9:900", "--no-type", "3,4"};
    QTest::newRow("address not on the line") << line << sd1(6, 0, 0x69);
    QTest::newRow("silent station of several") << line << sd1(5, 0, 0x69);
    QTest::newRow("late station of several") << line << sd1(9, 0, 0x69);
    QTest::newRow("no type from a listed station") << line << sd2(4, 0, 0x6C, hex("00"));
}

void TstSimulator::silence()
{
    QFETCH(QStringList, args);
    QFETCH(QByteArray, request);
    auto sim = startSim(args);
    QVERIFY(sim);
    QVERIFY(sim->line->send(request));
    QCOMPARE(sim->line->receive(1, kSilenceMs).toHex(' '), QByteArray());
    QVERIFY(sim->process.events().isEmpty());
}

void TstSimulator::streamFraming_data()
{
    QTest::addColumn<QList<QByteArray>>("pieces");
    QTest::addColumn<int>("gapMs");
    QTest::addColumn<QByteArray>("reply");

    const QByteArray read0 = readRequest(1, 0, 8);
    const QByteArray table0 = dataReply(hex("42960000 420C0000"));
    QTest::newRow("request in two reads") << QList<QByteArray>{read0.left(5), read0.mid(5)} << 20 << table0;
    QList<QByteArray> bytewise;
    for (char c : read0)
        bytewise.append(QByteArray(1, c));
    QTest::newRow("request byte by byte") << bytewise << 2 << table0;
    QTest::newRow("two requests in one read") << QList<QByteArray>{kProbe1 + read0} << 0 << kAckFrom1 + table0;
    QTest::newRow("garbage before request") << QList<QByteArray>{hex("00FF1610 681601") + kProbe1} << 0 << kAckFrom1;
    QTest::newRow("false header before request") << QList<QByteArray>{hex("68050568 01") + read0} << 0 << table0;
    QTest::newRow("bad telegram before good one") << QList<QByteArray>{hex("10010069 6B16") + kProbe1} << 0 << kAckFrom1;
    // The false header promises more bytes than ever come; the quiet line ends the wait.
    QTest::newRow("long false header before request") << QList<QByteArray>{hex("68F0F068") + kProbe1} << 0 << kAckFrom1;
}

void TstSimulator::streamFraming()
{
    QFETCH(QList<QByteArray>, pieces);
    QFETCH(int, gapMs);
    QFETCH(QByteArray, reply);
    auto sim = startSim({"--address", "1"});
    QVERIFY(sim);
    for (const QByteArray& piece : pieces) {
        QVERIFY(sim->line->send(piece));
        QTest::qSleep(gapMs);
    }
    QCOMPARE(sim->line->receive(int(reply.size())).toHex(' '), reply.toHex(' '));
    QCOMPARE(sim->line->receive(1, 100).toHex(' '), QByteArray());
}

void TstSimulator::everyTableReadsAndWritesBack_data()
{
    QTest::addColumn<int>("table");
    for (int t = 0; t < 21; ++t)
        QTest::addRow("table %d", t) << t;
}

// Every table answers with its length and valid framing, and the factory contents
// of every writable table pass the regulator's own range checks.
void TstSimulator::everyTableReadsAndWritesBack()
{
    QFETCH(int, table);
    const int length = kTableLength[table];
    auto sim = startSim({"--address", "1"});
    QVERIFY(sim);
    const QByteArray reply = sim->line->exchange(readRequest(1, table, length), length + 9);
    QCOMPARE(reply.size(), length + 9);
    const QByteArray data = reply.mid(7, length);
    QCOMPARE(reply.toHex(' '), dataReply(data).toHex(' '));
    if (table != 15 && table != 16)
        QCOMPARE(sim->process.table(table).toHex(), data.toHex());

    const bool writable = table != 16 && table != 18;
    QCOMPARE(sim->line->exchange(writeRequest(1, table, data), 6).toHex(' '),
             (writable ? kAckFrom1 : kRefusalFrom1).toHex(' '));
}

void TstSimulator::writeRangeCheck_data()
{
    QTest::addColumn<QStringList>("extraArgs");
    QTest::addColumn<int>("table");
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<bool>("accepted");

    const QStringList none;
    const QByteArray control = hex("C0400000 40000000 C1000000 40800000 01 0078 0002 0004 0005");
    auto withControl = [&](int at, const char* bytes) {
        QByteArray d = control;
        const QByteArray v = hex(bytes);
        return d.replace(at, v.size(), v);
    };
    QTest::newRow("HYST 10.0 at its limit") << none << 3 << hex("C0A00000 40A00000 41200000") << true;
    QTest::newRow("HYST 11.0") << none << 3 << hex("C0A00000 40A00000 41300000") << false;
    QTest::newRow("HYST negative") << none << 3 << hex("C0A00000 40A00000 BF800000") << false;
    QTest::newRow("SP_0 NaN") << none << 0 << hex("7FC00000 420C0000") << false;
    QTest::newRow("SP20 infinite") << none << 0 << hex("42960000 7F800000") << false;
    QTest::newRow("SP_0 any finite") << none << 0 << hex("C47A0000 461C4000") << true;
    QTest::newRow("P_LO positive") << none << 4 << withControl(0, "3F800000") << false;
    QTest::newRow("P_LO -20") << none << 4 << withControl(0, "C1A00000") << true;
    QTest::newRow("D_HI 20.5") << none << 4 << withControl(12, "41A40000") << false;
    QTest::newRow("REGO 2") << none << 4 << withControl(16, "02") << false;
    QTest::newRow("DSER 4") << none << 4 << withControl(17, "0004") << false;
    QTest::newRow("DSER 1000") << none << 4 << withControl(17, "03E8") << true;
    QTest::newRow("DSER 1001") << none << 4 << withControl(17, "03E9") << false;
    QTest::newRow("DEAD 11") << none << 4 << withControl(19, "000B") << false;
    QTest::newRow("F2 17") << none << 4 << withControl(21, "0011") << false;
    QTest::newRow("TPID 0") << none << 4 << withControl(23, "0000") << false;
    QTest::newRow("TPID 50") << none << 4 << withControl(23, "0032") << true;
    QTest::newRow("TPID 51") << none << 4 << withControl(23, "0033") << false;
    QTest::newRow("sensor type 3") << none << 1 << hex("03 01 C2480000 43160000") << false;
    QTest::newRow("range start -1000") << none << 2 << hex("01 01 C47A0000 43160000") << false;
    QTest::newRow("range end 9999") << none << 2 << hex("02 02 C479C000 461C3C00") << true;
    QTest::newRow("relay 3") << none << 5 << hex("0102000300") << false;
    QTest::newRow("PASS 9999") << none << 6 << hex("0008 270F 01 00") << true;
    QTest::newRow("FILTR 16") << none << 6 << hex("0010 0000 00 00") << false;
    QTest::newRow("address 127") << none << 7 << hex("7F") << false;
    QTest::newRow("Monday record") << none << 8 << hex("C0A00000 00000000 40200000 00000000 0608 1016 001E000F") << true;
    QTest::newRow("shift 50.5") << none << 9 << hex("424A0000 00000000 40200000 00000000 0608 1016 001E000F") << false;
    QTest::newRow("hour 24") << none << 10 << hex("C0A00000 00000000 40200000 00000000 0608 1018 001E000F") << false;
    QTest::newRow("minute 60") << none << 14 << hex("C0A00000 00000000 40200000 00000000 0608 1016 003C000F") << false;
    QTest::newRow("clock") << none << 15 << hex("00050E01070C1A") << true;
    QTest::newRow("clock month 13") << none << 15 << hex("00050E01070D1A") << false;
    QTest::newRow("clock weekday 0") << none << 15 << hex("00050E00070C1A") << false;
    QTest::newRow("measured values") << none << 16 << QByteArray(18, '\0') << false;
    QTest::newRow("PB 501") << none << 17 << hex("43FA8000 42F00000 41200000") << false;
    QTest::newRow("INT 0.01") << none << 17 << hex("41A00000 3C23D70A 41200000") << true;
    QTest::newRow("DER 0") << none << 17 << hex("41A00000 42F00000 00000000") << false;
    QTest::newRow("table 18") << none << 18 << QByteArray(6, '\0') << false;
    QTest::newRow("AOUT 4") << none << 19 << hex("00 04 00000000 42C80000") << false;
    QTest::newRow("INA1 3") << none << 20 << hex("0300") << false;
    QTest::newRow("INA 1 and 2") << none << 20 << hex("0102") << true;
    QTest::newRow("refused table") << QStringList{"--refuse-table", "3"} << 3 << hex("C0A00000 40A00000 41200000") << false;
    QTest::newRow("other table than refused") << QStringList{"--refuse-table", "3"} << 20 << hex("0102") << true;
}

void TstSimulator::writeRangeCheck()
{
    QFETCH(QStringList, extraArgs);
    QFETCH(int, table);
    QFETCH(QByteArray, data);
    QFETCH(bool, accepted);
    QCOMPARE(data.size(), kTableLength[table]);
    auto sim = startSim(QStringList{"--address", "1"} + extraArgs);
    QVERIFY(sim);
    const QByteArray before = sim->process.table(table);

    QCOMPARE(sim->line->exchange(writeRequest(1, table, data), 6).toHex(' '),
             (accepted ? kAckFrom1 : kRefusalFrom1).toHex(' '));

    const QString event = accepted ? QStringLiteral("WROTE %1 %2").arg(table).arg(QString::fromLatin1(data.toHex().toUpper()))
                                   : QStringLiteral("REFUSED %1 2").arg(table);
    QCOMPARE(sim->process.waitForEvent(event.section(' ', 0, 0)), event);
    const QByteArray after = sim->process.table(table);
    if (table == 15)
        QCOMPARE(after.mid(1) == data.mid(1), accepted); // the seconds tick on
    else if (accepted)
        QCOMPARE(after.toHex(), data.toHex());
    else if (table != 16)
        QCOMPARE(after.toHex(), before.toHex());
}

void TstSimulator::table7WriteMovesAddressAfterAck()
{
    auto sim = startSim({"--address", "1"});
    QVERIFY(sim);
    QCOMPARE(sim->line->exchange(writeRequest(1, 7, hex("05")), 6).toHex(' '), kAckFrom1.toHex(' '));
    QCOMPARE(sim->process.waitForEvent("WROTE"), QStringLiteral("WROTE 7 05"));
    QCOMPARE(sim->line->exchange(kProbe1, 6).toHex(' '), QByteArray());
    QCOMPARE(sim->line->exchange(sd1(5, 0, 0x69), 6).toHex(' '), hex("100005000516").toHex(' '));
    QCOMPARE(sim->process.table(7).toHex(), QByteArray("05"));
}

void TstSimulator::texts_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("service");
    QTest::addColumn<QByteArray>("text");

    QTest::newRow("default type") << QStringList() << 0 << QByteArray("QZR 17 ekvitermn\xED regul\xE1tor");
    QTest::newRow("Czech type") << QStringList{"--type", "Žluťoučký kůň"} << 0
                                << QByteArray("\x8Elu\x9Dou\xE8k\xFD k\xF9\xF2");
    QTest::newRow("type with zero byte") << QStringList{"--type-hex", "41004200"} << 0 << hex("41004200");
    QTest::newRow("empty type") << QStringList{"--type-hex", ""} << 0 << QByteArray();
    QTest::newRow("long type") << QStringList{"--type-hex", QString(200, 'A')} << 0 << QByteArray(100, '\xAA');
    QTest::newRow("longest type") << QStringList{"--type-hex", QString(498, '5')} << 0 << QByteArray(249, 'U');
    QTest::newRow("default version") << QStringList() << 4 << QByteArray("QZR17-5 FW 15.03.2012");
    QTest::newRow("firmware date") << QStringList{"--firmware-date", "03.10.2008"} << 4 << QByteArray("QZR17-5 FW 03.10.2008");
    QTest::newRow("own version") << QStringList{"--version", "verze ř"} << 4 << QByteArray("verze \xF8");
    QTest::newRow("version as hex") << QStringList{"--version-hex", "00FF"} << 4 << hex("00FF");
}

void TstSimulator::texts()
{
    QFETCH(QStringList, args);
    QFETCH(int, service);
    QFETCH(QByteArray, text);
    auto sim = startSim(QStringList{"--address", "1"} + args);
    QVERIFY(sim);
    const QByteArray expected = dataReply(text);
    QCOMPARE(quint8(expected[1]), quint8(text.size() + 3));
    const QByteArray reply = sim->line->exchange(sd2(1, 0, 0x6C, QByteArray(1, char(service))), int(expected.size()));
    QCOMPARE(reply.toHex(' '), expected.toHex(' '));
}

void TstSimulator::shortReply()
{
    auto sim = startSim({"--address", "1", "--short-reply", "2"});
    QVERIFY(sim);
    QCOMPARE(sim->line->exchange(kProbe1, 6).toHex(' '), kAckFrom1.left(4).toHex(' '));
    const QByteArray reply = sim->line->exchange(readRequest(1, 3, 12), 21);
    QCOMPARE(reply.toHex(' '), dataReply(sim->process.table(3)).left(19).toHex(' '));
}

void TstSimulator::corruptChecksum()
{
    auto sim = startSim({"--address", "1", "--corrupt-checksum", "1"});
    QVERIFY(sim);
    const QByteArray reply = sim->line->exchange(kProbe1, 6);
    QCOMPARE(reply.size(), 6);
    QCOMPARE(reply.left(4).toHex(' '), kAckFrom1.left(4).toHex(' '));
    QCOMPARE(reply[5], kAckFrom1[5]);
    QVERIFY(reply[4] != kAckFrom1[4]);
}

void TstSimulator::corruptByteKeepsOldChecksum()
{
    auto sim = startSim({"--address", "1", "--corrupt-byte", "1", "--seed", "7"});
    QVERIFY(sim);
    const QByteArray good = dataReply(sim->process.table(17));
    const QByteArray reply = sim->line->exchange(readRequest(1, 17, 12), int(good.size()));
    QCOMPARE(reply.size(), good.size());
    QCOMPARE(reply.left(7).toHex(' '), good.left(7).toHex(' '));
    QCOMPARE(reply.right(2).toHex(' '), good.right(2).toHex(' '));
    int changedBits = 0;
    for (qsizetype i = 7; i < reply.size() - 2; ++i)
        changedBits += std::popcount(quint8(reply[i] ^ good[i]));
    QCOMPARE(changedBits, 1);
}

void TstSimulator::noiseBeforeReply()
{
    auto sim = startSim({"--address", "1", "--noise", "5", "--seed", "3"});
    QVERIFY(sim);
    const QByteArray reply = sim->line->exchange(kProbe1, 11);
    QCOMPARE(reply.size(), 11);
    QCOMPARE(reply.right(6).toHex(' '), kAckFrom1.toHex(' '));
}

void TstSimulator::lateReply()
{
    auto sim = startSim({"--address", "1", "--late-ms", "150"});
    QVERIFY(sim);
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(sim->line->exchange(kProbe1, 6).toHex(' '), kAckFrom1.toHex(' '));
    QVERIFY2(clock.elapsed() >= 150, qPrintable(QString::number(clock.elapsed())));
}

// At 9600 baud a character takes 11/9600 s: the 13-byte request and the 17-byte
// reply cannot both be on the line in less than 29 character times after the request began.
void TstSimulator::baudPacing()
{
    auto sim = startSim({"--address", "1", "--baud", "9600"});
    QVERIFY(sim);
    const double charMs = 11.0 * 1000.0 / 9600.0;
    QElapsedTimer clock;
    clock.start();
    QVERIFY(sim->line->send(readRequest(1, 0, 8)));
    const QByteArray first = sim->line->receive(1);
    const double firstMs = double(clock.nsecsElapsed()) / 1e6;
    const QByteArray rest = sim->line->receive(16);
    const double lastMs = double(clock.nsecsElapsed()) / 1e6;
    QCOMPARE((first + rest).toHex(' '), dataReply(hex("42960000420C0000")).toHex(' '));
    QVERIFY2(firstMs >= 13 * charMs, qPrintable(QString::number(firstMs)));
    QVERIFY2(lastMs >= 29 * charMs, qPrintable(QString::number(lastMs)));
    QVERIFY2(lastMs < 29 * charMs + 100, qPrintable(QString::number(lastMs)));
}

// The benchmark compares the program's exchange with a raw pty: the simulator must not add a sleep.
void TstSimulator::unpacedReplyIsImmediate()
{
    auto sim = startSim({"--address", "1"});
    QVERIFY(sim);
    qint64 bestNs = std::numeric_limits<qint64>::max();
    for (int i = 0; i < 5; ++i) {
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(sim->line->exchange(kProbe1, 6).size(), 6);
        bestNs = qMin(bestNs, clock.nsecsElapsed());
    }
    QVERIFY2(bestNs < 5'000'000, qPrintable(QString::number(bestNs)));
}

void TstSimulator::runtimeSwitches_data()
{
    QTest::addColumn<QStringList>("commands");
    QTest::addColumn<QByteArray>("request");
    QTest::addColumn<QByteArray>("reply");

    const QByteArray write0 = writeRequest(1, 0, hex("42A0000041A00000"));
    QTest::newRow("silent on") << QStringList{"silent on"} << kProbe1 << QByteArray();
    QTest::newRow("silent off again") << QStringList{"silent on", "silent off"} << kProbe1 << kAckFrom1;
    QTest::newRow("refuse") << QStringList{"refuse 0"} << write0 << kRefusalFrom1;
    QTest::newRow("accept after refuse") << QStringList{"refuse 0", "accept 0"} << write0 << kAckFrom1;
    QTest::newRow("address") << QStringList{"address 9"} << sd1(9, 0, 0x69) << hex("100009000916");
    QTest::newRow("old address after move") << QStringList{"address 9"} << kProbe1 << QByteArray();
    QTest::newRow("no-type on") << QStringList{"no-type on"} << sd2(1, 0, 0x6C, hex("00")) << QByteArray();
    QTest::newRow("no-version on") << QStringList{"no-version on"} << sd2(1, 0, 0x6C, hex("04")) << QByteArray();
    QTest::newRow("no-version off") << QStringList{"no-version on", "no-version off", "version-hex 31"}
                                    << sd2(1, 0, 0x6C, hex("04")) << dataReply("1");
    QTest::newRow("type-hex") << QStringList{"type-hex 410042"} << sd2(1, 0, 0x6C, hex("00")) << dataReply(hex("410042"));
    QTest::newRow("short") << QStringList{"short 3"} << kProbe1 << kAckFrom1.left(3);
    QTest::newRow("short beyond length") << QStringList{"short 6"} << kProbe1 << QByteArray();
    QTest::newRow("set then read") << QStringList{"set 20 0201"} << readRequest(1, 20, 2) << dataReply(hex("0201"));
    QTest::newRow("faults off") << QStringList{"late 0", "noise 0", "baud 0", "corrupt-byte 0", "corrupt-checksum 0"}
                                << kProbe1 << kAckFrom1;
}

void TstSimulator::runtimeSwitches()
{
    QFETCH(QStringList, commands);
    QFETCH(QByteArray, request);
    QFETCH(QByteArray, reply);
    auto sim = startSim({"--address", "1"});
    QVERIFY(sim);
    for (const QString& command : commands)
        QCOMPARE(sim->process.command(command), QStringLiteral("OK"));
    const int wait = reply.isEmpty() ? kSilenceMs : kReplyTimeoutMs;
    QVERIFY(sim->line->send(request));
    QCOMPARE(sim->line->receive(qMax(int(reply.size()), 1), wait).toHex(' '), reply.toHex(' '));
}

void TstSimulator::controlReplies_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("reply");

    QTest::newRow("get address") << "get 7" << "OK 01";
    QTest::newRow("get unused table") << "get 18" << "OK 000000000000";
    QTest::newRow("get curve") << "get 0" << "OK 42960000420C0000";
    QTest::newRow("get control") << "get 4" << "OK C040000040000000C100000040800000010078000200040005";
    QTest::newRow("set lower-case hex") << "set 20 0a0b" << "OK";
    QTest::newRow("get missing table") << "get 21" << "ERR";
    QTest::newRow("get without table") << "get" << "ERR";
    QTest::newRow("set wrong length") << "set 0 00" << "ERR";
    QTest::newRow("set odd hex") << "set 7 0" << "ERR";
    QTest::newRow("unknown command") << "reboot" << "ERR";
    QTest::newRow("empty command") << "" << "ERR";
    QTest::newRow("silent maybe") << "silent maybe" << "ERR";
    QTest::newRow("negative delay") << "late -1" << "ERR";
    QTest::newRow("rate above one") << "corrupt-byte 1.5" << "ERR";
    QTest::newRow("rate half") << "corrupt-checksum 0.5" << "OK";
    QTest::newRow("address 127") << "address 127" << "ERR";
    QTest::newRow("refuse table 21") << "refuse 21" << "ERR";
    QTest::newRow("text too long") << "type-hex " + QString(500, 'A') << "ERR";
    QTest::newRow("resume measured values") << "live" << "OK";
}

void TstSimulator::controlReplies()
{
    QFETCH(QString, command);
    QFETCH(QString, reply);
    auto sim = startSim({"--address", "1"});
    QVERIFY(sim);
    const QString answer = sim->process.command(command);
    if (reply == QLatin1String("ERR"))
        QVERIFY2(answer.startsWith(QLatin1String("ERR ")), qPrintable(answer));
    else
        QCOMPARE(answer, reply);
    QVERIFY(sim->process.events().isEmpty());
}

void TstSimulator::clockTicksOverMidnight()
{
    auto sim = startSim({"--address", "1"});
    QVERIFY(sim);
    // Sunday 31 December 2026, 23:59:59: one second later it is Monday 1 January 2027.
    QVERIFY(sim->process.setTable(15, hex("3B3B17071F0C1A")));
    QTest::qSleep(1100);
    const QByteArray reply = sim->line->exchange(readRequest(1, 15, 7), 16);
    QCOMPARE(reply.toHex(' '), dataReply(hex("00000001 01011B")).toHex(' '));
}

void TstSimulator::measuredValuesFollowCurveAndProgramme()
{
    auto sim = startSim({"--address", "1"});
    QVERIFY(sim);
    // Every level of every day lowers by 7 °C, whatever the clock says.
    const QByteArray day = hex("C0E00000 C0E00000 C0E00000 C0E00000 00060C12 00000000");
    for (int t = 8; t <= 14; ++t)
        QVERIFY(sim->process.setTable(t, day));
    QVERIFY(sim->process.setTable(0, hex("42700000 42200000"))); // 60.0 and 40.0

    const QByteArray reply = sim->line->exchange(readRequest(1, 16, 18), 27);
    QCOMPARE(reply.size(), 27);
    const QByteArray v = reply.mid(7, 18);
    const float water = floatAt(v, 0);
    const float outdoor = floatAt(v, 4);
    const float demanded = floatAt(v, 9);
    const float setback = floatAt(v, 13);
    QVERIFY2(water > 30 && water < 60, qPrintable(QString::number(water)));
    QVERIFY2(outdoor > -10 && outdoor < 20, qPrintable(QString::number(outdoor)));
    QCOMPARE(setback, -7.0f);
    QVERIFY2(std::abs(demanded - (60.0f - outdoor + setback)) < 0.01f, qPrintable(QString::number(demanded)));
}

void TstSimulator::measuredValuesMoveUnlessHeld()
{
    auto sim = startSim({"--address", "1"});
    QVERIFY(sim);
    const QByteArray first = sim->process.table(16);
    QTest::qSleep(250);
    QVERIFY(sim->process.table(16) != first);

    const QByteArray held = hex("42340000 40A00000 01 42480000 C0A00000 00");
    QVERIFY(sim->process.setTable(16, held));
    QTest::qSleep(100);
    QCOMPARE(sim->line->exchange(readRequest(1, 16, 18), 27).toHex(' '), dataReply(held).toHex(' '));
    QCOMPARE(sim->process.command("live"), QStringLiteral("OK"));
    QVERIFY(sim->process.table(16) != held);
}

void TstSimulator::eofOnStdinKeepsServing()
{
    QProcess process;
    process.start(SimProcess::executablePath(), {"--address", "1"});
    QVERIFY(process.waitForReadyRead(5000));
    const QByteArray portLine = process.readLine().trimmed();
    QVERIFY(portLine.startsWith("PORT "));
    process.closeWriteChannel();
    PtyClient line(QString::fromLocal8Bit(portLine.mid(5)));
    QVERIFY(line.isOpen());
    QCOMPARE(line.exchange(kProbe1, 6).toHex(' '), kAckFrom1.toHex(' '));
    QCOMPARE(process.state(), QProcess::Running);
    process.terminate();
    QVERIFY(process.waitForFinished(3000));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), 0);
}

void TstSimulator::linksFollowTheProcess_data()
{
    QTest::addColumn<QByteArray>("variable");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("comLink");

    QTest::newRow("port directory") << QByteArray("KV36_PORT_DIR") << "ports" << "ports/COM4";
    QTest::newRow("XDG config") << QByteArray("XDG_CONFIG_HOME") << "cfg" << "cfg/Talvex_R16/ports/COM4";
    QTest::newRow("home") << QByteArray("HOME") << "home" << "home/.config/Talvex_R16/ports/COM4";
}

void TstSimulator::linksFollowTheProcess()
{
    QFETCH(QByteArray, variable);
    QFETCH(QString, value);
    QFETCH(QString, comLink);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString com4 = dir.filePath(comLink);
    const QString ownLink = dir.filePath("regulator");
    SimProcess sim({"--com", "4", "--link", ownLink});
    {
        const EnvironmentOverride lookup(variable, QFile::encodeName(dir.filePath(value)));
        QVERIFY(sim.start());
    }
    QCOMPARE(QFile::symLinkTarget(com4), sim.portPath());
    QCOMPARE(QFile::symLinkTarget(ownLink), sim.portPath());
    PtyClient line(com4);
    QCOMPARE(line.exchange(sd1(0, 0, 0x69), 6).toHex(' '), hex("100000000016").toHex(' '));

    sim.terminate();
    QVERIFY(!QFileInfo(com4).isSymLink());
    QVERIFY(!QFileInfo(ownLink).isSymLink());
}

void TstSimulator::comLinkReplacesStaleOne()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString com2 = dir.filePath("COM2");
    QVERIFY(QFile::link("/nonexistent", com2));
    SimProcess sim({"--com", "2"});
    {
        const EnvironmentOverride lookup("KV36_PORT_DIR", QFile::encodeName(dir.path()));
        QVERIFY(sim.start());
    }
    QCOMPARE(QFile::symLinkTarget(com2), sim.portPath());
}

void TstSimulator::stopsCleanly_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("SIGTERM") << "SIGTERM";
    QTest::newRow("SIGINT") << "SIGINT";
    QTest::newRow("quit command") << "quit";
}

void TstSimulator::stopsCleanly()
{
    QFETCH(QString, how);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString link = dir.filePath("port");
    QProcess process;
    process.start(SimProcess::executablePath(), {"--link", link});
    QVERIFY(process.waitForReadyRead(5000));
    QVERIFY(process.readLine().startsWith("PORT "));
    QVERIFY(QFileInfo(link).isSymLink());
    if (how == QLatin1String("quit"))
        process.write("quit\n");
    else
        ::kill(pid_t(process.processId()), how == QLatin1String("SIGINT") ? SIGINT : SIGTERM);
    QVERIFY(process.waitForFinished(3000));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), 0);
    QVERIFY(!QFileInfo(link).isSymLink());
    if (how == QLatin1String("quit"))
        QCOMPARE(process.readAll(), QByteArray("OK\n"));
}

void TstSimulator::clientThatLeftUnrestoredLeavesNoTrace_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<bool>("leavesARequest");

    QTest::newRow("idle line") << QStringList{} << false;
    // The reply is due long after the client has gone: the next client must
    // not wait for it to be sent.
    QTest::newRow("late reply still due") << QStringList{"--late-ms", "4000"} << true;
}

// A client killed with the port open restores nothing: its settings and its
// exclusive use must not meet the next client, also not while its reply is
// still to come.
void TstSimulator::clientThatLeftUnrestoredLeavesNoTrace()
{
    QFETCH(QStringList, options);
    QFETCH(bool, leavesARequest);
    SimProcess sim(QStringList{"--address", "1"} + options);
    QVERIFY(sim.start());
    const QByteArray path = QFile::encodeName(sim.portPath());
    const auto lineAsFound = [&path] {
        QByteArray found(sizeof(termios) + sizeof(int), '\0');
        const int fd = ::open(path.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        ::tcgetattr(fd, reinterpret_cast<termios*>(found.data()));
        ::ioctl(fd, TIOCGEXCL, found.data() + sizeof(termios));
        ::close(fd);
        return found;
    };
    const QByteArray first = lineAsFound();
    const int fd = ::open(path.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    termios left{};
    QCOMPARE(::tcgetattr(fd, &left), 0);
    ::cfsetspeed(&left, B9600);
    left.c_iflag |= IGNPAR;
    QCOMPARE(::tcsetattr(fd, TCSANOW, &left), 0);
    QCOMPARE(::ioctl(fd, TIOCEXCL), 0);
    if (leavesARequest)
        QCOMPARE(::write(fd, kProbe1.constData(), size_t(kProbe1.size())), kProbe1.size());
    ::close(fd);
    QTRY_COMPARE_WITH_TIMEOUT(lineAsFound(), first, 1000);
}

void TstSimulator::killMakesDeviceVanish()
{
    SimProcess sim;
    QVERIFY(sim.start());
    QVERIFY(QFileInfo::exists(sim.portPath()));
    sim.kill();
    QVERIFY(!QFileInfo::exists(sim.portPath()));
    QCOMPARE(sim.command("get 7", 200), QString());
}

// Three stations answer the same request each with data of its own, so that an
// answer taken for another station's shows.
void TstSimulator::stationsOfOneLineDiffer_data()
{
    QTest::addColumn<QByteArray>("du");
    QTest::addColumn<int>("replyLength");
    QTest::newRow("curve") << tableHeader(1, 0, 8) << 17;
    QTest::newRow("measured values") << tableHeader(1, 16, 18) << 27;
    QTest::newRow("type") << hex("00") << 38;
    QTest::newRow("version") << hex("04") << 30;
}

void TstSimulator::stationsOfOneLineDiffer()
{
    QFETCH(QByteArray, du);
    QFETCH(int, replyLength);
    auto sim = startSim({"--address", "3,5,7"});
    QVERIFY(sim);
    QSet<QByteArray> answers;
    for (const quint8 address : {3, 5, 7}) {
        const QByteArray reply = sim->line->exchange(sd2(address, 0, 0x6C, du), replyLength);
        QCOMPARE(reply.size(), replyLength);
        QCOMPARE(quint8(reply[5]), address);
        answers.insert(reply.mid(7));
    }
    QCOMPARE(answers.size(), 3);
}

void TstSimulator::badUsageExitsWithTwo_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::newRow("unknown option") << QStringList{"--bogus"};
    QTest::newRow("address 127") << QStringList{"--address", "127"};
    QTest::newRow("missing value") << QStringList{"--baud"};
    QTest::newRow("rate above one") << QStringList{"--corrupt-byte", "2"};
    QTest::newRow("date in other order") << QStringList{"--firmware-date", "2012-03-15"};
    QTest::newRow("odd hex") << QStringList{"--type-hex", "414"};
    QTest::newRow("text outside the code page") << QStringList{"--type", "日本"};
    QTest::newRow("COM0") << QStringList{"--com", "0"};
    QTest::newRow("table 21") << QStringList{"--refuse-table", "21"};
    QTest::newRow("address listed twice") << QStringList{"--address", "3-5,4"};
    QTest::newRow("range backwards") << QStringList{"--address", "5-3"};
    QTest::newRow("fault of a station not on the line") << QStringList{"--address", "3,5", "--late-ms", "7:900"};
    QTest::newRow("station list that is none") << QStringList{"--address", "3,5", "--silent", "five"};
}

void TstSimulator::badUsageExitsWithTwo()
{
    QFETCH(QStringList, args);
    QProcess process;
    process.start(SimProcess::executablePath(), args);
    QVERIFY(process.waitForFinished(3000));
    QCOMPARE(process.exitCode(), 2);
    QVERIFY(!process.readAllStandardError().isEmpty());
    QVERIFY(!process.readAllStandardOutput().contains("PORT"));
}

QTEST_GUILESS_MAIN(TstSimulator)
#include "tst_simulator.moc"
