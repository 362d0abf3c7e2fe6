#include "value_legend.h"

#include <QLocale>
#include <QPainter>

#include <algorithm>

namespace {

constexpr int kMargin = 4;
constexpr int kSwatch = 8;

} // namespace

ValueLegend::ValueLegend(QWidget* parent) : QWidget(parent)
{
    setAccessibleName(QStringLiteral("Hodnoty bodů grafu"));
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Base);
}

void ValueLegend::setValues(const QList<double>* values, const QList<QColor>* colors)
{
    m_values = values;
    m_colors = colors;
    update();
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
    return {fontMetrics().horizontalAdvance(QStringLiteral("-000,00")) + kSwatch + 4 * kMargin, 100};
}

void ValueLegend::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const int count = m_values ? static_cast<int>(m_values->size()) : 0;
    const int rows = std::clamp(count - m_firstIndex, 0, rowCapacity());
    const QLocale locale;
    for (int row = 0; row < rows; ++row) {
        const int index = m_firstIndex + row;
        const int top = kMargin + row * rowHeight();
        const QRect swatch(kMargin, top + (rowHeight() - kSwatch) / 2, kSwatch, kSwatch);
        painter.fillRect(swatch, m_colors->value(index));
        painter.drawText(QRect(swatch.right() + 2 * kMargin, top, width(), rowHeight()),
                         Qt::AlignLeft | Qt::AlignVCenter, locale.toString(m_values->at(index), 'f', 2));
    }
    m_rowsShown = rows;
}
