#pragma once

#include <QFontMetrics>
#include <QRect>
#include <QString>

#include <utility>

class QPainter;

// What the history's two charts share: value scales and their axes.
namespace chart_painting {

// Values [min, max] on the pixels from `start`, `length` long (negative
// upwards).
struct Scale {
    double min = 0;
    double max = 1;
    double start = 0;
    double length = 1;

    double pixel(double value) const { return start + (value - min) * length / (max - min); }
    double value(double pixel) const { return min + (pixel - start) * (max - min) / length; }
};

Scale horizontal(const QRect& plot, double min, double max);
Scale vertical(const QRect& plot, double min, double max);

// A range widened by a margin, never narrower than `least`.
std::pair<double, double> padded(double min, double max, double least);

// The plot within a chart's bounds: room on the left for the value labels,
// above for the unit clear of the top label, below for two lines of labels, and on the right for
// half the last one.
QRect plotArea(const QRect& bounds, const QFontMetrics& metrics);

// Grid lines and labels of round values, with the locale's decimal separator.
void drawValueAxis(QPainter& painter, const QRect& plot, const Scale& scale, Qt::Orientation orientation);
// The unit of the value axis, above its labels; the plot leaves room for it.
void drawUnit(QPainter& painter, const QRect& plot, const QString& unit);
void drawFrame(QPainter& painter, const QRect& plot);
// A text in the middle of the plot, for a plot with nothing to show.
void drawNote(QPainter& painter, const QRect& plot, const QString& text);

} // namespace chart_painting
