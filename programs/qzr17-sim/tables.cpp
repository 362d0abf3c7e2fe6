#include "tables.h"

#include "wire.h"

#include <cmath>
#include <limits>
#include <span>

namespace tables {
namespace {

enum class Kind { Float, Int16, Byte };

struct Field {
    Kind kind;
    double min;
    double max;
};

constexpr double kAny = std::numeric_limits<double>::infinity();

constexpr Field floatAny{Kind::Float, -kAny, kAny};
constexpr Field byteAny{Kind::Byte, 0, 255};

constexpr Field floatIn(double min, double max) { return {Kind::Float, min, max}; }
constexpr Field int16In(double min, double max) { return {Kind::Int16, min, max}; }
constexpr Field byteIn(double min, double max) { return {Kind::Byte, min, max}; }

constexpr Field kCurve[] = {floatAny, floatAny};
constexpr Field kInput[] = {byteIn(0, 2), byteIn(0, 2), floatIn(-999, 9999), floatIn(-999, 9999)};
constexpr Field kAlarms[] = {floatAny, floatAny, floatIn(0, 10)};
constexpr Field kControl[] = {floatIn(-20, 0), floatIn(0, 20), floatIn(-20, 0), floatIn(0, 20), byteIn(0, 1),
                              int16In(5, 1000), int16In(0, 10), int16In(0, 16), int16In(1, 50)};
constexpr Field kFault[] = {byteIn(0, 2), byteIn(0, 2), byteIn(0, 2), byteIn(0, 2), byteIn(0, 2)};
constexpr Field kOther[] = {int16In(0, 15), int16In(0, 9999), byteIn(0, 1), byteAny};
constexpr Field kBusAddress[] = {byteIn(0, 126)};
constexpr Field kDay[] = {floatIn(-50, 50), floatIn(-50, 50), floatIn(-50, 50), floatIn(-50, 50),
                          byteIn(0, 23),    byteIn(0, 23),    byteIn(0, 23),    byteIn(0, 23),
                          byteIn(0, 59),    byteIn(0, 59),    byteIn(0, 59),    byteIn(0, 59)};
constexpr Field kClockFields[] = {byteIn(0, 59), byteIn(0, 59), byteIn(0, 23), byteIn(1, 7),
                                  byteIn(1, 31), byteIn(1, 12), byteIn(0, 99)};
constexpr Field kPid[] = {floatIn(-500, 500), floatIn(0.01, 9999), floatIn(0.01, 9999)};
constexpr Field kAnalogueOut[] = {byteIn(0, 1), byteIn(0, 3), floatAny, floatAny};
constexpr Field kAlarmInputs[] = {byteIn(0, 2), byteIn(0, 2)};

std::span<const Field> layout(int table)
{
    switch (table) {
    case 0: return kCurve;
    case 1:
    case 2: return kInput;
    case 3: return kAlarms;
    case 4: return kControl;
    case 5: return kFault;
    case 6: return kOther;
    case kAddress: return kBusAddress;
    case kClock: return kClockFields;
    case 17: return kPid;
    case 19: return kAnalogueOut;
    case 20: return kAlarmInputs;
    default: return table >= kMonday && table <= kSunday ? std::span<const Field>(kDay) : std::span<const Field>();
    }
}

// Bounds are compared in single precision, so a typed 0.01 is inside 0.01..9999.
bool fieldInRange(const Field& field, const uint8_t* at)
{
    switch (field.kind) {
    case Kind::Float: {
        const float value = wire::getFloat(at);
        return std::isfinite(value) && value >= static_cast<float>(field.min) && value <= static_cast<float>(field.max);
    }
    case Kind::Int16: {
        const double value = wire::getU16(at);
        return value >= field.min && value <= field.max;
    }
    case Kind::Byte:
        return at[0] >= field.min && at[0] <= field.max;
    }
    return false;
}

size_t width(Kind kind)
{
    return kind == Kind::Float ? 4 : kind == Kind::Int16 ? 2 : 1;
}

struct DayPlan {
    float shift[4];
    uint8_t hour[4];
    uint8_t minute[4];
};

constexpr DayPlan kWorkday{{0, -5, 0, -10}, {6, 8, 16, 22}, {0, 0, 0, 0}};
constexpr DayPlan kWeekend{{2, 0, 2, -10}, {7, 11, 18, 23}, {0, 30, 0, 0}};

void putDay(uint8_t* at, const DayPlan& plan)
{
    for (int level = 0; level < 4; ++level) {
        wire::putFloat(at + 4 * level, plan.shift[level]);
        at[16 + level] = plan.hour[level];
        at[20 + level] = plan.minute[level];
    }
}

void putFloats(uint8_t* at, std::initializer_list<float> values)
{
    for (const float value : values) {
        wire::putFloat(at, value);
        at += 4;
    }
}

} // namespace

bool writable(int table)
{
    return exists(table) && table != kMeasured && table != kUnused;
}

bool inRange(int table, const uint8_t* data)
{
    for (const Field& field : layout(table)) {
        if (!fieldInRange(field, data))
            return false;
        data += width(field.kind);
    }
    return true;
}

Bytes factoryDefault(int table, uint8_t ownAddress)
{
    Bytes b{};
    switch (table) {
    case 0: putFloats(&b[0], {75.0f, 35.0f}); break;
    case 1: b[0] = 1; b[1] = 1; putFloats(&b[2], {-50.0f, 150.0f}); break;
    case 2: b[0] = 1; b[1] = 1; putFloats(&b[2], {-50.0f, 50.0f}); break;
    case 3: putFloats(&b[0], {-5.0f, 5.0f, 2.0f}); break;
    case 4:
        putFloats(&b[0], {-3.0f, 2.0f, -8.0f, 4.0f});
        b[16] = 1;
        wire::putU16(&b[17], 120);
        wire::putU16(&b[19], 2);
        wire::putU16(&b[21], 4);
        wire::putU16(&b[23], 5);
        break;
    case 5: b = {1, 2, 0, 0, 1}; break;
    case 6: wire::putU16(&b[0], 8); break;
    case kAddress: b[0] = ownAddress; break;
    case 17: putFloats(&b[0], {20.0f, 120.0f, 10.0f}); break;
    case 19: b[0] = 0; b[1] = 1; putFloats(&b[2], {0.0f, 100.0f}); break;
    case 20: b[0] = 0; b[1] = 2; break;
    default:
        if (table >= kMonday && table <= kSunday)
            putDay(&b[0], table < kMonday + 5 ? kWorkday : kWeekend);
        break;
    }
    return b;
}

} // namespace tables
