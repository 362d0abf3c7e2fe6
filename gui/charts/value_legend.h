#pragma once

#include <QWidget>

class ChartPoints;

// The chart's legend: the values of the series' points, one row a point with
// the point's own colour, listed from a first index as far as there is room.
class ValueLegend : public QWidget {
    Q_OBJECT
public:
    ValueLegend(const ChartPoints& points, QWidget* parent = nullptr);

    void setFirstIndex(int index);
    int firstIndex() const { return m_firstIndex; }
    // How many rows the legend showed when it was last drawn.
    int rowsShown() const { return m_rowsShown; }
    // Rows that fit the current height; what the next drawing will show at most.
    int rowCapacity() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    int rowHeight() const;

    const ChartPoints& m_points;
    int m_firstIndex = 0;
    int m_rowsShown = 0;
};
