#include "request.h"

#include "numbers.h"
#include "set_commands.h"
#include "usage_error.h"

#include <QCoreApplication>

#include <algorithm>

namespace {

constexpr int kMeasuredValuesTable = 16; // read only

void expectNoArguments(const QString& command, const QStringList& arguments)
{
    if (!arguments.isEmpty())
        throw UsageError(QCoreApplication::translate("qzr17ctl", "Příkaz %1 nemá argumenty").arg(command));
}

int parseTable(const QString& text)
{
    ParamRecord scratch;
    const std::optional<int> table = parseInteger(text);
    if (!table || TableFields(*table, scratch).empty())
        throw UsageError(QCoreApplication::translate("qzr17ctl", "Tabulka \"%1\" neexistuje").arg(text));
    return *table;
}

Assignment parseAssignment(const TableFields& layout, const QString& text)
{
    const qsizetype equals = text.indexOf(u'=');
    if (equals <= 0)
        throw UsageError(
            QCoreApplication::translate("qzr17ctl", "Čeká se JMÉNO=HODNOTA, ne \"%1\"").arg(text));
    const QString name = text.left(equals);
    const QString valueText = text.mid(equals + 1);
    const auto fields = layout.fields();
    const auto field = std::find_if(fields.begin(), fields.end(),
                                    [&name](const FieldRef& f) { return name == QLatin1String(f.name); });
    if (field == fields.end())
        throw UsageError(QCoreApplication::translate("qzr17ctl", "Tabulka nemá pole \"%1\"").arg(name));
    const std::optional<FieldValue> value = parseFieldValue(*field, valueText);
    if (!value)
        throw UsageError(QCoreApplication::translate("qzr17ctl", "Pro pole %1 nelze použít hodnotu \"%2\"")
                             .arg(name, valueText));
    return Assignment{field - fields.begin(), *value};
}

CommandRequest parseRead(const QStringList& arguments)
{
    if (arguments.isEmpty())
        throw UsageError(QCoreApplication::translate("qzr17ctl", "Příkaz read čeká čísla tabulek"));
    CommandRequest request{Command::Read, {}, {}};
    for (const QString& argument : arguments)
        request.tables.append(parseTable(argument));
    return request;
}

CommandRequest parseWrite(const QStringList& arguments)
{
    if (arguments.size() < 2)
        throw UsageError(
            QCoreApplication::translate("qzr17ctl", "Příkaz write čeká číslo tabulky a JMÉNO=HODNOTA"));
    const int table = parseTable(arguments.first());
    if (table == kMeasuredValuesTable)
        throw UsageError(QCoreApplication::translate("qzr17ctl", "Tabulku %1 nelze zapsat").arg(table));
    ParamRecord scratch;
    const TableFields layout(table, scratch);
    CommandRequest request{Command::Write, {table}, {}};
    for (const QString& argument : arguments.mid(1))
        request.assignments.append(parseAssignment(layout, argument));
    return request;
}

CommandRequest parseScan(const QStringList& arguments)
{
    CommandRequest request{Command::Scan, {}, {}};
    for (const QString& argument : arguments) {
        if (argument != u"--texts")
            throw UsageError(QCoreApplication::translate("qzr17ctl", "Příkaz scan zná jen volbu --texts"));
        request.texts = true;
    }
    return request;
}

} // namespace

CommandRequest parseRequest(const QString& command, const QStringList& arguments)
{
    static const QList<std::pair<QString, Command>> kPlain{
        {QStringLiteral("probe"), Command::Probe},
        {QStringLiteral("type"), Command::Type},     {QStringLiteral("version"), Command::Version},
        {QStringLiteral("eeprom"), Command::Eeprom},
    };
    if (command == u"read")
        return parseRead(arguments);
    if (command == u"write")
        return parseWrite(arguments);
    if (command == u"scan")
        return parseScan(arguments);
    if (isSetCommand(command))
        return parseSetRequest(command, arguments);
    for (const auto& [name, kind] : kPlain) {
        if (command == name) {
            expectNoArguments(command, arguments);
            return CommandRequest{kind, {}, {}};
        }
    }
    throw UsageError(QCoreApplication::translate("qzr17ctl", "Neznámý příkaz \"%1\"").arg(command));
}
