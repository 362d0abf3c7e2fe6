#include "chart_points.h"

#include <algorithm>

void ChartPoints::take(Block& block, double y, qint64 sequence) const
{
    if (y < block.low) {
        block.low = y;
        block.lowAt = sequence;
    }
    if (y > block.high) {
        block.high = y;
        block.highAt = sequence;
    }
}

void ChartPoints::append(const ChartPoint& point)
{
    const qint64 sequence = m_firstSequence + size();
    m_points.push_back(point);
    if (m_blocks.empty() || sequence % kBlockSize == 0)
        m_blocks.push_back({point.y, point.y, sequence, sequence});
    else
        take(m_blocks.back(), point.y, sequence);
}

void ChartPoints::removeFirst()
{
    if (m_points.empty())
        return;
    m_points.pop_front();
    ++m_firstSequence;
    if (m_points.empty()) {
        m_blocks.clear();
    } else if (m_firstSequence % kBlockSize == 0) {
        m_blocks.pop_front();
    } else {
        // The oldest block lost a point that may have been its extreme.
        const qint64 blockEnd = (m_firstSequence / kBlockSize + 1) * kBlockSize;
        m_blocks.front() = rangeSummary(m_firstSequence, std::min(blockEnd, m_firstSequence + size()));
    }
}

std::pair<double, double> ChartPoints::yRange() const
{
    double low = m_blocks.front().low;
    double high = m_blocks.front().high;
    for (const Block& b : m_blocks) {
        low = std::min(low, b.low);
        high = std::max(high, b.high);
    }
    return {low, high};
}

QPointF ChartPoints::pointOf(qint64 sequence) const
{
    const ChartPoint& p = at(sequence - m_firstSequence);
    return {p.x, p.y};
}

ChartPoints::Block ChartPoints::rangeSummary(qint64 from, qint64 to) const
{
    const double first = at(from - m_firstSequence).y;
    Block range{first, first, from, from};
    const qint64 firstBlock = m_firstSequence / kBlockSize;
    while (from < to) {
        if (from % kBlockSize == 0 && from + kBlockSize <= to) {
            const Block& block = m_blocks[static_cast<size_t>(from / kBlockSize - firstBlock)];
            take(range, block.low, block.lowAt);
            take(range, block.high, block.highAt);
            from += kBlockSize;
        } else {
            take(range, at(from - m_firstSequence).y, from);
            ++from;
        }
    }
    return range;
}

QList<QPointF> ChartPoints::outline(qsizetype budget) const
{
    QList<QPointF> drawn;
    if (size() <= budget) {
        drawn.reserve(size());
        for (const ChartPoint& p : m_points)
            drawn.append({p.x, p.y});
        return drawn;
    }
    // Two points a group, and the first and last point so that the line spans
    // the whole axis.
    const qsizetype groups = std::max<qsizetype>((budget - 2) / 2, 1);
    const qint64 perGroup = (size() + groups - 1) / groups;
    const qint64 end = m_firstSequence + size();
    drawn.reserve(2 * groups + 2);
    drawn.append(pointOf(m_firstSequence));
    for (qint64 from = m_firstSequence; from < end; from += perGroup) {
        const Block group = rangeSummary(from, std::min(from + perGroup, end));
        for (qint64 sequence : {std::min(group.lowAt, group.highAt), std::max(group.lowAt, group.highAt)})
            if (pointOf(sequence) != drawn.constLast())
                drawn.append(pointOf(sequence));
    }
    if (drawn.constLast() != pointOf(end - 1))
        drawn.append(pointOf(end - 1));
    return drawn;
}
