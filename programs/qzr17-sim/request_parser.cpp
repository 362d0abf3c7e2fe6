#include "request_parser.h"

#include <algorithm>

namespace {

constexpr uint8_t kSd1 = 0x10;
constexpr uint8_t kSd2 = 0x68;
constexpr uint8_t kEnd = 0x16;
constexpr size_t kSd1Length = 6;
constexpr size_t kSd2Header = 4;
constexpr size_t kSd2Framing = 6;
constexpr uint8_t kMinLe = 3; // DA, SA, FC

uint8_t sum(const uint8_t* from, size_t count)
{
    unsigned total = 0;
    for (size_t i = 0; i < count; ++i)
        total += from[i];
    return static_cast<uint8_t>(total);
}

} // namespace

void RequestParser::append(const uint8_t* data, size_t count, Clock::time_point at)
{
    if (count == 0)
        return;
    m_lastByteAt = at;
    if (count > kCapacity) {
        data += count - kCapacity;
        count = kCapacity;
    }
    // A flood of noise pushes out the oldest bytes; they could not be a telegram we still wait for.
    if (m_size + count > kCapacity)
        consume(m_size + count - kCapacity);
    std::copy_n(data, count, m_bytes.begin() + static_cast<std::ptrdiff_t>(m_size));
    std::fill_n(m_times.begin() + static_cast<std::ptrdiff_t>(m_size), count, at);
    m_size += count;
}

RequestParser::Check RequestParser::checkAtStart() const
{
    const uint8_t* b = m_bytes.data();
    if (b[0] == kSd1) {
        if (m_size < kSd1Length)
            return Check::Incomplete;
        return b[5] == kEnd && sum(b + 1, 3) == b[4] ? Check::Valid : Check::Invalid;
    }
    if (b[0] != kSd2)
        return Check::Invalid;
    if (m_size < kSd2Header)
        return m_size < 3 || b[1] == b[2] ? Check::Incomplete : Check::Invalid;
    const uint8_t le = b[1];
    if (le != b[2] || b[3] != kSd2 || le < kMinLe)
        return Check::Invalid;
    if (m_size < le + kSd2Framing)
        return Check::Incomplete;
    return b[5 + le] == kEnd && sum(b + 4, le) == b[4 + le] ? Check::Valid : Check::Invalid;
}

std::optional<RequestParser::Telegram> RequestParser::next()
{
    while (m_size > 0) {
        switch (checkAtStart()) {
        case Check::Incomplete:
            return std::nullopt;
        case Check::Invalid:
            skipOne();
            break;
        case Check::Valid: {
            const size_t length = m_bytes[0] == kSd1 ? kSd1Length : m_bytes[1] + kSd2Framing;
            return Telegram{m_bytes.data(), length, m_times[0]};
        }
        }
    }
    return std::nullopt;
}

void RequestParser::consume(size_t count)
{
    count = std::min(count, m_size);
    std::copy(m_bytes.begin() + static_cast<std::ptrdiff_t>(count),
              m_bytes.begin() + static_cast<std::ptrdiff_t>(m_size), m_bytes.begin());
    std::copy(m_times.begin() + static_cast<std::ptrdiff_t>(count),
              m_times.begin() + static_cast<std::ptrdiff_t>(m_size), m_times.begin());
    m_size -= count;
}

void RequestParser::skipOne()
{
    consume(1);
}

bool RequestParser::pending() const
{
    return m_size > 0;
}

RequestParser::Clock::time_point RequestParser::lastByteAt() const
{
    return m_lastByteAt;
}
