#pragma once

#include "param_record.h"

#include <QString>

#include <optional>
#include <variant>

// A value for one record field, of the field's own type.
using FieldValue = std::variant<float, int32_t, int8_t>;

// The field as "read" prints it: floats in the shortest form that reads back
// exactly, with a '.'; bytes as signed numbers; int16 fields as the record
// holds them.
QString formatField(const FieldRef& field);

// The typed text as a value for the field, or nothing when it is not a number
// of that kind: exactly the values that a later read can show, so that what
// is written reads back unchanged (bytes -128..127, int16 fields 0..65535).
std::optional<FieldValue> parseFieldValue(const FieldRef& field, const QString& text);

// Stores a value that parseFieldValue produced for the same field.
void storeField(const FieldRef& field, const FieldValue& value);
