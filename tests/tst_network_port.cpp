// The bus through a serial server on the network, against real servers on
// loopback in front of the simulator's pseudo-terminal: socat for raw TCP,
// python3-serial's RFC 2217 port manager for RFC 2217.
#include "bus_protocol.h"
#include "network_address.h"
#include "param_record.h"
#include "port_io.h"
#include "rfc2217_transport.h"
#include "serial_server.h"
#include "sim_process.h"

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QTcpServer>
#include <QTest>

#include <memory>

using Kind = NetworkAddress::Kind;
using ServerKind = SerialServer::Kind;
Q_DECLARE_METATYPE(Kind)
Q_DECLARE_METATYPE(ServerKind)

namespace {

// Two floats whose bytes hold single and repeated 0xFF: 127.5 and a
// -127.99999.
const QByteArray kCurveWithIac = QByteArray::fromHex("42FF0000C2FFFFFF");

std::unique_ptr<TcpTransport> transportFor(const QString& text)
{
    const NetworkAddress address = parseNetworkAddress(text).value();
    if (address.kind == Kind::Rfc2217)
        return std::make_unique<Rfc2217Transport>(address);
    return std::make_unique<TcpTransport>(address);
}

// The two port operations over a bare transport, under the line's total
// read time-out.
class TransportPort final : public PortIo {
public:
    explicit TransportPort(LineTransport& transport) : m_transport(transport) {}
    bool WritePort(const uint8_t* buffer, int count, uint32_t& written) override
    {
        m_transport.purgeInput();
        m_transport.purgeOutput();
        written = uint32_t(m_transport.write(reinterpret_cast<const char*>(buffer), count));
        return m_transport.waitForBytesWritten(1000) || m_transport.bytesToWrite() == 0;
    }
    bool ReadPort(uint8_t* buffer, int count, uint32_t& received) override
    {
        const QDeadlineTimer deadline(500 + 2 * count);
        for (received = 0;
             received < uint32_t(count) && m_transport.waitForReadyRead(int(deadline.remainingTime()));)
            received +=
                uint32_t(m_transport.read(reinterpret_cast<char*>(buffer) + received, count - received));
        return !m_transport.broken();
    }

private:
    LineTransport& m_transport;
};

} // namespace

class TestNetworkPort : public QObject {
    Q_OBJECT

private slots:
    void addresses_data();
    void addresses();
    void throughServer_data();
    void throughServer();
    void lineSettingsReachServer();
    void connectFailsInTime_data();
    void connectFailsInTime();
};

void TestNetworkPort::addresses_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<QString>("host");
    QTest::addColumn<int>("port");
    QTest::newRow("raw") << "tcp://192.168.1.20:4001" << true << Kind::RawTcp << "192.168.1.20" << 4001;
    QTest::newRow("rfc2217 by name") << " RFC2217://Kotelna-Server:2217 " << true << Kind::Rfc2217
                                     << "kotelna-server" << 2217;
    QTest::newRow("ipv6") << "tcp://[fe80::1]:23" << true << Kind::RawTcp << "fe80::1" << 23;
    QTest::newRow("no port") << "tcp://192.168.1.20" << false << Kind::RawTcp << "" << 0;
    QTest::newRow("port 0") << "tcp://192.168.1.20:0" << false << Kind::RawTcp << "" << 0;
    QTest::newRow("port too big") << "tcp://host:65536" << false << Kind::RawTcp << "" << 0;
    QTest::newRow("no host") << "rfc2217://:2217" << false << Kind::RawTcp << "" << 0;
    QTest::newRow("path") << "tcp://host:4001/COM1" << false << Kind::RawTcp << "" << 0;
    QTest::newRow("other scheme") << "udp://host:4001" << false << Kind::RawTcp << "" << 0;
    QTest::newRow("device path") << "/dev/ttyUSB0" << false << Kind::RawTcp << "" << 0;
}

void TestNetworkPort::addresses()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    const std::optional<NetworkAddress> address = parseNetworkAddress(text);
    QCOMPARE(address.has_value(), valid);
    if (!valid)
        return;
    QFETCH(Kind, kind);
    QFETCH(QString, host);
    QFETCH(int, port);
    QCOMPARE(*address, (NetworkAddress{kind, host, quint16(port)}));
    QCOMPARE(parseNetworkAddress(address->text()), address);
}

void TestNetworkPort::throughServer_data()
{
    QTest::addColumn<ServerKind>("kind");
    QTest::newRow("raw tcp") << ServerKind::RawTcp;
    QTest::newRow("rfc2217") << ServerKind::Rfc2217;
}

// 0xFF survives both ways; the server killed and started again is reached
// anew by a reopen, with the line settings set again.
void TestNetworkPort::throughServer()
{
    QFETCH(ServerKind, kind);
    SimProcess sim;
    QVERIFY(sim.start());
    QVERIFY(sim.setTable(0, kCurveWithIac));
    SerialServer server(kind, sim.portPath());
    QVERIFY(server.start());
    std::unique_ptr<TcpTransport> transport = transportFor(server.address());
    QVERIFY(transport->open(9600));
    TransportPort port(*transport);
    bus_protocol::AttachPort(&port);

    QCOMPARE(bus_protocol::ReadTable(0), 1);
    QCOMPARE(param_record.SP_0, 127.5f);
    QCOMPARE(bus_protocol::WriteTable(0), 1);
    QCOMPARE(sim.waitForEvent("WROTE 0"), "WROTE 0 " + kCurveWithIac.toHex().toUpper());

    server.kill();
    QCOMPARE(bus_protocol::ReadTable(0), 0);
    QVERIFY(transport->broken());
    QVERIFY(server.start());
    QTRY_VERIFY_WITH_TIMEOUT(transport->reopen(9600), 2000);
    QCOMPARE(bus_protocol::ReadTable(0), 1);
    if (kind == ServerKind::Rfc2217)
        QTRY_COMPARE(server.log().count("set parity: E"), 2);
    bus_protocol::AttachPort(nullptr);
}

// A pseudo-terminal keeps no parity: the server's own log is where the
// settings are seen to arrive.
void TestNetworkPort::lineSettingsReachServer()
{
    SimProcess sim;
    QVERIFY(sim.start());
    SerialServer server(ServerKind::Rfc2217, sim.portPath());
    QVERIFY(server.start());
    Rfc2217Transport transport(*parseNetworkAddress(server.address()));
    QVERIFY(transport.open(19200));
    QVERIFY(transport.setBaudRate(38400));
    transport.purgeInput();
    transport.purgeOutput();
    QCOMPARE(transport.write("\x10\x00\x00\x69\x69\x16", 6), 6);
    QVERIFY(transport.rateConfirmed(1000));
    QVERIFY(transport.serverAgreed());
    QTRY_VERIFY(server.log().contains("purge out"));
    const QString log = server.log();
    for (const char* line : {"set baud rate: 19200", "set data size: 8", "set parity: E",
                             "set baud rate: 38400", "purge in", "purge out"})
        QVERIFY2(log.contains(line), line);
}

void TestNetworkPort::connectFailsInTime_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<int>("withinMs");
    // Port 9 (discard) is closed on a test machine: refused at once.
    QTest::newRow("refused") << "tcp://127.0.0.1:9" << 500;
    QTest::newRow("unknown name") << "rfc2217://no-such-server.invalid:2217" << 3500;
    QTest::newRow("no answer") << "tcp://127.0.0.1:%1" << 3500;
}

void TestNetworkPort::connectFailsInTime()
{
    QFETCH(QString, address);
    QFETCH(int, withinMs);
    // A listener whose queue is full drops further connection requests
    // unanswered, as a server behind a dead route does.
    QTcpServer full;
    full.setListenBacklogSize(0);
    QVERIFY(full.listen(QHostAddress::LocalHost));
    QTcpSocket queued[2];
    for (QTcpSocket& socket : queued)
        socket.connectToHost(QHostAddress::LocalHost, full.serverPort());
    address.replace("%1", QString::number(full.serverPort()));
    QElapsedTimer clock;
    clock.start();
    QVERIFY(!transportFor(address)->open(9600));
    QVERIFY2(clock.elapsed() <= withinMs, qPrintable(QString::number(clock.elapsed())));
}

QTEST_GUILESS_MAIN(TestNetworkPort)
#include "tst_network_port.moc"
