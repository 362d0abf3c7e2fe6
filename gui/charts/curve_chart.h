#pragma once

#include "log_history.h"

#include <QWidget>

#include <optional>

// The regulator's heating curve: the demanded water temperature as a
// straight line through SP_0 at 0 °C and SP20 at 20 °C outdoors.
struct HeatingCurve {
    static constexpr double kSecondOutdoor = 20.0;

    double sp0 = 0;
    double sp20 = 0;

    double waterAt(double outdoor) const { return sp0 + (sp20 - sp0) * outdoor / kSecondOutdoor; }
    bool operator==(const HeatingCurve&) const = default;
};

// Water and demanded temperature of a log's samples against the outdoor
// temperature, as points, with the heating curve as a line: whether the
// regulator follows its curve and the water its demand. The points are
// drawn a pixel cell at a time, so a week of samples costs no more to draw
// than the cells they fill.
class CurveChart : public QWidget {
    Q_OBJECT
public:
    // The demanded value's fixed limit, shown on the page "Regulace ONOF".
    static constexpr double kDemandLimit = 95.0;

    explicit CurveChart(QWidget* parent = nullptr);

    // The samples [first, last) of a history that is not owned.
    void setSamples(const LogHistory* history, qsizetype first, qsizetype last);
    void setCurve(std::optional<HeatingCurve> curve);
    std::optional<HeatingCurve> curve() const { return m_curve; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    struct Ranges {
        double outdoorLow, outdoorHigh, waterLow, waterHigh;
    };

    std::optional<Ranges> ranges() const;
    QRect plotRect() const;
    void drawPoints(QPainter& painter, const QRect& plot, const Ranges& r) const;
    void drawCurve(QPainter& painter, const QRect& plot, const Ranges& r) const;
    void drawLegend(QPainter& painter, const QRect& plot, bool limitShown) const;

    const LogHistory* m_history = nullptr;
    qsizetype m_first = 0;
    qsizetype m_last = 0;
    std::optional<HeatingCurve> m_curve;
};
