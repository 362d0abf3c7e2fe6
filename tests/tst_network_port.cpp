// The bus through a serial server on the network, against real servers on
// loopback in front of the simulator's pseudo-terminal: socat for raw TCP,
// python3-serial's RFC 2217 port manager and ser2net for RFC 2217.
#include "Hl_modul.h"
#include "UnitPort.h"
#include "app_error.h"
#include "app_test_main.h"
#include "bus_protocol.h"
#include "link_status.h"
#include "param_record.h"
#include "scripted_prompts.h"
#include "serial_line.h"
#include "serial_server.h"
#include "server_entries.h"
#include "server_panel.h"
#include "sim_process.h"
#include "startup.h"
#include "stepped_clock.h"

#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>

#include <memory>

using ServerKind = SerialServer::Kind;
Q_DECLARE_METATYPE(ServerKind)

namespace {

// Two floats whose bytes hold single and repeated 0xFF: 127.5 and a
// -127.99999.
const QByteArray kCurveWithIac = QByteArray::fromHex("42FF0000C2FFFFFF");
// The settings editor's full read, then the week.
constexpr std::array kTables{0, 1, 2, 3, 4, 5, 6, 7, 15, 17, 19, 20, 8, 9, 10, 11, 12, 13, 14};
constexpr qint64 kReturnGoalMs = 2000;

} // namespace

class TestNetworkPort : public QObject {
    Q_OBJECT

    QTemporaryDir m_portDir;
    std::unique_ptr<SimProcess> m_sim;
    std::unique_ptr<SerialServer> m_server;

    void startServed(ServerKind kind)
    {
        m_sim = std::make_unique<SimProcess>();
        QVERIFY(m_sim->start());
        m_server = std::make_unique<SerialServer>(kind, m_sim->portPath());
        QVERIFY(m_server->start());
    }

    NetworkAddress address() const { return *parseNetworkAddress(m_server->address()); }

private slots:
    void initTestCase() { qputenv("KV36_PORT_DIR", m_portDir.path().toLocal8Bit()); }
    void cleanup()
    {
        bus_protocol::AttachPort(nullptr);
        m_server.reset();
        m_sim.reset();
    }

    void addresses_data();
    void addresses();
    void throughServer_data();
    void throughServer();
    void connectFailsInTime_data();
    void connectFailsInTime();
    void serverPanel_data();
    void serverPanel();
    void assignOverEntry_data();
    void assignOverEntry();
    void startUpWithServerAway();
    void pollingResumesAfterRestart_data();
    void pollingResumesAfterRestart();
};

// What an address reads as, written out again; nothing for what is none.
void TestNetworkPort::addresses_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("read");
    QTest::newRow("raw") << "tcp://192.168.1.20:4001"
                         << "tcp://192.168.1.20:4001";
    QTest::newRow("rfc2217 by name") << " RFC2217://Kotelna-Server:2217 "
                                     << "rfc2217://kotelna-server:2217";
    QTest::newRow("ipv6") << "tcp://[fe80::1]:23"
                          << "tcp://[fe80::1]:23";
    QTest::newRow("no port") << "tcp://192.168.1.20"
                             << "";
    QTest::newRow("port too big") << "tcp://host:65536"
                                  << "";
    QTest::newRow("path") << "tcp://host:4001/COM1"
                          << "";
    QTest::newRow("other scheme") << "udp://host:4001"
                                  << "";
    QTest::newRow("device path") << "/dev/ttyUSB0"
                                 << "";
}

void TestNetworkPort::addresses()
{
    QFETCH(QString, text);
    QFETCH(QString, read);
    const std::optional<NetworkAddress> address = parseNetworkAddress(text);
    QCOMPARE(address ? address->text() : QString(), read);
}

void TestNetworkPort::throughServer_data()
{
    QTest::addColumn<ServerKind>("kind");
    QTest::newRow("raw tcp") << ServerKind::RawTcp;
    QTest::newRow("rfc2217") << ServerKind::Rfc2217;
    QTest::newRow("ser2net") << ServerKind::Ser2net;
}

// A COM number that stands for a server carries the full read, the week and
// a write, 0xFF both ways. A pseudo-terminal keeps no parity: the RFC 2217
// server's own log is where the line settings are seen to arrive.
void TestNetworkPort::throughServer()
{
    QFETCH(ServerKind, kind);
    startServed(kind);
    QVERIFY(m_sim->setTable(0, kCurveWithIac));
    QVERIFY(!assignServer(5, address()));
    SerialLine line;
    line.setPortNumber(5);
    line.OpenPort(5);
    QCOMPARE(line.shownName(), "COM5 (" + m_server->address() + ")");
    bus_protocol::AttachPort(&line);
    for (int table : kTables)
        QVERIFY2(bus_protocol::ReadTable(table) == 1, qPrintable(QString::number(table)));
    QCOMPARE(param_record.SP_0, 127.5f);
    line.setBaudRate(19200);
    line.ApplyLineSettings();
    QCOMPARE(bus_protocol::WriteTable(0), 1);
    QCOMPARE(m_sim->waitForEvent("WROTE 0"), "WROTE 0 " + kCurveWithIac.toHex().toUpper());
    if (kind == ServerKind::Rfc2217) {
        QTRY_VERIFY(m_server->log().contains("set baud rate: 19200"));
        for (const char* setting : {"set baud rate: 9600", "set data size: 8", "set parity: E",
                                    "set stop bits: 1", "purge in", "purge out"})
            QVERIFY2(m_server->log().contains(setting), setting);
    }
    // The server's one connection is free again for the companion.
    line.ClosePort();
    QVERIFY(m_server->start());
    QProcess ctl;
    ctl.start(QStringLiteral(QZR17CTL_PATH), {"--port", m_server->address(), "read", "0"});
    QVERIFY(ctl.waitForFinished());
    QVERIFY(ctl.readAllStandardOutput().startsWith("SP_0=127.5\n"));
}

void TestNetworkPort::connectFailsInTime_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<int>("withinMs");
    QTest::addColumn<QString>("message");
    const QString head = "Sériový port COM7 (%1) nelze otevřít: ";
    // Port 9 (discard) is closed on a test machine: refused at once.
    QTest::newRow("refused") << "tcp://127.0.0.1:9" << 500 << head + "server odmítl spojení na portu 9";
    QTest::newRow("unknown name") << "rfc2217://no-such-server.invalid:2217" << 3500
                                  << head + "název no-such-server.invalid nelze přeložit na adresu";
    QTest::newRow("no answer") << "tcp://127.0.0.1:%2" << 3500
                               << head + "server na žádost o spojení neodpověděl";
    QTest::newRow("no port in the entry") << "tcp://127.0.0.1" << 500
                                          << "Sériový port COM7 nelze otevřít: \"tcp://127.0.0.1\" není "
                                             "platná adresa serveru, chybí číslo portu TCP";
}

// The port-opening error names the server and why it could not be reached,
// and comes within the connect time-out.
void TestNetworkPort::connectFailsInTime()
{
    QFETCH(QString, entry);
    QFETCH(int, withinMs);
    QFETCH(QString, message);
    // A listener whose queue is full drops further connection requests
    // unanswered, as a server behind a dead route does.
    QTcpServer full;
    full.setListenBacklogSize(0);
    QVERIFY(full.listen(QHostAddress::LocalHost));
    QTcpSocket queued[2];
    for (QTcpSocket& socket : queued)
        socket.connectToHost(QHostAddress::LocalHost, full.serverPort());
    entry.replace("%2", QString::number(full.serverPort()));
    QFile file(m_portDir.filePath("COM7"));
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(entry.toUtf8() + '\n') > 0);
    file.close();
    SerialLine line;
    line.setPortNumber(7);
    QString told;
    QElapsedTimer clock;
    clock.start();
    try {
        line.OpenPort(7);
    } catch (const AppError& error) {
        told = error.message();
    }
    QVERIFY2(clock.elapsed() <= withinMs, qPrintable(QString::number(clock.elapsed())));
    QCOMPARE(told, message.replace("%1", entry));
    QCOMPARE(line.portNumber(), 0);
}

void TestNetworkPort::serverPanel_data()
{
    QTest::addColumn<QString>("server"); // what listens: a server in front of the simulator, "mute", or none
    QTest::addColumn<int>("kind");       // the panel's kind: 0 raw TCP, 1 RFC 2217
    QTest::addColumn<QString>("host");
    QTest::addColumn<QString>("told");
    QTest::newRow("raw tcp relays") << "socat" << 0 << "127.0.0.1"
                                    << "Server %1 předává data: stanice na adrese 3 odpověděla.";
    QTest::newRow("raw tcp relays nothing") << "mute" << 0 << "127.0.0.1"
                                            << "Server %1 přijal spojení, ale na dotaz na stanici 3 nepřišlo "
                                               "nic: server data nepředává, nebo jeho "
                                               "linka nemá 19200 Bd, 8 datových bitů, sudou paritu a 1 stop "
                                               "bit, nebo na adrese 3 není regulátor.";
    QTest::newRow("rfc2217 sets the rate") << "python" << 1 << "127.0.0.1"
                                           << "Server %1 odpověděl a nastavil linku na 19200 Bd.";
    QTest::newRow("ser2net sets the rate") << "ser2net" << 1 << "127.0.0.1"
                                           << "Server %1 odpověděl a nastavil linku na 19200 Bd.";
    QTest::newRow("nobody listens") << "" << 0 << "127.0.0.1"
                                    << "Se serverem %1 se nelze spojit: server odmítl spojení na portu 9.";
    QTest::newRow("unknown name")
        << "" << 1 << "kotelna.invalid"
        << "Se serverem %1 se nelze spojit: název kotelna.invalid nelze přeložit na adresu.";
    QTest::newRow("not a host") << "" << 0 << "kotel na půdě"
                                << "\"kotel na půdě\" není název ani IP adresa serveru.";
}

// "Vyzkoušet" connects once and tells how far the server answered; a raw
// TCP server is asked for the station at the line's address. "Přiřadit
// server" makes the COM number stand for the server, unless the name is no
// name.
void TestNetworkPort::serverPanel()
{
    QFETCH(QString, server);
    QFETCH(int, kind);
    QFETCH(QString, host);
    QFETCH(QString, told);
    static const QMap<QString, ServerKind> kinds{
        {"socat", ServerKind::RawTcp}, {"python", ServerKind::Rfc2217}, {"ser2net", ServerKind::Ser2net}};
    quint16 port = 9;
    QTcpServer mute;
    if (kinds.contains(server)) {
        startServed(kinds[server]);
        QCOMPARE(m_sim->command("address 3"), "OK");
        port = address().port;
    } else if (server == "mute") {
        QVERIFY(mute.listen(QHostAddress::LocalHost));
        port = mute.serverPort();
    }
    ServerPanel panel(6);
    panel.setBaudRate(19200);
    panel.setStation({3, 0});
    panel.findChild<QLineEdit*>("ed_server")->setText(host);
    panel.findChild<QSpinBox*>("ed_tcp_port")->setValue(port);
    panel.findChild<QComboBox*>("cb_druh")->setCurrentIndex(kind);
    ScriptedPrompts prompts;
    panel.findChild<QPushButton*>("tl_vyzkouset")->click();
    const NetworkAddress typed{kind ? NetworkAddress::Kind::Rfc2217 : NetworkAddress::Kind::RawTcp, host,
                               port};
    QCOMPARE(prompts.texts(), QStringList{told.replace("%1", typed.text())});

    QSignalSpy assigned(&panel, &ServerPanel::assigned);
    panel.findChild<QPushButton*>("tl_priradit_server")->click();
    const bool named = parseNetworkAddress(typed.text()).has_value();
    QCOMPARE(assigned.size(), named ? 1 : 0);
    if (named)
        QCOMPARE(serverFor("COM6"), typed);
}

void TestNetworkPort::assignOverEntry_data()
{
    QTest::addColumn<QString>("entry"); // a link to a device, a folder, or none
    QTest::addColumn<QString>("told");
    QTest::newRow("no entry") << "" << "";
    QTest::newRow("link to a device") << "link" << "";
    QTest::newRow("a folder in its place")
        << "folder" << "COM6 nelze přiřadit server tcp://127.0.0.1:4001: %1: v jeho místě je složka.";
}

// The entry itself is replaced: the device a link led to stays as it was
// (a file stands for it), and a refusal says why.
void TestNetworkPort::assignOverEntry()
{
    QFETCH(QString, entry);
    QFETCH(QString, told);
    const QString path = m_portDir.filePath("COM6");
    QTemporaryDir devices;
    QFile device(devices.filePath("ttyUSB0"));
    QVERIFY(device.open(QIODevice::WriteOnly) && device.write("uzel") == 4);
    device.close();
    QVERIFY(entry != "link" || QFile::link(device.fileName(), path));
    QVERIFY(entry != "folder" || QDir(m_portDir.path()).mkpath("COM6/obsah"));
    ScriptedPrompts prompts;
    ServerPanel panel(6);
    panel.findChild<QLineEdit*>("ed_server")->setText("127.0.0.1");
    panel.findChild<QSpinBox*>("ed_tcp_port")->setValue(4001);
    panel.findChild<QPushButton*>("tl_priradit_server")->click();
    QCOMPARE(prompts.texts(), told.isEmpty() ? QStringList() : QStringList{told.arg(path)});
    QCOMPARE(serverFor("COM6").has_value(), told.isEmpty());
    QVERIFY(device.open(QIODevice::ReadOnly) && device.readAll() == "uzel");
    QDir(path).removeRecursively();
    QFile::remove(path);
}

// A server away at start-up is said once, with the reason.
void TestNetworkPort::startUpWithServerAway()
{
    QVERIFY(!assignServer(1, *parseNetworkAddress("tcp://127.0.0.1:9")));
    ScriptedPrompts prompts;
    const std::unique_ptr<Tqzr17> main(createWindows().main);
    QTest::qWait(1500);
    QCOMPARE(prompts.texts(),
             QStringList{
                 "Sériový port COM1 (tcp://127.0.0.1:9) nelze otevřít: server odmítl spojení na portu 9."});
}

void TestNetworkPort::pollingResumesAfterRestart_data()
{
    QTest::addColumn<ServerKind>("kind");
    QTest::newRow("raw tcp") << ServerKind::RawTcp;
    QTest::newRow("rfc2217") << ServerKind::Rfc2217;
}

// The main window polls a COM number that stands for a server, which is
// killed and started again: the status bar says so in words, no message
// comes, and readings resume by themselves.
void TestNetworkPort::pollingResumesAfterRestart()
{
    QFETCH(ServerKind, kind);
    startServed(kind);
    QVERIFY(!assignServer(3, address()));
    ScriptedPrompts prompts;
    SteppedClock clock{QDateTime(QDate(2026, 3, 15), QTime(10, 0, 1))};
    Tqzr17 window;
    window.FormCreate();
    window.setClock(&clock);
    window.store().WriteInteger("PORT", "COM", 3);
    Tport link(window.store(), &window);
    link.FormCreate();
    window.setLinkWindow(&link);
    bus_protocol::AttachPort(&link);
    const auto* status = window.findChild<LinkStatus*>();
    const QString head = "COM3 (" + m_server->address() + "), 9600 Bd – ";
    const auto tick = [&] {
        clock.step();
        window.Timer1Timer();
    };
    tick();
    QCOMPARE(status->text(), head + "spojení v pořádku");

    m_server->kill();
    tick();
    QTRY_COMPARE(status->text(), head + "spojení se serverem je přerušeno");
    QVERIFY(m_server->start());
    QElapsedTimer back;
    back.start();
    for (tick(); status->text() != head + "spojení v pořádku" && back.elapsed() < 3 * kReturnGoalMs; tick())
        QTest::qWait(50);
    QVERIFY2(back.elapsed() < kReturnGoalMs, qPrintable(QString::number(back.elapsed())));
    QCOMPARE(prompts.texts(), QStringList());
    if (kind == ServerKind::Rfc2217)
        QTRY_COMPARE(m_server->log().count("set parity: E"), 2);
}

int main(int argc, char** argv)
{
    return runAppTest<TestNetworkPort>(argc, argv);
}

#include "tst_network_port.moc"
