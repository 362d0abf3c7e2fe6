#pragma once

#include "log_history.h"

#include <QList>
#include <QPointF>

// A stretch of one value's line: points of (seconds since the epoch, value),
// in time order, to be joined. A gap, an outage or a value that is no number
// ends a stretch.
using LogStretch = QList<QPointF>;

// What to draw of one value between the moments `from` and `to` on a plot
// `columns` pixels wide. Up to two points a column there are all the samples;
// with more, each column keeps the lowest and the highest sample of each
// stretch passing through it, in their order, so that no extreme is lost.
// The samples just outside either end come too, so that the line reaches the
// edges.
QList<LogStretch> decimate(const LogHistory& history, LogValue value, double from, double to, int columns);
