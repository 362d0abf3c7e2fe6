#include "log_fields.h"

#include <QLocale>

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

namespace log_fields {

namespace {

// Plain decimals of at most this many digits and at most one decimal place,
// as the panels show values below 100000, are read here: their tenths in a
// double lie so far from the midpoints between floats that rounding to the
// float gives the nearest float, as reading the text would.
constexpr int kFastDigits = 7;
constexpr double kTenth = 0.1;
constexpr qsizetype kLongestValue = 64;
constexpr int kHoursPerHalfDay = 12;

struct Scanned {
    const char* stop;
    std::optional<float> value; // nothing unless a plain decimal
};

Scanned scanDecimal(const char* p, const char* end)
{
    const bool negative = p < end && *p == '-';
    p += negative ? 1 : 0;
    quint64 mantissa = 0;
    int digits = 0;
    int decimals = -1; // -1: no separator yet
    for (; p < end; ++p) {
        const auto digit = unsigned(*p) - unsigned('0');
        if (digit < 10) {
            mantissa = mantissa * 10 + digit;
            ++digits;
            decimals += decimals >= 0 ? 1 : 0;
        } else if ((*p == ',' || *p == '.') && decimals < 0) {
            decimals = 0;
        } else {
            break;
        }
    }
    if (digits == 0 || digits > kFastDigits || decimals == 0 || decimals > 1)
        return {p, std::nullopt};
    const double magnitude = decimals == 1 ? double(mantissa) * kTenth : double(mantissa);
    return {p, static_cast<float>(negative ? -magnitude : magnitude)};
}

// Exponents, "nan", "inf": the standard library's reading, with '.' for the
// separator.
std::optional<float> parseGeneral(QByteArrayView text)
{
    if (text.isEmpty() || text.size() > kLongestValue)
        return std::nullopt;
    std::array<char, kLongestValue> buffer{};
    std::transform(text.begin(), text.end(), buffer.begin(), [](char c) { return c == ',' ? '.' : c; });
    float value = 0;
    const char* end = buffer.data() + text.size();
    const auto [stop, error] = std::from_chars(buffer.data(), end, value);
    if (error != std::errc() || stop != end)
        return std::nullopt;
    return std::isfinite(value) ? value : std::numeric_limits<float>::quiet_NaN();
}

std::optional<int> number(QByteArrayView text, qsizetype& at, int least, int most)
{
    int value = 0;
    int count = 0;
    while (at < text.size() && count < most && text[at] >= '0' && text[at] <= '9') {
        value = value * 10 + (text[at] - '0');
        ++at;
        ++count;
    }
    if (count < least)
        return std::nullopt;
    return value;
}

bool expect(QByteArrayView text, qsizetype& at, char c)
{
    if (at >= text.size() || text[at] != c)
        return false;
    ++at;
    return true;
}

// The forenoon and afternoon words of the locales whose logs are read.
std::optional<bool> afternoon(QByteArrayView suffix)
{
    for (const char* am : {"am", "a.m.", "dop."})
        if (suffix.compare(am, Qt::CaseInsensitive) == 0)
            return false;
    for (const char* pm : {"pm", "p.m.", "odp."})
        if (suffix.compare(pm, Qt::CaseInsensitive) == 0)
            return true;
    return std::nullopt;
}

std::optional<int> twelveHour(int hour, QByteArrayView suffix)
{
    const std::optional<bool> pm = afternoon(suffix);
    if (!pm || hour < 1 || hour > kHoursPerHalfDay)
        return std::nullopt;
    return hour % kHoursPerHalfDay + (*pm ? kHoursPerHalfDay : 0);
}

} // namespace

// Scanned and read in one pass when plain, as nearly every value is.
std::optional<float> takeValue(QByteArrayView& rest)
{
    const char* begin = rest.data();
    const char* end = begin + rest.size();
    auto [stop, value] = scanDecimal(begin, end);
    if (!value || stop == end || *stop != ';') {
        stop = static_cast<const char*>(std::memchr(begin, ';', size_t(end - begin)));
        if (!stop)
            return std::nullopt;
        value = parseGeneral(QByteArrayView(begin, stop));
    }
    if (!value || end - stop < 3 || stop[1] != ' ' || stop[2] != ' ')
        return std::nullopt;
    rest = QByteArrayView(stop + 3, end);
    return value;
}

std::optional<int> parseTimeOfDay(QByteArrayView text)
{
    qsizetype at = 0;
    const auto hour = number(text, at, 1, 2);
    if (!hour || !expect(text, at, ':'))
        return std::nullopt;
    const auto minute = number(text, at, 2, 2);
    if (!minute || *minute > 59 || !expect(text, at, ':'))
        return std::nullopt;
    const auto second = number(text, at, 2, 2);
    if (!second || *second > 59)
        return std::nullopt;
    std::optional<int> hourOfDay = hour;
    if (at < text.size()) {
        if (!expect(text, at, ' '))
            return std::nullopt;
        hourOfDay = twelveHour(*hour, text.sliced(at).trimmed());
    }
    if (!hourOfDay || *hourOfDay > 23)
        return std::nullopt;
    return (*hourOfDay * 60 + *minute) * 60 + *second;
}

std::optional<QDate> parseLogDate(const QString& text)
{
    const QLocale candidates[] = {QLocale(), QLocale(QLocale::Czech, QLocale::Czechia),
                                  QLocale(QLocale::English, QLocale::UnitedStates), QLocale::c(),
                                  QLocale(QLocale::English, QLocale::UnitedKingdom)};
    for (const QLocale& locale : candidates) {
        const QString format = locale.dateFormat(QLocale::ShortFormat);
        QDate date = locale.toDate(text.trimmed(), format);
        // Only a date that the locale writes the same way: a lenient reading
        // could take "26" for the year 26.
        if (!date.isValid() || locale.toString(date, format) != text.trimmed())
            continue;
        if (!format.contains(QLatin1String("yyyy")))
            date = QDate(2000 + date.year() % 100, date.month(), date.day());
        return date;
    }
    return std::nullopt;
}

} // namespace log_fields
