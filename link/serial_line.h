#pragma once

#include "port_io.h"

#include <QByteArray>
#include <QSerialPort>
#include <QString>

#include <chrono>
#include <functional>

// The port operations of the link: one serial port at 8 data bits, even
// parity and one stop bit, read and written in blocking calls on the GUI
// thread under fixed time-outs. Failures to open or configure raise AppError
// with the port's name; reads and writes only return their result.
class SerialLine : public PortIo {
public:
    enum class Direction { Tx, Rx };
    using Clock = std::chrono::steady_clock;
    using TrafficTap = std::function<void(Direction, Clock::time_point, const QByteArray&)>;

    static constexpr int kQueueSize = 256;
    static constexpr int kReadIntervalMs = 100;
    static constexpr int kReadTotalConstantMs = 500;
    static constexpr int kReadTotalPerByteMs = 2;
    // Longest wait for a line to fall quiet before an exchange goes on anyway.
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
    // Opens a device by its path; the path then names the port in messages.
    void OpenDevice(const QString& path);
    // Re-applies the baud rate to the open port.
    void ApplyLineSettings();
    void ClosePort();
    bool isOpen() const { return m_serial.isOpen(); }
    // The device behind the open port vanished (an adapter pulled out): its
    // handle is closed, and before each exchange the same port name is
    // opened again, resolved afresh, until the device is back.
    bool deviceLost() const { return m_deviceLost; }
    // The name the port was opened by, also while its device is lost.
    QString openedName() const { return m_openedName; }

    bool ReadPort(uint8_t* buffer, int count, uint32_t& received) override;
    bool WritePort(const uint8_t* buffer, int count, uint32_t& written) override;
    void PurgeReceive();
    void PurgeTransmit();
    // Makes the next exchange wait for the line to fall quiet first, as after
    // a read that gave up: for a port just opened on a line that may still
    // carry the answer to somebody else's request.
    void expectStrayBytes();

    // Called after a failure has reset the port number to 0, so that the link
    // window can show "no port".
    void setPortLostHandler(std::function<void()> handler) { m_onPortLost = std::move(handler); }
    // Sees every telegram written and every reply read.
    void setTrafficTap(TrafficTap tap) { m_tap = std::move(tap); }

private:
    QString currentName() const;
    void open(const QString& name, const QString& path);
    [[nodiscard]] bool openDevice(const QString& path);
    void dropVanishedDevice();
    [[nodiscard]] bool reopenIfLost();
    [[nodiscard]] bool deviceError() const;
    [[noreturn]] void failAndReset(const QString& message, bool closeFirst);
    bool waitForBytes(int milliseconds, bool& deviceGone);
    void settleLine();
    void tap(Direction direction, const char* bytes, qint64 count) const;

    QSerialPort m_serial;
    int m_portNumber = 0;
    int m_baudRate = 9600;
    QString m_explicitPath; // set when the port was opened by path
    QString m_openedName;
    bool m_deviceLost = false;
    Clock::time_point m_lastReopen{};
    std::function<void()> m_onPortLost;
    TrafficTap m_tap;
    // A read that gave up leaves the line unsettled: the reply may still come
    // and, carrying no table number, pass as the answer to the next request.
    bool m_unsettled = false;
    Clock::time_point m_lastActivity{};
};
