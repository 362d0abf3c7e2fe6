#include "port_listing.h"

#include "console.h"
#include "port_names.h"
#include "port_source.h"
#include "usage_error.h"

#include <QCoreApplication>
#include <QDir>
#include <QRegularExpression>

#include <algorithm>

namespace {

// The COM numbers that have an entry in the port directory, in order.
QList<int> assignedNumbers()
{
    static const QRegularExpression comName(QStringLiteral("^COM(\\d+)$"));
    QList<int> numbers;
    const auto entries = QDir(portDirectory()).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
    for (const QString& entry : entries) {
        const QRegularExpressionMatch match = comName.match(entry);
        if (match.hasMatch())
            numbers.append(match.captured(1).toInt());
    }
    std::sort(numbers.begin(), numbers.end());
    return numbers;
}

} // namespace

ExitStatus listPorts(const PortSource& source, const QStringList& arguments)
{
    if (!arguments.isEmpty())
        throw UsageError(QCoreApplication::translate("qzr17ctl", "Příkaz ports nemá argumenty"));
    for (const SerialPortEntry& port : source.ports())
        printLine(port.tabbedLine());
    for (int number : assignedNumbers()) {
        const QString name = comPortName(number);
        const QString device = portDevicePresent(name)
                                   ? devicePathFor(name)
                                   : QCoreApplication::translate("qzr17ctl", "není připojeno");
        printLine(QStringList{name, portEntryTarget(name), device}.join(u'\t'));
    }
    return ExitStatus::Success;
}
