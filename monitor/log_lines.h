#pragma once

#include <QDate>
#include <QString>
#include <QStringList>
#include <QTime>

// The text of the measurement log: the five header lines that New... writes
// and one data line per logging interval.
namespace log_lines {

// The file's name as the save dialog returned it, the product line with the
// day in the user's short date format, hyphens, the column header, hyphens.
QStringList header(const QString& fileName, const QDate& day);

// The five panel texts and the time of day in the user's long time format,
// joined by a semicolon and two spaces.
QString data(const QStringList& values, const QTime& time);

// The user's long time format without its time zone, which is no part of a
// time of day.
QString longTimeFormat();

} // namespace log_lines
