#pragma once

#include "port_io.h"

#include <QByteArray>
#include <QList>

#include <algorithm>
#include <cstring>

// A port that records every write and answers each read with the next
// scripted reply (cut to the count asked for, as a real read would be).
class FakePort : public PortIo {
public:
    QList<QByteArray> written;
    QList<QByteArray> replies;
    bool writeFails = false;
    int readCalls = 0;
    int lastReadCount = 0;
    QList<Clock::time_point> heldBackUntil; // each DropUntilQuiet's `until`

    bool WritePort(const uint8_t* buffer, int count, uint32_t& done) override
    {
        done = writeFails ? 0 : static_cast<uint32_t>(count);
        written.append(QByteArray(reinterpret_cast<const char*>(buffer), count));
        return !writeFails;
    }

    bool ReadPort(uint8_t* buffer, int count, uint32_t& received) override
    {
        ++readCalls;
        lastReadCount = count;
        const QByteArray reply = replies.isEmpty() ? QByteArray() : replies.takeFirst();
        received = static_cast<uint32_t>(std::min<qsizetype>(reply.size(), count));
        std::memcpy(buffer, reply.constData(), received);
        return true;
    }

    void DropUntilQuiet(Clock::time_point until) override { heldBackUntil.append(until); }
};
