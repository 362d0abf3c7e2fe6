#include "traffic_model.h"

#include "telegram_meaning.h"

#include <QApplication>
#include <QBrush>
#include <QDateTime>
#include <QFontDatabase>
#include <QLocale>
#include <QStyle>

#include <algorithm>

namespace {

const QColor kFaultText(0x9C, 0x00, 0x06);
const QColor kFaultBackground(0xFF, 0xE4, 0xE1);

QString wallClock(qint64 wallMs)
{
    const QDateTime at = QDateTime::fromMSecsSinceEpoch(wallMs);
    return QLocale().toString(at.date(), QLocale::ShortFormat) + u' ' +
           at.time().toString(QStringLiteral("HH:mm:ss.zzz"));
}

} // namespace

TrafficModel::TrafficModel(QObject* parent)
    : QAbstractTableModel(parent),
      m_faultIcon(QApplication::style()->standardIcon(QStyle::SP_MessageBoxWarning)),
      m_bytesFont(QFontDatabase::systemFont(QFontDatabase::FixedFont))
{
}

int TrafficModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_count);
}

int TrafficModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

const TrafficRow& TrafficModel::row(int index) const
{
    return m_ring[(m_first + static_cast<size_t>(index)) % kRowLimit];
}

// Rows beyond the limit go first, so that the view sees the oldest rows
// removed and the new ones added at the end.
void TrafficModel::append(std::vector<TrafficRow>& rows)
{
    const size_t kept = std::min(rows.size(), static_cast<size_t>(kRowLimit));
    if (kept == 0)
        return;
    if (m_count + kept > kRowLimit)
        dropOldest(m_count + kept - kRowLimit);
    beginInsertRows(QModelIndex(), rowCount(), rowCount() + static_cast<int>(kept) - 1);
    for (auto row = rows.end() - static_cast<ptrdiff_t>(kept); row != rows.end(); ++row) {
        const size_t slot = (m_first + m_count) % kRowLimit;
        if (slot == m_ring.size())
            m_ring.push_back(std::move(*row));
        else
            m_ring[slot] = std::move(*row);
        ++m_count;
    }
    endInsertRows();
    rows.clear();
}

// The dropped rows' places are taken by the rows added next.
void TrafficModel::dropOldest(size_t count)
{
    beginRemoveRows(QModelIndex(), 0, static_cast<int>(count) - 1);
    m_first = (m_first + count) % kRowLimit;
    m_count -= count;
    endRemoveRows();
}

void TrafficModel::clear()
{
    beginResetModel();
    m_ring = {};
    m_first = 0;
    m_count = 0;
    endResetModel();
}

QString TrafficModel::line(int index) const
{
    const TrafficRow& r = row(index);
    return trafficLine(r.direction, r.elapsedMs, r.bytes, r.meaning);
}

QVariant TrafficModel::display(const TrafficRow& row, int column) const
{
    switch (column) {
    case TimeColumn:
        return QString::number(row.elapsedMs);
    case DirectionColumn:
        return row.direction == SerialLine::Direction::Tx ? QStringLiteral("→") : QStringLiteral("←");
    case BytesColumn:
        return QString::fromLatin1(row.bytes.toHex(' ').toUpper());
    default:
        return row.meaning;
    }
}

QVariant TrafficModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const TrafficRow& r = row(index.row());
    const int column = index.column();
    switch (role) {
    case Qt::DisplayRole:
        return display(r, column);
    case Qt::AccessibleTextRole:
        if (column == DirectionColumn)
            return r.direction == SerialLine::Direction::Tx ? tr("odesláno") : tr("přijato");
        return display(r, column);
    case Qt::ToolTipRole:
        if (column == TimeColumn)
            return wallClock(r.wallMs);
        return column == DirectionColumn ? QVariant() : display(r, column);
    case Qt::DecorationRole:
        return r.fault && column == MeaningColumn ? QVariant(m_faultIcon) : QVariant();
    case Qt::ForegroundRole:
        return r.fault ? QVariant(QBrush(kFaultText)) : QVariant();
    case Qt::BackgroundRole:
        return r.fault ? QVariant(QBrush(kFaultBackground)) : QVariant();
    case Qt::FontRole:
        return column == BytesColumn ? QVariant(m_bytesFont) : QVariant();
    case Qt::TextAlignmentRole:
        return column == TimeColumn ? QVariant(Qt::AlignRight | Qt::AlignVCenter) : QVariant();
    default:
        return {};
    }
}

QVariant TrafficModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    static const char* const titles[ColumnCount]{QT_TR_NOOP("Čas [ms]"), QT_TR_NOOP("Směr"),
                                                 QT_TR_NOOP("Význam"), QT_TR_NOOP("Bajty")};
    return section >= 0 && section < ColumnCount ? tr(titles[section]) : QString();
}
