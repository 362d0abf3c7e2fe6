#pragma once

#include <QDate>
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

// The user's long time format without its time zone, which is no part of a
// time of day.
QString longTimeFormat();

} // namespace log_lines
