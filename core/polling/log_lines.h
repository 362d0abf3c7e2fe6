#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QTime>

// The text of the measurement log: the five header lines that New... writes
// and one data line per logging interval.
namespace log_lines {

// The file's code page; every line ends with CR LF.
inline constexpr char kCodePage[] = "windows-1250";

// The file's name as the save dialog returned it, the product line with the
// day in the user's short date format, hyphens, the column header, hyphens.
QStringList header(const QString& fileName, const QDate& day);

// The five panel texts and the time of day in the user's long time format,
// joined by a semicolon and two spaces.
QString data(const QStringList& values, const QTime& time);

// The marks that stand for the data lines of an outage: the regulator does
// not answer from the given time of day, or answers again from it. A line
// that starts with "# " is never a data line. Czech in either language, like
// the rest of the file.
QString outageBegan(const QTime& time);
QString outageEnded(const QTime& time);

// The date, time and UTC offset of the line that follows, in ISO 8601: the
// lines carry only a time of day, and the header's date is the day of New....
QString dateMark(const QDateTime& at);

// The user's long time format without its time zone, which is no part of a
// time of day.
QString longTimeFormat();

// A time of day as the log writes it: in the long time format, or, where the
// code page cannot hold what the user's locale writes (other digits, words
// of other scripts), as the C locale writes it, so that it stays readable.
QString timeText(const QTime& time);

} // namespace log_lines
