#pragma once

#include "live_values.h"
#include "regulator_clock.h"
#include "tables.h"

#include <array>
#include <bitset>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

// The regulator's side of the bus: its tables, its texts and its answers to
// complete, checksum-valid telegrams. Faults on the line are added elsewhere.
class Regulator {
public:
    static constexpr size_t kMaxTelegram = 261; // LE 255 plus six framing bytes
    static constexpr size_t kMaxText = 249;     // longer texts are cut to this

    enum class Event { None, Wrote, Refused, Eeprom };

    struct Outcome {
        std::array<uint8_t, kMaxTelegram> reply;
        size_t replyLength = 0; // 0: the regulator stays silent
        Event event = Event::None;
        int table = -1;
        uint8_t ackCode = 0;
    };

    // `variant` sets a regulator apart from the others on its line: its curve
    // and its measured values differ, so that answers mixed up show. Variant 0
    // is the factory state.
    explicit Regulator(uint8_t address, int variant = 0);

    // Answers one telegram already checked for framing and checksum.
    void handle(const uint8_t* telegram, size_t length, Outcome& outcome);

    [[nodiscard]] uint8_t address() const;
    void setAddress(uint8_t address);

    // Current contents, with the clock and the measured values as they are this moment.
    void content(int table, uint8_t* out) const;
    // Stores as given, without range checks; storing the measured values holds them still.
    void store(int table, const uint8_t* data);
    void resumeMeasuredValues();

    void setRefused(int table, bool refused);
    // An unreadable table's read request gets no answer.
    void setUnreadable(int table, bool unreadable);
    // A refused store is answered with a negative acknowledgement.
    void setEepromRefused(bool refused);
    void setTypeText(std::string bytes);
    void setVersionText(std::string bytes);
    void setTypeSilent(bool silent);
    void setVersionSilent(bool silent);

private:
    void answerProbe(const uint8_t* telegram, Outcome& outcome) const;
    void answerDataRequest(uint8_t sa, const uint8_t* du, size_t duLength, Outcome& outcome) const;
    void answerWrite(uint8_t sa, const uint8_t* du, size_t duLength, Outcome& outcome);
    void putAck(uint8_t sa, uint8_t code, Outcome& outcome) const;
    void putData(uint8_t sa, const uint8_t* data, size_t length, Outcome& outcome) const;
    [[nodiscard]] float currentSetback() const;

    std::array<tables::Bytes, tables::kCount> m_tables{};
    RegulatorClock m_clock;
    LiveValues m_live;
    std::optional<tables::Bytes> m_heldMeasured;
    std::bitset<tables::kCount> m_refused;
    std::bitset<tables::kCount> m_unreadable;
    std::string m_typeText;
    std::string m_versionText;
    bool m_typeSilent = false;
    bool m_versionSilent = false;
    bool m_eepromRefused = false;
};
