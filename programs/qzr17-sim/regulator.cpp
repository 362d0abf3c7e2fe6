#include "regulator.h"

#include "wire.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr uint8_t kSd1 = 0x10;
constexpr uint8_t kSd2 = 0x68;
constexpr uint8_t kEnd = 0x16;
constexpr uint8_t kFcProbe = 0x69;
constexpr uint8_t kFcRequestData = 0x6C;
constexpr uint8_t kFcSendData = 0x63;
constexpr uint8_t kFcResponseData = 0x08;
constexpr uint8_t kAckPositive = 0;
constexpr uint8_t kAckOutOfRange = 2;

constexpr uint8_t kSvcDeviceType = 0;
constexpr uint8_t kSvcReadTable = 1;
constexpr uint8_t kSvcWriteTable = 2;
constexpr uint8_t kSvcDeviceVersion = 4;
constexpr uint8_t kSvcStoreEeprom = 6;

constexpr size_t kTableHeader = 4; // service, table, length, 0
constexpr int kVariants = 16;       // curves and values repeat after this many stations

uint8_t sum(const uint8_t* from, size_t count)
{
    unsigned total = 0;
    for (size_t i = 0; i < count; ++i)
        total += from[i];
    return static_cast<uint8_t>(total);
}

// Table number and length of a table service, when they name a table and its true length.
bool validTableHeader(const uint8_t* du, size_t duLength)
{
    return duLength >= kTableHeader && tables::exists(du[1]) && du[2] == tables::length(du[1]) && du[3] == 0;
}

} // namespace

Regulator::Regulator(uint8_t address, int variant)
    : m_live(variant % kVariants)
{
    for (int t = 0; t < tables::kCount; ++t)
        m_tables[static_cast<size_t>(t)] = tables::factoryDefault(t, address);
    // A flatter curve for each later station: 75/35 °C, 74/35.5 °C, …
    const float step = static_cast<float>(variant % kVariants);
    wire::putFloat(m_tables[0].data(), 75.0f - step);
    wire::putFloat(m_tables[0].data() + 4, 35.0f + step / 2);
}

uint8_t Regulator::address() const
{
    return m_tables[tables::kAddress][0];
}

void Regulator::setAddress(uint8_t address)
{
    m_tables[tables::kAddress][0] = address;
}

void Regulator::handle(const uint8_t* telegram, size_t length, Outcome& outcome)
{
    outcome.replyLength = 0;
    outcome.event = Event::None;
    outcome.table = -1;
    const bool sd1 = telegram[0] == kSd1;
    const uint8_t da = sd1 ? telegram[1] : telegram[4];
    if (da != address() || da == tables::kBroadcast)
        return;
    if (sd1) {
        answerProbe(telegram, outcome);
        return;
    }
    const uint8_t sa = telegram[5];
    const uint8_t fc = telegram[6];
    const uint8_t* du = telegram + 7;
    const size_t duLength = length - 9;
    if (duLength == 0)
        return;
    if (fc == kFcRequestData)
        answerDataRequest(sa, du, duLength, outcome);
    else if (fc == kFcSendData)
        answerWrite(sa, du, duLength, outcome);
}

void Regulator::answerProbe(const uint8_t* telegram, Outcome& outcome) const
{
    if (telegram[3] == kFcProbe)
        putAck(telegram[2], kAckPositive, outcome);
}

void Regulator::answerDataRequest(uint8_t sa, const uint8_t* du, size_t duLength, Outcome& outcome) const
{
    const uint8_t service = du[0];
    if (service == kSvcReadTable && duLength == kTableHeader && validTableHeader(du, duLength)
        && !m_unreadable.test(du[1])) {
        uint8_t data[tables::kMaxLength];
        content(du[1], data);
        putData(sa, data, tables::length(du[1]), outcome);
    } else if (service == kSvcDeviceType && duLength == 1 && !m_typeSilent) {
        putData(sa, reinterpret_cast<const uint8_t*>(m_typeText.data()), m_typeText.size(), outcome);
    } else if (service == kSvcDeviceVersion && duLength == 1 && !m_versionSilent) {
        putData(sa, reinterpret_cast<const uint8_t*>(m_versionText.data()), m_versionText.size(), outcome);
    }
}

void Regulator::answerWrite(uint8_t sa, const uint8_t* du, size_t duLength, Outcome& outcome)
{
    const uint8_t service = du[0];
    if (service == kSvcStoreEeprom && duLength == 1) {
        putAck(sa, m_eepromRefused ? kAckOutOfRange : kAckPositive, outcome);
        outcome.event = m_eepromRefused ? Event::None : Event::Eeprom;
        return;
    }
    if (service != kSvcWriteTable || !validTableHeader(du, duLength) || duLength != kTableHeader + du[2])
        return;
    const int table = du[1];
    const uint8_t* data = du + kTableHeader;
    const bool accepted = tables::writable(table) && !m_refused.test(static_cast<size_t>(table))
                          && tables::inRange(table, data);
    // The acknowledgement leaves from the old address even when the write moves it.
    putAck(sa, accepted ? kAckPositive : kAckOutOfRange, outcome);
    outcome.event = accepted ? Event::Wrote : Event::Refused;
    outcome.table = table;
    outcome.ackCode = accepted ? kAckPositive : kAckOutOfRange;
    if (accepted)
        store(table, data);
}

void Regulator::putAck(uint8_t sa, uint8_t code, Outcome& outcome) const
{
    auto& r = outcome.reply;
    r[0] = kSd1;
    r[1] = sa;
    r[2] = address();
    r[3] = code;
    r[4] = sum(&r[1], 3);
    r[5] = kEnd;
    outcome.replyLength = 6;
}

void Regulator::putData(uint8_t sa, const uint8_t* data, size_t length, Outcome& outcome) const
{
    auto& r = outcome.reply;
    const auto le = static_cast<uint8_t>(length + 3);
    r[0] = kSd2;
    r[1] = le;
    r[2] = le;
    r[3] = kSd2;
    r[4] = sa;
    r[5] = address();
    r[6] = kFcResponseData;
    std::memcpy(&r[7], data, length);
    r[4 + le] = sum(&r[4], le);
    r[5 + le] = kEnd;
    outcome.replyLength = le + 6u;
}

void Regulator::content(int table, uint8_t* out) const
{
    if (table == tables::kClock) {
        m_clock.read(out);
    } else if (table == tables::kMeasured && !m_heldMeasured) {
        const uint8_t* curve = m_tables[0].data();
        m_live.fill(out, wire::getFloat(curve), wire::getFloat(curve + 4), currentSetback());
    } else {
        const auto& source = table == tables::kMeasured ? *m_heldMeasured : m_tables[static_cast<size_t>(table)];
        std::memcpy(out, source.data(), tables::length(table));
    }
}

void Regulator::store(int table, const uint8_t* data)
{
    tables::Bytes bytes{};
    std::memcpy(bytes.data(), data, tables::length(table));
    if (table == tables::kClock)
        m_clock.set(data);
    else if (table == tables::kMeasured)
        m_heldMeasured = bytes;
    else
        m_tables[static_cast<size_t>(table)] = bytes;
}

void Regulator::resumeMeasuredValues()
{
    m_heldMeasured.reset();
}

// The shift of the week programme's level that began last before now, looking back into yesterday.
float Regulator::currentSetback() const
{
    const int today = m_clock.weekday();
    const int now = m_clock.minuteOfDay();
    for (int back = 0; back < 2; ++back) {
        const int day = (today - 1 - back + 7) % 7;
        const uint8_t* record = m_tables[static_cast<size_t>(tables::kMonday + day)].data();
        int bestStart = -1;
        float shift = 0.0f;
        for (int level = 0; level < 4; ++level) {
            const int start = record[16 + level] * 60 + record[20 + level];
            if ((back == 1 || start <= now) && start > bestStart) {
                bestStart = start;
                shift = wire::getFloat(record + 4 * level);
            }
        }
        if (bestStart >= 0)
            return shift;
    }
    return 0.0f;
}

void Regulator::setUnreadable(int table, bool unreadable) { m_unreadable.set(static_cast<size_t>(table), unreadable); }

void Regulator::setEepromRefused(bool refused) { m_eepromRefused = refused; }

void Regulator::setRefused(int table, bool refused)
{
    m_refused.set(static_cast<size_t>(table), refused);
}

void Regulator::setTypeText(std::string bytes)
{
    m_typeText = std::move(bytes);
    m_typeText.resize(std::min(m_typeText.size(), kMaxText));
}

void Regulator::setVersionText(std::string bytes)
{
    m_versionText = std::move(bytes);
    m_versionText.resize(std::min(m_versionText.size(), kMaxText));
}

void Regulator::setTypeSilent(bool silent)
{
    m_typeSilent = silent;
}

void Regulator::setVersionSilent(bool silent)
{
    m_versionSilent = silent;
}
