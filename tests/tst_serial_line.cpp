// The serial line and the protocol end to end: the real simulator on a real
// pseudo-terminal, reached through the port directory as COM1.
#include "app_error.h"
#include "bus_protocol.h"
#include "param_record.h"
#include "port_names.h"
#include "serial_line.h"
#include "sim_process.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace bus_protocol;

namespace {

// A full read of a silent 6-byte reply must give up at 500 + 2 × 6 ms; the
// margin covers a loaded machine under the sanitizers, not a slow design.
constexpr qint64 kProbeTimeoutMs = 512;
constexpr qint64 kSlack = 400;
// An exchange on an absent device must not stall the GUI.
constexpr qint64 kFewMs = 50;
constexpr qint64 kReturnGoalMs = 1500;

qint64 timed(const std::function<void()>& exchange)
{
    QElapsedTimer clock;
    clock.start();
    exchange();
    return clock.elapsed();
}

} // namespace

class TestSerialLine : public QObject {
    Q_OBJECT

    QTemporaryDir m_portDir;
    std::unique_ptr<SimProcess> m_sim;
    std::unique_ptr<SerialLine> m_line;

    void startSim(QStringList args = {})
    {
        m_sim = std::make_unique<SimProcess>(QStringList{"--com", "1", "--address", "1"} + args);
        QVERIFY(m_sim->start());
        QTRY_VERIFY(QFileInfo::exists(m_portDir.filePath("COM1")));
    }

    void openLine()
    {
        m_line = std::make_unique<SerialLine>();
        m_line->setPortNumber(1);
        m_line->setBaudRate(9600);
        m_line->OpenPort(1);
        AttachPort(m_line.get());
    }

private slots:
    void initTestCase() { qputenv("KV36_PORT_DIR", m_portDir.path().toLocal8Bit()); }

    void init()
    {
        startSim();
        openLine();
        SetDestinationAddress(1);
        SetSourceAddress(0);
        param_record = ParamRecord{};
    }

    void cleanup()
    {
        AttachPort(nullptr);
        m_line.reset();
        m_sim.reset();
    }

    void everyTableReadsAndWritesBack()
    {
        for (int table = 0; table < kTableCount; ++table) {
            if (table == 18)
                continue;
            QVERIFY2(ReadTable(table), qPrintable(QString::number(table)));
            const QByteArray before = m_sim->table(table);
            QCOMPARE(before.size(), int(table_length[table]));
            if (table == 16)
                continue;
            QVERIFY2(WriteTable(table), qPrintable(QString::number(table)));
            QCOMPARE(m_sim->waitForEvent(QStringLiteral("WROTE %1 ").arg(table)).isEmpty(), false);
            if (table != 15) // the clock ticks on between the two looks
                QCOMPARE(m_sim->table(table).toHex(), before.toHex());
        }
    }

    void writtenValueArrives()
    {
        QVERIFY(ReadTable(4));
        param_record.DSER = 300;
        param_record.P_LO = -1.5f;
        QVERIFY(WriteTable(4));
        const QByteArray t4 = m_sim->table(4);
        QCOMPARE(t4.left(4).toHex(' '), QByteArray("bf c0 00 00"));
        QCOMPARE(t4.mid(17, 2).toHex(' '), QByteArray("01 2c"));
    }

    void refusedWriteLeavesCodeTwo()
    {
        QVERIFY(ReadTable(3));
        param_record.HYST = 11.0f; // above the documented 0..10
        QCOMPARE(WriteTable(3), 0);
        QCOMPARE(int(last_ack_code), 2);
        QVERIFY(!m_sim->waitForEvent("REFUSED 3").isEmpty());
    }

    void silentStationTimesOut()
    {
        QCOMPARE(m_sim->command("silent on"), QStringLiteral("OK"));
        int result = -1;
        const qint64 elapsed = timed([&] { result = ProbeStation(); });
        QCOMPARE(result, 0);
        QVERIFY2(elapsed >= kProbeTimeoutMs - 5 && elapsed < kProbeTimeoutMs + kSlack, qPrintable(QString::number(elapsed)));
    }

    void shortReplyFails()
    {
        QCOMPARE(m_sim->command("short 1"), QStringLiteral("OK"));
        QCOMPARE(ReadTable(0), 0);
        QCOMPARE(m_sim->command("short 0"), QStringLiteral("OK"));
        QCOMPARE(ReadTable(0), 1);
    }

    // Tables 1 and 2 have the same length, so table 1's late reply passes
    // every frame check as table 2's unless the line settles in between: up
    // to twice the read time-out (2 × 538 ms) it never does.
    void lateReplyIsNeverTakenForTheNextTable_data()
    {
        QTest::addColumn<int>("lateMs");
        QTest::newRow("just after the time-out") << 620;
        QTest::newRow("half a time-out later") << 800;
        QTest::newRow("nearly twice the time-out") << 1000;
    }

    void lateReplyIsNeverTakenForTheNextTable()
    {
        QFETCH(int, lateMs);
        m_sim->setTable(1, QByteArray::fromHex("0101" "41200000" "41A00000")); // ENDS 20
        m_sim->setTable(2, QByteArray::fromHex("0202" "40A00000" "42C80000")); // ENDS 100
        QCOMPARE(m_sim->command(QStringLiteral("late %1").arg(lateMs)), QStringLiteral("OK"));
        QCOMPARE(ReadTable(1), 0); // gives up at 538 ms; the reply comes later
        const int second = ReadTable(2);
        QVERIFY2(param_record.input2.ENDS != 20.0f, "table 1's reply taken for table 2");
        QCOMPARE(second, 0); // its own reply comes late too
        QCOMPARE(m_sim->command("late 0"), QStringLiteral("OK"));
        QCOMPARE(ReadTable(2), 1);
        QCOMPARE(param_record.input2.ENDS, 100.0f);
    }

    // Station 5 answers so late that the line has gone on to station 7: the
    // late answer names its sender and must never pass for station 7's, and
    // station 7's own answer behind it still counts.
    void lateStationIsNeverTakenForAnother_data()
    {
        QTest::addColumn<int>("lateMs");
        QTest::newRow("just after the time-out") << 620;
        QTest::newRow("during the next station's read") << 800;
        QTest::newRow("nearly twice the time-out") << 1000;
    }

    void lateStationIsNeverTakenForAnother()
    {
        QFETCH(int, lateMs);
        AttachPort(nullptr);
        m_line.reset();
        startSim({"--address", "3,5,7", "--late-ms", QStringLiteral("5:%1").arg(lateMs)});
        openLine();
        // Each station's curve starts elsewhere: SP_0 tells whose table 0 came.
        const std::pair<uint8_t, float> stations[] = {{3, 75.0f}, {5, 74.0f}, {7, 73.0f}};
        constexpr int kRounds = 3;
        int answersOfOthers = 0;
        for (int round = 0; round < kRounds; ++round) {
            for (const auto& [station, curveStart] : stations) {
                param_record.SP_0 = 0.0f;
                SetDestinationAddress(station);
                if (ReadTable(0) == 0)
                    continue;
                QCOMPARE(param_record.SP_0, curveStart);
                answersOfOthers += station != 5 ? 1 : 0;
            }
        }
        QCOMPARE(answersOfOthers, 2 * kRounds);
    }

    void noiseBeforeReplyFails()
    {
        QCOMPARE(m_sim->command("noise 3"), QStringLiteral("OK"));
        QCOMPARE(ReadTable(0), 0);
    }

    void secondOpenOfTheSamePortFails()
    {
        SerialLine second;
        second.setPortNumber(1);
        bool lost = false;
        second.setPortLostHandler([&] { lost = true; });
        try {
            second.OpenPort(1);
            QFAIL("a second open succeeded");
        } catch (const AppError& e) {
            QCOMPARE(e.message(), QStringLiteral("Sériový port COM1 nelze otevřít"));
        }
        QVERIFY(lost);
        QCOMPARE(second.portNumber(), 0);
        QVERIFY(ProbeStation()); // the first open is unharmed
    }

    void baudChangeWithoutPortNamesPortZero()
    {
        SerialLine closed;
        closed.setPortNumber(7);
        closed.setBaudRate(19200);
        try {
            closed.OpenPort(7); // nothing behind COM7
            QFAIL("COM7 opened");
        } catch (const AppError& e) {
            QCOMPARE(e.message(), QStringLiteral("Sériový port COM7 nelze otevřít"));
        }
        try {
            closed.ApplyLineSettings();
            QFAIL("a closed port took a baud rate");
        } catch (const AppError& e) {
            QCOMPARE(e.message(), QStringLiteral("Nepodařila se reinicializace portu COM0"));
        }
        QCOMPARE(closed.portNumber(), 0);
        QCOMPARE(closed.baudRate(), 19200);
    }

    void baudChangeKeepsTheLineWorking()
    {
        m_line->setBaudRate(115200);
        m_line->ApplyLineSettings();
        QVERIFY(ProbeStation());
    }

    // The adapter pulled out and plugged in again under the same COM name:
    // the line finds it by itself, and holds nobody up while it is away. An
    // entry that went with it leads nowhere meanwhile, not to the PC's ttyS0.
    void vanishedDeviceIsFoundAgainByItsName_data()
    {
        QTest::addColumn<bool>("entryRemoved");
        QTest::newRow("entry left dangling") << false;
        QTest::newRow("entry removed") << true;
    }

    void vanishedDeviceIsFoundAgainByItsName()
    {
        QFETCH(bool, entryRemoved);
        QVERIFY(ReadTable(16));
        if (entryRemoved)
            m_sim->terminate();
        else
            m_sim->kill();
        int result = -1;
        QVERIFY(timed([&] { result = ReadTable(16); }) < 536 + kSlack);
        QCOMPARE(result, 0);
        QVERIFY(m_line->deviceLost());
        QTest::qWait(SerialLine::kReopenIntervalMs); // a reopen falls due, and fails
        for (int i = 0; i < 3; ++i) {
            QVERIFY2(timed([&] { result = ReadTable(16); }) < kFewMs, "an absent device held the caller up");
            QCOMPARE(result, 0);
        }
        QVERIFY(m_line->deviceLost());
        startSim();
        QElapsedTimer back;
        back.start();
        QTRY_VERIFY_WITH_TIMEOUT(ReadTable(16), 3000);
        QVERIFY2(back.elapsed() < kReturnGoalMs + kSlack, qPrintable(QString::number(back.elapsed())));
        QVERIFY(!m_line->deviceLost());
        QCOMPARE(m_line->openedName(), QStringLiteral("COM1"));
    }

    // A late reply waits in the port until the next request drops it, as
    // between two readings of polling: it is seen as dropped, never unseen.
    void trafficTapSeesEveryByte_data()
    {
        QTest::addColumn<int>("lateMs");
        QTest::addColumn<QStringList>("seen"); // direction: 0 sent, 1 read, 2 dropped
        const QString probe = QStringLiteral("0 10 01 00 69 6a 16");
        const QString ack = QStringLiteral(" 10 00 01 00 01 16");
        QTest::newRow("answered") << 0 << QStringList{probe, "1" + ack, probe, "1" + ack};
        QTest::newRow("answered late") << 620 << QStringList{probe, "2" + ack, probe};
    }

    void trafficTapSeesEveryByte()
    {
        QFETCH(int, lateMs);
        QFETCH(QStringList, seen);
        QStringList tapped;
        m_line->setTrafficTap([&](SerialLine::Direction d, SerialLine::Clock::time_point, const QByteArray& bytes) {
            tapped.append(QString::number(int(d)) + u' ' + QString::fromLatin1(bytes.toHex(' ')));
        });
        QCOMPARE(m_sim->command(QStringLiteral("late %1").arg(lateMs)), QStringLiteral("OK"));
        ProbeStation();
        QTest::qWait(500); // until polling's next reading
        ProbeStation();
        QCOMPARE(tapped, seen);
    }

    void portNamesResolve_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("entry");   // what stands in the port directory
        QTest::addColumn<QString>("expected");
        QTest::addColumn<bool>("present");
        QTest::newRow("link") << "COM4" << "link:/dev/null" << "/dev/null" << true;
        QTest::newRow("file holding a path") << "COM5" << "file:/dev/zero\n" << "/dev/zero" << true;
        QTest::newRow("no entry") << "COM3" << "" << "/dev/ttyS2" << QFileInfo::exists("/dev/ttyS2");
        QTest::newRow("two digits") << "COM12" << "" << "/dev/ttyS11" << QFileInfo::exists("/dev/ttyS11");
        QTest::newRow("a path stays a path") << "/dev/null" << "" << "/dev/null" << true;
        // An unplugged adapter: its by-id name is gone, the link dangles.
        QTest::newRow("dangling link") << "COM6" << "link:/dev/serial/by-id/usb-gone-if00-port0"
                                       << "/dev/serial/by-id/usb-gone-if00-port0" << false;
        QTest::newRow("file naming a vanished device") << "COM2" << "file:/dev/ttyUSB97\n" << "/dev/ttyUSB97" << false;
    }

    void portNamesResolve()
    {
        QFETCH(QString, name);
        QFETCH(QString, entry);
        QFETCH(QString, expected);
        QFETCH(bool, present);
        const QString at = m_portDir.filePath(QFileInfo(name).fileName());
        QFile::remove(at);
        if (entry.startsWith("link:"))
            QVERIFY(QFile::link(entry.mid(5), at));
        if (entry.startsWith("file:")) {
            QFile f(at);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(entry.mid(5).toLocal8Bit());
        }
        QCOMPARE(devicePathFor(name), expected);
        QCOMPARE(portDevicePresent(name), present);
        QFile::remove(at);
    }
};

QTEST_GUILESS_MAIN(TestSerialLine)
#include "tst_serial_line.moc"
