#pragma once

#include "chart_points.h"

#include <QColor>
#include <QWidget>

class QChart;
class QChartView;
class QLineSeries;
class QPrinter;
class QTimer;
class QValueAxis;
class ValueLegend;

// The chart control of the main window: one line series of the deviation
// over the running reading number, and a legend listing the points' values.
// Changes to the points are drawn together at the next pass of the event
// loop, so adding a point costs the same however many points the chart holds.
class DeviationChart : public QWidget {
    Q_OBJECT
public:
    // More points than the plot is wide in pixels are drawn as the outline of
    // their lowest and highest values, a pair every two pixels; never fewer
    // than this many.
    static constexpr qsizetype kLeastDrawn = 200;

    explicit DeviationChart(QWidget* parent = nullptr);

    int count() const { return static_cast<int>(m_points.size()); }
    void deleteFirst();
    // Each point keeps the colour it was added with; the line is drawn in the
    // series' pen colour.
    void addPoint(double x, double y, const QColor& color);
    void setPenColor(const QColor& color);
    QColor penColor() const;
    const ChartPoint& pointAt(int index) const { return m_points.at(index); }
    // The points the line is drawn through, as of the last drawing.
    QList<QPointF> drawnPoints() const;

    // The rows the legend showed at its last drawing, and the index of the
    // first point it lists.
    int legendRowsShown() const;
    int legendFirstIndex() const;
    void setLegendFirstIndex(int index);
    ValueLegend* legend() const { return m_legend; }

    QString title() const;
    // Prints the whole chart, legend included, on one page.
    void print(QPrinter& printer);

protected:
    void changeEvent(QEvent* event) override;

private:
    void changed();
    void redraw();
    void updateAxes();
    void setYLabelFormat(double largest);

    ChartPoints m_points;
    QChart* m_chart;
    QChartView* m_view;
    QLineSeries* m_series;
    QValueAxis* m_axisX;
    QValueAxis* m_axisY;
    ValueLegend* m_legend;
    QTimer* m_redraw;
};
