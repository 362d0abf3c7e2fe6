#include "regulator_sequences.h"

#include "bus_protocol.h"
#include "load_progress.h"
#include "prompts.h"

#include <QCoreApplication>
#include <QStringDecoder>
#include <QThread>

#include <algorithm>

namespace regulator_sequences {
namespace {

constexpr int kTableStep = 10;
constexpr int kAddressStep = 3;
constexpr int kDayStep = 17;
constexpr int kRefusedCode = 2;
const QDate kUnknownFirmware(2000, 1, 1);

void report(const QString& text)
{
    prompts().message(text, QCoreApplication::translate("regulator_sequences", "Komunikace"),
                      Prompts::Icon::Error, Prompts::Buttons::Ok);
}

// The acknowledgement code stays from the last acknowledgement received: a
// write that gets no answer must not be taken for a refusal from before.
int writeTable(int table)
{
    bus_protocol::last_ack_code = 0;
    if (table != kAddressTable)
        return bus_protocol::WriteTable(table);
    // Encoding the address moves the destination to it. A regulator that
    // refused the address still answers at the old one.
    const uint8_t previous = bus_protocol::GetDestinationAddress();
    const int written = bus_protocol::WriteTable(table);
    if (!written && bus_protocol::last_ack_code == kRefusedCode)
        bus_protocol::SetDestinationAddress(previous);
    return written;
}

int readTable(int table, TableSet& read)
{
    const int ok = bus_protocol::ReadTable(table);
    read[static_cast<size_t>(table)] = ok != 0;
    return ok;
}

bool confirm(const QString& text)
{
    return prompts().message(text, QCoreApplication::translate("regulator_sequences", "Dotaz"),
                             Prompts::Icon::Question,
                             Prompts::Buttons::YesNoDefaultNo) == Prompts::Answer::Yes;
}

QString versionText()
{
    const auto& text = bus_protocol::device_version_text;
    const auto end = std::find(text.begin(), text.end(), uint8_t(0));
    QStringDecoder decoder("windows-1250");
    return decoder(QByteArrayView(text.data(), end - text.begin()));
}

} // namespace

void pause(int milliseconds) { QThread::msleep(static_cast<unsigned long>(milliseconds)); }

int ReadParameterTables(bool newFirmware, LoadProgress& progress, TableSet& read)
{
    int ok = 1;
    for (const int table : {0, 1, 2, 3, 4, 5, 6, kAddressTable, kClockTable, kPidTable}) {
        progress.StepProgress(kTableStep);
        ok &= readTable(table, read);
        pause(kTransferPauseMs);
    }
    ok &= readTable(kAnalogueOutputTable, read);
    if (newFirmware) {
        pause(kTransferPauseMs);
        ok &= readTable(kAlarmInputsTable, read);
    }
    return ok;
}

std::vector<WriteStep> ParameterWriteSteps(bool newFirmware, bool withClock)
{
    std::vector<WriteStep> steps;
    for (const int table : {0, 1, 2, 3, 4, 5, 6})
        steps.push_back({table, kTableStep});
    if (withClock)
        steps.push_back({kClockTable, kTableStep});
    steps.push_back({kPidTable, kTableStep});
    steps.push_back({kAnalogueOutputTable, kTableStep});
    if (newFirmware)
        steps.push_back({kAlarmInputsTable, 0});
    steps.push_back({kAddressTable, kAddressStep});
    return steps;
}

std::optional<int> WriteParameterTables(const std::vector<WriteStep>& steps,
                                        const std::function<void(int)>& collect, LoadProgress& progress)
{
    for (const WriteStep& step : steps) {
        collect(step.table);
        if (!writeTable(step.table))
            return step.table;
        pause(kTransferPauseMs);
        progress.StepProgress(step.progress);
    }
    return std::nullopt;
}

int ReadWeekTables(LoadProgress& progress, TableSet& read)
{
    int ok = 1;
    for (int day = 0; day < kDayCount; ++day) {
        ok &= readTable(kFirstDayTable + day, read);
        progress.StepProgress(kDayStep);
        pause(kTransferPauseMs);
    }
    return ok;
}

std::optional<int> WriteWeekTables(LoadProgress& progress)
{
    for (int day = 0; day < kDayCount; ++day) {
        if (!writeTable(kFirstDayTable + day))
            return kFirstDayTable + day;
        pause(kTransferPauseMs);
        progress.StepProgress(kDayStep);
    }
    return std::nullopt;
}

void ReportNoConnection()
{
    report(QCoreApplication::translate("regulator_sequences", "Nebylo navázáno spojení s regulátorem"));
}

void ReportReadFailure()
{
    report(QCoreApplication::translate("regulator_sequences", "Chyba při čtení dat z regulátoru"));
}

bool ReportWriteFailure(const QString& explanation)
{
    const bool refused = bus_protocol::last_ack_code == kRefusedCode;
    const QString message =
        refused ? QCoreApplication::translate("regulator_sequences", "Chyba, špatně zadaný rozsah dat")
                : QCoreApplication::translate("regulator_sequences", "Chyba při zápisu");
    report(explanation.isEmpty() ? message : message + QStringLiteral("\n\n") + explanation);
    return refused;
}

QString PagesAlreadyWritten(const QStringList& pages)
{
    if (pages.isEmpty())
        return {};
    return QCoreApplication::translate(
               "regulator_sequences", "Hodnoty těchto karet už jsou v pracovní paměti (RAM) regulátoru: %1.\n"
                                      "Do EEPROM se nic neuložilo.")
        .arg(pages.join(QStringLiteral(", ")));
}

QString DaysAlreadyWritten(const QStringList& days)
{
    if (days.isEmpty())
        return {};
    return QCoreApplication::translate("regulator_sequences",
                                       "Program těchto dnů už je v pracovní paměti (RAM) regulátoru: %1.\n"
                                       "Do EEPROM se nic neuložilo.")
        .arg(days.join(QStringLiteral(", ")));
}

void ReportStoreFailure()
{
    report(QCoreApplication::translate("regulator_sequences", "Chyba při zápisu"));
}

bool ConfirmPagesNotRead(const QStringList& pages)
{
    return confirm(QCoreApplication::translate("regulator_sequences",
                                               "Z regulátoru nebyly načteny tyto stránky: %1.\n"
                                               "Opravdu chceš zapsat i jejich hodnoty?")
                       .arg(pages.join(QStringLiteral(", "))));
}

bool ConfirmDaysNotRead(const QStringList& days)
{
    return confirm(QCoreApplication::translate("regulator_sequences",
                                               "Z regulátoru nebyly načteny tyto dny: %1.\n"
                                               "Opravdu chceš zapsat i jejich program?")
                       .arg(days.join(QStringLiteral(", "))));
}

QDate ReadFirmwareDate()
{
    if (!bus_protocol::ReadDeviceVersion())
        return kUnknownFirmware;
    return firmware::date(versionText());
}

} // namespace regulator_sequences
