#include "value_legend.h"

#include "chart_points.h"

#include <QEvent>
#include <QLocale>
#include <QPainter>

#include <algorithm>

namespace {

constexpr int kMargin = 4;
constexpr int kSwatch = 8;
constexpr int kDecimals = 1;

} // namespace

ValueLegend::ValueLegend(const ChartPoints& points, QWidget* parent) : QWidget(parent), m_points(points)
{
    setAccessibleName(tr("Hodnoty bodů grafu"));
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Base);
}

void ValueLegend::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::LanguageChange)
        setAccessibleName(tr("Hodnoty bodů grafu"));
}

void ValueLegend::setFirstIndex(int index)
{
    m_firstIndex = std::max(index, 0);
    update();
}

int ValueLegend::rowHeight() const { return fontMetrics().height(); }

int ValueLegend::rowCapacity() const { return std::max((height() - 2 * kMargin) / rowHeight(), 0); }

QSize ValueLegend::sizeHint() const
{
    return {fontMetrics().horizontalAdvance(QStringLiteral("-000,0")) + kSwatch + 4 * kMargin, 100};
}

void ValueLegend::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const int count = static_cast<int>(m_points.size());
    const int rows = std::clamp(count - m_firstIndex, 0, rowCapacity());
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    for (int row = 0; row < rows; ++row) {
        const ChartPoint& point = m_points.at(m_firstIndex + row);
        const int top = kMargin + row * rowHeight();
        const QRect swatch(kMargin, top + (rowHeight() - kSwatch) / 2, kSwatch, kSwatch);
        painter.fillRect(swatch, QColor(point.color));
        painter.drawText(QRect(swatch.right() + 2 * kMargin, top, width(), rowHeight()),
                         Qt::AlignLeft | Qt::AlignVCenter, locale.toString(point.y, 'f', kDecimals));
    }
    m_rowsShown = rows;
}
