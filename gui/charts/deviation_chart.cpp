#include "deviation_chart.h"

#include "value_legend.h"

#include <QChart>
#include <QChartView>
#include <QEvent>
#include <QGraphicsLayout>
#include <QHBoxLayout>
#include <QImage>
#include <QLineSeries>
#include <QPainter>
#include <QPrinter>
#include <QTimer>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

namespace {

constexpr int kPenWidth = 2;
constexpr double kLeastYMargin = 0.5;
constexpr double kYMarginShare = 0.05;
// Against the values' own magnitude: a margin of 0.5 around 4e15 gives ticks
// so small that adding one no longer changes the number, and the axis's tick
// loop would never end.
constexpr double kLeastRelativeYMargin = 1e-6;
constexpr double kExponentLabelsFrom = 100000.0;
constexpr int kWantedTicks = 6;
constexpr int kPrintScale = 4;

// Ticks at 1, 2 or 5 times a power of ten, so that the labels are round. The
// interval is set before the range: a wide range with a narrow interval
// leaves the axis with far too many labels.
void setRange(QValueAxis* axis, double min, double max, double least)
{
    const double raw = std::max((max - min) / kWantedTicks, least);
    const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
    double step = 10 * magnitude;
    for (double factor : {1.0, 2.0, 5.0})
        if (raw <= factor * magnitude) {
            step = factor * magnitude;
            break;
        }
    axis->setTickAnchor(0);
    axis->setTickInterval(step);
    axis->setRange(min, max);
}

} // namespace

DeviationChart::DeviationChart(QWidget* parent)
    : QWidget(parent), m_chart(new QChart), m_series(new QLineSeries), m_axisX(new QValueAxis),
      m_axisY(new QValueAxis), m_legend(new ValueLegend(m_points, this)), m_redraw(new QTimer(this))
{
    m_chart->setTitle(tr("Graf QZR 17 (odchylka)"));
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
    m_axisX->setTickType(QValueAxis::TicksDynamic);
    m_axisY->setTickType(QValueAxis::TicksDynamic);
    m_chart->setBackgroundRoundness(0);
    // Room on the right for half of the last x label.
    m_chart->setMargins(QMargins(4, 4, 24, 4));
    m_chart->layout()->setContentsMargins(0, 0, 0, 0);
    setPenColor(Qt::red);

    m_view = new QChartView(m_chart, this);
    m_view->setFrameShape(QFrame::NoFrame);
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

void DeviationChart::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() != QEvent::LanguageChange)
        return;
    m_chart->setTitle(tr("Graf QZR 17 (odchylka)"));
    m_view->setAccessibleName(title());
    setAccessibleName(title());
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
    const auto budget = std::max(static_cast<qsizetype>(m_chart->plotArea().width()), kLeastDrawn);
    m_series->replace(m_points.outline(budget));
    // An outline of more points than pixels is a dense band; smoothing its
    // edges costs most of the drawing and shows nothing.
    m_view->setRenderHint(QPainter::Antialiasing, m_points.size() <= budget);
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
    // The x axis counts readings: whole numbers only.
    if (m_points.size() == 0) {
        setRange(m_axisX, 0, 1, 1.0);
        setYLabelFormat(0);
        setRange(m_axisY, -1, 1, 0.1);
        return;
    }
    const double firstX = m_points.at(0).x;
    const double lastX = m_points.at(m_points.size() - 1).x;
    setRange(m_axisX, firstX, std::max(lastX, firstX + 1), 1.0);
    const auto [low, high] = m_points.yRange();
    const double largest = std::max(std::abs(low), std::abs(high));
    const double margin = std::max({(high - low) * kYMarginShare, kLeastYMargin, largest * kLeastRelativeYMargin});
    setYLabelFormat(largest);
    setRange(m_axisY, low - margin, high + margin, 0.1);
}

void DeviationChart::setYLabelFormat(double largest)
{
    m_axisY->setLabelFormat(largest < kExponentLabelsFrom ? QStringLiteral("%.1f") : QStringLiteral("%.6e"));
}

// Drawn as on screen, at four times the resolution: the chart's fonts follow
// the device they are drawn on, and at a printer's resolution the axis labels
// would no longer fit beside the plot.
void DeviationChart::print(QPrinter& printer)
{
    if (m_redraw->isActive())
        redraw();
    QImage image(size() * kPrintScale, QImage::Format_RGB32);
    image.setDevicePixelRatio(kPrintScale);
    image.fill(Qt::white);
    render(&image);
    QPainter painter(&printer);
    const QRect page = painter.viewport();
    painter.drawImage(QRect(page.topLeft(), size().scaled(page.size(), Qt::KeepAspectRatio)), image);
}
