#include "log_decimation.h"

#include <algorithm>
#include <cmath>

namespace {

// Walks the samples a column at a time; within a column, a piece between
// breaks and values that are no number at a time, in one tight pass.
class Decimator {
public:
    Decimator(const LogHistory& history, LogValue value)
        : m_history(history), m_values(history.values[size_t(value)].data()),
          m_nextBreak(history.breaks.begin())
    {
    }

    void everySample(qsizetype first, qsizetype last);
    void column(qsizetype first, qsizetype last);
    QList<LogStretch> finish();

private:
    void endStretch();
    void add(qsizetype sample);
    void scanPiece(qsizetype first, qsizetype last);
    // Past the breaks before `sample`; whether one is at it.
    bool breaksBefore(qsizetype sample);

    const LogHistory& m_history;
    const float* m_values;
    std::vector<qsizetype>::const_iterator m_nextBreak;
    QList<LogStretch> m_stretches;
    LogStretch m_current;
};

void Decimator::add(qsizetype sample)
{
    m_current.append(QPointF(double(m_history.times[size_t(sample)]), double(m_values[sample])));
}

void Decimator::endStretch()
{
    if (!m_current.isEmpty())
        m_stretches.append(std::move(m_current));
    m_current = {};
}

bool Decimator::breaksBefore(qsizetype sample)
{
    while (m_nextBreak != m_history.breaks.end() && *m_nextBreak < sample)
        ++m_nextBreak;
    return m_nextBreak != m_history.breaks.end() && *m_nextBreak == sample;
}

void Decimator::everySample(qsizetype first, qsizetype last)
{
    for (qsizetype s = first; s < last; ++s) {
        if (breaksBefore(s) || std::isnan(m_values[s]))
            endStretch();
        if (!std::isnan(m_values[s]))
            add(s);
    }
}

// The lowest and the highest of each run of numbers, in time order.
void Decimator::scanPiece(qsizetype first, qsizetype last)
{
    qsizetype s = first;
    while (s < last) {
        if (std::isnan(m_values[s])) {
            endStretch();
            ++s;
            continue;
        }
        qsizetype low = s;
        qsizetype high = s;
        float lowest = m_values[s];
        float highest = lowest;
        for (++s; s < last; ++s) {
            const float v = m_values[s];
            if (v < lowest) {
                lowest = v;
                low = s;
            } else if (v > highest) {
                highest = v;
                high = s;
            } else if (v != v) {
                break;
            }
        }
        add(std::min(low, high));
        if (low != high)
            add(std::max(low, high));
    }
}

void Decimator::column(qsizetype first, qsizetype last)
{
    qsizetype s = first;
    while (s < last) {
        if (breaksBefore(s))
            endStretch();
        const auto next =
            m_nextBreak != m_history.breaks.end() && *m_nextBreak == s ? m_nextBreak + 1 : m_nextBreak;
        const qsizetype end = next == m_history.breaks.end() ? last : std::min(last, *next);
        scanPiece(s, end);
        s = end;
    }
}

QList<LogStretch> Decimator::finish()
{
    endStretch();
    return std::move(m_stretches);
}

} // namespace

LogColumns::LogColumns(const LogHistory& history, double from, double to, int columns)
    : m_first(std::max<qsizetype>(history.lowerBound(from) - 1, 0)),
      m_last(std::min(history.upperBound(to) + 1, history.size()))
{
    if (m_last - m_first <= 2 * qsizetype(columns) || to <= from)
        return;
    const double width = (to - from) / columns;
    m_bounds.reserve(size_t(columns) + 2);
    m_bounds.push_back(m_first);
    // Each bound is looked for in growing steps from the one before, so the
    // search stays among the column's own samples.
    const auto end = history.times.begin() + m_last;
    auto bound = history.times.begin() + m_first;
    for (int c = 0; c <= columns; ++c) {
        const double at = from + c * width;
        qsizetype step = 1;
        while (step < end - bound && double(bound[step]) < at)
            step *= 2;
        bound = std::lower_bound(bound + step / 2, bound + std::min(step, qsizetype(end - bound)), at,
                                 [](qint64 t, double s) { return double(t) < s; });
        m_bounds.push_back(bound - history.times.begin());
    }
}

QList<LogStretch> decimate(const LogHistory& history, LogValue value, const LogColumns& columns)
{
    Decimator decimator(history, value);
    if (columns.everySample()) {
        decimator.everySample(columns.first(), columns.last());
        return decimator.finish();
    }
    const std::vector<qsizetype>& bounds = columns.bounds();
    for (size_t c = 0; c < bounds.size(); ++c)
        decimator.column(bounds[c], c + 1 < bounds.size() ? bounds[c + 1] : columns.last());
    return decimator.finish();
}
