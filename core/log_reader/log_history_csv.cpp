#include "log_history_csv.h"

#include <QIODevice>
#include <QLocale>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace {

constexpr qint64 kSecondsPerDay = 24 * 60 * 60;
constexpr qint64 kEpochJulianDay = 2440588; // 1970-01-01
constexpr double kExponentFrom = 100000.0;  // as the panels: exponent form from here
constexpr int kExponentDecimals = 4;
constexpr qsizetype kChunk = 64 * 1024;

const QString kHeader =
    QStringLiteral("čas,posun od UTC,teplota vody,venkovní teplota,žádaná,útlum,odchylka\r\n");
constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";

// How the current locale's spreadsheets read numbers.
struct CsvForm {
    char separator = ',';
    char decimal = '.';
    bool quoted = false;

    static CsvForm current()
    {
        if (QLocale().decimalPoint() == QLatin1String(","))
            return {';', ',', true};
        return {};
    }
};

void appendTime(QByteArray& out, qint64 utc, int offset, char separator)
{
    const qint64 local = utc + offset;
    const qint64 days =
        local >= 0 ? local / kSecondsPerDay : -((-local + kSecondsPerDay - 1) / kSecondsPerDay);
    const qint64 second = local - days * kSecondsPerDay;
    const QDate date = QDate::fromJulianDay(kEpochJulianDay + days);
    const int offsetMinutes = std::abs(offset) / 60;
    char text[40];
    const int length =
        std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d%c%c%02d:%02d", date.year(),
                      date.month(), date.day(), int(second / 3600), int(second / 60 % 60), int(second % 60),
                      separator, offset < 0 ? '-' : '+', offsetMinutes / 60, offsetMinutes % 60);
    out.append(text, length);
}

void appendValue(QByteArray& out, float value, const CsvForm& form)
{
    out.append(form.separator);
    if (std::isnan(value))
        return;
    char text[32];
    const double exact = value;
    const auto result = std::abs(exact) < kExponentFrom
                            ? std::to_chars(text, text + sizeof text, exact, std::chars_format::fixed, 1)
                            : std::to_chars(text, text + sizeof text, exact, std::chars_format::scientific,
                                            kExponentDecimals);
    if (form.decimal != '.')
        std::replace(text, result.ptr, '.', form.decimal);
    if (form.quoted)
        out.append('"');
    out.append(text, result.ptr - text);
    if (form.quoted)
        out.append('"');
}

} // namespace

bool writeLogCsv(const LogHistory& history, qsizetype first, qsizetype last, QIODevice& device)
{
    const CsvForm form = CsvForm::current();
    QByteArray out = kByteOrderMark + QString(kHeader).replace(u',', QLatin1Char(form.separator)).toUtf8();
    out.reserve(kChunk + kChunk / 4);
    for (qsizetype sample = first; sample < last; ++sample) {
        appendTime(out, history.times[size_t(sample)], history.utcOffset(sample), form.separator);
        for (const auto& values : history.values)
            appendValue(out, values[size_t(sample)], form);
        out.append("\r\n");
        if (out.size() >= kChunk) {
            if (device.write(out) != out.size())
                return false;
            out.resize(0);
        }
    }
    return device.write(out) == out.size();
}
