// bench_history: a measurement log opened in the history window. Logs of a
// day (86,400 lines) and a week (604,800 lines) written as the program writes
// them; for each, the time to read the file's bytes and the time from the
// open to the first drawn chart, side by side; the memory the open window
// holds next to the file's size; and the time one zoom or pan step takes to
// redraw at zoom levels from the whole week down to minutes. The goal's
// ratio is against reading the bytes into a new buffer, as QFile::readAll
// does; the ratio against a bare copy from the file cache is shown beside it.
#include "application.h"
#include "history_chart.h"
#include "log_dating.h"
#include "log_history_window.h"
#include "log_lines.h"
#include "measured_text.h"
#include "summary.h"

#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QStringEncoder>
#include <QTemporaryDir>

#include <malloc.h>

#include <cmath>
#include <cstdio>

namespace {

constexpr int kDay = 86400;
constexpr int kWeek = 7 * kDay;
constexpr int kReadRounds = 5;
constexpr int kStepsPerLevel = 40;
constexpr double kOpenGoalMs = 500.0;
constexpr double kOpenRatioGoal = 10.0;
constexpr double kRedrawGoalMs = 30.0;
constexpr double kMemoryGoal = 2.0;

size_t heapInUse()
{
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

void print(const QString& line)
{
    std::printf("%s\n", qPrintable(line));
}

// A heating day: the outdoor temperature swings, the demand follows the
// curve with a night setback, the water follows the demand.
void writeLog(const QString& path, int lines)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(path));
    QStringEncoder encoder("windows-1250");
    const QDateTime start(QDate(2026, 12, 7), QTime(8, 0));
    QByteArray bytes;
    for (const QString& line : log_lines::header(path, start.date()))
        bytes += encoder.encode(line) + "\r\n";
    float water = 70;
    LogDating dating;
    for (int i = 0; i < lines; ++i) {
        const QTime time = start.time().addSecs(i);
        if (const auto mark = dating.markBefore(start.addSecs(i)))
            bytes += encoder.encode(*mark) + "\r\n";
        const double hour = time.msecsSinceStartOfDay() / 3.6e6;
        const float outdoor = float(-2 + 6 * std::sin((hour - 9) / 24 * 2 * M_PI) + 0.3 * std::sin(i * 0.37));
        const float setback = hour >= 22 || hour < 5 ? 5.0f : 0.0f;
        const float demanded = 80 - 3 * outdoor - setback;
        water += (demanded - water) * 0.002f + 0.05f * float(std::sin(i * 1.3));
        const QString w = measuredText(water);
        const QString d = measuredText(demanded);
        const QStringList values{w, measuredText(outdoor), d, measuredText(setback),
                                 measuredText(deviationFromTexts(w, d))};
        bytes += encoder.encode(log_lines::data(values, time)) + "\r\n";
    }
    file.write(bytes);
}

// Reading the bytes as a program does, into a buffer of its own, and into a
// buffer read before, which leaves only the copy from the file cache.
struct ReadTimes {
    double freshMs;
    double reusedMs;
};

ReadTimes readBytes(const QString& path)
{
    std::vector<double> fresh;
    std::vector<double> reused;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", qPrintable(path));
    QByteArray buffer(file.size(), '\0');
    for (int round = 0; round < kReadRounds; ++round) {
        file.seek(0);
        auto start = BenchClock::now();
        if (file.readAll().size() != file.size())
            qFatal("cannot read %s", qPrintable(path));
        fresh.push_back(microsecondsSince(start) / 1000);
        file.seek(0);
        start = BenchClock::now();
        file.read(buffer.data(), buffer.size());
        reused.push_back(microsecondsSince(start) / 1000);
    }
    return {summarize(fresh).medianUs, summarize(reused).medianUs};
}

struct Opened {
    LogHistoryWindow* window;
    double ms;
    size_t heldBytes;
};

// Until the chart has drawn the whole log once.
Opened openAndDraw(const QString& path)
{
    const size_t before = heapInUse();
    const auto start = BenchClock::now();
    LogHistoryWindow* window = LogHistoryWindow::open(path, nullptr);
    if (!window)
        qFatal("not opened: %s", qPrintable(path));
    while (window->chart()->drawnStretches(LogValue::Water).isEmpty()) {
        QCoreApplication::processEvents();
        if (microsecondsSince(start) > 1e7)
            qFatal("nothing drawn");
    }
    const double ms = microsecondsSince(start) / 1000;
    return {window, ms, heapInUse() - before};
}

// Alternate zoom and pan steps around a level, each redrawn at once.
Summary redrawSteps(HistoryChart& chart, double middle, double span)
{
    chart.showRange(middle - span / 2, middle + span / 2);
    std::vector<double> times;
    for (int step = 0; step < kStepsPerLevel; ++step) {
        const auto start = BenchClock::now();
        switch (step % 4) {
        case 0:
            chart.zoom(0.8);
            break;
        case 1:
            chart.pan(0.1);
            break;
        case 2:
            chart.zoom(1.25);
            break;
        default:
            chart.pan(-0.1);
        }
        chart.repaint();
        times.push_back(microsecondsSince(start));
    }
    return summarize(times);
}

} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    Application app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::Czech, QLocale::Czechia));
    QTemporaryDir dir;
    const QString dayPath = dir.filePath(QStringLiteral("den.txt"));
    const QString weekPath = dir.filePath(QStringLiteral("tyden.txt"));
    writeLog(dayPath, kDay);
    writeLog(weekPath, kWeek);

    print(QStringLiteral("bench_history: a log opened in the history window, Czech locale"));
    const ReadTimes dayRead = readBytes(dayPath);
    const Opened day = openAndDraw(dayPath);
    const ReadTimes weekRead = readBytes(weekPath);
    const Opened week = openAndDraw(weekPath);
    for (const auto& [name, read, opened, path] :
         {std::tuple("a day,  86,400 lines", dayRead, day, dayPath),
          std::tuple("a week, 604,800 lines", weekRead, week, weekPath)}) {
        const qint64 size = QFileInfo(path).size();
        print(
            QStringLiteral("  %1 (%2 bytes): open to first chart %3 ms; read the bytes %4 ms (ratio %5), "
                           "into a buffer read before %6 ms (ratio %7); memory held %8 bytes, %9 x the file")
                .arg(QLatin1String(name))
                .arg(size)
                .arg(opened.ms, 0, 'f', 1)
                .arg(read.freshMs, 0, 'f', 1)
                .arg(opened.ms / read.freshMs, 0, 'f', 1)
                .arg(read.reusedMs, 0, 'f', 1)
                .arg(opened.ms / read.reusedMs, 0, 'f', 1)
                .arg(opened.heldBytes)
                .arg(double(opened.heldBytes) / double(size), 0, 'f', 2));
    }
    HistoryChart& chart = *week.window->chart();
    const double middle = (chart.from() + chart.to()) / 2;
    double worstMedian = 0;
    for (const auto& [name, span] : {std::pair("whole week", double(kWeek)), std::pair("a day", double(kDay)),
                                     std::pair("an hour", 3600.0), std::pair("5 minutes", 300.0)}) {
        const Summary steps = redrawSteps(chart, middle, span);
        worstMedian = std::max(worstMedian, steps.medianUs / 1000);
        print(
            QStringLiteral("  zoom/pan redraw at %1: %2").arg(QLatin1String(name), -11).arg(describe(steps)));
    }
    const double weekRatio = week.ms / weekRead.freshMs;
    const double memoryRatio = double(week.heldBytes) / double(QFileInfo(weekPath).size());
    print(QStringLiteral("  week: open %1 ms (goal <= %2), open / read %3 (goal <= %4), "
                         "worst redraw median %5 ms (goal <= %6), memory / file %7 (goal <= %8)")
              .arg(week.ms, 0, 'f', 1)
              .arg(kOpenGoalMs)
              .arg(weekRatio, 0, 'f', 1)
              .arg(kOpenRatioGoal)
              .arg(worstMedian, 0, 'f', 1)
              .arg(kRedrawGoalMs)
              .arg(memoryRatio, 0, 'f', 2)
              .arg(kMemoryGoal));
    const bool met = week.ms <= kOpenGoalMs && weekRatio <= kOpenRatioGoal && worstMedian <= kRedrawGoalMs &&
                     memoryRatio <= kMemoryGoal;
    print(QStringLiteral("  goals %1").arg(met ? QStringLiteral("met") : QStringLiteral("MISSED")));
    return 0;
}
