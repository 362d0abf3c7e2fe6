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

ChartPoints::Block ChartPoints::summary(qint64 fromSequence, qint64 toSequence) const
{
    const double first = at(fromSequence - m_firstSequence).y;
    Block block{first, first, fromSequence, fromSequence};
    for (qint64 s = fromSequence + 1; s < toSequence; ++s)
        take(block, at(s - m_firstSequence).y, s);
    return block;
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
        m_blocks.front() = summary(m_firstSequence, std::min(blockEnd, m_firstSequence + size()));
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

QList<QPointF> ChartPoints::outline(qsizetype budget) const
{
    QList<QPointF> drawn;
    if (size() <= budget || m_blocks.empty()) {
        drawn.reserve(size());
        for (const ChartPoint& p : m_points)
            drawn.append({p.x, p.y});
        return drawn;
    }
    const auto blocks = static_cast<qsizetype>(m_blocks.size());
    // Two points a group, and the first and last point so that the line spans
    // the whole axis.
    const qsizetype groups = std::max<qsizetype>((budget - 2) / 2, 1);
    const qsizetype perGroup = (blocks + groups - 1) / groups;
    drawn.reserve(2 * groups);
    for (qsizetype first = 0; first < blocks; first += perGroup) {
        Block group = m_blocks[static_cast<size_t>(first)];
        for (qsizetype b = first + 1; b < std::min(first + perGroup, blocks); ++b) {
            const Block& next = m_blocks[static_cast<size_t>(b)];
            take(group, next.low, next.lowAt);
            take(group, next.high, next.highAt);
        }
        const qint64 earlier = std::min(group.lowAt, group.highAt);
        const qint64 later = std::max(group.lowAt, group.highAt);
        drawn.append(pointOf(earlier));
        if (later != earlier)
            drawn.append(pointOf(later));
    }
    if (drawn.constFirst() != pointOf(m_firstSequence))
        drawn.prepend(pointOf(m_firstSequence));
    const qint64 last = m_firstSequence + size() - 1;
    if (drawn.constLast() != pointOf(last))
        drawn.append(pointOf(last));
    return drawn;
}
