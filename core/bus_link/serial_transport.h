#pragma once

#include "line_transport.h"

#include <QSerialPort>
#include <QString>

// The bus bytes over a local serial port (a pseudo-terminal in tests).
class SerialTransport final : public LineTransport {
public:
    static constexpr int kQueueSize = 256;

    explicit SerialTransport(QString devicePath) : m_path(std::move(devicePath)) {}

    bool open(int baudRate) override;
    void close() override { m_port.close(); }
    bool isOpen() const override { return m_port.isOpen(); }
    bool broken() const override;
    void clearError() override { m_port.clearError(); }
    bool setBaudRate(int baudRate) override;

    void purgeInput() override;
    void purgeOutput() override { m_port.clear(QSerialPort::Output); }

    qint64 bytesAvailable() override { return m_port.bytesAvailable(); }
    qint64 read(char* data, qint64 maxSize) override { return m_port.read(data, maxSize); }
    QByteArray readAll() override { return m_port.readAll(); }
    bool waitForReadyRead(int msecs) override { return m_port.waitForReadyRead(msecs); }
    qint64 write(const char* data, qint64 size) override { return m_port.write(data, size); }
    qint64 bytesToWrite() const override { return m_port.bytesToWrite(); }
    bool waitForBytesWritten(int msecs) override { return m_port.waitForBytesWritten(msecs); }

private:
    QString m_path;
    QSerialPort m_port;
};
