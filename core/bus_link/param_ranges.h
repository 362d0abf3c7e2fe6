#pragma once

#include "param_record.h"

#include <cstddef>
#include <optional>

// The values the regulator accepts in each field of its writable parameter
// and day tables: what it refuses with acknowledgement code 2. Bounds are in
// the record's terms: bytes signed, int16 fields as the unsigned wire value.
struct FieldRange {
    double lowest;
    double highest;
};

// The range of field `index` (wire order) of a table 0..14, 17, 19 or 20;
// nothing for any other table or index.
std::optional<FieldRange> fieldRange(int table, size_t index);

// Floats must be finite; they are compared in single precision, so that a
// typed 0.01 lies inside 0.01..9999.
bool isInRange(const FieldRef& field, const FieldRange& range);
