#include "log_decimation.h"

#include <algorithm>
#include <cmath>

namespace {

// Walks the samples a column at a time; within a column, a stretch at a
// time. The columns' bounds come from binary searches, so that the samples
// themselves are only compared, in a loop the compiler keeps tight.
class Decimator {
public:
    Decimator(const LogHistory& history, LogValue value)
        : m_history(history), m_values(history.values[size_t(value)]),
          m_nextBreak(history.breaks.begin())
    {
    }

    void everySample(qsizetype first, qsizetype last);
    void column(qsizetype first, qsizetype last);
    QList<LogStretch> finish();

private:
    void endStretch();
    void add(qsizetype sample);
    void addExtremes(qsizetype first, qsizetype last);
    bool breaksBefore(qsizetype sample);

    const LogHistory& m_history;
    const std::vector<float>& m_values;
    std::vector<qsizetype>::const_iterator m_nextBreak;
    QList<LogStretch> m_stretches;
    LogStretch m_current;
};

void Decimator::add(qsizetype sample)
{
    m_current.append(QPointF(double(m_history.times[size_t(sample)]), double(m_values[size_t(sample)])));
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

// The lowest and the highest of samples that hold numbers, in time order.
void Decimator::addExtremes(qsizetype first, qsizetype last)
{
    const float* values = m_values.data();
    qsizetype low = first;
    qsizetype high = first;
    for (qsizetype s = first + 1; s < last; ++s) {
        if (values[s] < values[low])
            low = s;
        else if (values[s] > values[high])
            high = s;
    }
    add(std::min(low, high));
    if (low != high)
        add(std::max(low, high));
}

void Decimator::everySample(qsizetype first, qsizetype last)
{
    for (qsizetype s = first; s < last; ++s) {
        if (breaksBefore(s))
            endStretch();
        if (std::isnan(m_values[size_t(s)]))
            endStretch();
        else
            add(s);
    }
}

// One column's samples: each piece between breaks and values that are no
// number gives its extremes.
void Decimator::column(qsizetype first, qsizetype last)
{
    qsizetype pieceStart = first;
    const auto endPiece = [&](qsizetype end) {
        if (end > pieceStart)
            addExtremes(pieceStart, end);
    };
    for (qsizetype s = first; s < last; ++s) {
        const bool gap = breaksBefore(s);
        const bool nan = std::isnan(m_values[size_t(s)]);
        if (!gap && !nan)
            continue;
        endPiece(s);
        endStretch();
        pieceStart = nan ? s + 1 : s;
    }
    endPiece(last);
}

QList<LogStretch> Decimator::finish()
{
    endStretch();
    return std::move(m_stretches);
}

} // namespace

QList<LogStretch> decimate(const LogHistory& history, LogValue value, double from, double to, int columns)
{
    const qsizetype first = std::max<qsizetype>(history.lowerBound(from) - 1, 0);
    const qsizetype last = std::min(history.upperBound(to) + 1, history.size());
    Decimator decimator(history, value);
    if (last - first <= 2 * qsizetype(columns) || to <= from) {
        decimator.everySample(first, last);
        return decimator.finish();
    }
    // Column c holds the moments from + c·w up to from + (c + 1)·w; the
    // samples just outside the range have columns of their own.
    const double width = (to - from) / columns;
    qsizetype start = first;
    for (int c = 0; c <= columns + 1; ++c) {
        const qsizetype end = c > columns ? last : std::min(history.lowerBound(from + c * width), last);
        decimator.column(start, std::max(start, end));
        start = std::max(start, end);
    }
    return decimator.finish();
}
