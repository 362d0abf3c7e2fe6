#pragma once

#include "port_io.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>

// The regulator's bus protocol: SD1/SD2 telegrams carrying one table or one
// small service per exchange. Module state, one instance for the whole run;
// only the GUI thread calls it, and every exchange blocks until its reply is
// read, so exchanges never overlap. Operations return 1 for success, 0 for
// failure, so that callers can combine several results with a bitwise AND.
namespace bus_protocol {

constexpr uint8_t kBroadcastAddress = 127;
constexpr int kBufferSize = 256;
constexpr int kTextSize = 250;

enum Service : uint8_t {
    svc_device_type = 0,
    svc_read_table = 1,
    svc_write_table = 2,
    svc_device_version = 4,
    svc_store_eeprom = 6,
};

extern uint8_t destination_address;
extern uint8_t source_address;
extern std::array<uint8_t, kBufferSize> tx_buffer;
extern std::array<uint8_t, kBufferSize> rx_buffer;
extern std::array<uint8_t, kTextSize> device_type_text;
extern std::array<uint8_t, kTextSize> device_version_text;
extern int8_t last_ack_code;

// The port every exchange goes through (not owned); nullptr makes every
// exchange fail as on a port that is not open.
void AttachPort(PortIo* port);
// The attached port's device is unplugged: no exchange can be answered.
bool PortDeviceAbsent();
// When an exchange failed, waits until its answer could no longer be taken
// for another, dropping what comes. Costs nothing after a good exchange.
void AwaitLateAnswers();

// A late answer can come after any wait: for a while after a failed exchange
// the station is in doubt. After a failed read a table read is taken only when
// a second reply carries the same data, and so is a device text; after a failed
// write or store a write counts only when reading the table back gives what
// was sent. Other stations need no checks: an answer names its sender, and
// while a station is in doubt the others take only answers that name them. A
// failed probe leaves no doubt: its answer names its station. On a good line
// nothing changes.
constexpr std::chrono::seconds kDoubtAfterFailure{60};
// A read in doubt whose second reply did not come or differs may have taken a
// late answer for the first: two answers of its table are then on their way,
// which two agreeing reads would take. Each such failure doubles the hold-back
// of the next exchange, up to this many late-answer windows; any other failure
// or a success sets it back to one.
constexpr int kLongestHoldBack = 4;

// The failures of one station of the line.
struct StationFailure {
    std::optional<PortIo::Clock::time_point> owedUntil;     // its late answer may still come until then
    int holdBack = 1;                                       // late-answer windows the next failure holds back
    std::optional<PortIo::Clock::time_point> readFailedAt;  // the last failed read went out
    std::optional<PortIo::Clock::time_point> writeFailedAt; // the last failed write or store
};
// The failures of the line by station, to be handed to whoever uses the line
// next, also another run of a program.
using LineFailure = std::map<uint8_t, StationFailure>;
// Called at every failed exchange whose answer may still come.
void SetFailureListener(std::function<void(const LineFailure&)> listener);
// Takes over the failures of an earlier user of the line: what follows waits
// out their late answers and finds the line in doubt.
void TakeOverFailure(const LineFailure& failure);

// What the checks of a line in doubt found in the last operation.
enum class CheckFinding { None, RepliesDiffer, ReadBackDiffers, ReadBackUnanswered };
CheckFinding LastCheckFinding();
// Whether the last write that failed may all the same be in the regulator:
// the request went out and neither a refusal nor a read back says it is not.
bool WriteMayHaveLanded();

void SetDestinationAddress(uint8_t address);
void SetSourceAddress(uint8_t address);
uint8_t GetDestinationAddress();

int ReadTable(int table);
int WriteTable(int table);
int StoreToEeprom();
int ReadDeviceType();
int ReadDeviceVersion();
int ProbeStation();

// Frame checks on rx_buffer holding `received` bytes; exposed for tests.
int CheckReply(uint32_t received);
int CheckAck();

// Field codecs at a position of a buffer; each returns the bytes it took.
int PutFloat(uint8_t* at, float value);
int PutInt16(uint8_t* at, int32_t value);
int PutByte(uint8_t* at, int8_t value);
int GetFloat(const uint8_t* at, float& value);
int GetInt16(const uint8_t* at, int32_t& value);
int GetByte(const uint8_t* at, int8_t& value);

} // namespace bus_protocol
