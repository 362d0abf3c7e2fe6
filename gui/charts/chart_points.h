#pragma once

#include <QList>
#include <QPointF>
#include <QRgb>

#include <deque>
#include <utility>

struct ChartPoint {
    double x = 0;
    double y = 0;
    QRgb color = 0; // the pen colour when the point was added
};

// The points of the deviation chart, oldest first. Adding a point and
// removing the oldest cost the same at any length; the lowest and highest
// value of each block of points are kept, so that the range of the values and
// an outline of the line to draw come from the blocks, not from every point.
class ChartPoints {
public:
    static constexpr qint64 kBlockSize = 64;

    qsizetype size() const { return static_cast<qsizetype>(m_points.size()); }
    const ChartPoint& at(qsizetype index) const { return m_points[static_cast<size_t>(index)]; }
    void append(const ChartPoint& point);
    void removeFirst();

    // Lowest and highest y; only when there are points.
    std::pair<double, double> yRange() const;
    // What to draw: every point when there are at most `budget`; otherwise
    // the first and the last point and, for each group of consecutive points,
    // its lowest and highest in their order, so that no peak is lost. At most
    // `budget` points.
    QList<QPointF> outline(qsizetype budget) const;

private:
    struct Block {
        double low;
        double high;
        qint64 lowAt; // sequence numbers of the points
        qint64 highAt;
    };

    void take(Block& block, double y, qint64 sequence) const;
    // Lowest and highest of the points [from, to), from whole blocks where it can.
    Block rangeSummary(qint64 from, qint64 to) const;
    QPointF pointOf(qint64 sequence) const;

    std::deque<ChartPoint> m_points;
    std::deque<Block> m_blocks; // one a kBlockSize of sequence numbers, from the oldest point's block
    qint64 m_firstSequence = 0; // of the oldest point; every added point takes the next one
};
