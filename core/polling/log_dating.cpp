#include "log_dating.h"

#include "log_lines.h"

#include <utility>

std::optional<QString> LogDating::markBefore(const QDateTime& at)
{
    const std::optional<QDateTime> previous = std::exchange(m_previous, at);
    const bool follows = previous && previous->date() == at.date() &&
                         previous->offsetFromUtc() == at.offsetFromUtc() && previous->time() <= at.time();
    if (follows)
        return std::nullopt;
    return log_lines::dateMark(at);
}
