#pragma once

#include <QByteArrayView>
#include <QDate>
#include <QString>

#include <optional>

// The fields of a measurement log's lines, read whatever locale wrote them.
namespace log_fields {

// The value at the start of a data line's rest, as the panels show it
// ("45,3", "-2.0", "0", "1,2346E+05", "nan"), up to the ";  " that ends it;
// the rest then starts after the separator. NaN for a value that is no
// number; nothing, and the rest as it was, for text that is no value.
std::optional<float> takeValue(QByteArrayView& rest);

// A time of day in the long time format of any locale, as the log's code page
// holds it: "7:05:09", "07.05.09", "kl. 07:05:09", "13 h 05 min 09 s",
// "7:05:09 PM", "7:05:09 p. m."; the seconds since midnight. Nothing for a
// time whose forenoon or afternoon word was lost to the code page.
std::optional<int> parseTimeOfDay(QByteArrayView text);

// The header's date in the short date format of any locale: "07.12.26",
// "12/7/26", "7 Dec 2026", "2026. 12. 07.". Not certain when locales read
// it as different days ("12/7/26"); the current locale's reading, then the
// Czech, the English and the C locale's, is taken. Two-digit years are of
// this century.
struct LogDate {
    QDate day;
    bool certain;
};
std::optional<LogDate> parseLogDate(const QString& text);

} // namespace log_fields
