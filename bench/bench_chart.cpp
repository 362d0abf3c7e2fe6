// bench_chart: AddChartPoint on a full series at a point limit of 400 and of
// 100,000, measured in interleaved rounds: the call alone, and the call with
// the drawing that follows it (the chart's redraw and a repaint of the chart).
// Two signals: a deviation that drifts over an hour, and one that swings with
// a burner cycling every four minutes, which at 100,000 points fills the plot
// with a solid band: the most ink a drawing of the outline can take.
#include "Hl_modul.h"
#include "application.h"
#include "deviation_chart.h"
#include "summary.h"

#include <QTemporaryDir>

#include <cmath>
#include <cstdio>
#include <memory>

namespace {

constexpr int kRounds = 10;
constexpr int kPerRound = 50;
constexpr double kGoal = 3.0;

using Signal = float (*)(double x);

float drifting(double x) { return static_cast<float>(5.0 * std::sin(x / 600.0) + 0.1 * std::sin(x * 1.3)); }
float cycling(double x) { return static_cast<float>(5.0 * std::sin(x / 40.0) + std::sin(x * 1.3)); }

struct Chart {
    const char* name;
    int limit;
    Signal deviation;
    std::unique_ptr<Tqzr17> window;
    std::vector<double> add;
    std::vector<double> addAndDraw;
};

void fill(Chart& chart)
{
    chart.window = std::make_unique<Tqzr17>();
    chart.window->FormCreate();
    chart.window->point_limit = chart.limit;
    chart.window->show();
    for (int i = 0; i <= chart.limit; ++i)
        chart.window->AddChartPoint(chart.deviation(i));
    QCoreApplication::processEvents();
}

void measure(Chart& chart)
{
    for (int i = 0; i < kPerRound; ++i) {
        auto start = BenchClock::now();
        chart.window->AddChartPoint(chart.deviation(chart.window->point_x));
        chart.add.push_back(microsecondsSince(start));
        QCoreApplication::processEvents();

        start = BenchClock::now();
        chart.window->AddChartPoint(chart.deviation(chart.window->point_x));
        QCoreApplication::processEvents();
        chart.window->Chart1->repaint();
        chart.addAndDraw.push_back(microsecondsSince(start));
    }
}

void print(const QString& line) { std::printf("%s\n", qPrintable(line)); }

} // namespace

// Both limits side by side for one signal; true when the ratios meet the goal.
bool compare(const char* signal, Signal deviation)
{
    Chart charts[] = {{"limit 400", 400, deviation, {}, {}, {}}, {"limit 100,000", 100000, deviation, {}, {}, {}}};
    for (Chart& chart : charts) {
        fill(chart);
        measure(chart);
        chart.add.clear();
        chart.addAndDraw.clear();
    }
    // Interleaved rounds, so that a slow spell of the machine hits both charts alike.
    for (int round = 0; round < kRounds; ++round)
        for (Chart& chart : charts)
            measure(chart);

    print(QStringLiteral("  %1:").arg(QLatin1String(signal)));
    Summary add[2];
    Summary drawn[2];
    for (int i = 0; i < 2; ++i) {
        add[i] = summarize(charts[i].add);
        drawn[i] = summarize(charts[i].addAndDraw);
        print(QStringLiteral("    %1 count %2; add: %3; add and draw: %4")
                  .arg(QLatin1String(charts[i].name) + u':', -15)
                  .arg(charts[i].window->Chart1->count())
                  .arg(describe(add[i]), describe(drawn[i])));
    }
    const double addRatio = add[1].medianUs / add[0].medianUs;
    const double drawRatio = drawn[1].medianUs / drawn[0].medianUs;
    print(QStringLiteral("    100,000 / 400: add median %1, add and draw median %2 (goal <= %3)")
              .arg(addRatio, 0, 'f', 2).arg(drawRatio, 0, 'f', 2).arg(kGoal, 0, 'f', 2));
    return addRatio <= kGoal && drawRatio <= kGoal;
}

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    Application app(argc, argv);
    print(QStringLiteral("bench_chart: AddChartPoint on a full series, %1 points per case in %2 interleaved rounds")
              .arg(kRounds * kPerRound).arg(kRounds));
    const bool drift = compare("deviation drifting over an hour", drifting);
    const bool cycle = compare("deviation swinging every four minutes", cycling);
    print(QStringLiteral("  goal %1 for the drifting deviation, %2 for the swinging one")
              .arg(drift ? QStringLiteral("met") : QStringLiteral("MISSED"))
              .arg(cycle ? QStringLiteral("met") : QStringLiteral("MISSED")));
    return 0;
}
