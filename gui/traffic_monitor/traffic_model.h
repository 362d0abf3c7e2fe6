#pragma once

#include "serial_line.h"

#include <QAbstractTableModel>
#include <QByteArray>
#include <QFont>
#include <QIcon>
#include <QString>

#include <vector>

// One telegram seen on the line, or a reply that did not come.
struct TrafficRow {
    qint64 elapsedMs = 0; // since the monitor was cleared
    qint64 wallMs = 0;    // wall-clock time, milliseconds since the epoch
    QByteArray bytes;
    QString meaning;
    SerialLine::Direction direction = SerialLine::Direction::Tx;
    bool fault = false;
};

// The rows of the bus traffic monitor, newest last, in a ring that drops the
// oldest rows beyond its limit, so that a monitor left open for days holds a
// bounded amount of memory.
class TrafficModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // The meaning comes first: it is what a technician reads; the bytes take
    // the rest of the width.
    enum Column { TimeColumn, DirectionColumn, MeaningColumn, BytesColumn, ColumnCount };
    static constexpr size_t kRowLimit = 100'000;

    explicit TrafficModel(QObject* parent = nullptr);

    void append(std::vector<TrafficRow>& rows);
    void clear();
    const TrafficRow& row(int index) const;
    // The row as one text line: the trace line of the command-line companion.
    QString line(int index) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    QVariant display(const TrafficRow& row, int column) const;
    void dropOldest(size_t count);

    std::vector<TrafficRow> m_ring; // grows up to the limit, then is reused
    size_t m_first = 0;             // where the oldest row is
    size_t m_count = 0;
    QIcon m_faultIcon;
    QFont m_bytesFont;
};
