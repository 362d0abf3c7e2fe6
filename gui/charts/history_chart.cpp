#include "history_chart.h"

#include "chart_ticks.h"
#include "log_lines.h"

#include <QDateTime>
#include <QKeyEvent>
#include <QLocale>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include <cmath>

namespace {

using chart_painting::Scale;

constexpr int kPixelsPerTimeLabel = 110;
constexpr int kLabelGap = 4;
constexpr int kLeastDrag = 4;
constexpr double kWheelStep = 0.8; // the span after one notch
constexpr double kKeyZoom = 2.0;
constexpr double kKeyPan = 0.1;
constexpr double kLeastValueSpan = 1.0;
constexpr double kLinePen = 1.5;
constexpr double kDotPen = 4.0;
constexpr qint64 kSecondsPerDay = 24 * 60 * 60;
constexpr int kMarkRadius = 3;

} // namespace

HistoryChart::HistoryChart(QWidget* parent) : QWidget(parent)
{
    m_shown.set();
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setMinimumSize(320, 200);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QColor HistoryChart::colorOf(LogValue value)
{
    static const QColor colors[kLogValueCount] = {QColor(214, 39, 40), QColor(31, 119, 180),
                                                  QColor(44, 160, 44), QColor(230, 127, 14),
                                                  QColor(148, 103, 189)};
    return colors[size_t(value)];
}

void HistoryChart::setHistory(const LogHistory* history)
{
    m_history = history;
    if (m_whole)
        showWhole();
    else
        showRange(m_from, m_to);
    update();
}

void HistoryChart::setValueShown(LogValue value, bool shown)
{
    m_shown.set(size_t(value), shown);
    update();
}

std::pair<double, double> HistoryChart::wholeRange() const
{
    if (!m_history || m_history->size() == 0)
        return {0.0, kLeastSpan};
    const double first = double(m_history->times.front());
    const double last = double(m_history->times.back());
    if (last - first >= kLeastSpan)
        return {first, last};
    const double middle = (first + last) / 2;
    return {middle - kLeastSpan / 2, middle + kLeastSpan / 2};
}

void HistoryChart::showWhole()
{
    m_valueRange.reset();
    std::tie(m_from, m_to) = wholeRange();
    m_whole = true;
    emit rangeChanged();
    update();
}

// Within the log, at least the least span long.
void HistoryChart::showRange(double from, double to)
{
    const auto [first, last] = wholeRange();
    const double span = std::clamp(to - from, kLeastSpan, last - first);
    if (to - from != span)
        from = (from + to - span) / 2;
    from = std::clamp(from, first, last - span);
    m_from = from;
    m_to = from + span;
    m_whole = m_from <= first && m_to >= last;
    emit rangeChanged();
    update();
}

void HistoryChart::zoom(double factor, double around)
{
    m_valueRange.reset();
    const double from = around - (around - m_from) * factor;
    showRange(from, from + (m_to - m_from) * factor);
}

void HistoryChart::pan(double share)
{
    const double shift = (m_to - m_from) * share;
    showRange(m_from + shift, m_to + shift);
}

std::optional<double> HistoryChart::cursor() const
{
    if (!m_cursor || *m_cursor < m_from || *m_cursor > m_to)
        return std::nullopt;
    return m_cursor;
}

// Between a sample and the next that begins a new stretch there was no
// measurement.
bool HistoryChart::inGap(double seconds) const
{
    const qsizetype next = m_history->lowerBound(seconds);
    if (next == 0 || next >= m_history->size() || double(m_history->times[size_t(next)]) == seconds)
        return false;
    return std::binary_search(m_history->breaks.begin(), m_history->breaks.end(), next);
}

std::optional<qsizetype> HistoryChart::cursorSample() const
{
    const auto at = cursor();
    if (!at || !m_history || inGap(*at))
        return std::nullopt;
    const qsizetype first = m_history->lowerBound(m_from);
    const qsizetype last = m_history->upperBound(m_to);
    if (first >= last)
        return std::nullopt;
    const qsizetype after = std::clamp(m_history->lowerBound(*at), first, last - 1);
    if (after == first)
        return after;
    const auto distance = [&](qsizetype s) { return std::abs(double(m_history->times[size_t(s)]) - *at); };
    return distance(after - 1) <= distance(after) ? after - 1 : after;
}

void HistoryChart::setCursorAt(double seconds)
{
    m_cursor = std::clamp(seconds, m_from, m_to);
    emit cursorChanged();
    update();
}

void HistoryChart::moveCursor(int columns)
{
    const double column = (m_to - m_from) / std::max(plotRect().width(), 1);
    setCursorAt(m_cursor ? *m_cursor + columns * column : (m_from + m_to) / 2);
}

QRect HistoryChart::plotRect() const
{
    return chart_painting::plotArea(rect(), fontMetrics());
}

double HistoryChart::timeAt(int x) const
{
    return chart_painting::horizontal(plotRect(), m_from, m_to).value(x);
}

void HistoryChart::decimateShown(int columns)
{
    const LogColumns pixels(*m_history, m_from, m_to, columns);
    for (int value = 0; value < kLogValueCount; ++value)
        m_drawn[size_t(value)] =
            m_shown.test(size_t(value)) ? decimate(*m_history, LogValue(value), pixels) : QList<LogStretch>{};
}

std::pair<double, double> HistoryChart::valueRange() const
{
    double low = std::numeric_limits<double>::infinity();
    double high = -low;
    for (const auto& stretches : m_drawn)
        for (const LogStretch& stretch : stretches)
            for (const QPointF& point : stretch)
                if (point.x() >= m_from && point.x() <= m_to) {
                    low = std::min(low, point.y());
                    high = std::max(high, point.y());
                }
    if (low > high)
        return {-kLeastValueSpan, kLeastValueSpan};
    return chart_painting::padded(low, high, kLeastValueSpan);
}

void HistoryChart::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    const QRect plot = plotRect();
    if (!m_history || m_history->size() == 0 || plot.width() <= 0 || plot.height() <= 0) {
        chart_painting::drawFrame(painter, plot);
        chart_painting::drawNote(painter, plot, tr("Záznam zatím neobsahuje žádná měření."));
        return;
    }
    decimateShown(plot.width());
    const auto [low, high] = m_valueRange.value_or(valueRange());
    const Scale x = chart_painting::horizontal(plot, m_from, m_to);
    const Scale y = chart_painting::vertical(plot, low, high);
    chart_painting::drawValueAxis(painter, plot, y, Qt::Vertical);
    chart_painting::drawUnit(painter, plot, QStringLiteral("°C"));
    drawTimeAxis(painter, plot);
    painter.setClipRect(plot);
    drawStretches(painter, x, y);
    drawCursor(painter, plot, x, y);
    painter.setClipping(false);
    if (m_drag == Drag::Zoom && !m_band.isEmpty()) {
        painter.setPen(QPen(Qt::black, 1, Qt::DashLine));
        painter.setBrush(QColor(0, 0, 255, 24));
        painter.drawRect(m_band);
    }
    chart_painting::drawFrame(painter, plot);
}

// Marks at round times of the log's own clock; the date under the first mark
// of each day. Where the range holds two UTC offsets (the autumn hour comes
// twice) each label says its offset.
void HistoryChart::drawTimeAxis(QPainter& painter, const QRect& plot) const
{
    const qint64 step = chart_ticks::timeStep(m_to - m_from, std::max(plot.width() / kPixelsPerTimeLabel, 1));
    const qint64 offset = m_history->localTimeAt(m_from).offsetFromUtc();
    const bool withOffset = offset != m_history->localTimeAt(m_to).offsetFromUtc();
    const QLocale locale;
    const QString timeFormat =
        step < 60 ? log_lines::longTimeFormat() : locale.timeFormat(QLocale::ShortFormat);
    const QFontMetrics metrics = painter.fontMetrics();
    const Scale x = chart_painting::horizontal(plot, m_from, m_to);
    QDate previousDay;
    for (qint64 local = qint64(std::ceil((m_from + offset) / step)) * step; local - offset <= m_to;
         local += step) {
        const qint64 utc = local - offset;
        const QDate day = m_history->localTimeAt(double(utc)).date();
        const int at = int(std::lround(x.pixel(double(utc))));
        painter.setPen(QColor(225, 225, 225));
        painter.drawLine(at, plot.top(), at, plot.bottom());
        painter.setPen(Qt::black);
        QStringList lines{step >= kSecondsPerDay ? locale.toString(day, QLocale::ShortFormat)
                                                 : timeLabel(utc, timeFormat, withOffset)};
        if (step < kSecondsPerDay && day != previousDay)
            lines.append(locale.toString(day, QLocale::ShortFormat));
        previousDay = day;
        for (int line = 0; line < lines.size(); ++line) {
            const int width = metrics.horizontalAdvance(lines[line]);
            // Never cut by the left edge: a label with its offset is wide.
            painter.drawText(std::max(at - width / 2, 0),
                             plot.bottom() + kLabelGap + metrics.ascent() + line * metrics.height(),
                             lines[line]);
        }
    }
}

QString HistoryChart::timeLabel(qint64 utc, const QString& format, bool withOffset) const
{
    const QDateTime moment = m_history->localTimeAt(double(utc));
    const QString time = QLocale().toString(moment.time(), format);
    if (!withOffset)
        return time;
    const int minutes = moment.offsetFromUtc() / 60;
    return QStringLiteral("%1 (%2%3)")
        .arg(time, minutes < 0 ? QStringLiteral("-") : QStringLiteral("+"),
             QTime(0, 0).addSecs(std::abs(minutes) * 60).toString(QStringLiteral("HH:mm")));
}

void HistoryChart::drawStretches(QPainter& painter, const Scale& x, const Scale& y) const
{
    qsizetype points = 0;
    for (const auto& stretches : m_drawn)
        for (const LogStretch& stretch : stretches)
            points += stretch.size();
    // A band of more points than pixels gains nothing from smoothing, and a
    // thin pen draws it without stroking an outline of every segment.
    const bool sparse = points <= 2 * x.length;
    painter.setRenderHint(QPainter::Antialiasing, sparse);
    for (int value = 0; value < kLogValueCount; ++value) {
        const QColor color = colorOf(LogValue(value));
        for (const LogStretch& stretch : m_drawn[size_t(value)]) {
            QPolygonF line;
            line.reserve(stretch.size());
            for (const QPointF& point : stretch)
                line.append(QPointF(x.pixel(point.x()), y.pixel(point.y())));
            // A lone sample between gaps is a dot.
            const double width = line.size() == 1 ? kDotPen : sparse ? kLinePen : 0;
            painter.setPen(QPen(color, width, Qt::SolidLine, Qt::RoundCap));
            if (line.size() == 1)
                painter.drawPoint(line.first());
            else
                painter.drawPolyline(line);
        }
    }
}

void HistoryChart::drawCursor(QPainter& painter, const QRect& plot, const Scale& x, const Scale& y) const
{
    const auto sample = cursorSample();
    if (!sample)
        return;
    const double at = x.pixel(double(m_history->times[size_t(*sample)]));
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(QPen(Qt::black, 1, Qt::DashLine));
    painter.drawLine(QPointF(at, plot.top()), QPointF(at, plot.bottom()));
    for (int value = 0; value < kLogValueCount; ++value) {
        const float v = m_history->value(LogValue(value), *sample);
        if (!m_shown.test(size_t(value)) || std::isnan(v))
            continue;
        painter.setPen(QPen(colorOf(LogValue(value)), 2));
        painter.setBrush(Qt::white);
        painter.drawEllipse(QPointF(at, y.pixel(v)), kMarkRadius, kMarkRadius);
    }
}

void HistoryChart::mousePressEvent(QMouseEvent* event)
{
    setFocus(Qt::MouseFocusReason);
    const bool zoomDrag = event->button() == Qt::RightButton ||
                          (event->button() == Qt::LeftButton && (event->modifiers() & Qt::ShiftModifier));
    m_drag = zoomDrag ? Drag::Zoom : event->button() == Qt::LeftButton ? Drag::Pan : Drag::None;
    m_dragStart = event->position().toPoint();
    m_dragFrom = m_from;
    m_dragTo = m_to;
    m_band = QRect();
}

void HistoryChart::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    const QRect plot = plotRect();
    if (m_drag == Drag::Pan) {
        const double shift =
            -(at.x() - m_dragStart.x()) * (m_dragTo - m_dragFrom) / std::max(plot.width(), 1);
        showRange(m_dragFrom + shift, m_dragTo + shift);
        return;
    }
    if (m_drag == Drag::Zoom)
        m_band = QRect(m_dragStart, at).normalized() & plot;
    if (plot.contains(at))
        setCursorAt(timeAt(at.x()));
    update();
}

void HistoryChart::mouseReleaseEvent(QMouseEvent*)
{
    if (m_drag == Drag::Zoom)
        finishZoomDrag();
    m_drag = Drag::None;
    update();
}

// A rectangle as wide as a few pixels zooms the time; as high, the values too.
void HistoryChart::finishZoomDrag()
{
    const QRect band = m_band;
    m_band = QRect();
    if (band.width() < kLeastDrag)
        return;
    const QRect plot = plotRect();
    const auto [low, high] = m_valueRange.value_or(valueRange());
    const Scale y = chart_painting::vertical(plot, low, high);
    const double from = timeAt(band.left());
    const double to = timeAt(band.right());
    if (band.height() >= kLeastDrag)
        m_valueRange = std::pair(y.value(band.bottom()), y.value(band.top()));
    showRange(from, to);
}

void HistoryChart::wheelEvent(QWheelEvent* event)
{
    const double notches = event->angleDelta().y() / 120.0;
    if (notches != 0)
        zoom(std::pow(kWheelStep, notches), timeAt(int(event->position().x())));
    event->accept();
}

void HistoryChart::keyPressEvent(QKeyEvent* event)
{
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    switch (event->key()) {
    case Qt::Key_Plus:
    case Qt::Key_Equal:
        zoom(1 / kKeyZoom);
        break;
    case Qt::Key_Minus:
        zoom(kKeyZoom);
        break;
    case Qt::Key_Left:
        ctrl ? moveCursor(-1) : pan(-kKeyPan);
        break;
    case Qt::Key_Right:
        ctrl ? moveCursor(1) : pan(kKeyPan);
        break;
    case Qt::Key_Home:
        showWhole();
        break;
    default:
        QWidget::keyPressEvent(event);
    }
}
