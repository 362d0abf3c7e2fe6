#include "param_ranges.h"

#include <cmath>
#include <limits>
#include <span>

namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();

constexpr FieldRange kAnyFloat{-kInfinity, kInfinity};
constexpr FieldRange kAnyByte{-128, 127};

constexpr FieldRange kCurve[] = {kAnyFloat, kAnyFloat};
constexpr FieldRange kInput[] = {{0, 2}, {0, 2}, {-999, 9999}, {-999, 9999}};
constexpr FieldRange kAlarms[] = {kAnyFloat, kAnyFloat, {0, 10}};
constexpr FieldRange kControl[] = {{-20, 0}, {0, 20}, {-20, 0}, {0, 20}, {0, 1},
                                   {5, 1000}, {0, 10}, {0, 16}, {1, 50}};
constexpr FieldRange kFault[] = {{0, 2}, {0, 2}, {0, 2}, {0, 2}, {0, 2}};
constexpr FieldRange kOther[] = {{0, 15}, {0, 9999}, {0, 1}, kAnyByte};
constexpr FieldRange kBusAddress[] = {{0, 126}};
constexpr FieldRange kDay[] = {{-50, 50}, {-50, 50}, {-50, 50}, {-50, 50}, {0, 23}, {0, 23},
                               {0, 23},   {0, 23},   {0, 59},   {0, 59},   {0, 59}, {0, 59}};
constexpr FieldRange kPid[] = {{-500, 500}, {0.01, 9999}, {0.01, 9999}};
constexpr FieldRange kAnalogueOutput[] = {{0, 1}, {0, 3}, kAnyFloat, kAnyFloat};
constexpr FieldRange kAlarmInputs[] = {{0, 2}, {0, 2}};

constexpr int kMonday = 8;
constexpr int kSunday = 14;

std::span<const FieldRange> rangesOf(int table)
{
    if (table >= kMonday && table <= kSunday)
        return kDay;
    switch (table) {
    case 0: return kCurve;
    case 1:
    case 2: return kInput;
    case 3: return kAlarms;
    case 4: return kControl;
    case 5: return kFault;
    case 6: return kOther;
    case 7: return kBusAddress;
    case 17: return kPid;
    case 19: return kAnalogueOutput;
    case 20: return kAlarmInputs;
    default: return {};
    }
}

} // namespace

std::optional<FieldRange> fieldRange(int table, size_t index)
{
    const std::span<const FieldRange> ranges = rangesOf(table);
    if (index >= ranges.size())
        return std::nullopt;
    return ranges[index];
}

bool isInRange(const FieldRef& field, const FieldRange& range)
{
    return std::visit([&range](auto* value) {
        using T = std::remove_pointer_t<decltype(value)>;
        if constexpr (std::is_same_v<T, float>)
            return std::isfinite(*value) && *value >= static_cast<float>(range.lowest)
                   && *value <= static_cast<float>(range.highest);
        else
            return *value >= range.lowest && *value <= range.highest;
    }, field.value);
}
