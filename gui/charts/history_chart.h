#pragma once

#include "chart_painting.h"
#include "log_decimation.h"

#include <QWidget>

#include <bitset>
#include <optional>

// The time chart of a measurement log: the five values over real dates and
// times, each switchable. Every drawing decimates the visible range afresh
// to the lowest and highest value of each pixel column, so a week of samples
// draws as fast as an hour and keeps its extremes. Gaps and outages break
// the line.
//
// Mouse: the wheel zooms around the pointer, dragging pans, dragging with
// the right button (or with Shift) zooms to the rectangle drawn; the cursor
// follows the pointer. Keys: + and - zoom, the arrows pan, Home shows the
// whole log, Ctrl with an arrow moves the cursor a column.
class HistoryChart : public QWidget {
    Q_OBJECT
public:
    // The least time span a zoom goes down to, in seconds.
    static constexpr double kLeastSpan = 20.0;

    explicit HistoryChart(QWidget* parent = nullptr);

    static QColor colorOf(LogValue value);

    // Not owned; the range stays where it was unless the whole log was shown.
    void setHistory(const LogHistory* history);
    void setValueShown(LogValue value, bool shown);
    bool valueShown(LogValue value) const { return m_shown.test(size_t(value)); }

    // The visible range, in seconds since the epoch.
    double from() const { return m_from; }
    double to() const { return m_to; }
    bool showsWhole() const { return m_whole; }
    void showRange(double from, double to);
    void showWhole();
    // factor < 1 zooms in; `around` keeps its place.
    void zoom(double factor, double around);
    void zoom(double factor) { zoom(factor, (m_from + m_to) / 2); }
    // By a share of the visible span; negative is back in time.
    void pan(double share);

    // The visible sample nearest the cursor, when the cursor is in the
    // visible range and not in a gap or an outage.
    std::optional<qsizetype> cursorSample() const;
    // Where the cursor is, when it is in the visible range.
    std::optional<double> cursor() const;
    void setCursorAt(double seconds);
    void moveCursor(int columns);

    QRect plotRect() const;
    // What the last drawing drew of each value.
    const QList<LogStretch>& drawnStretches(LogValue value) const { return m_drawn[size_t(value)]; }

signals:
    void rangeChanged();
    void cursorChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    enum class Drag { None, Pan, Zoom };

    std::pair<double, double> wholeRange() const;
    std::pair<double, double> valueRange() const;
    double timeAt(int x) const;
    void decimateShown(int columns);
    void drawTimeAxis(QPainter& painter, const QRect& plot) const;
    void drawStretches(QPainter& painter, const chart_painting::Scale& x,
                       const chart_painting::Scale& y) const;
    void drawCursor(QPainter& painter, const QRect& plot, const chart_painting::Scale& x,
                    const chart_painting::Scale& y) const;
    void finishZoomDrag();
    bool inGap(double seconds) const;
    QString timeLabel(qint64 utc, const QString& format, bool withOffset) const;

    const LogHistory* m_history = nullptr;
    std::bitset<kLogValueCount> m_shown;
    double m_from = 0;
    double m_to = 1;
    bool m_whole = true;
    // Chosen with a rectangle; otherwise the values shown set the scale.
    std::optional<std::pair<double, double>> m_valueRange;
    std::optional<double> m_cursor;
    std::array<QList<LogStretch>, kLogValueCount> m_drawn;
    Drag m_drag = Drag::None;
    QPoint m_dragStart;
    QRect m_band;
    double m_dragFrom = 0;
    double m_dragTo = 0;
};
