// bench_startup: process start to the main window on screen, the program's
// whole start-up against a minimal Widgets window with a chart started the
// same way, as child processes of this one, alternating in one run.
#include "Hl_modul.h"
#include "application.h"
#include "sim_process.h"
#include "startup.h"
#include "summary.h"

#include <QChart>
#include <QChartView>
#include <QLineSeries>
#include <QMainWindow>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

constexpr int kRounds = 15;
constexpr double kGoal = 1.5;
const QString kShown = QStringLiteral("shown");

// Prints the mark and ends the child when the first widget paints, wherever
// that happens: the program paints its main window during start-up.
class FirstPaint : public QObject {
public:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) {
            std::puts("shown");
            std::fflush(stdout);
            std::_Exit(0);
        }
        return false;
    }
};

int runProgram(int argc, char** argv)
{
    Application app(argc, argv);
    FirstPaint watch;
    app.installEventFilter(&watch);
    std::unique_ptr<Tqzr17> window(createWindows().main);
    return app.exec();
}

int runMinimal(int argc, char** argv)
{
    QApplication app(argc, argv);
    FirstPaint watch;
    QMainWindow window;
    auto* series = new QLineSeries;
    auto* chart = new QChart;
    chart->addSeries(series);
    chart->createDefaultAxes();
    window.setCentralWidget(new QChartView(chart));
    window.resize(651, 477);
    app.installEventFilter(&watch);
    window.show();
    return app.exec();
}

// Milliseconds from starting the child to its first paint.
double timeChild(const QString& mode)
{
    QProcess child;
    const auto start = BenchClock::now();
    child.start(QCoreApplication::applicationFilePath(), {mode});
    while (child.waitForReadyRead(10000))
        if (child.readAll().contains(kShown.toLatin1()))
            break;
    const double ms = microsecondsSince(start) / 1000.0;
    child.waitForFinished(10000);
    return ms;
}

int runBenchmark(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", home.path().toLocal8Bit());
    qputenv("KV36_PORT_DIR", home.path().toLocal8Bit());
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    SimProcess sim({"--com", "1"});
    if (!sim.start())
        return 1;
    std::vector<double> program, minimal;
    for (int round = 0; round < kRounds; ++round) {
        program.push_back(timeChild(QStringLiteral("--program")) * 1000.0);
        minimal.push_back(timeChild(QStringLiteral("--minimal")) * 1000.0);
    }
    const Summary p = summarize(program);
    const Summary m = summarize(minimal);
    const double ratio = p.medianUs / m.medianUs;
    std::printf("start-up to the main window shown (%d rounds, %s)\n", kRounds,
                qPrintable(qEnvironmentVariable("QT_QPA_PLATFORM")));
    std::printf("  minimal window with a chart: median %.1f ms\n", m.medianUs / 1000.0);
    std::printf("  the program:                 median %.1f ms\n", p.medianUs / 1000.0);
    std::printf("  ratio %.2f (goal <= %.1f): %s\n", ratio, kGoal, ratio <= kGoal ? "met" : "MISSED");
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    const QString mode = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    if (mode == QStringLiteral("--program"))
        return runProgram(argc, argv);
    if (mode == QStringLiteral("--minimal"))
        return runMinimal(argc, argv);
    return runBenchmark(argc, argv);
}
