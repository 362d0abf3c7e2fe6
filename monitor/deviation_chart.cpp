#include "deviation_chart.h"

#include "value_legend.h"

#include <QChart>
#include <QChartView>
#include <QHBoxLayout>
#include <QLineSeries>
#include <QPainter>
#include <QPrinter>
#include <QValueAxis>

#include <algorithm>

namespace {

constexpr int kPenWidth = 2;

} // namespace

DeviationChart::DeviationChart(QWidget* parent)
    : QWidget(parent), m_chart(new QChart), m_series(new QLineSeries), m_axisX(new QValueAxis),
      m_axisY(new QValueAxis), m_legend(new ValueLegend(this))
{
    m_chart->setTitle(QStringLiteral("Graf QZR 17 (odchylka)"));
    m_chart->legend()->hide();
    m_chart->setLocalizeNumbers(true);
    m_chart->setBackgroundBrush(Qt::white);
    m_chart->setPlotAreaBackgroundVisible(false);
    m_series->setName(QStringLiteral("Series1"));
    m_series->setPointsVisible(false);
    m_chart->addSeries(m_series);
    m_chart->addAxis(m_axisX, Qt::AlignBottom);
    m_chart->addAxis(m_axisY, Qt::AlignLeft);
    m_series->attachAxis(m_axisX);
    m_series->attachAxis(m_axisY);
    m_axisX->setLabelFormat(QStringLiteral("%.0f"));
    setPenColor(Qt::red);

    m_view = new QChartView(m_chart, this);
    m_view->setRenderHint(QPainter::Antialiasing);
    m_legend->setValues(&m_values, &m_colors);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_view, 1);
    layout->addWidget(m_legend);
    setAccessibleName(title());
    updateAxes();
}

void DeviationChart::deleteFirst()
{
    if (m_values.isEmpty())
        return;
    m_series->remove(0);
    m_values.removeFirst();
    m_colors.removeFirst();
    updateAxes();
    m_legend->update();
}

void DeviationChart::addPoint(double x, double y, const QColor& color)
{
    m_series->append(x, y);
    m_values.append(y);
    m_colors.append(color);
    updateAxes();
    m_legend->update();
}

void DeviationChart::setPenColor(const QColor& color)
{
    QPen pen(color);
    pen.setWidth(kPenWidth);
    m_series->setPen(pen);
}

QColor DeviationChart::penColor() const { return m_series->pen().color(); }

QPointF DeviationChart::pointAt(int index) const { return m_series->at(index); }

int DeviationChart::legendRowsShown() const { return m_legend->rowsShown(); }
int DeviationChart::legendFirstIndex() const { return m_legend->firstIndex(); }
void DeviationChart::setLegendFirstIndex(int index) { m_legend->setFirstIndex(index); }

QString DeviationChart::title() const { return m_chart->title(); }

void DeviationChart::updateAxes()
{
    if (m_values.isEmpty()) {
        m_axisX->setRange(0, 1);
        m_axisY->setRange(-1, 1);
        return;
    }
    const double firstX = m_series->at(0).x();
    const double lastX = m_series->at(m_series->count() - 1).x();
    m_axisX->setRange(firstX, std::max(lastX, firstX + 1));
    const auto [low, high] = std::minmax_element(m_values.cbegin(), m_values.cend());
    const double margin = std::max((*high - *low) * 0.05, 0.5);
    m_axisY->setRange(*low - margin, *high + margin);
}

void DeviationChart::print(QPrinter& printer)
{
    QPainter painter(&printer);
    const QRect page = painter.viewport();
    QSize size = this->size();
    size.scale(page.size(), Qt::KeepAspectRatio);
    painter.setViewport(page.x(), page.y(), size.width(), size.height());
    painter.setWindow(rect());
    render(&painter);
}
