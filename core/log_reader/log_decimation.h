#pragma once

#include "log_history.h"

#include <QList>
#include <QPointF>

#include <vector>

// A stretch of one value's line: points of (seconds since the epoch, value),
// in time order, to be joined. A gap, an outage or a value that is no number
// ends a stretch.
using LogStretch = QList<QPointF>;

// The samples of each pixel column of a plot showing the moments `from` to
// `to` on `columns` pixels: column c holds the moments from + c·w up to
// from + (c + 1)·w. The samples just outside either end have columns of their
// own, so that the line reaches the edges. Found once for all the values.
class LogColumns {
public:
    LogColumns(const LogHistory& history, double from, double to, int columns);

    // Up to two samples a column there is no need to choose.
    bool everySample() const { return m_bounds.empty(); }
    qsizetype first() const { return m_first; }
    qsizetype last() const { return m_last; }
    // Where each column's samples begin; the last column ends at last().
    const std::vector<qsizetype>& bounds() const { return m_bounds; }

private:
    qsizetype m_first;
    qsizetype m_last;
    std::vector<qsizetype> m_bounds;
};

// What to draw of one value: with every sample, or for each column the
// lowest and the highest sample of each stretch passing through it, in their
// order, so that no extreme is lost.
QList<LogStretch> decimate(const LogHistory& history, LogValue value, const LogColumns& columns);
