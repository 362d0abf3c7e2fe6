#include "field_values.h"

#include "numbers.h"
#include "param_set_file.h"

#include <QLocale>

#include <limits>
#include <type_traits>

namespace {

constexpr int kInt16Lowest = 0;
constexpr int kInt16Highest = 65535;

std::optional<FieldValue> parseFloat(const QString& text)
{
    bool ok = false;
    const float value = QLocale::c().toFloat(text, &ok);
    return ok ? std::optional<FieldValue>(value) : std::nullopt;
}

template <typename T>
std::optional<FieldValue> parseWithin(const QString& text, int lowest, int highest)
{
    const std::optional<int> value = parseInteger(text);
    if (!value || *value < lowest || *value > highest)
        return std::nullopt;
    return FieldValue(static_cast<T>(*value));
}

} // namespace

QString formatField(const FieldRef& field) { return param_set::formatValue(field); }

std::optional<FieldValue> parseFieldValue(const FieldRef& field, const QString& text)
{
    return std::visit([&text](auto* value) -> std::optional<FieldValue> {
        using T = std::remove_pointer_t<decltype(value)>;
        if constexpr (std::is_same_v<T, float>)
            return parseFloat(text);
        else if constexpr (std::is_same_v<T, int32_t>)
            return parseWithin<int32_t>(text, kInt16Lowest, kInt16Highest);
        else
            return parseWithin<int8_t>(text, std::numeric_limits<int8_t>::min(),
                                       std::numeric_limits<int8_t>::max());
    }, field.value);
}

void storeField(const FieldRef& field, const FieldValue& value)
{
    std::visit([&value](auto* target) {
        *target = std::get<std::remove_pointer_t<decltype(target)>>(value);
    }, field.value);
}
