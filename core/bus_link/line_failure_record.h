#pragma once

#include "bus_protocol.h"

#include <QString>

#include <optional>

// The failures of a line kept for the next run of a program on the same line,
// so that a run that failed leaves at once and the next one waits only for
// what is left of the late-answer window: one small file a user, a line a
// device. Kept from the moment of the failure, so that a run killed later,
// or while it waits, leaves the next one protected all the same. Times are
// wall-clock times, taken back within the bounds a late answer and the doubt
// can last, so that a clock set back or forward holds nobody longer.
namespace line_failure_record {

// The failures on the device, when they still matter.
std::optional<bus_protocol::LineFailure> read(const QString& device);
// Replaces what is kept for the device; best effort, a failure is not said.
void write(const QString& device, const bus_protocol::LineFailure& failure);

} // namespace line_failure_record
