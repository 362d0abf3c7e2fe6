#include "regulator_clock.h"

#include <ctime>

namespace {

constexpr int64_t kSecondsPerDay = 86400;
constexpr int kFieldCount = 7;

// The C library's thread-safe calendar calls, which Windows names differently.
std::time_t utcSeconds(std::tm& fields)
{
#ifdef _WIN32
    return _mkgmtime(&fields);
#else
    return timegm(&fields);
#endif
}

std::tm localFields(std::time_t seconds)
{
    std::tm fields{};
#ifdef _WIN32
    localtime_s(&fields, &seconds);
#else
    localtime_r(&seconds, &fields);
#endif
    return fields;
}

std::tm utcFields(std::time_t seconds)
{
    std::tm fields{};
#ifdef _WIN32
    gmtime_s(&fields, &seconds);
#else
    gmtime_r(&seconds, &fields);
#endif
    return fields;
}

// Calendar arithmetic in UTC so that the host's daylight-saving changes do not shift the regulator's time.
int64_t toSeconds(const uint8_t* b)
{
    std::tm fields{};
    fields.tm_sec = b[0];
    fields.tm_min = b[1];
    fields.tm_hour = b[2];
    fields.tm_mday = b[4];
    fields.tm_mon = b[5] - 1;
    fields.tm_year = 100 + b[6];
    return static_cast<int64_t>(utcSeconds(fields));
}

int64_t floorDiv(int64_t a, int64_t b)
{
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)) ? 1 : 0);
}

} // namespace

RegulatorClock::RegulatorClock()
{
    const std::tm local = localFields(std::time(nullptr));
    const uint8_t bytes[kFieldCount] = {
        static_cast<uint8_t>(local.tm_sec),
        static_cast<uint8_t>(local.tm_min),
        static_cast<uint8_t>(local.tm_hour),
        static_cast<uint8_t>(local.tm_wday == 0 ? 7 : local.tm_wday),
        static_cast<uint8_t>(local.tm_mday),
        static_cast<uint8_t>(local.tm_mon + 1),
        static_cast<uint8_t>(local.tm_year % 100),
    };
    set(bytes);
}

void RegulatorClock::set(const uint8_t* bytes)
{
    m_setAt = std::chrono::steady_clock::now();
    m_secondsAtSet = toSeconds(bytes);
    m_weekdayAtSet = bytes[3];
}

int64_t RegulatorClock::secondsNow() const
{
    const auto elapsed = std::chrono::steady_clock::now() - m_setAt;
    return m_secondsAtSet + std::chrono::duration_cast<std::chrono::seconds>(elapsed).count();
}

int RegulatorClock::weekday() const
{
    // The weekday counts on by itself, as written, even when it does not match the date.
    const int64_t days = floorDiv(secondsNow(), kSecondsPerDay) - floorDiv(m_secondsAtSet, kSecondsPerDay);
    const int64_t index = (m_weekdayAtSet - 1 + days) % 7;
    return static_cast<int>(index < 0 ? index + 7 : index) + 1;
}

int RegulatorClock::minuteOfDay() const
{
    const int64_t seconds = secondsNow();
    return static_cast<int>((seconds - floorDiv(seconds, kSecondsPerDay) * kSecondsPerDay) / 60);
}

void RegulatorClock::read(uint8_t* bytes) const
{
    const std::tm fields = utcFields(static_cast<std::time_t>(secondsNow()));
    bytes[0] = static_cast<uint8_t>(fields.tm_sec);
    bytes[1] = static_cast<uint8_t>(fields.tm_min);
    bytes[2] = static_cast<uint8_t>(fields.tm_hour);
    bytes[3] = static_cast<uint8_t>(weekday());
    bytes[4] = static_cast<uint8_t>(fields.tm_mday);
    bytes[5] = static_cast<uint8_t>(fields.tm_mon + 1);
    bytes[6] = static_cast<uint8_t>(fields.tm_year % 100);
}
