#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <variant>

// The decoded fields of all regulator tables, named by the regulator's own
// parameter mnemonics. Floats are IEEE singles, 16-bit wire integers are held
// as 32-bit signed integers, byte fields as signed chars.

struct SensorInput {     // tables 1 and 2
    int8_t TYPE = 0;     // 0 "0-20mA", 1 "4-20mA", 2 "0-5V"
    int8_t DP_ = 0;      // "_DP_": decimal point, 0 "0000.", 1 "000.0", 2 "00.00"
    float STRS = 0;
    float ENDS = 0;
};

struct day_record {      // tables 8..14, Monday..Sunday
    float shift1 = 0, shift2 = 0, shift3 = 0, shift4 = 0;
    int8_t hour1 = 0, hour2 = 0, hour3 = 0, hour4 = 0;
    int8_t minute1 = 0, minute2 = 0, minute3 = 0, minute4 = 0;
};

struct ParamRecord {
    // table 0: equithermal curve
    float SP_0 = 0, SP20 = 0;
    // tables 1, 2
    SensorInput input1, input2;
    // table 3: alarms
    float SPLO = 0, SPHI = 0, HYST = 0;
    // table 4: on/off and three-state control
    float P_LO = 0, P_HI = 0, D_LO = 0, D_HI = 0;
    int8_t REGO = 0;
    int32_t DSER = 0, DEAD = 0, F2 = 0, TPID = 0;
    // table 5: behaviour on a fault
    int8_t RE_1 = 0, RE_2 = 0, RE_3 = 0, RE_4 = 0, YOUT = 0;
    // table 6
    int32_t FILTR = 0, PASS = 0;
    int8_t LOC_ = 0, reserved = 0;
    // table 7
    int8_t regulator_address = 0;
    // tables 8..14
    std::array<day_record, 7> days{};
    // table 15: clock, plain binary numbers
    int8_t seconds = 0, MIN = 0, HOUR = 0, DAY = 0, DATE = 0, MONT = 0, YEAR = 0;
    // table 16: measured values, read only
    float water_temperature = 0, outdoor_temperature = 0;
    int8_t aux_byte1 = 0;
    float demanded_temperature = 0, setback = 0;
    int8_t aux_byte2 = 0;
    // table 17: PID constants
    float PB = 0, INT = 0, DER = 0;
    // table 19: analogue output
    int8_t A_IN = 0, AOUT = 0;
    float ASTR = 0, AEND = 0;
    // table 20: alarm inputs
    int8_t INA1 = 0, INA2 = 0;
};

// The one record of the whole run, zero-filled at start.
extern ParamRecord param_record;

// Where one wire field lives in a record. The alternative tells its wire type:
// float (4 bytes), int16 held in an int32_t (2 bytes), byte (1 byte).
struct FieldRef {
    const char* name;
    std::variant<float*, int32_t*, int8_t*> value;
};

constexpr int kTableCount = 21;
constexpr int kMaxFieldsPerTable = 12;

// Byte length of each table's data; the same value travels in every request.
constexpr std::array<uint8_t, kTableCount> table_length{8, 10, 10, 12, 25, 5, 6, 1, 24, 24, 24,
                                                        24, 24, 24, 24, 7, 18, 12, 6, 10, 2};

// A table's fields in wire order, bound to a record. Table 18 has no layout
// and gives an empty list, as does any number outside 0..20.
class TableFields {
public:
    TableFields(int table, ParamRecord& record);
    std::span<const FieldRef> fields() const& { return {m_fields.data(), m_count}; }
    // A view into a temporary would dangle.
    std::span<const FieldRef> fields() const&& = delete;
    bool empty() const { return m_count == 0; }

private:
    void add(const char* name, std::variant<float*, int32_t*, int8_t*> value);
    std::array<FieldRef, kMaxFieldsPerTable> m_fields{};
    size_t m_count = 0;
};

// Wire width of a field: 4, 2 or 1 bytes.
int wireWidth(const FieldRef& field);
