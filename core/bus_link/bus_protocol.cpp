#include "bus_protocol.h"

#include "param_record.h"
#include "port_io.h"
#include "prompts.h"

#include <QCoreApplication>
#include <QDateTime>

#include <algorithm>
#include <bit>
#include <cstring>
#include <optional>
#include <type_traits>

namespace bus_protocol {

uint8_t destination_address = 0;
uint8_t source_address = 0;
std::array<uint8_t, kBufferSize> tx_buffer{};
std::array<uint8_t, kBufferSize> rx_buffer{};
std::array<uint8_t, kTextSize> device_type_text{};
std::array<uint8_t, kTextSize> device_version_text{};
int8_t last_ack_code = 0;

namespace {

constexpr uint8_t kSd1 = 0x10;
constexpr uint8_t kSd2 = 0x68;
constexpr uint8_t kEnd = 0x16;
constexpr uint8_t kFcRequestData = 0x6C;   // send and request data, low priority
constexpr uint8_t kFcSendData = 0x63;      // send data with acknowledge, low priority
constexpr uint8_t kFcRequestStatus = 0x69; // request FDL status
constexpr uint8_t kFcResponseData = 0x08;
constexpr uint8_t kFcPositiveAck = 0x00;
constexpr int kAckLength = 6;
constexpr int kTextReadCount = 255; // length unknown: the 100 ms gap ends the read
constexpr int kClockTable = 15;
constexpr int kMeasuredValuesTable = 16;
constexpr int kAddressTable = 7;
constexpr int kFirstDayTable = 8;
constexpr int kLastDayTable = 14;

PortIo* g_port = nullptr;

// A reply names no table and a day record no day: a failed exchange's answer
// that comes late passes every check as the answer to the next request of its
// length. It does name the station that sends it. After a failure the next
// exchange with the same station (or with everybody) therefore waits until
// the failed one is older than its late-answer window and the line is quiet,
// dropping what comes; an exchange with another station does not wait, but
// while a station owes a late answer it takes only an answer that names the
// station it asked. The doubt after a failure is a station's too: another
// station's reply never passes for its answer.
struct LateAnswerGuard {
    std::array<StationFailure, 256> stations; // by address
    PortIo::Clock::time_point lastSentAt{};
};

LateAnswerGuard g_guard;
std::function<void(const LineFailure&)> g_onFailure;
bool g_secondRead = false; // the read that checks another one's reply is under way

// How the last exchange ended, beyond its result.
struct LastExchange {
    bool sent = false;
    bool refused = false;
};
LastExchange g_last;
CheckFinding g_finding = CheckFinding::None;
bool g_writeMayHaveLanded = false;

bool inDoubt(const std::optional<PortIo::Clock::time_point>& failedAt)
{
    return failedAt && PortIo::Clock::now() - *failedAt < kDoubtAfterFailure;
}

bool inDoubt(const StationFailure& failure) { return inDoubt(failure.readFailedAt) || inDoubt(failure.writeFailedAt); }

// The failures of the station the request goes to.
StationFailure& station() { return g_guard.stations[destination_address]; }

void noteFailure(std::optional<PortIo::Clock::time_point>& failedAt, PortIo::Clock::time_point sentAt)
{
    failedAt = failedAt ? std::max(*failedAt, sentAt) : sentAt;
}

bool isValidTable(int table) { return table >= 0 && table < kTableCount; }

void BuildHeader(uint8_t le, uint8_t fc)
{
    tx_buffer[0] = kSd2;
    tx_buffer[1] = le;
    tx_buffer[2] = le;
    tx_buffer[3] = kSd2;
    tx_buffer[4] = destination_address;
    tx_buffer[5] = source_address;
    tx_buffer[6] = fc;
}

uint8_t sumOf(const uint8_t* from, int count)
{
    unsigned sum = 0;
    for (int i = 0; i < count; ++i)
        sum += from[i];
    return static_cast<uint8_t>(sum);
}

uint8_t FrameSum() { return sumOf(&tx_buffer[4], tx_buffer[1]); }

int writeTx(int count)
{
    uint32_t written = 0;
    if (!g_port)
        return 0;
    return g_port->WritePort(tx_buffer.data(), count, written) ? 1 : 0;
}

int frameLength() { return tx_buffer[1] + 6; }

int SendFrame() { return writeTx(frameLength()); }

uint32_t readRx(int count)
{
    uint32_t received = 0;
    if (g_port)
        g_port->ReadPort(rx_buffer.data(), count, received);
    return received;
}

// The station a request in tx_buffer goes to.
uint8_t requestedStation() { return tx_buffer[0] == kSd1 ? tx_buffer[1] : tx_buffer[4]; }

void dropUntilQuiet(PortIo::Clock::time_point until)
{
    if (g_port)
        g_port->DropUntilQuiet(until);
    for (StationFailure& failure : g_guard.stations) {
        if (failure.owedUntil && *failure.owedUntil <= until)
            failure.owedUntil.reset();
    }
}

void holdBackForLateAnswer(uint8_t station)
{
    auto& owed = g_guard.stations[station].owedUntil;
    if (station == kBroadcastAddress)
        AwaitLateAnswers();
    // A request to another station after the window closed dropped what was
    // still pending, and its read met whatever came later.
    else if (owed && *owed < g_guard.lastSentAt)
        owed.reset();
    else if (owed)
        dropUntilQuiet(*owed);
}

// How many other stations may still send a late answer at `at`: those that
// owe one, and those in doubt, whose answer may come later still.
int owingOthers(uint8_t station, PortIo::Clock::time_point at)
{
    int owing = 0;
    for (size_t other = 0; other < g_guard.stations.size(); ++other) {
        const StationFailure& failure = g_guard.stations[other];
        const bool owes = failure.owedUntil && *failure.owedUntil > at;
        owing += other != station && (owes || inDoubt(failure)) ? 1 : 0;
    }
    return owing;
}

bool fromAnotherStation(uint32_t received, uint8_t station)
{
    if (received >= kAckLength && rx_buffer[0] == kSd1)
        return rx_buffer[2] != station;
    return received >= kAckLength && rx_buffer[0] == kSd2 && rx_buffer[5] != station;
}

LineFailure lineFailure()
{
    LineFailure failure;
    for (size_t station = 0; station < g_guard.stations.size(); ++station) {
        const StationFailure& kept = g_guard.stations[station];
        if (kept.owedUntil || kept.readFailedAt || kept.writeFailedAt)
            failure.emplace(static_cast<uint8_t>(station), kept);
    }
    return failure;
}

// `leavesTwo`: the failure of a read that checked another one, which may
// have taken a late answer: two answers of the table are then on their way.
void owe(uint8_t station, PortIo::Clock::time_point sentAt, int readCount, bool probe, bool leavesTwo = false)
{
    StationFailure& failure = g_guard.stations[station];
    failure.holdBack = leavesTwo ? std::min(2 * failure.holdBack, kLongestHoldBack) : 1;
    const auto until = sentAt + failure.holdBack * PortIo::lateAnswerWindow(readCount);
    failure.owedUntil = failure.owedUntil ? std::max(*failure.owedUntil, until) : until;
    // Only an acknowledgement (6 bytes) can pass for a write's, only a data
    // reply for a read's.
    if (!probe)
        noteFailure(readCount == kAckLength ? failure.writeFailedAt : failure.readFailedAt, sentAt);
    if (g_onFailure)
        g_onFailure(lineFailure());
}

// A whole acknowledgement that refuses: the answer has come, none is late.
bool isRefusal(uint32_t received)
{
    return received == kAckLength && rx_buffer[0] == kSd1 && rx_buffer[3] != kFcPositiveAck &&
           rx_buffer[5] == kEnd && sumOf(&rx_buffer[1], 3) == rx_buffer[4];
}

// Sends the first requestLength bytes of tx_buffer and reads up to readCount
// bytes of the answer, which `judge` turns into the operation's result.
template <typename Judge>
int exchange(int requestLength, int readCount, Judge judge)
{
    const uint8_t station = requestedStation();
    holdBackForLateAnswer(station);
    const int sent = writeTx(requestLength);
    const auto sentAt = PortIo::Clock::now();
    g_guard.lastSentAt = sentAt;
    // A probe that could not be sent waits for nothing.
    if (tx_buffer[0] == kSd1 && !sent)
        return 0;
    uint32_t received = readRx(readCount);
    // Late answers of others are dropped; the station asked answers after them.
    const int owing = owingOthers(station, sentAt);
    bool foreign = owing > 0 && fromAnotherStation(received, station);
    for (int dropped = 0; foreign && dropped < owing; ++dropped) {
        received = readRx(readCount);
        foreign = fromAnotherStation(received, station);
    }
    const int result = foreign ? 0 : judge(received);
    g_last = {sent != 0, !foreign && isRefusal(received)};
    if (result == 0 && sent && !g_last.refused)
        owe(station, sentAt, readCount, tx_buffer[0] == kSd1, g_secondRead);
    return result;
}

int ackJudge(uint32_t received) { return received == kAckLength ? CheckAck() : 0; }

// The short SD2 requests of the services without data: type, version, EEPROM.
void buildServiceRequest(uint8_t fc, uint8_t service)
{
    BuildHeader(4, fc);
    tx_buffer[7] = service;
    tx_buffer[8] = FrameSum();
    tx_buffer[9] = kEnd;
}

template <typename T>
int putField(uint8_t* at, T* value)
{
    if constexpr (std::is_same_v<T, float>) return PutFloat(at, *value);
    else if constexpr (std::is_same_v<T, int32_t>) return PutInt16(at, *value);
    else return PutByte(at, *value);
}

template <typename T>
int getField(const uint8_t* at, T* value)
{
    if constexpr (std::is_same_v<T, float>) return GetFloat(at, *value);
    else if constexpr (std::is_same_v<T, int32_t>) return GetInt16(at, *value);
    else return GetByte(at, *value);
}

void DecodeTable(int table)
{
    TableFields layout(table, param_record);
    if (layout.empty()) {
        prompts().message(QCoreApplication::translate("bus_protocol", "Chyba, číslo tabulky mimo rozsah."),
                          QCoreApplication::translate("bus_protocol", "Sériový Port"), Prompts::Icon::Error,
                          Prompts::Buttons::Ok);
        return;
    }
    const uint8_t* at = &rx_buffer[7];
    for (const FieldRef& field : layout.fields())
        at += std::visit([at](auto* p) { return getField(at, p); }, field.value);
}

// Encodes the table behind the header; returns the position of FCS, or 0 for
// a table that has no encoder.
int EncodeTable(int table)
{
    TableFields layout(table, param_record);
    if (layout.empty() || table == 16) {
        prompts().message(
            QCoreApplication::translate("bus_protocol", "Nepředvídaná chyba, špatně zadaná tabulka"),
            QStringLiteral("DATA"), Prompts::Icon::Error, Prompts::Buttons::Ok);
        return 0;
    }
    uint8_t* at = &tx_buffer[11];
    for (const FieldRef& field : layout.fields())
        at += std::visit([at](auto* p) { return putField(at, p); }, field.value);
    if (table == kAddressTable)
        destination_address = static_cast<uint8_t>(param_record.regulator_address);
    return static_cast<int>(at - tx_buffer.data());
}

// The data of the reply in rx_buffer: the text or the table behind the header.
QByteArray replyData(uint32_t length) { return {reinterpret_cast<const char*>(&rx_buffer[7]), qsizetype(length)}; }

// Reads once more when the line is in doubt: the first reply is taken only
// when the second carries the same data. Two that differ leave one answer on
// its way, which the next exchange waits out.
template <typename ReadReply>
bool secondReplyAgrees(ReadReply readReply, uint32_t length, int readCount)
{
    if (!inDoubt(station().readFailedAt))
        return true;
    const QByteArray first = replyData(length);
    const auto sentAt = PortIo::Clock::now();
    g_secondRead = true;
    const int second = readReply();
    g_secondRead = false;
    if (!second)
        return false;
    if (replyData(length) == first)
        return true;
    g_finding = CheckFinding::RepliesDiffer;
    owe(destination_address, sentAt, readCount, false, true);
    return false;
}

int textReply(uint8_t service)
{
    buildServiceRequest(kFcRequestData, service);
    return exchange(frameLength(), kTextReadCount, [](uint32_t received) {
        const int le = static_cast<int8_t>(rx_buffer[1]);
        return received == static_cast<uint32_t>(le + 6) && CheckReply(received) ? 1 : 0;
    });
}

int readText(uint8_t service, std::array<uint8_t, kTextSize>& text)
{
    g_finding = CheckFinding::None;
    if (!textReply(service))
        return 0;
    const auto length = static_cast<uint32_t>(rx_buffer[1] - 3);
    if (!secondReplyAgrees([service] { return textReply(service); }, length, kTextReadCount))
        return 0;
    text.fill(0);
    std::memcpy(text.data(), &rx_buffer[7], length);
    station().holdBack = 1;
    return 1;
}

void buildTableRead(int table)
{
    BuildHeader(7, kFcRequestData);
    tx_buffer[7] = svc_read_table;
    tx_buffer[8] = static_cast<uint8_t>(table);
    tx_buffer[9] = table_length[table];
    tx_buffer[10] = 0;
    tx_buffer[11] = FrameSum();
    tx_buffer[12] = kEnd;
}

// The read of a table up to a reply that passes every check, not decoded.
int tableReply(int table)
{
    const uint8_t length = table_length[table];
    buildTableRead(table);
    const uint32_t expected = length + 9u;
    return exchange(frameLength(), static_cast<int>(expected), [length, expected](uint32_t received) {
        // A reply names no table: only its length tells a frame meant for
        // another request (a late or stray one) from this table's.
        return received == expected && CheckReply(expected) && rx_buffer[1] == length + 3 ? 1 : 0;
    });
}

// The clock and the measured values move between two reads.
bool movesByItself(int table) { return table == kClockTable || table == kMeasuredValuesTable; }

// The regulator's clock runs on after it is set: it confirms the time written
// when it reads that time or up to a minute later.
bool clockConfirms(const QByteArray& written, const QByteArray& read)
{
    const auto timeOf = [](const QByteArray& b) {
        const auto at = [&b](int i) { return static_cast<uint8_t>(b[i]); };
        return QDateTime(QDate(2000 + at(6), at(5), at(4)), QTime(at(2), at(1), at(0)), Qt::UTC);
    };
    const QDateTime set = timeOf(written);
    const QDateTime now = timeOf(read);
    if (!set.isValid() || !now.isValid())
        return written.mid(1) == read.mid(1);
    const qint64 ran = set.secsTo(now);
    return ran >= 0 && ran <= 60;
}

// After an acknowledged write on a line in doubt: the acknowledgement may
// have been another write's, so the table is read back.
int confirmWrite(int table, const QByteArray& written)
{
    if (!tableReply(table)) {
        g_finding = CheckFinding::ReadBackUnanswered;
        g_writeMayHaveLanded = true;
        return 0;
    }
    const QByteArray read = replyData(table_length[table]);
    if (table == kClockTable ? clockConfirms(written, read) : read == written)
        return 1;
    g_finding = CheckFinding::ReadBackDiffers;
    return 0;
}

} // namespace

void AttachPort(PortIo* port)
{
    g_port = port;
    g_guard = {};
}

bool PortDeviceAbsent() { return g_port && g_port->DeviceAbsent(); }

void AwaitLateAnswers()
{
    std::optional<PortIo::Clock::time_point> last;
    for (const StationFailure& failure : g_guard.stations)
        last = std::max(last, failure.owedUntil);
    if (last)
        dropUntilQuiet(*last);
}

void SetFailureListener(std::function<void(const LineFailure&)> listener) { g_onFailure = std::move(listener); }

void TakeOverFailure(const LineFailure& failure)
{
    for (const auto& [address, kept] : failure) {
        StationFailure& taken = g_guard.stations[address];
        taken = kept;
        taken.holdBack = std::clamp(kept.holdBack, 1, kLongestHoldBack);
        if (taken.owedUntil && *taken.owedUntil <= PortIo::Clock::now())
            taken.owedUntil.reset();
    }
}

CheckFinding LastCheckFinding() { return g_finding; }
bool WriteMayHaveLanded() { return g_writeMayHaveLanded; }

void SetDestinationAddress(uint8_t address) { destination_address = address; }
void SetSourceAddress(uint8_t address) { source_address = address; }
uint8_t GetDestinationAddress() { return destination_address; }

int ReadTable(int table)
{
    if (!isValidTable(table))
        return 0;
    g_finding = CheckFinding::None;
    // Nobody answers a broadcast, so it cannot take a late answer.
    if (destination_address == kBroadcastAddress) {
        buildTableRead(table);
        return SendFrame();
    }
    if (!tableReply(table))
        return 0;
    const int readCount = table_length[table] + 9;
    if (!movesByItself(table) &&
        !secondReplyAgrees([table] { return tableReply(table); }, table_length[table], readCount))
        return 0;
    DecodeTable(table);
    station().holdBack = 1;
    return 1;
}

int WriteTable(int table)
{
    if (!isValidTable(table))
        return 0;
    g_finding = CheckFinding::None;
    g_writeMayHaveLanded = false;
    const uint8_t length = table_length[table];
    BuildHeader(static_cast<uint8_t>(length + 7), kFcSendData);
    tx_buffer[7] = svc_write_table;
    tx_buffer[8] = static_cast<uint8_t>(table);
    tx_buffer[9] = length;
    tx_buffer[10] = 0;
    if (EncodeTable(table) == 0)
        return 0;
    tx_buffer[11 + length] = FrameSum();
    tx_buffer[12 + length] = kEnd;
    const bool doubtful = inDoubt(station().writeFailedAt);
    if (!exchange(frameLength(), kAckLength, ackJudge)) {
        g_writeMayHaveLanded = g_last.sent && !g_last.refused;
        return 0;
    }
    if (doubtful && !confirmWrite(table, QByteArray(reinterpret_cast<const char*>(&tx_buffer[11]), length)))
        return 0;
    station().holdBack = 1;
    return 1;
}

int StoreToEeprom()
{
    buildServiceRequest(kFcSendData, svc_store_eeprom);
    return exchange(frameLength(), kAckLength, ackJudge);
}

int ReadDeviceType() { return readText(svc_device_type, device_type_text); }
int ReadDeviceVersion() { return readText(svc_device_version, device_version_text); }

int ProbeStation()
{
    tx_buffer[0] = kSd1;
    tx_buffer[1] = destination_address;
    tx_buffer[2] = source_address;
    tx_buffer[3] = kFcRequestStatus;
    tx_buffer[4] = sumOf(&tx_buffer[1], 3);
    tx_buffer[5] = kEnd;
    // The answering station is the acknowledgement's sender: a late answer
    // of another station is no answer of this one.
    return exchange(kAckLength, kAckLength,
                    [](uint32_t received) { return ackJudge(received) && rx_buffer[2] == destination_address; });
}

int CheckReply(uint32_t received)
{
    if (rx_buffer[0] != kSd2)
        return 0;
    if (rx_buffer[1] != rx_buffer[2])
        return 0;
    // LE counts DA, SA and FC, so it is at least 3; a smaller one would make
    // the checks below read bytes that never came.
    const int le = static_cast<int8_t>(rx_buffer[1]);
    if (le < 3 || static_cast<uint32_t>(le + 6) > received)
        return 0;
    if (rx_buffer[6] != kFcResponseData)
        return 0;
    if (rx_buffer[5 + le] != kEnd)
        return 0;
    return sumOf(&rx_buffer[4], le) == rx_buffer[4 + le] ? 1 : 0;
}

int CheckAck()
{
    if (rx_buffer[0] != kSd1)
        return 0;
    last_ack_code = static_cast<int8_t>(rx_buffer[3]);
    if (rx_buffer[3] != kFcPositiveAck)
        return 0;
    if (rx_buffer[5] != kEnd)
        return 0;
    return sumOf(&rx_buffer[1], 3) == rx_buffer[4] ? 1 : 0;
}

int PutFloat(uint8_t* at, float value)
{
    const auto bits = std::bit_cast<uint32_t>(value);
    for (int i = 0; i < 4; ++i)
        at[i] = static_cast<uint8_t>(bits >> (24 - 8 * i));
    return 4;
}

int PutInt16(uint8_t* at, int32_t value)
{
    at[0] = static_cast<uint8_t>(value >> 8);
    at[1] = static_cast<uint8_t>(value);
    return 2;
}

int PutByte(uint8_t* at, int8_t value)
{
    at[0] = static_cast<uint8_t>(value);
    return 1;
}

int GetFloat(const uint8_t* at, float& value)
{
    const uint32_t bits = uint32_t(at[0]) << 24 | uint32_t(at[1]) << 16 | uint32_t(at[2]) << 8 | at[3];
    value = std::bit_cast<float>(bits);
    return 4;
}

int GetInt16(const uint8_t* at, int32_t& value)
{
    value = int32_t(at[0]) << 8 | at[1];
    return 2;
}

int GetByte(const uint8_t* at, int8_t& value)
{
    value = static_cast<int8_t>(at[0]);
    return 1;
}

} // namespace bus_protocol
