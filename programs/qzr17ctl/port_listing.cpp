#include "port_listing.h"

#include "console.h"
#include "network_port.h"
#include "port_names.h"
#include "port_source.h"
#include "usage_error.h"

#include <QCoreApplication>
#include <QDir>
#include <QRegularExpression>

#include <algorithm>

namespace {

// The rate an RFC 2217 server is asked for when only its answer matters.
constexpr int kCheckBaudRate = 9600;

} // namespace

namespace {

QString translated(const char* text)
{
    return QCoreApplication::translate("qzr17ctl", text);
}

// The COMn entries of the port directory in the order of their numbers,
// whatever their length.
QStringList assignedNames()
{
    static const QRegularExpression comName(QStringLiteral("^COM0*(\\d+)$"));
    QStringList names = QDir(portDirectory())
                            .entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)
                            .filter(comName);
    const auto digits = [](const QString& name) { return comName.match(name).captured(1); };
    std::sort(names.begin(), names.end(), [&digits](const QString& one, const QString& other) {
        const QString a = digits(one);
        const QString b = digits(other);
        return a.size() != b.size() ? a.size() < b.size() : a != b ? a < b : one < other;
    });
    return names;
}

QString serverState(const NetworkAddress& server)
{
    const ServerCheck check = checkServer(server, kCheckBaudRate);
    switch (check.outcome) {
    case ServerCheck::Outcome::Unreachable:
        return translated(QT_TRANSLATE_NOOP("qzr17ctl", "server nedostupný: %1")).arg(check.reason);
    case ServerCheck::Outcome::Unconfirmed:
        return translated(QT_TRANSLATE_NOOP(
            "qzr17ctl", "server přijal spojení, ale nepotvrdil nastavení linky (RFC 2217)"));
    default:
        return translated(QT_TRANSLATE_NOOP("qzr17ctl", "server přijal spojení"));
    }
}

// Where an entry leads now: the device, or whether the server takes a
// connection; why not, where it does not.
QString stateOf(const QString& name, const QString& target)
{
    if (const std::optional<NetworkAddress> server = parseNetworkAddress(target))
        return serverState(*server);
    if (const QString defect = addressDefect(target); !defect.isEmpty())
        return translated(QT_TRANSLATE_NOOP("qzr17ctl", "neplatná adresa serveru: %1")).arg(defect);
    return portDevicePresent(name) ? devicePathFor(name)
                                   : translated(QT_TRANSLATE_NOOP("qzr17ctl", "není připojeno"));
}

} // namespace

ExitStatus listPorts(const PortSource& source, const QStringList& arguments)
{
    if (!arguments.isEmpty())
        throw UsageError(QCoreApplication::translate("qzr17ctl", "Příkaz ports nemá argumenty"));
    for (const SerialPortEntry& port : source.ports())
        printLine(port.tabbedLine());
    for (const QString& name : assignedNames()) {
        const QString target = portEntryTarget(name);
        printLine(QStringList{name, target, stateOf(name, target)}.join(u'\t'));
    }
    return ExitStatus::Success;
}
