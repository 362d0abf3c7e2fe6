#include "bus_commands.h"

#include "console.h"
#include "param_record.h"
#include "recording_port.h"
#include "set_commands.h"
#include "usage_error.h"

#include <QCoreApplication>
#include <QStringDecoder>

#include <algorithm>

namespace {

QString tableName(int table)
{
    return QCoreApplication::translate("qzr17ctl", "Tabulka %1").arg(table);
}

void printTable(int table)
{
    const TableFields layout(table, param_record); // fields() points into it
    for (const FieldRef& field : layout.fields())
        printLine(QStringLiteral("%1=%2").arg(QLatin1String(field.name), formatField(field)));
}

} // namespace

ExitStatus BusCommands::run(const CommandRequest& request)
{
    switch (request.command) {
    case Command::Probe: return probe();
    case Command::Scan: return scan(request.texts);
    case Command::Type:
        return text(bus_protocol::ReadDeviceType, bus_protocol::device_type_text,
                    QCoreApplication::translate("qzr17ctl", "Typ přístroje"));
    case Command::Version:
        return text(bus_protocol::ReadDeviceVersion, bus_protocol::device_version_text,
                    QCoreApplication::translate("qzr17ctl", "Verze přístroje"));
    case Command::Read: return read(request.tables);
    case Command::Write: return write(request.tables.first(), request.assignments);
    case Command::Eeprom: return eeprom();
    case Command::Dump:
    case Command::Load:
    case Command::Diff: return SetCommands(m_port).run(request);
    }
    return ExitStatus::Usage;
}

bool BusCommands::exchange(const std::function<int()>& operation)
{
    m_port.startExchange();
    return operation() == 1;
}

ExitStatus BusCommands::failed(const QString& what) const
{
    printError(QStringLiteral("%1: %2").arg(what, m_port.describeFailure()));
    return ExitStatus::ExchangeFailed;
}

ExitStatus BusCommands::probe()
{
    if (!exchange(bus_protocol::ProbeStation))
        return failed(
            QCoreApplication::translate("qzr17ctl", "Adresa %1").arg(bus_protocol::GetDestinationAddress()));
    return ExitStatus::Success;
}

ExitStatus BusCommands::scan(bool texts)
{
    const uint8_t kept = bus_protocol::GetDestinationAddress();
    bool anyAnswered = false;
    for (uint8_t address = 0; address < bus_protocol::kBroadcastAddress; ++address) {
        bus_protocol::SetDestinationAddress(address);
        if (exchange(bus_protocol::ProbeStation)) {
            printLine(QString::number(address) + (texts ? stationTexts() : QString()));
            anyAnswered = true;
        }
    }
    bus_protocol::SetDestinationAddress(kept);
    if (!anyAnswered) {
        printError(QCoreApplication::translate("qzr17ctl", "Žádná adresa neodpověděla"));
        return ExitStatus::ExchangeFailed;
    }
    return ExitStatus::Success;
}

// "\ttype\tversion"; a text the station did not give stays empty rather
// than showing the one read from the station before.
QString BusCommands::stationTexts()
{
    const QString type = exchange(bus_protocol::ReadDeviceType) ? deviceText(bus_protocol::device_type_text) : QString();
    const QString version =
        exchange(bus_protocol::ReadDeviceVersion) ? deviceText(bus_protocol::device_version_text) : QString();
    return QStringLiteral("\t%1\t%2").arg(type, version);
}

ExitStatus BusCommands::text(int (*readText)(), const TextBuffer& buffer, const QString& what)
{
    if (!exchange(readText))
        return failed(what);
    printLine(deviceText(buffer));
    return ExitStatus::Success;
}

QString deviceText(const std::array<uint8_t, bus_protocol::kTextSize>& buffer)
{
    const auto end = std::find(buffer.begin(), buffer.end(), uint8_t{0});
    QStringDecoder fromWindows1250("windows-1250");
    return fromWindows1250(QByteArrayView(reinterpret_cast<const char*>(buffer.data()), end - buffer.begin()));
}

ExitStatus BusCommands::read(const QList<int>& tables)
{
    requireAnsweringAddress();
    for (int table : tables) {
        if (!exchange([table] { return bus_protocol::ReadTable(table); }))
            return failed(tableName(table));
        printTable(table);
    }
    return ExitStatus::Success;
}

ExitStatus BusCommands::write(int table, const QList<Assignment>& assignments)
{
    requireAnsweringAddress();
    // The fields not named keep the regulator's values: the table is read first.
    if (!exchange([table] { return bus_protocol::ReadTable(table); }))
        return failed(tableName(table));
    const TableFields layout(table, param_record);
    for (const Assignment& assignment : assignments)
        storeField(layout.fields()[static_cast<size_t>(assignment.fieldIndex)], assignment.value);
    if (!exchange([table] { return bus_protocol::WriteTable(table); }))
        return failed(tableName(table));
    return ExitStatus::Success;
}

void requireAnsweringAddress()
{
    // A read sent to everybody is answered by nobody; the record would stay as it was.
    if (bus_protocol::GetDestinationAddress() == bus_protocol::kBroadcastAddress)
        throw UsageError(QCoreApplication::translate(
            "qzr17ctl", "Na adresu 127 (všem) regulátor neodpovídá, tabulku nelze číst ani zapsat"));
}

ExitStatus BusCommands::eeprom()
{
    if (!exchange(bus_protocol::StoreToEeprom))
        return failed(QCoreApplication::translate("qzr17ctl", "Uložení do EEPROM"));
    return ExitStatus::Success;
}
