#include "deviation_chart.h"

#include "value_legend.h"

#include <QChart>
#include <QChartView>
#include <QHBoxLayout>
#include <QLineSeries>
#include <QPainter>
#include <QPrinter>
#include <QTimer>
#include <QValueAxis>

#include <algorithm>

namespace {

constexpr int kPenWidth = 2;
constexpr double kLeastYMargin = 0.5;
constexpr double kYMarginShare = 0.05;

} // namespace

DeviationChart::DeviationChart(QWidget* parent)
    : QWidget(parent), m_chart(new QChart), m_series(new QLineSeries), m_axisX(new QValueAxis),
      m_axisY(new QValueAxis), m_legend(new ValueLegend(m_points, this)), m_redraw(new QTimer(this))
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
    m_axisY->setLabelFormat(QStringLiteral("%.1f"));
    setPenColor(Qt::red);

    m_view = new QChartView(m_chart, this);
    m_view->setRenderHint(QPainter::Antialiasing);
    m_view->setAccessibleName(m_chart->title());

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_view, 1);
    layout->addWidget(m_legend);
    setAccessibleName(title());

    m_redraw->setSingleShot(true);
    m_redraw->setInterval(0);
    connect(m_redraw, &QTimer::timeout, this, &DeviationChart::redraw);
    updateAxes();
}

void DeviationChart::deleteFirst()
{
    m_points.removeFirst();
    changed();
}

void DeviationChart::addPoint(double x, double y, const QColor& color)
{
    m_points.append({x, y, color.rgb()});
    changed();
}

void DeviationChart::changed()
{
    if (!m_redraw->isActive())
        m_redraw->start();
}

void DeviationChart::redraw()
{
    m_redraw->stop();
    m_series->replace(m_points.outline(kDrawBudget));
    updateAxes();
    m_legend->update();
}

QList<QPointF> DeviationChart::drawnPoints() const { return m_series->points(); }

void DeviationChart::setPenColor(const QColor& color)
{
    QPen pen(color);
    pen.setWidth(kPenWidth);
    m_series->setPen(pen);
}

QColor DeviationChart::penColor() const { return m_series->pen().color(); }

int DeviationChart::legendRowsShown() const { return m_legend->rowsShown(); }
int DeviationChart::legendFirstIndex() const { return m_legend->firstIndex(); }
void DeviationChart::setLegendFirstIndex(int index) { m_legend->setFirstIndex(index); }

QString DeviationChart::title() const { return m_chart->title(); }

void DeviationChart::updateAxes()
{
    if (m_points.size() == 0) {
        m_axisX->setRange(0, 1);
        m_axisY->setRange(-1, 1);
        return;
    }
    const double firstX = m_points.at(0).x;
    const double lastX = m_points.at(m_points.size() - 1).x;
    m_axisX->setRange(firstX, std::max(lastX, firstX + 1));
    const auto [low, high] = m_points.yRange();
    const double margin = std::max((high - low) * kYMarginShare, kLeastYMargin);
    m_axisY->setRange(low - margin, high + margin);
}

void DeviationChart::print(QPrinter& printer)
{
    if (m_redraw->isActive())
        redraw();
    QPainter painter(&printer);
    const QRect page = painter.viewport();
    QSize size = this->size();
    size.scale(page.size(), Qt::KeepAspectRatio);
    painter.setViewport(page.x(), page.y(), size.width(), size.height());
    painter.setWindow(rect());
    render(&painter);
}
