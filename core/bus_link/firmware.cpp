#include "firmware.h"

#include "app_error.h"

#include <QLocale>

namespace firmware {
namespace {

const QDate kNewSince(2008, 10, 3);

int dateField(const QString& versionText, int offset, int length)
{
    const QString part = versionText.mid(offset, length);
    bool ok = false;
    const int value = QLocale::c().toInt(part, &ok);
    if (!ok)
        throw AppError(QStringLiteral("'%1' is not a valid integer value").arg(part));
    return value;
}

} // namespace

QDate date(const QString& versionText)
{
    const int day = dateField(versionText, 11, 2);
    const int month = dateField(versionText, 14, 2);
    const int year = dateField(versionText, 17, 4);
    const QDate date(year, month, day);
    // Years before the common era are valid to QDate but to no regulator.
    if (!date.isValid() || year < 1)
        throw AppError(QStringLiteral("Invalid argument to date encode"));
    return date;
}

bool isNew(const QDate& firmwareDate) { return firmwareDate >= kNewSince; }

bool hasTable(int table, bool newFirmware) { return newFirmware || table != kAlarmInputsTable; }

} // namespace firmware
