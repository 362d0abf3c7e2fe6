#include "curve_chart.h"

#include "chart_painting.h"
#include "history_chart.h"

#include <QImage>
#include <QLocale>
#include <QPainter>

#include <cmath>

namespace {

using chart_painting::Scale;

constexpr int kLabelGap = 4;
constexpr int kDot = 2;
constexpr double kLeastSpan = 2.0;
constexpr int kAnchorRadius = 4;
constexpr int kLegendPadding = 6;
constexpr int kSwatch = 14;

void widen(double& low, double& high, double value)
{
    if (std::isnan(value))
        return;
    low = std::min(low, value);
    high = std::max(high, value);
}

} // namespace

CurveChart::CurveChart(QWidget* parent) : QWidget(parent)
{
    setMinimumSize(320, 200);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CurveChart::setSamples(const LogHistory* history, qsizetype first, qsizetype last)
{
    m_history = history;
    m_first = first;
    m_last = last;
    update();
}

void CurveChart::setCurve(std::optional<HeatingCurve> curve)
{
    m_curve = curve;
    update();
}

QRect CurveChart::plotRect() const
{
    return chart_painting::plotArea(rect(), fontMetrics());
}

// The samples' outdoor and water ranges, with the curve's two points.
std::optional<CurveChart::Ranges> CurveChart::ranges() const
{
    constexpr double kNone = std::numeric_limits<double>::infinity();
    Ranges r{kNone, -kNone, kNone, -kNone};
    for (qsizetype s = m_first; m_history && s < m_last; ++s) {
        const double outdoor = m_history->value(LogValue::Outdoor, s);
        if (std::isnan(outdoor))
            continue;
        widen(r.outdoorLow, r.outdoorHigh, outdoor);
        widen(r.waterLow, r.waterHigh, m_history->value(LogValue::Water, s));
        widen(r.waterLow, r.waterHigh, m_history->value(LogValue::Demanded, s));
    }
    if (r.outdoorLow > r.outdoorHigh && !m_curve)
        return std::nullopt;
    widen(r.outdoorLow, r.outdoorHigh, 0.0);
    widen(r.outdoorLow, r.outdoorHigh, HeatingCurve::kSecondOutdoor);
    if (m_curve) {
        widen(r.waterLow, r.waterHigh, m_curve->sp0);
        widen(r.waterLow, r.waterHigh, m_curve->sp20);
    }
    if (r.waterLow > r.waterHigh)
        r.waterLow = r.waterHigh = 0;
    std::tie(r.outdoorLow, r.outdoorHigh) = chart_painting::padded(r.outdoorLow, r.outdoorHigh, kLeastSpan);
    std::tie(r.waterLow, r.waterHigh) = chart_painting::padded(r.waterLow, r.waterHigh, kLeastSpan);
    return r;
}

void CurveChart::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    const QRect plot = plotRect();
    const auto r = ranges();
    if (!r || plot.width() <= 0 || plot.height() <= 0) {
        chart_painting::drawFrame(painter, plot);
        chart_painting::drawNote(painter, plot, tr("Zobrazený úsek neobsahuje žádná měření."));
        return;
    }
    const Scale x = chart_painting::horizontal(plot, r->outdoorLow, r->outdoorHigh);
    const Scale y = chart_painting::vertical(plot, r->waterLow, r->waterHigh);
    chart_painting::drawValueAxis(painter, plot, y, Qt::Vertical);
    chart_painting::drawUnit(painter, plot, QStringLiteral("°C"));
    chart_painting::drawValueAxis(painter, plot, x, Qt::Horizontal);
    const QString title = tr("venkovní teplota [°C]");
    painter.drawText(QRect(plot.left(), plot.bottom() + kLabelGap, plot.width(), 2 * fontMetrics().height()),
                     Qt::AlignHCenter | Qt::AlignBottom, title);
    painter.setClipRect(plot);
    drawCurve(painter, plot, *r);
    drawPoints(painter, plot, *r);
    painter.setClipping(false);
    drawLegend(painter, plot, m_curve && r->waterHigh >= kDemandLimit && r->waterLow <= kDemandLimit);
    chart_painting::drawFrame(painter, plot);
}

// Each sample sets its pixel cell in an image of the plot, over the curve;
// water first, so the demand it should follow stays in sight.
void CurveChart::drawPoints(QPainter& painter, const QRect& plot, const Ranges& r) const
{
    QImage cells(plot.size(), QImage::Format_ARGB32_Premultiplied);
    cells.fill(Qt::transparent);
    const Scale x = chart_painting::horizontal(QRect(QPoint(0, 0), plot.size()), r.outdoorLow, r.outdoorHigh);
    const Scale y = chart_painting::vertical(QRect(QPoint(0, 0), plot.size()), r.waterLow, r.waterHigh);
    for (const LogValue value : {LogValue::Water, LogValue::Demanded}) {
        const QRgb color = HistoryChart::colorOf(value).rgba();
        for (qsizetype s = m_first; s < m_last; ++s) {
            const double px = x.pixel(m_history->value(LogValue::Outdoor, s));
            const double py = y.pixel(m_history->value(value, s));
            if (!(px >= 0 && px < cells.width() && py >= 0 && py < cells.height()))
                continue;
            const int cx = std::min(int(px) / kDot * kDot, cells.width() - kDot);
            const int cy = std::min(int(py) / kDot * kDot, cells.height() - kDot);
            for (int dy = 0; dy < kDot; ++dy) {
                auto* line = reinterpret_cast<QRgb*>(cells.scanLine(std::max(cy + dy, 0)));
                for (int dx = 0; dx < kDot; ++dx)
                    line[std::max(cx + dx, 0)] = color;
            }
        }
    }
    painter.drawImage(plot.topLeft(), cells);
}

void CurveChart::drawCurve(QPainter& painter, const QRect& plot, const Ranges& r) const
{
    if (!m_curve)
        return;
    const Scale x = chart_painting::horizontal(plot, r.outdoorLow, r.outdoorHigh);
    const Scale y = chart_painting::vertical(plot, r.waterLow, r.waterHigh);
    const auto at = [&](double outdoor, double water) { return QPointF(x.pixel(outdoor), y.pixel(water)); };
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(QPen(Qt::gray, 1, Qt::DashLine));
    painter.drawLine(at(r.outdoorLow, kDemandLimit), at(r.outdoorHigh, kDemandLimit));
    painter.setPen(QPen(Qt::black, 2));
    painter.drawLine(at(r.outdoorLow, m_curve->waterAt(r.outdoorLow)),
                     at(r.outdoorHigh, m_curve->waterAt(r.outdoorHigh)));
    painter.setBrush(Qt::white);
    for (const auto& [outdoor, water, name] :
         {std::tuple(0.0, m_curve->sp0, "SP_0"),
          std::tuple(HeatingCurve::kSecondOutdoor, m_curve->sp20, "SP20")}) {
        const QPointF point = at(outdoor, water);
        painter.drawEllipse(point, kAnchorRadius, kAnchorRadius);
        painter.drawText(point + QPointF(kAnchorRadius + 2, -kAnchorRadius - 2), QLatin1String(name));
    }
}

void CurveChart::drawLegend(QPainter& painter, const QRect& plot, bool limitShown) const
{
    struct Entry {
        QString text;
        QPen pen;
        bool swatch;
    };
    QList<Entry> entries{{tr("teplota vody"), QPen(HistoryChart::colorOf(LogValue::Water)), true},
                         {tr("žádaná"), QPen(HistoryChart::colorOf(LogValue::Demanded)), true}};
    if (m_curve)
        entries.append({tr("topná křivka"), QPen(Qt::black, 2), false});
    if (limitShown)
        entries.append({tr("omezení požadované hodnoty %1 °C").arg(kDemandLimit),
                        QPen(Qt::gray, 1, Qt::DashLine), false});
    const QFontMetrics metrics = painter.fontMetrics();
    int width = 0;
    for (const Entry& entry : entries)
        width = std::max(width, metrics.horizontalAdvance(entry.text));
    const int row = std::max(metrics.height(), kSwatch) + 2;
    // Top right: the curve falls from the top left, so the data seldom lies there.
    const QSize size(width + kSwatch + 3 * kLegendPadding, int(entries.size()) * row + kLegendPadding);
    const QRect box(QPoint(plot.right() - kLegendPadding - size.width(), plot.top() + kLegendPadding), size);
    painter.setPen(Qt::gray);
    painter.setBrush(QColor(255, 255, 255, 230));
    painter.drawRect(box);
    for (int i = 0; i < entries.size(); ++i) {
        const int top = box.top() + kLegendPadding / 2 + i * row;
        const QRect mark(box.left() + kLegendPadding, top + (row - kSwatch) / 2, kSwatch, kSwatch);
        if (entries[i].swatch) {
            painter.fillRect(mark.adjusted(3, 3, -3, -3), entries[i].pen.color());
        } else {
            painter.setPen(entries[i].pen);
            painter.drawLine(mark.left(), mark.center().y(), mark.right(), mark.center().y());
        }
        painter.setPen(Qt::black);
        painter.drawText(QRect(mark.right() + kLegendPadding, top, width + kLegendPadding, row),
                         Qt::AlignLeft | Qt::AlignVCenter, entries[i].text);
    }
}
