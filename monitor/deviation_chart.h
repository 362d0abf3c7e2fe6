#pragma once

#include <QColor>
#include <QList>
#include <QWidget>

class QChart;
class QChartView;
class QLineSeries;
class QPrinter;
class QValueAxis;
class ValueLegend;

// The chart control of the main window: one line series of the deviation
// over the running reading number, and a legend listing the points' values.
class DeviationChart : public QWidget {
    Q_OBJECT
public:
    explicit DeviationChart(QWidget* parent = nullptr);

    int count() const { return static_cast<int>(m_values.size()); }
    void deleteFirst();
    // Each point keeps the colour it was added with; the line is drawn in the
    // series' pen colour.
    void addPoint(double x, double y, const QColor& color);
    void setPenColor(const QColor& color);
    QColor penColor() const;
    QPointF pointAt(int index) const;
    QColor pointColor(int index) const { return m_colors.value(index); }

    // The rows the legend showed at its last drawing, and the index of the
    // first point it lists.
    int legendRowsShown() const;
    int legendFirstIndex() const;
    void setLegendFirstIndex(int index);
    ValueLegend* legend() const { return m_legend; }

    QString title() const;
    // Prints the whole chart, legend included, on one page.
    void print(QPrinter& printer);

private:
    void updateAxes();

    QChart* m_chart;
    QChartView* m_view;
    QLineSeries* m_series;
    QValueAxis* m_axisX;
    QValueAxis* m_axisY;
    ValueLegend* m_legend;
    QList<double> m_values;
    QList<QColor> m_colors;
};
