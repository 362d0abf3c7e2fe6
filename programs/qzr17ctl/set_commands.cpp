#include "set_commands.h"

#include "app_error.h"
#include "bus_commands.h"
#include "console.h"
#include "firmware.h"
#include "recording_port.h"
#include "usage_error.h"

#include <QCoreApplication>
#include <QThread>

#include <cstdio>

using namespace param_set;

namespace {

constexpr unsigned long kTransferPauseMs = 5;

QString tableName(int table)
{
    return QCoreApplication::translate("qzr17ctl", "Tabulka %1").arg(table);
}

QString tableList(const std::vector<int>& tables)
{
    QStringList numbers;
    for (const int table : tables)
        numbers.append(QString::number(table));
    return numbers.join(QStringLiteral(", "));
}

ParamSet readFile(const QString& path)
{
    ReadResult result = readSetFile(path);
    if (const auto* error = std::get_if<SetError>(&result))
        throw AppError(QStringLiteral("%1: %2").arg(path, error->message()));
    return std::get<ParamSet>(std::move(result));
}

void writeOut(const QByteArray& bytes)
{
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stdout);
    std::fflush(stdout);
}

QString difference(const FieldKey& key, const ParamSet& set)
{
    ParamRecord file = set.record;
    const TableFields fileLayout(key.table, file);
    const TableFields regulatorLayout(key.table, param_record);
    const FieldRef& ours = fileLayout.fields()[key.index];
    const FieldRef& theirs = regulatorLayout.fields()[key.index];
    return QStringLiteral("%1.%2 file=%3 regulator=%4")
        .arg(key.table).arg(QLatin1String(ours.name), formatValue(ours), formatValue(theirs));
}

// The set without the tables that the regulator's firmware lacks, saying so.
ParamSet withinFirmware(ParamSet set, bool newFirmware)
{
    if (!set.holds(firmware::kAlarmInputsTable) ||
        firmware::hasTable(firmware::kAlarmInputsTable, newFirmware))
        return set;
    set.tables.reset(firmware::kAlarmInputsTable);
    printError(QCoreApplication::translate(
        "qzr17ctl",
        "Tabulka 20 (vstupy alarmů) se vynechává: regulátor má firmware starší než 3. 10. 2008."));
    return set;
}

// What a load that stopped has left in the regulator. A table whose write
// got no answer may be in it all the same.
QString stoppedLoadText(const std::vector<int>& written, int stoppedAt)
{
    const bool mayHaveLanded = bus_protocol::WriteMayHaveLanded();
    if (written.empty() && !mayHaveLanded)
        return QCoreApplication::translate("qzr17ctl",
                                           "Do regulátoru se nezapsala žádná tabulka; do EEPROM se nic neuložilo.");
    if (written.empty())
        return QCoreApplication::translate("qzr17ctl", "Tabulka %1 se do pracovní paměti (RAM) regulátoru možná "
                                                       "zapsala, zápis se nepotvrdil; do EEPROM se nic neuložilo.")
            .arg(stoppedAt);
    if (mayHaveLanded)
        return QCoreApplication::translate("qzr17ctl", "V pracovní paměti (RAM) regulátoru už jsou tabulky %1 a "
                                                       "možná i tabulka %2, jejíž zápis se nepotvrdil; do EEPROM "
                                                       "se nic neuložilo.")
            .arg(tableList(written))
            .arg(stoppedAt);
    return QCoreApplication::translate(
               "qzr17ctl", "V pracovní paměti (RAM) regulátoru už jsou tabulky %1; do EEPROM se nic neuložilo.")
        .arg(tableList(written));
}

} // namespace

bool isSetCommand(const QString& command)
{
    return command == u"dump" || command == u"load" || command == u"diff";
}

CommandRequest parseSetRequest(const QString& command, const QStringList& arguments)
{
    if (command == u"dump") {
        if (arguments.size() > 1)
            throw UsageError(QCoreApplication::translate("qzr17ctl", "Příkaz dump čeká nejvýš jeden soubor"));
        CommandRequest request(Command::Dump);
        request.file = arguments.value(0);
        return request;
    }
    QStringList files = arguments;
    const bool load = command == u"load";
    const bool eeprom = load && files.removeAll(QStringLiteral("--eeprom")) > 0;
    const bool force = load && files.removeAll(QStringLiteral("--force")) > 0;
    if (files.size() != 1 || files.first().startsWith(u'-'))
        throw UsageError(
            QCoreApplication::translate("qzr17ctl", "Příkaz %1 čeká jeden soubor se sadou parametrů")
                .arg(command));
    CommandRequest request(load ? Command::Load : Command::Diff);
    request.file = files.first();
    request.set = readFile(request.file);
    request.eeprom = eeprom;
    request.force = force;
    return request;
}

ExitStatus SetCommands::run(const CommandRequest& request)
{
    requireAnsweringAddress();
    const std::optional<Regulator> regulator = identify();
    if (!regulator)
        return ExitStatus::ExchangeFailed;
    switch (request.command) {
    case Command::Dump: return dump(request.file, *regulator);
    case Command::Load: return load(request, *regulator);
    default: return diff(*request.set, *regulator);
    }
}

bool SetCommands::transfer(int (*operation)(int), int table)
{
    m_port.startExchange();
    const bool ok = operation(table) == 1;
    QThread::msleep(kTransferPauseMs);
    return ok;
}

ExitStatus SetCommands::failed(const QString& what) const
{
    printError(QStringLiteral("%1: %2").arg(what, m_port.describeFailure()));
    return ExitStatus::ExchangeFailed;
}

std::optional<SetCommands::Regulator> SetCommands::identify()
{
    m_port.startExchange();
    if (bus_protocol::ReadDeviceType() != 1) {
        failed(QCoreApplication::translate("qzr17ctl", "Typ přístroje"));
        return std::nullopt;
    }
    m_port.startExchange();
    if (bus_protocol::ReadDeviceVersion() != 1) {
        failed(QCoreApplication::translate("qzr17ctl", "Verze přístroje"));
        return std::nullopt;
    }
    Regulator regulator{deviceText(bus_protocol::device_type_text),
                        deviceText(bus_protocol::device_version_text)};
    try {
        regulator.newFirmware = firmware::isNew(firmware::date(regulator.version));
    } catch (const AppError& error) {
        printError(
            QCoreApplication::translate("qzr17ctl", "Verze přístroje \"%1\" neudává datum firmwaru: %2")
                .arg(regulator.version, error.message()));
        return std::nullopt;
    }
    return regulator;
}

ExitStatus SetCommands::dump(const QString& file, const Regulator& regulator)
{
    for (const int table : setTables()) {
        if (firmware::hasTable(table, regulator.newFirmware) && !transfer(bus_protocol::ReadTable, table))
            return failed(tableName(table));
    }
    const ParamSet set =
        withinFirmware(completeSet(param_record, regulator.type, regulator.version), regulator.newFirmware);
    if (const auto outside = findOutOfRange(set)) {
        printError(QCoreApplication::translate("qzr17ctl",
                                               "Regulátor má hodnotu mimo rozsah, sadu by nešlo načíst: %1")
                       .arg(outside->text));
        return ExitStatus::ExchangeFailed;
    }
    if (file.isEmpty()) {
        writeOut(formatSet(set));
        return ExitStatus::Success;
    }
    if (const auto why = saveSetFile(file, set)) {
        printError(*why);
        return ExitStatus::Usage;
    }
    return ExitStatus::Success;
}

ExitStatus SetCommands::load(const CommandRequest& request, const Regulator& regulator)
{
    if (isFromAnotherType(*request.set, regulator.type) && !request.force) {
        printError(QCoreApplication::translate("qzr17ctl",
                                               "%1: sada je z přístroje typu \"%2\", regulátor je typu "
                                               "\"%3\"; zapsat ji lze jen s volbou --force")
                       .arg(request.file, request.set->deviceType, regulator.type));
        return ExitStatus::Usage;
    }
    const ParamSet set = withinFirmware(*request.set, regulator.newFirmware);
    if (const std::vector<int> lacking = lackingTables(set, regulator.newFirmware); !lacking.empty())
        printError(
            QCoreApplication::translate("qzr17ctl", "Sada nemá tabulky %1; v regulátoru zůstávají, jak jsou.")
                .arg(tableList(lacking)));
    std::vector<int> written;
    for (const int table : loadOrder()) {
        if (!set.holds(table))
            continue;
        copyTable(table, set.record, param_record);
        if (!transfer(bus_protocol::WriteTable, table)) {
            failed(tableName(table));
            printError(stoppedLoadText(written, table));
            return ExitStatus::ExchangeFailed;
        }
        written.push_back(table);
    }
    if (!request.eeprom)
        return ExitStatus::Success;
    m_port.startExchange();
    if (!bus_protocol::StoreToEeprom()) {
        failed(QCoreApplication::translate("qzr17ctl", "Uložení do EEPROM"));
        printError(QCoreApplication::translate(
            "qzr17ctl",
            "Sada je celá v pracovní paměti (RAM) regulátoru, uložení do EEPROM ale nebylo potvrzeno."));
        return ExitStatus::ExchangeFailed;
    }
    return ExitStatus::Success;
}

ExitStatus SetCommands::diff(const ParamSet& file, const Regulator& regulator)
{
    const ParamSet set = withinFirmware(file, regulator.newFirmware);
    for (const int table : setTables()) {
        if (set.holds(table) && table != kAddressTable && !transfer(bus_protocol::ReadTable, table))
            return failed(tableName(table));
    }
    const std::vector<FieldKey> differing = differingFields(set, param_record);
    for (const FieldKey& key : differing)
        printLine(difference(key, set));
    return differing.empty() ? ExitStatus::Success : ExitStatus::ExchangeFailed;
}
