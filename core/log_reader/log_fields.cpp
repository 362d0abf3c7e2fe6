#include "log_fields.h"

#include <QHash>
#include <QLocale>
#include <QSet>
#include <QStringDecoder>
#include <QStringEncoder>

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
const char* const kCodePage = "windows-1250";

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

// The forenoon and afternoon words of every locale that the code page holds,
// lower case; a word that means either in some locale is left out.
const QHash<QString, bool>& afternoonWords()
{
    static const QHash<QString, bool> words = [] {
        QHash<QString, bool> found;
        QSet<QString> both;
        for (const QLocale& locale :
             QLocale::matchingLocales(QLocale::AnyLanguage, QLocale::AnyScript, QLocale::AnyTerritory)) {
            for (const bool pm : {false, true}) {
                const QString word = (pm ? locale.pmText() : locale.amText()).toLower();
                QStringEncoder encoder(kCodePage);
                [[maybe_unused]] const QByteArray bytes = encoder.encode(word);
                if (word.isEmpty() || encoder.hasError())
                    continue;
                if (found.contains(word) && found.value(word) != pm)
                    both.insert(word);
                found.insert(word, pm);
            }
        }
        for (const QString& word : both)
            found.remove(word);
        return found;
    }();
    return words;
}

// Brackets and commas that a time zone left behind: "13:06:14 ( )".
QByteArrayView withoutZoneRests(QByteArrayView text)
{
    text = text.trimmed();
    for (bool cut = true; cut && !text.isEmpty();) {
        cut = false;
        for (const char* rest : {"( )", "()", "[ ]", "[]", ","}) {
            if (text.endsWith(rest)) {
                text = text.chopped(qsizetype(std::strlen(rest))).trimmed();
                cut = true;
            }
        }
    }
    return text;
}

bool isLost(char c)
{
    return c == '?' || c == '\x1a';
}

// Whether the words before and after the numbers name the afternoon: false
// for none or other words ("kl.", "h"), nothing for words the code page lost.
std::optional<std::optional<bool>> dayHalf(QByteArrayView before, QByteArrayView after)
{
    static QByteArray lastWords;
    static std::optional<bool> lastHalf;
    std::optional<bool> half;
    for (const QByteArrayView words : {before.trimmed(), withoutZoneRests(after)}) {
        if (words.isEmpty())
            continue;
        if (words == lastWords) {
            half = half ? half : lastHalf;
            continue;
        }
        if (std::any_of(words.begin(), words.end(), isLost))
            return std::nullopt;
        const auto found =
            afternoonWords().constFind(QString(QStringDecoder(kCodePage).decode(words)).toLower());
        lastWords = words.toByteArray();
        lastHalf = found == afternoonWords().cend() ? std::nullopt : std::optional(found.value());
        half = half ? half : lastHalf;
    }
    return half;
}

// The runs of digits in a text and where the first begins and the last ends.
struct DigitRuns {
    std::array<int, 3> values{};
    std::array<int, 3> lengths{};
    int count = 0;
    qsizetype begin = -1;
    qsizetype end = 0;
};

DigitRuns digitRuns(QByteArrayView text)
{
    DigitRuns runs;
    for (qsizetype at = 0; at < text.size();) {
        if (text[at] < '0' || text[at] > '9') {
            ++at;
            continue;
        }
        if (runs.count == 3)
            return {};
        runs.begin = runs.begin < 0 ? at : runs.begin;
        int value = 0;
        int length = 0;
        for (; at < text.size() && text[at] >= '0' && text[at] <= '9' && length <= 4; ++at, ++length)
            value = value * 10 + (text[at] - '0');
        runs.values[size_t(runs.count)] = value;
        runs.lengths[size_t(runs.count)] = length;
        ++runs.count;
        runs.end = at;
    }
    return runs;
}

// The short date formats of all locales, the likeliest after the current
// locale's first: the Czech, English and C ones; each with a locale for its
// names.
const QList<QLocale>& dateLocales()
{
    static const QList<QLocale> locales = [] {
        QList<QLocale> all{QLocale(QLocale::Czech, QLocale::Czechia),
                           QLocale(QLocale::English, QLocale::UnitedStates), QLocale::c(),
                           QLocale(QLocale::English, QLocale::UnitedKingdom)};
        all += QLocale::matchingLocales(QLocale::AnyLanguage, QLocale::AnyScript, QLocale::AnyTerritory);
        QSet<QString> formats;
        QList<QLocale> distinct;
        for (const QLocale& locale : all)
            if (!formats.contains(locale.dateFormat(QLocale::ShortFormat))) {
                formats.insert(locale.dateFormat(QLocale::ShortFormat));
                distinct.append(locale);
            }
        return distinct;
    }();
    return locales;
}

bool isShortYearFirst(const QString& format)
{
    return format.startsWith(QLatin1String("yy")) && !format.startsWith(QLatin1String("yyyy"));
}

QDate ofThisCentury(QDate date, const QString& format)
{
    return format.contains(QLatin1String("yyyy")) ? date
                                                  : QDate(2000 + date.year() % 100, date.month(), date.day());
}

// Days, months and years in the orders that short formats use, for a date
// whose text the code page changed ("7.12.26 ?."): a four-digit number is the year.
QList<QDate> datesFromDigits(const QString& text)
{
    const QByteArray latin = text.toLatin1();
    const DigitRuns runs = digitRuns(latin);
    if (runs.count != 3)
        return {};
    const auto& v = runs.values;
    const auto year = [&](int i) {
        return runs.lengths[size_t(i)] == 4 ? v[size_t(i)] : 2000 + v[size_t(i)] % 100;
    };
    QList<QDate> dates;
    const bool yearFirst = runs.lengths[0] == 4;
    const bool yearLast = runs.lengths[2] == 4;
    if (!yearFirst) {
        dates.append(QDate(year(2), v[1], v[0]));
        dates.append(QDate(year(2), v[0], v[1]));
    }
    if (!yearLast)
        dates.append(QDate(year(0), v[1], v[2]));
    dates.removeIf([](const QDate& d) { return !d.isValid(); });
    return dates;
}

// "7:05:09" and "07:05:09", as nearly every line has it, read at once.
std::optional<int> plainTimeOfDay(QByteArrayView text)
{
    const qsizetype hourDigits = text.size() - 6;
    if (hourDigits < 1 || hourDigits > 2 || text[hourDigits] != ':' || text[hourDigits + 3] != ':')
        return std::nullopt;
    int fields[3] = {};
    for (qsizetype at = 0, field = 0; at < text.size(); ++at) {
        if (at == hourDigits || at == hourDigits + 3) {
            ++field;
            continue;
        }
        const auto digit = unsigned(text[at]) - unsigned('0');
        if (digit >= 10)
            return std::nullopt;
        fields[field] = fields[field] * 10 + int(digit);
    }
    if (fields[0] > 23 || fields[1] > 59 || fields[2] > 59)
        return std::nullopt;
    return (fields[0] * 60 + fields[1]) * 60 + fields[2];
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
    if (const auto plain = plainTimeOfDay(text))
        return plain;
    const DigitRuns runs = digitRuns(text);
    if (runs.count != 3 || runs.lengths[0] > 2 || runs.lengths[1] > 2 || runs.lengths[2] != 2)
        return std::nullopt;
    const auto [hour, minute, second] = runs.values;
    if (minute > 59 || second > 59)
        return std::nullopt;
    const auto half = dayHalf(text.first(runs.begin), text.sliced(runs.end));
    if (!half)
        return std::nullopt;
    int hourOfDay = hour;
    if (*half) {
        if (hour < 1 || hour > kHoursPerHalfDay)
            return std::nullopt;
        hourOfDay = hour % kHoursPerHalfDay + (**half ? kHoursPerHalfDay : 0);
    }
    if (hourOfDay > 23)
        return std::nullopt;
    return (hourOfDay * 60 + minute) * 60 + second;
}

std::optional<LogDate> parseLogDate(const QString& text)
{
    const QString trimmed = text.trimmed();
    QList<QDate> dates;
    QList<QDate> yearFirst;
    for (const QLocale& locale : QList<QLocale>{QLocale()} + dateLocales()) {
        const QString format = locale.dateFormat(QLocale::ShortFormat);
        const QDate date = locale.toDate(trimmed, format);
        // Only a date that the locale writes the same way: a lenient reading
        // could take "26" for the year 26.
        if (date.isValid() && locale.toString(date, format) == trimmed)
            (isShortYearFirst(format) ? yearFirst : dates).append(ofThisCentury(date, format));
    }
    // A two-digit year in front is rare: "13/12/26" is the 13th of December.
    if (dates.isEmpty())
        dates = yearFirst;
    if (dates.isEmpty())
        dates = datesFromDigits(trimmed);
    if (dates.isEmpty())
        return std::nullopt;
    const bool certain =
        std::all_of(dates.begin(), dates.end(), [&](const QDate& d) { return d == dates.first(); });
    return LogDate{dates.first(), certain};
}

} // namespace log_fields
