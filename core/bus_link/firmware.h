#pragma once

#include <QDate>
#include <QString>

// The regulator's firmware generations. Firmware dated 3 October 2008 or
// later has table 20, the alarm inputs; an older one neither reads nor
// writes it, so nothing may ask it for that table.
namespace firmware {

constexpr int kAlarmInputsTable = 20;

// The date at offsets 11-12 (day), 14-15 (month) and 17-20 (year) of a
// version text. Raises AppError when a part is not a number or the parts
// form no date.
QDate date(const QString& versionText);
bool isNew(const QDate& firmwareDate);
// Whether a regulator of that firmware has the table.
bool hasTable(int table, bool newFirmware);

} // namespace firmware
