#pragma once

#include "sim_process.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <random>

class SerialLine;

// Exchanges through the program's own serial line and protocol against the
// simulator reached as COM1, with the simulator's faults switched on at
// random for one to three exchanges at a time, and the device now and then
// made to vanish and come back under the same name.
class FaultSoak {
public:
    struct Figures {
        int exchanges = 0;
        int faults = 0;
        int vanishings = 0;
        int wrongValuesAccepted = 0; // a read taken as good whose data is not the table's
        int hangs = 0;               // exchanges that outlasted every time-out of the line
        int checksAfterFault = 0;    // exchanges right after a fault was switched off
        int goodAfterFault = 0;
        int failedWithoutFault = 0;  // later, with no fault on
        QList<double> returnsMs;     // each time from the device's return to the first good exchange
        QStringList notes;           // what went wrong, for the failure message
    };

    // The port directory must be in $KV36_PORT_DIR already.
    FaultSoak(QString portDirectory, unsigned seed);
    ~FaultSoak();

    [[nodiscard]] bool start();
    void run(int exchanges);
    const Figures& figures() const { return m_figures; }

private:
    enum class Fault { CorruptChecksum, CorruptByte, Short, Late, Noise, Silence, Refusal, Vanish };

    [[nodiscard]] bool startSim();
    bool learnTables();
    void injectFault();
    void clearFault(Fault fault);
    void vanishAndReturn();
    bool exchange();
    bool readOne(int table);
    bool timed(int (*operation)(int), int table);
    void note(const QString& what);
    int randomBelow(int bound);

    QString m_portDirectory;
    std::mt19937 m_random;
    std::unique_ptr<SimProcess> m_sim;
    std::unique_ptr<SerialLine> m_line;
    QList<int> m_readable;
    QList<int> m_writable;
    QByteArray m_truth[32];
    Figures m_figures;
};
