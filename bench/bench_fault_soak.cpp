// bench_fault_soak: ten thousand exchanges and more through the program's own
// serial line and protocol against the simulator, its faults switched on at
// random and the device vanishing and coming back. Prints the figures.
#include "fault_soak.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

namespace {

constexpr int kExchanges = 10000;
constexpr unsigned kSeed = 2026;
constexpr double kReturnGoalMs = 1500;

void print(const QString& line) { std::printf("%s\n", qPrintable(line)); }

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir portDir;
    qputenv("KV36_PORT_DIR", portDir.path().toLocal8Bit());
    FaultSoak soak(portDir.path(), kSeed);
    if (!soak.start()) {
        std::fprintf(stderr, "bench_fault_soak: the simulator did not start\n");
        return 1;
    }
    QElapsedTimer took;
    took.start();
    soak.run(kExchanges);
    const FaultSoak::Figures& f = soak.figures();
    const double afterFault = f.checksAfterFault ? 100.0 * f.goodAfterFault / f.checksAfterFault : 100.0;
    print(QStringLiteral("fault soak: %1 exchanges in %2 s, %3 faults injected (%4 of them the device vanishing)")
              .arg(f.exchanges).arg(double(took.elapsed()) / 1000.0, 0, 'f', 1).arg(f.faults).arg(f.vanishings));
    print(QStringLiteral("  values accepted that differ from the simulator's table: %1 (goal 0)").arg(f.wrongValuesAccepted));
    print(QStringLiteral("  hangs: %1 (goal 0)").arg(f.hangs));
    print(QStringLiteral("  exchange after a fault good again: %1 of %2, %3 % (goal 100 %)")
              .arg(f.goodAfterFault).arg(f.checksAfterFault).arg(afterFault, 0, 'f', 1));
    print(QStringLiteral("  fault-free exchanges that failed: %1").arg(f.failedWithoutFault));
    if (!f.returnsMs.isEmpty()) {
        QStringList each;
        for (const double ms : f.returnsMs)
            each.append(QString::number(ms, 'f', 0));
        const double longest = *std::max_element(f.returnsMs.begin(), f.returnsMs.end());
        const auto over = std::count_if(f.returnsMs.begin(), f.returnsMs.end(), [](double ms) { return ms > kReturnGoalMs; });
        print(QStringLiteral("  device back to first good exchange, each return in ms: %1").arg(each.join(u' ')));
        print(QStringLiteral("  longest %1 ms, %2 of %3 returns over the goal of %4 ms: goal %5")
                  .arg(longest, 0, 'f', 0).arg(over).arg(f.returnsMs.size()).arg(kReturnGoalMs, 0, 'f', 0)
                  .arg(over == 0 ? QStringLiteral("met") : QStringLiteral("MISSED")));
    }
    for (const QString& note : f.notes)
        print(QStringLiteral("  note: %1").arg(note));
    return 0;
}
