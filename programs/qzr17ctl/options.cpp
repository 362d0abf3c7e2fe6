#include "options.h"

#include "numbers.h"
#include "usage_error.h"
#include "watch_options.h"

#include <QCoreApplication>

#include <limits>

namespace {

constexpr int kHighestAddress = 127; // the broadcast address

int parseRanged(const QString& option, const QString& text, int lowest, int highest)
{
    const std::optional<int> value = parseInteger(text);
    if (!value || *value < lowest || *value > highest)
        throw UsageError(QCoreApplication::translate("qzr17ctl", "Volba %1 čeká číslo %2 až %3, ne \"%4\"")
                             .arg(option)
                             .arg(lowest)
                             .arg(highest)
                             .arg(text));
    return *value;
}

void applyOption(CtlOptions& options, const QString& name, const QString& value)
{
    if (name == u"--port")
        options.port = value;
    else if (name == u"--baud")
        options.baudRate = parseRanged(name, value, 1, std::numeric_limits<int>::max());
    else if (name == u"--da")
        options.destinationAddress = parseRanged(name, value, 0, kHighestAddress);
    else if (name == u"--sa")
        options.sourceAddress = parseRanged(name, value, 0, kHighestAddress);
    else if (name == u"--lang" && !languageFromCode(value))
        throw UsageError(
            QCoreApplication::translate("qzr17ctl", "Volba --lang čeká cs nebo en, ne \"%1\"").arg(value));
    else if (name == u"--lang")
        return;
    else
        throw UsageError(QCoreApplication::translate("qzr17ctl", "Neznámá volba %1").arg(name));
}

bool takeFlag(const QString& argument, CtlOptions& options)
{
    if (argument == u"--trace") {
        options.trace = true;
        return true;
    }
    if (argument == u"--help" || argument == u"-h") {
        options.help = true;
        return true;
    }
    return false;
}

} // namespace

CtlOptions parseOptions(const QStringList& arguments)
{
    CtlOptions options;
    qsizetype i = 0;
    for (; i < arguments.size() && arguments[i].startsWith(u'-'); ++i) {
        const QString& argument = arguments[i];
        if (takeFlag(argument, options))
            continue;
        const qsizetype equals = argument.indexOf(u'=');
        if (equals > 0) {
            applyOption(options, argument.left(equals), argument.mid(equals + 1));
            continue;
        }
        if (i + 1 >= arguments.size())
            throw UsageError(QCoreApplication::translate("qzr17ctl", "Volbě %1 chybí hodnota").arg(argument));
        applyOption(options, argument, arguments[i + 1]);
        ++i;
    }
    if (options.help)
        return options;
    if (i >= arguments.size())
        throw UsageError(QCoreApplication::translate("qzr17ctl", "Chybí příkaz"));
    options.command = arguments[i];
    options.arguments = arguments.mid(i + 1);
    return options;
}

QString usageText()
{
    return QCoreApplication::translate(
               "qzr17ctl",
               "Použití: qzr17ctl [--port COMn|CESTA] [--baud N] [--da N] [--sa N] [--trace] PŘÍKAZ\n"
               "Příkazy:\n"
               "  probe                    ověří, že stanice na adrese DA odpovídá\n"
               "  scan                     vypíše adresy 0..126, které odpovídají\n"
               "  type, version            vypíše typ nebo verzi přístroje\n"
               "  read T...                vypíše pole tabulek T po řádcích JMÉNO=hodnota\n"
               "  write T JMÉNO=HODNOTA... přečte tabulku T, změní pole a zapíše ji\n"
               "  eeprom                   uloží nastavení regulátoru do EEPROM\n"
               "  ports                    vypíše sériové porty počítače a kam vedou odkazy COMn\n"
               "  dump [SOUBOR]            uloží sadu parametrů regulátoru do souboru (bez něj vypíše)\n"
               "  load SOUBOR [--eeprom] [--force]\n"
               "                           zapíše sadu parametrů ze souboru (adresu ne), případně do EEPROM;\n"
               "                           sadu z přístroje jiného typu jen s --force\n"
               "  diff SOUBOR              vypíše pole, v nichž se regulátor liší od souboru\n"
               "Volby, které chybí, se berou z nastavení (PORT: COM, BAUDRATE; ADRESA: DA, SA).\n"
               "--trace vypíše každý telegram na standardní chybový výstup.\n"
               "Návratový kód: 0 úspěch, 1 výměna selhala (diff: regulátor se liší), 2 chybné použití, port\n"
               "nebo soubor.\n"
               "qzr17ctl --version vypíše verzi programu.") +
           u'\n' +
           QCoreApplication::translate(
               "qzr17ctl", "--lang cs|en zvolí jazyk výpisů; bez ní platí jazyk zvolený v programu.") +
           u'\n' +
           QCoreApplication::translate(
               "qzr17ctl", "--port bere i sériový server v síti: tcp://POČÍTAČ:PORT nebo rfc2217://POČÍTAČ:PORT.") +
           u'\n' +
           QCoreApplication::translate("qzr17ctl",
                                       "scan --texts vypíše u každé adresy i typ a verzi přístroje (oddělené tabulátorem).") +
           u'\n' +
           QCoreApplication::translate("qzr17ctl", "qzr17ctl log-csv SOUBOR vypíše záznam měření jako CSV v UTF-8 "
                                                   "(bez portu).") +
           u'\n' + watchUsageText();
}

std::optional<Language> requestedLanguage(const QStringList& arguments)
{
    CtlOptions flags;
    for (qsizetype i = 0; i < arguments.size() && arguments[i].startsWith(u'-'); ++i) {
        const QString& argument = arguments[i];
        if (argument.startsWith(u"--lang="))
            return languageFromCode(QStringView(argument).mid(7));
        if (takeFlag(argument, flags) || argument.contains(u'='))
            continue;
        if (argument == u"--lang" && i + 1 < arguments.size())
            return languageFromCode(arguments[i + 1]);
        ++i; // the option's value
    }
    return std::nullopt;
}
