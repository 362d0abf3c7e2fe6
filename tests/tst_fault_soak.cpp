// Exchanges through the program's serial line and protocol against the
// simulator with its faults switched on at random and the device vanishing
// and coming back: no wrong value taken, no hang, good again after each fault.
#include "fault_soak.h"

#include <QTemporaryDir>
#include <QTest>

#include <algorithm>

namespace {

constexpr int kExchanges = 1500;
constexpr double kReturnGoalMs = 1500;
constexpr double kSlackMs = 400; // a loaded machine under the sanitizers

} // namespace

class TestFaultSoak : public QObject {
    Q_OBJECT

private slots:
    void soak_data()
    {
        QTest::addColumn<unsigned>("seed");
        QTest::newRow("seed 1") << 1u;
        QTest::newRow("seed 17") << 17u;
    }

    void soak()
    {
        QFETCH(unsigned, seed);
        QTemporaryDir portDir;
        qputenv("KV36_PORT_DIR", portDir.path().toLocal8Bit());
        FaultSoak soak(portDir.path(), seed);
        QVERIFY(soak.start());
        soak.run(kExchanges);
        const FaultSoak::Figures& f = soak.figures();
        const QString notes = f.notes.join(QStringLiteral("; "));
        const double longestReturn = *std::max_element(f.returnsMs.begin(), f.returnsMs.end());
        qInfo("%d exchanges, %d faults (%d vanishings), %d checks after a fault, longest return %.0f ms",
              f.exchanges, f.faults, f.vanishings, f.checksAfterFault, longestReturn);
        QVERIFY(f.faults > 0 && !f.returnsMs.isEmpty());
        QCOMPARE(f.wrongValuesAccepted, 0);
        QCOMPARE(f.hangs, 0);
        QVERIFY2(f.goodAfterFault == f.checksAfterFault, qPrintable(notes));
        QVERIFY2(f.failedWithoutFault == 0, qPrintable(notes));
        QVERIFY2(longestReturn < kReturnGoalMs + kSlackMs, qPrintable(QString::number(longestReturn)));
    }
};

QTEST_GUILESS_MAIN(TestFaultSoak)
#include "tst_fault_soak.moc"
