// The link's state in the main window's status bar, and the adapter pulled out
// and plugged in again while the program runs: the simulator is killed and
// started again under the same COM name on a real pseudo-terminal.
#include "app_test_main.h"
#include "Hl_modul.h"
#include "UnitMenuMod.h"
#include "UnitPort.h"
#include "bus_protocol.h"
#include "link_status.h"
#include "scripted_prompts.h"
#include "sim_process.h"
#include "stepped_clock.h"

#include <QAccessible>
#include <QElapsedTimer>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

const QDateTime kStart(QDate(2026, 3, 15), QTime(10, 0, 1));
constexpr qint64 kReturnGoalMs = 1500;
constexpr qint64 kSlack = 400; // a loaded machine under the sanitizers


} // namespace

class TestLinkStatus : public QObject {
    Q_OBJECT

    QTemporaryDir m_portDir;
    std::unique_ptr<SimProcess> m_sim;
    SteppedClock m_clock{kStart};
    std::unique_ptr<Tqzr17> m_window;
    std::unique_ptr<Tport> m_link;

    void startSim()
    {
        m_sim = std::make_unique<SimProcess>(QStringList{"--com", "1"});
        QVERIFY(m_sim->start());
        QTRY_VERIFY(QFileInfo::exists(m_portDir.filePath("COM1")));
    }

    LinkStatus* status() const { return m_window->findChild<LinkStatus*>(); }
    QString pa_voda() const { return m_window->findChild<QLabel*>("pa_voda")->text(); }

    void tick()
    {
        m_clock.step();
        m_window->Timer1Timer();
    }

private slots:
    void initTestCase() { qputenv("KV36_PORT_DIR", m_portDir.path().toLocal8Bit()); }

    void init()
    {
        startSim();
        m_window = std::make_unique<Tqzr17>();
        m_window->FormCreate();
        m_window->setClock(&m_clock);
        m_link = std::make_unique<Tport>(m_window->store(), m_window.get());
        m_link->FormCreate();
        m_window->setLinkWindow(m_link.get());
        bus_protocol::AttachPort(m_link.get());
        bus_protocol::SetDestinationAddress(0);
    }

    void cleanup()
    {
        bus_protocol::AttachPort(nullptr);
        m_link.reset();
        m_window.reset();
        m_sim.reset();
    }

    void historyKeepsTheLastTenOutagesNewestFirst()
    {
        LinkStatus status;
        QCOMPARE(status.toolTip(), QStringLiteral("Bez výpadků spojení"));
        for (int outage = 0; outage < LinkStatus::kHistorySize + 2; ++outage) {
            const QDateTime began = kStart.addSecs(60 * outage);
            status.readingDone(false, began);
            status.readingDone(false, began.addSecs(1)); // the same outage goes on
            status.readingDone(true, began.addSecs(5));
        }
        status.readingDone(false, kStart.addSecs(60 * (LinkStatus::kHistorySize + 2)));
        const QStringList lines = status.toolTip().split(u'\n');
        QCOMPARE(lines.size(), 1 + LinkStatus::kHistorySize);
        QCOMPARE(lines[1], QStringLiteral("15.3. 10:12:01 – trvá"));
        QCOMPARE(lines[2], QStringLiteral("15.3. 10:11:01 – 15.3. 10:11:06"));
        QCOMPARE(lines.last(), QStringLiteral("15.3. 10:03:01 – 15.3. 10:03:06"));
        QCOMPARE(status.accessibleDescription(), status.toolTip());
    }

    // While the link is down the log gets no data line; the status bar tells
    // the outage.
    void unplugAndReplugWhilePolling()
    {
        ScriptedPrompts prompts;
        QCOMPARE(status()->text(), QStringLiteral("COM1, 9600 Bd"));
        tick();
        QCOMPARE(status()->text(), QStringLiteral("COM1, 9600 Bd – spojení v pořádku"));
        QCOMPARE(QAccessible::queryAccessibleInterface(status())->text(QAccessible::Name), status()->text());

        QCOMPARE(m_sim->command("silent on"), QStringLiteral("OK"));
        tick();
        QCOMPARE(status()->text(), QStringLiteral("COM1, 9600 Bd – regulátor neodpovídá od 15.3. 10:00:03"));

        m_sim->kill();
        tick();
        QCOMPARE(status()->text(), QStringLiteral("COM1, 9600 Bd – zařízení portu není připojeno"));
        const int linesBefore = m_window->log().lineCount();
        for (int second = 0; second < 3; ++second)
            tick();
        QCOMPARE(m_window->log().lineCount(), linesBefore);

        QTest::qWait(SerialLine::kReopenIntervalMs); // a reopen falls due while still away
        tick();
        startSim();
        QElapsedTimer back;
        back.start();
        while (status()->text() != QStringLiteral("COM1, 9600 Bd – spojení v pořádku") && back.elapsed() < 5000) {
            tick();
            QTest::qWait(50);
        }
        QVERIFY2(back.elapsed() < kReturnGoalMs + kSlack, qPrintable(QString::number(back.elapsed())));
        QCOMPARE(m_window->log().lineCount(), linesBefore + 2);
        QVERIFY(m_window->log().line(linesBefore).startsWith(QStringLiteral("# regulátor odpovídá od ")));
        QVERIFY(status()->toolTip().endsWith(QStringLiteral("15.3. 10:00:03 – ") +
                                             m_clock.now().toString(QStringLiteral("d.M. H:mm:ss"))));
        QCOMPARE(prompts.texts(), QStringList());
    }

    // Started while its adapter is unplugged, the program keeps the chosen
    // port, tells the absence in the status bar alone and opens the port
    // once the adapter is plugged in.
    void startedWhileTheAdapterIsUnplugged()
    {
        m_link.reset();
        m_sim->terminate();
        const QString adapter = m_portDir.filePath(QStringLiteral("by-id-adapter"));
        QVERIFY(QFile::link(adapter, m_portDir.filePath("COM1")));
        ScriptedPrompts prompts;
        m_link = std::make_unique<Tport>(m_window->store(), m_window.get());
        m_window->setLinkWindow(m_link.get());
        bus_protocol::AttachPort(m_link.get());
        m_link->FormCreate();
        QCOMPARE(m_link->portNumber(), 1);
        QTRY_COMPARE(status()->text(), QStringLiteral("COM1, 9600 Bd – zařízení portu není připojeno"));
        {
            // The settings window's start-up check adds no box of its own.
            Tmenu_qzr17 settings(m_window.get());
            settings.FormCreate();
            QTest::qWait(200);
        }

        m_sim = std::make_unique<SimProcess>(QStringList{"--link", adapter});
        QVERIFY(m_sim->start());
        QTRY_COMPARE_WITH_TIMEOUT(status()->text(), QStringLiteral("COM1, 9600 Bd"), 3000);
        QCOMPARE(bus_protocol::ProbeStation(), 1);
        QCOMPARE(prompts.texts(), QStringList());
    }

    void settingsWindowReadsAfterReplug()
    {
        Tmenu_qzr17 settings(m_window.get());
        m_sim->kill();
        {
            ScriptedPrompts prompts;
            settings.tl_cistClick();
            QCOMPARE(prompts.texts(), QStringList{"Chyba při čtení dat z regulátoru"});
        }
        startSim();
        QTest::qWait(SerialLine::kReopenIntervalMs);
        ScriptedPrompts prompts;
        settings.tl_cistClick();
        QCOMPARE(prompts.texts(), QStringList());
    }
};

int main(int argc, char** argv) { return runAppTest<TestLinkStatus>(argc, argv); }

#include "tst_link_status.moc"
