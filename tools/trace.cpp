#include "trace.h"

#include "console.h"

QString traceLine(SerialLine::Direction direction, qint64 milliseconds, const QByteArray& bytes)
{
    const QLatin1String name(direction == SerialLine::Direction::Tx ? "TX" : "RX");
    return QStringLiteral("%1 %2 %3").arg(name).arg(milliseconds).arg(QString::fromLatin1(bytes.toHex(' ').toUpper()));
}

void traceTraffic(SerialLine& line, SerialLine::Clock::time_point start)
{
    line.setTrafficTap([start](SerialLine::Direction direction, SerialLine::Clock::time_point at,
                               const QByteArray& bytes) {
        const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(at - start);
        printError(traceLine(direction, elapsed.count(), bytes));
    });
}
