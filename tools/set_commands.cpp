#include "set_commands.h"

#include "app_error.h"
#include "bus_commands.h"
#include "console.h"
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
    const bool eeprom = command == u"load" && files.removeAll(QStringLiteral("--eeprom")) > 0;
    if (files.size() != 1 || files.first().startsWith(u'-'))
        throw UsageError(
            QCoreApplication::translate("qzr17ctl", "Příkaz %1 čeká jeden soubor se sadou parametrů")
                .arg(command));
    CommandRequest request(command == u"load" ? Command::Load : Command::Diff);
    request.file = files.first();
    request.set = readFile(request.file);
    request.eeprom = eeprom;
    return request;
}

ExitStatus SetCommands::run(const CommandRequest& request)
{
    requireAnsweringAddress();
    switch (request.command) {
    case Command::Dump: return dump(request.file);
    case Command::Load: return load(*request.set, request.eeprom);
    default: return diff(*request.set);
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

bool SetCommands::readTexts(QString& type, QString& version)
{
    m_port.startExchange();
    if (bus_protocol::ReadDeviceType() != 1) {
        failed(QCoreApplication::translate("qzr17ctl", "Typ přístroje"));
        return false;
    }
    m_port.startExchange();
    if (bus_protocol::ReadDeviceVersion() != 1) {
        failed(QCoreApplication::translate("qzr17ctl", "Verze přístroje"));
        return false;
    }
    type = deviceText(bus_protocol::device_type_text);
    version = deviceText(bus_protocol::device_version_text);
    return true;
}

ExitStatus SetCommands::dump(const QString& file)
{
    QString type;
    QString version;
    if (!readTexts(type, version))
        return ExitStatus::ExchangeFailed;
    for (const int table : setTables()) {
        if (!transfer(bus_protocol::ReadTable, table))
            return failed(tableName(table));
    }
    const ParamSet set = completeSet(param_record, type, version);
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

ExitStatus SetCommands::load(const ParamSet& set, bool eeprom)
{
    for (const int table : loadOrder()) {
        if (!set.holds(table))
            continue;
        copyTable(table, set.record, param_record);
        if (!transfer(bus_protocol::WriteTable, table))
            return failed(tableName(table));
    }
    if (!eeprom)
        return ExitStatus::Success;
    m_port.startExchange();
    if (!bus_protocol::StoreToEeprom())
        return failed(QCoreApplication::translate("qzr17ctl", "Uložení do EEPROM"));
    return ExitStatus::Success;
}

ExitStatus SetCommands::diff(const ParamSet& set)
{
    for (const int table : setTables()) {
        if (set.holds(table) && table != kAddressTable && !transfer(bus_protocol::ReadTable, table))
            return failed(tableName(table));
    }
    const std::vector<FieldKey> differing = differingFields(set, param_record);
    for (const FieldKey& key : differing)
        printLine(difference(key, set));
    return differing.empty() ? ExitStatus::Success : ExitStatus::ExchangeFailed;
}
