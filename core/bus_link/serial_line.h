#pragma once

#include "line_transport.h"
#include "network_address.h"
#include "port_io.h"

#include <QByteArray>
#include <QString>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>

// The port operations of the link: one serial port at 8 data bits, even
// parity and one stop bit, read and written in blocking calls on the GUI
// thread under fixed time-outs. Failures to open or configure raise AppError
// with the port's name; reads and writes only return their result. The port
// may be a serial server on the network: a name or path that is a server's
// address, or a COM name that stands for one (see server_entries.h). A
// dropped connection is then what a vanished device is.
class SerialLine : public PortIo {
public:
    // RxDropped: bytes that came while no read was waiting for them (a late
    // reply, noise), discarded before the next request.
    enum class Direction { Tx, Rx, RxDropped };
    using TrafficTap = std::function<void(Direction, Clock::time_point, const QByteArray&)>;

    // Longest a line that never falls quiet holds a request back beyond the
    // time it was asked to wait.
    static constexpr int kSettleLimitMs = 1000;
    // A vanished device is looked for again at most this often.
    static constexpr int kReopenIntervalMs = 1000;

    SerialLine();
    ~SerialLine() override;

    int portNumber() const { return m_portNumber; }
    void setPortNumber(int number) { m_portNumber = number; }
    int baudRate() const { return m_baudRate; }
    void setBaudRate(int rate) { m_baudRate = rate; }

    // Opens "COM<n>". Does not close an open port (the caller does) and does
    // not store n: the caller has set the port number already.
    void OpenPort(int number);
    // As OpenPort, but a name whose chosen device is absent (an unplugged
    // adapter) raises nothing: the port counts as lost and keeps its number.
    void OpenPortOrAwaitDevice(int number);
    // Opens a device by its path; the path then names the port in messages.
    void OpenDevice(const QString& path);
    // Re-applies the baud rate to the open port.
    void ApplyLineSettings();
    void ClosePort();
    bool isOpen() const { return m_transport && m_transport->isOpen(); }
    // The device behind the port vanished (an adapter pulled out) or was
    // absent at the start: its handle is closed, and the same port name is
    // opened again, resolved afresh, until the device is back.
    bool deviceLost() const { return m_deviceLost; }
    // Opens a lost device when it is back, at most once a reopen interval;
    // exchanges call it too. True when the port is open.
    bool reopenIfLost();
    // The name the port was opened by, also while its device is lost.
    QString openedName() const { return m_openedName; }
    // The same with the server's address when the name stands for one.
    QString shownName() const { return nameWithServer(m_openedName); }
    // Whether the port is a serial server on the network.
    bool isNetworkPort() const { return m_server.has_value(); }
    // Where the port leads, links followed: two names of one device give the same.
    QString devicePath() const { return m_transportPath; }

    bool ReadPort(uint8_t* buffer, int count, uint32_t& received) override;
    bool WritePort(const uint8_t* buffer, int count, uint32_t& written) override;
    void DropUntilQuiet(Clock::time_point until) override;
    void PurgeReceive();
    void PurgeTransmit();

    // Called after a failure has reset the port number to 0, so that the link
    // window can show "no port".
    void setPortLostHandler(std::function<void()> handler) { m_onPortLost = std::move(handler); }
    // Sees every telegram written, every reply read and every byte dropped.
    void setTrafficTap(TrafficTap tap) { m_tap = std::move(tap); }

private:
    QString currentName() const;
    void open(const QString& name, const QString& path);
    void awaitDevice(const QString& name);
    [[nodiscard]] bool openDevice(const QString& name, const QString& path);
    QString nameWithServer(const QString& name) const;
    void dropVanishedDevice();
    [[nodiscard]] bool deviceError() const;
    [[noreturn]] void failAndReset(const QString& message, bool closeFirst);
    bool waitForBytes(int milliseconds, bool& deviceGone);
    void dropArrived();
    void tap(Direction direction, const char* bytes, qint64 count) const;

    std::unique_ptr<LineTransport> m_transport;
    QString m_transportPath; // what m_transport was made for
    std::optional<NetworkAddress> m_server;
    int m_portNumber = 0;
    int m_baudRate = 9600;
    QString m_explicitPath; // set when the port was opened by path
    QString m_openedName;
    // A name the user pointed at a device through the port directory never
    // falls back to /dev/ttyS<n-1> while its entry is away.
    bool m_openedByEntry = false;
    bool m_deviceLost = false;
    Clock::time_point m_lastReopen{};
    Clock::time_point m_lastByte{};
    std::function<void()> m_onPortLost;
    TrafficTap m_tap;
};
