#pragma once

#include "serial_line.h"

#include <QByteArrayView>
#include <QString>

// What a telegram on the bus means, worked out from its bytes alone. It keeps
// its own knowledge of the frames and tables, apart from the program's request
// building and reply checks, so that it shows the program's mistakes as well
// as the regulator's.
struct TelegramMeaning {
    QString text;
    bool fault = false;
};

namespace telegram_meaning {

// Text replies have no length known in advance: the port asks for this many
// bytes and the silence after the reply ends the read.
constexpr int kOpenEndedReply = 255;

// The bytes the reply to a request is read with: 0 when none is awaited (a
// table read sent to everyone, or bytes that are no request).
int awaitedReplyLength(QByteArrayView request);

// How long the port waits for the reply to a request.
int replyTimeoutMs(QByteArrayView request);

} // namespace telegram_meaning

// A telegram sent, or one received read in the light of the request before it
// (empty when none is known). Empty bytes after a request: no reply came.
TelegramMeaning describeTelegram(QByteArrayView bytes, QByteArrayView request = {});

// "TX 12 10 00 00 69 69 16 | SD1 dotaz na stav, DA 0, SA 0": direction,
// milliseconds, the bytes in upper-case hex, the meaning.
QString trafficLine(SerialLine::Direction direction, qint64 milliseconds, QByteArrayView bytes,
                    const QString& meaning);
