#pragma once

#include <QColor>
#include <QList>
#include <QWidget>

// The chart's legend: the values of the series' points, one row a point with
// the point's own colour, listed from a first index as far as there is room.
class ValueLegend : public QWidget {
    Q_OBJECT
public:
    explicit ValueLegend(QWidget* parent = nullptr);

    void setValues(const QList<double>* values, const QList<QColor>* colors);
    void setFirstIndex(int index);
    int firstIndex() const { return m_firstIndex; }
    // How many rows the legend showed when it was last drawn.
    int rowsShown() const { return m_rowsShown; }
    // Rows that fit the current height; what the next drawing will show at most.
    int rowCapacity() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int rowHeight() const;

    const QList<double>* m_values = nullptr;
    const QList<QColor>* m_colors = nullptr;
    int m_firstIndex = 0;
    int m_rowsShown = 0;
};
