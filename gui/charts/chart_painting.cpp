#include "chart_painting.h"

#include "chart_ticks.h"

#include <QLocale>
#include <QPainter>

#include <cmath>

namespace chart_painting {

namespace {

constexpr double kMarginShare = 0.05;
constexpr int kPixelsPerValueTick = 40;
constexpr int kPixelsPerValueLabel = 70;
constexpr int kLabelGap = 4;
const QColor kGrid(225, 225, 225);

int decimalsFor(double step)
{
    return std::max(0, -int(std::floor(std::log10(step) + 1e-9)));
}

} // namespace

Scale horizontal(const QRect& plot, double min, double max)
{
    return {min, max, double(plot.left()), double(plot.width())};
}

Scale vertical(const QRect& plot, double min, double max)
{
    return {min, max, double(plot.bottom()), -double(plot.height())};
}

std::pair<double, double> padded(double min, double max, double least)
{
    const double margin = std::max((max - min) * kMarginShare, (least - (max - min)) / 2);
    return {min - std::max(margin, 0.0), max + std::max(margin, 0.0)};
}

QRect plotArea(const QRect& bounds, const QFontMetrics& metrics)
{
    const int left = metrics.horizontalAdvance(QStringLiteral("-000,0")) + 2 * kLabelGap;
    const int right = metrics.horizontalAdvance(QStringLiteral("00:00:00")) / 2 + kLabelGap;
    // The unit above the top value label, which reaches half a line above the plot.
    const int top = metrics.height() * 3 / 2 + kLabelGap;
    const int bottom = 2 * metrics.height() + 2 * kLabelGap;
    return bounds.adjusted(left, top, -right, -bottom);
}

void drawValueAxis(QPainter& painter, const QRect& plot, const Scale& scale, Qt::Orientation orientation)
{
    const bool upright = orientation == Qt::Vertical;
    const int pixels = upright ? plot.height() : plot.width();
    const double step = chart_ticks::valueStep(
        scale.max - scale.min, pixels / (upright ? kPixelsPerValueTick : kPixelsPerValueLabel));
    const QLocale locale;
    const QFontMetrics metrics = painter.fontMetrics();
    for (const double tick : chart_ticks::valueTicks(scale.min, scale.max, step)) {
        const int at = int(std::lround(scale.pixel(tick)));
        const QString label = locale.toString(std::abs(tick) < step / 2 ? 0.0 : tick, 'f', decimalsFor(step));
        painter.setPen(kGrid);
        if (upright) {
            painter.drawLine(plot.left(), at, plot.right(), at);
            painter.setPen(Qt::black);
            const QRect room(0, at - metrics.height() / 2, plot.left() - kLabelGap, metrics.height());
            painter.drawText(room, Qt::AlignRight | Qt::AlignVCenter, label);
        } else {
            painter.drawLine(at, plot.top(), at, plot.bottom());
            painter.setPen(Qt::black);
            const int width = metrics.horizontalAdvance(label);
            painter.drawText(at - width / 2, plot.bottom() + kLabelGap + metrics.ascent(), label);
        }
    }
}

void drawUnit(QPainter& painter, const QRect& plot, const QString& unit)
{
    painter.setPen(Qt::black);
    const int bottom = plot.top() - painter.fontMetrics().height() / 2;
    painter.drawText(QRect(0, 0, plot.left() - kLabelGap, bottom), Qt::AlignRight | Qt::AlignBottom, unit);
}

void drawFrame(QPainter& painter, const QRect& plot)
{
    painter.setPen(Qt::gray);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(plot.adjusted(0, 0, -1, -1));
}

void drawNote(QPainter& painter, const QRect& plot, const QString& text)
{
    painter.setPen(Qt::darkGray);
    painter.drawText(plot, Qt::AlignCenter | Qt::TextWordWrap, text);
}

} // namespace chart_painting
