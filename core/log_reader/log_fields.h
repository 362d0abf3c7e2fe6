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

// A time of day in a long time format: "7:05:09", "07:05:09", "7:05:09 PM";
// the seconds since midnight.
std::optional<int> parseTimeOfDay(QByteArrayView text);

// The header's date in the short date format of the current, the Czech, the
// English or the C locale: "07.12.26", "12/7/26", "7 Dec 2026". Two-digit
// years are of this century.
std::optional<QDate> parseLogDate(const QString& text);

} // namespace log_fields
