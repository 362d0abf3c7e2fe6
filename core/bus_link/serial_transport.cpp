#include "serial_transport.h"

bool SerialTransport::open(int baudRate)
{
    // The line settings go in before open(): a pseudo-terminal refuses a later
    // change of parity, and the settings given here are applied while opening.
    m_port.setPortName(m_path);
    m_port.setBaudRate(baudRate);
    m_port.setDataBits(QSerialPort::Data8);
    m_port.setParity(QSerialPort::EvenParity);
    m_port.setStopBits(QSerialPort::OneStop);
    m_port.setReadBufferSize(kQueueSize);
    if (m_port.open(QIODevice::ReadWrite))
        return true;
    m_port.clearError();
    return false;
}

// After the device has vanished a wait fails with another error than a
// time-out, and the handle stays dead even when the device comes back.
bool SerialTransport::broken() const
{
    const QSerialPort::SerialPortError error = m_port.error();
    return error != QSerialPort::NoError && error != QSerialPort::TimeoutError;
}

bool SerialTransport::setBaudRate(int baudRate)
{
    return m_port.isOpen() && (m_port.baudRate() == baudRate || m_port.setBaudRate(baudRate));
}

// Both the driver's queue and what Qt had already taken from the device.
void SerialTransport::purgeInput()
{
    m_port.clear(QSerialPort::Input);
    m_port.readAll();
}
