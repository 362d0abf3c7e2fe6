#include "trace.h"

#include "console.h"
#include "telegram_meaning.h"

#include <QCoreApplication>

void traceTraffic(SerialLine& line, SerialLine::Clock::time_point start)
{
    line.setTrafficTap([start, request = QByteArray()](SerialLine::Direction direction,
                                                       SerialLine::Clock::time_point at,
                                                       const QByteArray& bytes) mutable {
        const bool sent = direction == SerialLine::Direction::Tx;
        const TelegramMeaning meaning =
            describeTelegram(bytes, sent ? QByteArrayView() : QByteArrayView(request));
        if (sent)
            request = bytes;
        QString text = meaning.text;
        if (direction == SerialLine::Direction::RxDropped)
            text = QCoreApplication::translate("qzr17ctl", "zahozeno: %1").arg(text);
        const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(at - start);
        printError(trafficLine(direction, elapsed.count(), bytes, text));
    });
}
