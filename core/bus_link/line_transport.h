#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

// What carries the bus bytes: a local serial port or a connection to a
// serial server on the network. The serial line drives it with blocking
// calls under its own time-outs; the line is always 8 data bits, even
// parity and one stop bit, at the rate given.
class LineTransport {
public:
    virtual ~LineTransport() = default;

    // False when the device or the server cannot be reached.
    [[nodiscard]] virtual bool open(int baudRate) = 0;
    // One try to get the port back after a loss, holding the caller only
    // briefly; by default a plain open.
    [[nodiscard]] virtual bool reopen(int baudRate) { return open(baudRate); }
    virtual void close() = 0;
    // Why the last open or reopen failed, in words for the user; empty when
    // there is nothing to say beyond the failure itself.
    virtual QString failure() const { return {}; }
    virtual bool isOpen() const = 0;
    // The device vanished or the connection dropped: reads and writes fail
    // at once, and only a reopen helps.
    virtual bool broken() const = 0;
    virtual void clearError() = 0;
    [[nodiscard]] virtual bool setBaudRate(int baudRate) = 0;

    // Drop what came and was not read, or what waits to be sent, at both
    // ends of the connection.
    virtual void purgeInput() = 0;
    virtual void purgeOutput() = 0;

    virtual qint64 bytesAvailable() = 0;
    virtual qint64 read(char* data, qint64 maxSize) = 0;
    virtual QByteArray readAll() = 0;
    // True when bytes came within msecs; also false at once when broken.
    virtual bool waitForReadyRead(int msecs) = 0;
    virtual qint64 write(const char* data, qint64 size) = 0;
    virtual qint64 bytesToWrite() const = 0;
    virtual bool waitForBytesWritten(int msecs) = 0;
};
