// The bus traffic monitor against the simulator on a real pseudo-terminal:
// the rows of reads, refusals, silence and corrupt replies in order, pause,
// clear, filter, copy, the saved file, the row limit, its menu item and
// place, and a bus that carries the same bytes whether it is open or not.
#include "Hl_modul.h"
#include "UnitPort.h"
#include "UnitProvoz.h"
#include "app_test_main.h"
#include "bus_protocol.h"
#include "scripted_prompts.h"
#include "sim_process.h"

#include <QAction>
#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSettings>
#include <QTableView>
#include <QTemporaryDir>

#include <memory>

namespace {

// What went over the bus, seen between the protocol module and the port.
class BusRecorder : public PortIo {
public:
    explicit BusRecorder(PortIo& port) : m_port(port) {}
    QList<QByteArray> traffic;

    bool WritePort(const uint8_t* buffer, int count, uint32_t& written) override
    {
        traffic.append("→" + QByteArray(reinterpret_cast<const char*>(buffer), count));
        return m_port.WritePort(buffer, count, written);
    }
    bool ReadPort(uint8_t* buffer, int count, uint32_t& received) override
    {
        const bool ok = m_port.ReadPort(buffer, count, received);
        traffic.append("←" + QByteArray(reinterpret_cast<const char*>(buffer), received));
        return ok;
    }
    void DropUntilQuiet(Clock::time_point until) override { m_port.DropUntilQuiet(until); }

private:
    PortIo& m_port;
};

// "read 16", "write 0", "probe", "type", "eeprom"
void run(const QString& operation)
{
    const QStringList words = operation.split(u' ');
    if (words[0] == u"read")
        bus_protocol::ReadTable(words[1].toInt());
    else if (words[0] == u"write")
        bus_protocol::WriteTable(words[1].toInt());
    else if (words[0] == u"probe")
        bus_protocol::ProbeStation();
    else if (words[0] == u"type")
        bus_protocol::ReadDeviceType();
    else
        bus_protocol::StoreToEeprom();
}

// "→ čtení tabulky 16, DA 0, SA 0", with " [chyba]" after a failure.
QStringList rowsOf(const TrafficModel& model)
{
    QStringList rows;
    for (int i = 0; i < model.rowCount(); ++i) {
        const TrafficRow& row = model.row(i);
        rows.append(QStringLiteral("%1 %2%3")
                        .arg(QChar(row.direction == SerialLine::Direction::Tx ? u'→' : u'←'))
                        .arg(row.meaning, row.fault ? QStringLiteral(" [chyba]") : QString()));
    }
    return rows;
}

// An expected row; "XX" stands for a byte the simulator picks at random.
bool matches(const QString& row, const QString& expected)
{
    const QString pattern =
        QRegularExpression::escape(expected).replace(QStringLiteral("XX"), QStringLiteral("[0-9A-F]{2}"));
    return QRegularExpression(QRegularExpression::anchoredPattern(pattern)).match(row).hasMatch();
}

// A saved or copied line with its milliseconds as "#".
QString withoutTime(const QString& line)
{
    static const QRegularExpression time(QStringLiteral("^(TX|RX) \\d+"));
    return QString(line).replace(time, QStringLiteral("\\1 #"));
}

} // namespace

class TestUnitProvoz : public QObject {
    Q_OBJECT

    QTemporaryDir m_portDir;
    QTemporaryDir m_fileDir;
    std::unique_ptr<SimProcess> m_sim;
    std::unique_ptr<Tqzr17> m_window;
    std::unique_ptr<Tport> m_link;

    Tprovoz* openMonitor()
    {
        m_window->findChild<QAction*>("mn_provoz")->trigger();
        return m_window->trafficWindow();
    }

    template <typename T> T* control(Tprovoz* monitor, const char* name)
    {
        return monitor->findChild<T*>(name);
    }

    void runAll(const QStringList& operations)
    {
        for (const QString& operation : operations)
            run(operation);
        QCoreApplication::processEvents();
    }

    void sim(const QStringList& commands)
    {
        for (const QString& command : commands)
            QCOMPARE(m_sim->command(command), QStringLiteral("OK"));
    }

private slots:
    void initTestCase()
    {
        qputenv("KV36_PORT_DIR", m_portDir.path().toLocal8Bit());
        m_sim = std::make_unique<SimProcess>(QStringList{"--com", "1"});
        QVERIFY(m_sim->start());
        QTRY_VERIFY(QFileInfo::exists(m_portDir.filePath("COM1")));
    }

    void init()
    {
        m_link.reset(); // a child of the window, when a failed test left them behind
        // Answered once the previous row's late reply is out: a new port meets a quiet line.
        sim({"silent off", "accept 0", "corrupt-checksum 0", "short 0", "late 0"});
        m_window = std::make_unique<Tqzr17>();
        m_window->FormCreate();
        m_link = std::make_unique<Tport>(m_window->store(), m_window.get());
        m_link->FormCreate();
        m_window->setLinkWindow(m_link.get());
        bus_protocol::AttachPort(m_link.get());
        bus_protocol::SetDestinationAddress(0);
        bus_protocol::SetSourceAddress(0);
        QVERIFY(m_sim->setTable(16, QByteArray::fromHex("4235000041A0000000422000000000000000")));
    }

    void cleanup()
    {
        bus_protocol::AttachPort(nullptr);
        m_link.reset();
        m_window.reset();
    }

    void exchangesShowAsRowsInOrder_data()
    {
        QTest::addColumn<QStringList>("commands");
        QTest::addColumn<QStringList>("operations");
        QTest::addColumn<QStringList>("rows");
        const QString read16 = QStringLiteral("→ čtení tabulky 16, DA 0, SA 0");

        QTest::newRow("read") << QStringList() << QStringList{"read 16"}
                              << QStringList{read16, "← data tabulky 16 (18 bajtů), DA 0, SA 0"};
        QTest::newRow("refused write")
            << QStringList{"refuse 0"} << QStringList{"write 0"}
            << QStringList{"→ zápis tabulky 0, DA 0, SA 0", "← odmítnutí, kód 2, DA 0, SA 0 [chyba]"};
        QTest::newRow("silent station")
            << QStringList{"silent on"} << QStringList{"read 16", "probe"}
            << QStringList{read16, "← žádná odpověď v časovém limitu (554 ms) [chyba]",
                           "→ SD1 dotaz na stav, DA 0, SA 0",
                           "← žádná odpověď v časovém limitu (512 ms) [chyba]"};
        QTest::newRow("late reply, dropped")
            << QStringList{"late 620"} << QStringList{"read 16", "probe"}
            << QStringList{read16, "← žádná odpověď v časovém limitu (554 ms) [chyba]",
                           "← po časovém limitu, zahozeno: data tabulky 16 (18 bajtů), DA 0, SA 0 [chyba]",
                           "→ SD1 dotaz na stav, DA 0, SA 0",
                           "← žádná odpověď v časovém limitu (512 ms) [chyba]"};
        QTest::newRow("short reply") << QStringList{"short 5"} << QStringList{"read 16"}
                                     << QStringList{read16, "← krátká odpověď (22 z 27 bajtů) [chyba]"};
        QTest::newRow("corrupt reply")
            << QStringList{"corrupt-checksum 1"} << QStringList{"read 16"}
            << QStringList{read16, "← chybný kontrolní součet (XX, má být XX) [chyba]"};
    }

    void exchangesShowAsRowsInOrder()
    {
        QFETCH(QStringList, commands);
        QFETCH(QStringList, operations);
        QFETCH(QStringList, rows);
        Tprovoz* monitor = openMonitor();
        sim(commands);
        runAll(operations);
        const QStringList shown = rowsOf(monitor->model());
        QCOMPARE(shown.size(), rows.size());
        for (int i = 0; i < rows.size(); ++i)
            QVERIFY2(matches(shown[i], rows[i]), qPrintable(shown[i]));
    }

    void pauseClearAndFilter()
    {
        Tprovoz* monitor = openMonitor();
        auto* label = control<QLabel>(monitor, "lb_pocet");
        runAll({"read 16"});
        control<QPushButton>(monitor, "tl_pauza")->toggle();
        runAll({"read 16", "probe"});
        QCOMPARE(monitor->model().rowCount(), 2);
        control<QPushButton>(monitor, "tl_pauza")->toggle();
        sim({"refuse 0"});
        runAll({"write 0"});
        QCOMPARE(monitor->model().rowCount(), 4);
        control<QLineEdit>(monitor, "ed_filtr")->setText("ODMÍTNUTÍ");
        QCOMPARE(control<QTableView>(monitor, "str_provoz")->model()->rowCount(), 1);
        QCOMPARE(label->text(), QStringLiteral("Řádků: 1 z 4"));
        runAll({"read 16"});
        QCOMPARE(label->text(), QStringLiteral("Řádků: 1 z 6"));
        control<QLineEdit>(monitor, "ed_filtr")->clear();
        control<QPushButton>(monitor, "tl_smazat")->click();
        QCOMPARE(monitor->model().rowCount(), 0);
        QCOMPARE(label->text(), QStringLiteral("Řádků: 0"));
        runAll({"read 16"});
        QCOMPARE(monitor->model().rowCount(), 2);
        // Time counts again from the clearing.
        QVERIFY(monitor->model().row(0).elapsedMs < 1000);
    }

    void savedAndCopiedLinesAreExact()
    {
        Tprovoz* monitor = openMonitor();
        sim({"refuse 0"});
        runAll({"read 16", "write 0"});
        sim({"silent on"});
        runAll({"probe"});
        const QStringList expected{
            "TX # 68 07 07 68 00 00 6C 01 10 12 00 8F 16 | čtení tabulky 16, DA 0, SA 0",
            "RX # 68 15 15 68 00 00 08 42 35 00 00 41 A0 00 00 00 42 20 00 00 00 00 00 00 00 C2 16"
            " | data tabulky 16 (18 bajtů), DA 0, SA 0",
            "TX # 68 0F 0F 68 00 00 63 02 00 08 00 00 00 00 00 00 00 00 00 6D 16 | zápis tabulky 0, DA 0, SA "
            "0",
            "RX # 10 00 00 02 02 16 | odmítnutí, kód 2, DA 0, SA 0",
            "TX # 10 00 00 69 69 16 | SD1 dotaz na stav, DA 0, SA 0",
            "RX # | žádná odpověď v časovém limitu (512 ms)"};
        ScriptedPrompts prompts;
        const QString path = m_fileDir.filePath("provoz.txt");
        prompts.fileNames = {path};
        control<QPushButton>(monitor, "tl_ulozit")->click();
        QCOMPARE(prompts.fileRequests.size(), 1);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QStringList saved = QString::fromUtf8(file.readAll()).split(QStringLiteral("\r\n"));
        QCOMPARE(saved.size(), expected.size() + 1);
        for (int i = 0; i < expected.size(); ++i)
            QCOMPARE(withoutTime(saved[i]), expected[i]);

        auto* view = control<QTableView>(monitor, "str_provoz");
        view->selectRow(3);
        view->selectionModel()->select(view->model()->index(5, 0),
                                       QItemSelectionModel::Select | QItemSelectionModel::Rows);
        control<QPushButton>(monitor, "tl_kopirovat")->click();
        QCOMPARE(QGuiApplication::clipboard()->text(), saved[3] + "\r\n" + saved[5] + "\r\n");
    }

    void rowLimitDropsTheOldest()
    {
        Tprovoz* monitor = openMonitor();
        // A read sent to everyone awaits no reply: one row each.
        const QByteArray request = QByteArray::fromHex("680707687F006C011012000E16");
        const auto start = SerialLine::Clock::now();
        const int total = static_cast<int>(TrafficModel::kRowLimit) + 150;
        int next = 0;
        // Three batches: filling, overflowing a ring not yet full, wrapping it.
        for (const int end : {total - 200, total - 100, total}) {
            for (; next < end; ++next)
                monitor->recorder().record(SerialLine::Direction::Tx, start + std::chrono::milliseconds(next),
                                           request);
            monitor->recorder().flush();
        }
        const TrafficModel& model = monitor->model();
        QCOMPARE(model.rowCount(), static_cast<int>(TrafficModel::kRowLimit));
        for (int i = 1; i < model.rowCount(); ++i)
            QCOMPARE(model.row(i).elapsedMs - model.row(i - 1).elapsedMs, qint64(1));
        QCOMPARE(model.row(model.rowCount() - 1).elapsedMs - model.row(0).elapsedMs,
                 qint64(model.rowCount() - 1));
    }

    void monitorChangesNoByteOnTheBus()
    {
        BusRecorder bus(*m_link);
        bus_protocol::AttachPort(&bus);
        const QStringList operations{"read 16", "write 0", "probe", "type", "eeprom"};
        QList<QList<QByteArray>> seen;
        for (const bool open : {false, true, false}) {
            Tprovoz* monitor = open ? openMonitor() : m_window->trafficWindow();
            if (monitor && !open)
                monitor->close();
            bus.traffic.clear();
            runAll(operations);
            seen.append(bus.traffic);
            if (!open)
                continue;
            // The monitor shows exactly what went over the bus.
            QList<QByteArray> shown;
            for (int i = 0; i < monitor->model().rowCount(); ++i) {
                const TrafficRow& row = monitor->model().row(i);
                shown.append((row.direction == SerialLine::Direction::Tx ? "→" : "←") + row.bytes);
            }
            QCOMPARE(shown, bus.traffic);
        }
        QCOMPARE(seen[1], seen[0]);
        QCOMPARE(seen[2], seen[0]);
    }

    void menuOpensOneModelessWindowThatKeepsItsPlace()
    {
        Tprovoz* monitor = openMonitor();
        QVERIFY(monitor->isVisible());
        QVERIFY(!monitor->isModal());
        QCOMPARE(monitor->windowTitle(), QStringLiteral("Provoz na sběrnici"));
        QCOMPARE(openMonitor(), monitor);
        monitor->move(100, 150);
        monitor->resize(640, 380);
        m_window->close();
        m_link.reset();
        m_window = std::make_unique<Tqzr17>();
        m_window->FormCreate();
        monitor = openMonitor();
        QCOMPARE(monitor->pos(), QPoint(100, 150));
        QCOMPARE(monitor->size(), QSize(640, 380));
    }

    void placedClearOfTheMainWindow_data()
    {
        QTest::addColumn<QRect>("screen");
        QTest::addColumn<QRect>("main");
        QTest::addColumn<QRect>("placed");
        const QRect designed(188, 106, 651, 477);
        QTest::newRow("1280 x 1024: below") << QRect(0, 0, 1280, 1024) << designed << QRect(188, 591, 1000, 433);
        QTest::newRow("1024 x 768: over the chart only")
            << QRect(0, 0, 1024, 768) << designed << QRect(24, 238, 1000, 460);
        QTest::newRow("wide screen: to the right")
            << QRect(0, 0, 1920, 1080) << designed << QRect(847, 106, 1000, 460);
        QTest::newRow("at the right edge: to the left")
            << QRect(0, 0, 1920, 1080) << QRect(1250, 40, 651, 1000) << QRect(242, 40, 1000, 460);
        QTest::newRow("no room anywhere") << QRect(0, 0, 640, 300) << QRect(0, 0, 640, 300) << QRect(0, 0, 640, 300);
    }

    void placedClearOfTheMainWindow()
    {
        QFETCH(QRect, screen);
        QFETCH(QRect, main);
        QFETCH(QRect, placed);
        // The values and the controls take the main window's top 124 pixels.
        const QRect controls(main.topLeft(), QSize(main.width(), 124));
        QCOMPARE(Tprovoz::placement(screen, main, controls, {1000, 460}, {480, 200}), placed);
    }

    void usualRowsFitTheDefaultSize()
    {
        Tprovoz monitor;
        monitor.attach(m_link->line());
        runAll({"read 16"});
        monitor.recorder().flush();
        monitor.show();
        QVERIFY(QTest::qWaitForWindowExposed(&monitor));
        const QTableView* view = control<QTableView>(&monitor, "str_provoz");
        QCOMPARE(view->model()->rowCount(), 2);
        for (int cell = 0; cell < 2 * TrafficModel::ColumnCount; ++cell) {
            const QModelIndex index = view->model()->index(cell / TrafficModel::ColumnCount, cell % TrafficModel::ColumnCount);
            QVERIFY2(view->columnWidth(index.column()) >= view->sizeHintForIndex(index).width(), qPrintable(index.data().toString()));
        }
    }
};

int main(int argc, char** argv)
{
    return runAppTest<TestUnitProvoz>(argc, argv);
}
#include "tst_unit_provoz.moc"
