#pragma once

#include <QDateTime>
#include <QString>

#include <optional>

// When a log needs a date mark before a line: the lines carry only a time of
// day, so a reader can date them only while each line follows the one before
// on the same day. A mark goes before the first line a run writes into a
// file (the header's day is that of New..., and a file may be continued by
// another run on a later day), and before any line whose date or UTC offset
// differs from the line before or whose time is earlier (midnight, an outage
// of days, a clock set back, the autumn hour).
class LogDating {
public:
    // The mark to write before a line stamped `at`, if any; `at` is then the
    // line before for the next call.
    std::optional<QString> markBefore(const QDateTime& at);
    // The next line is the first in its file, or the first of this run.
    void reset() { m_previous.reset(); }

private:
    std::optional<QDateTime> m_previous;
};
