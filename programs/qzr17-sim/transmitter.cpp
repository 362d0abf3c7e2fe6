#include "transmitter.h"

#include "stop_signal.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <unistd.h>

namespace {

constexpr int kBitsPerChar = 11; // start, 8 data, parity, stop
constexpr uint8_t kSd1 = 0x10;
constexpr size_t kSd2DataStart = 7;

timespec toTimespec(std::chrono::steady_clock::time_point when)
{
    const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(when.time_since_epoch()).count();
    return timespec{static_cast<time_t>(ns / 1'000'000'000), static_cast<long>(ns % 1'000'000'000)};
}

// The answering station: SA of an SD1 acknowledgement or of an SD2 reply.
uint8_t senderOf(const uint8_t* reply, size_t length)
{
    if (length > 2 && reply[0] == kSd1)
        return reply[2];
    return length > 5 ? reply[5] : 0;
}

} // namespace

// steady_clock is CLOCK_MONOTONIC on Linux, so its time points convert directly.
void sleepUntil(std::chrono::steady_clock::time_point when)
{
    const timespec target = toTimespec(when);
    while (!stopRequested()) {
        const int rc = clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &target, nullptr);
        if (rc != EINTR)
            return;
    }
}

Transmitter::Transmitter(int fd, uint64_t seed)
    : m_fd(fd)
    , m_random(seed)
{
}

void Transmitter::send(const uint8_t* reply, size_t length, const LineFaults& faults, Clock::time_point requestStart,
                       size_t requestLength)
{
    const size_t count = compose(reply, length, faults);
    if (count == 0)
        return;
    auto start = Clock::now();
    Clock::duration perChar{};
    if (m_baud > 0) {
        perChar = std::chrono::duration_cast<Clock::duration>(
            std::chrono::nanoseconds(1'000'000'000LL * kBitsPerChar / m_baud));
        start = std::max(start, requestStart + perChar * static_cast<long>(requestLength));
    }
    start += std::chrono::milliseconds(faults.lateMs);
    // A station's replies leave in the order of its requests; another
    // station's late reply does not hold them up.
    const uint8_t sender = senderOf(reply, length);
    const auto same = std::find_if(m_queue.rbegin(), m_queue.rend(), [sender](const Queued& q) { return q.sender == sender; });
    if (same != m_queue.rend())
        start = std::max(start, same->start);
    const auto at = std::upper_bound(m_queue.begin(), m_queue.end(), start,
                                     [](Clock::time_point t, const Queued& q) { return t < q.start; });
    m_queue.insert(at, {std::vector<uint8_t>(m_out.begin(), m_out.begin() + static_cast<long>(count)), start, perChar,
                        sender});
    sendDue();
}

void Transmitter::sendDue()
{
    while (!m_queue.empty() && m_queue.front().start <= Clock::now() && !stopRequested()) {
        const Queued reply = std::move(m_queue.front());
        m_queue.pop_front();
        if (reply.perChar > Clock::duration::zero())
            writePaced(reply.bytes.data(), reply.bytes.size(), reply.start, reply.perChar);
        else
            writeAll(reply.bytes.data(), reply.bytes.size());
    }
}

std::optional<Transmitter::Clock::time_point> Transmitter::nextDue() const
{
    if (m_queue.empty())
        return std::nullopt;
    return m_queue.front().start;
}

// Noise, then the reply with its faults, in m_out; returns the byte count.
size_t Transmitter::compose(const uint8_t* reply, size_t length, const LineFaults& faults)
{
    const size_t noise = static_cast<size_t>(std::clamp(faults.noiseBytes, 0, static_cast<int>(kMaxOut / 2)));
    for (size_t i = 0; i < noise; ++i)
        m_out[i] = static_cast<uint8_t>(m_random());
    uint8_t* telegram = m_out.data() + noise;
    std::memcpy(telegram, reply, length);
    if (chance(faults.corruptChecksumRate))
        corruptChecksum(telegram, length);
    if (chance(faults.corruptByteRate))
        corruptDataByte(telegram, length);
    const size_t shortBy = static_cast<size_t>(std::max(faults.shortBy, 0));
    return noise + (shortBy >= length ? 0 : length - shortBy);
}

bool Transmitter::chance(double rate)
{
    if (rate <= 0.0)
        return false;
    return rate >= 1.0 || std::uniform_real_distribution<double>(0.0, 1.0)(m_random) < rate;
}

void Transmitter::corruptChecksum(uint8_t* telegram, size_t length)
{
    const auto change = static_cast<uint8_t>(std::uniform_int_distribution<int>(1, 255)(m_random));
    telegram[length - 2] ^= change;
}

// One bit of a data byte (for an acknowledgement: of its address or code bytes) flips; the
// checksum stays as it was, so only a receiver that checks the sum notices.
void Transmitter::corruptDataByte(uint8_t* telegram, size_t length)
{
    size_t first = 1;
    size_t last = 3;
    if (telegram[0] != kSd1) {
        const bool hasData = length > kSd2DataStart + 2;
        first = hasData ? kSd2DataStart : 4;
        last = hasData ? length - 3 : 6;
    }
    const auto index = std::uniform_int_distribution<size_t>(first, last)(m_random);
    const int bit = std::uniform_int_distribution<int>(0, 7)(m_random);
    telegram[index] ^= static_cast<uint8_t>(1u << bit);
}

void Transmitter::writeAll(const uint8_t* bytes, size_t count)
{
    while (count > 0) {
        const ssize_t written = ::write(m_fd, bytes, count);
        if (written < 0 && errno == EINTR)
            continue;
        // A full queue means nobody reads the port: the reply is lost, as on an open line.
        if (written <= 0)
            return;
        bytes += written;
        count -= static_cast<size_t>(written);
    }
}

void Transmitter::writePaced(const uint8_t* bytes, size_t count, Clock::time_point start, Clock::duration perChar)
{
    // A character is in the receiver only once its last bit has gone out.
    for (size_t i = 0; i < count && !stopRequested(); ++i) {
        sleepUntil(start + perChar * static_cast<long>(i + 1));
        writeAll(bytes + i, 1);
    }
}
