#pragma once

#include "firmware.h"
#include "param_record.h"

#include <QDate>
#include <QString>
#include <QStringList>

#include <bitset>
#include <functional>
#include <optional>
#include <vector>

class LoadProgress;

// The table transfers of the settings window, each a fixed sequence of
// blocking exchanges on the GUI thread with short pauses between them.
namespace regulator_sequences {

constexpr int kStepPauseMs = 3;     // between the steps of the automatic read
constexpr int kTransferPauseMs = 5; // after each table transfer
constexpr int kFirstDayTable = 8;   // Monday; Sunday is table 14
constexpr int kDayCount = 7;
constexpr int kAddressTable = 7;
constexpr int kClockTable = 15;
constexpr int kPidTable = 17;
constexpr int kAnalogueOutputTable = 19;
constexpr int kAlarmInputsTable = firmware::kAlarmInputsTable;

void pause(int milliseconds);

// The tables whose fields in the record came from the regulator at their
// last read, or whole from a parameter set. The others hold defaults or what
// a failed read left behind.
using TableSet = std::bitset<kTableCount>;

// Full read: tables 0..7, 15, 17, 19 and, with new firmware, 20. Every table
// is tried and its outcome noted in `read`; 1 when all were read, else 0.
int ReadParameterTables(bool newFirmware, LoadProgress& progress, TableSet& read);

struct WriteStep {
    int table;
    int progress; // added to the bar after a successful write
};

// The full write's order: the clock only when its write is enabled, table 20
// only with new firmware, the bus address last because writing it moves
// every later telegram to the new address.
std::vector<WriteStep> ParameterWriteSteps(bool newFirmware, bool withClock);

// Writes the steps in order, calling `collect(table)` just before each table
// to take its fields from the controls. Stops at the first failed write and
// returns its table; the tables before it stay written.
std::optional<int> WriteParameterTables(const std::vector<WriteStep>& steps,
                                        const std::function<void(int)>& collect, LoadProgress& progress);

// Week read: the seven day tables, every one tried and noted in `read`; 1
// when all were read.
int ReadWeekTables(LoadProgress& progress, TableSet& read);
// Week write: stops at the first failed day and returns its table.
std::optional<int> WriteWeekTables(LoadProgress& progress);

// The messages of the exchanges, without owner window, caption "Komunikace".
void ReportNoConnection();
void ReportReadFailure();
// For the last failed write: the range message when the regulator refused
// the data (code 2), else the write error, followed by `explanation` when
// there is one. True for a refusal.
bool ReportWriteFailure(const QString& explanation = {});
// What a write that stopped has left: the pages or days written before the
// failed table are in the regulator's working memory, and nothing went to
// its EEPROM. Empty when nothing was written.
QString PagesAlreadyWritten(const QStringList& pages);
QString DaysAlreadyWritten(const QStringList& days);
// A store to EEPROM that the regulator did not acknowledge.
void ReportStoreFailure();

// Asks, before anything is sent, whether values that never came from the
// regulator (`pages` or `days`, by name) are to be written all the same.
// No is the default. True to write.
bool ConfirmPagesNotRead(const QStringList& pages);
bool ConfirmDaysNotRead(const QStringList& days);

// The regulator's firmware date (see firmware::date); 1 January 2000 when
// its version cannot be read.
QDate ReadFirmwareDate();

} // namespace regulator_sequences
