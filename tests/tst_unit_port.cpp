// The link settings window end to end: the real window under the offscreen
// platform, the real simulator as COM1 (and COM2) in a port directory of the
// test's own, a settings store in a temporary directory, and every question
// answered through the prompts seam.
#include "UnitPort.h"

#include "app_error.h"
#include "bus_protocol.h"
#include "scripted_prompts.h"
#include "settings_store.h"
#include "sim_process.h"

#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QRegularExpression>
#include <QSettings>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

namespace {

const QList<bool> kIdle{false, false, true, true, true, true, true, true};
const QList<bool> kSearching{true, true, false, false, false, false, false, false};

constexpr int kMissing = -9999;
constexpr int kAddresses = 127;
constexpr int kColumns = 16;

const QString kQuestion =
    QStringLiteral("Byly provedeny změny v nastavení.\nOpravdu se chceš vrátit k původnímu nastavení?");

} // namespace

class TestUnitPort : public QObject {
    Q_OBJECT

    QTemporaryDir m_portDir;
    QTemporaryDir m_configDir;
    int m_storeCount = 0;
    std::unique_ptr<SimProcess> m_sim;
    std::unique_ptr<SimProcess> m_sim2;
    std::unique_ptr<ScriptedPrompts> m_prompts;
    std::unique_ptr<SettingsStore> m_store;
    std::unique_ptr<Tport> m_window;

    std::unique_ptr<SimProcess> startSim(int com, int address)
    {
        auto sim = std::make_unique<SimProcess>(
            QStringList{"--com", QString::number(com), "--address", QString::number(address)});
        if (!sim->start())
            return {};
        const QString link = m_portDir.filePath(QStringLiteral("COM%1").arg(com));
        if (!QTest::qWaitFor([&] { return QFileInfo(link).exists(); }))
            return {};
        return sim;
    }

    // A port entry that leads nowhere, so that opening that port fails for sure
    // (without an entry COMn would fall back to a real /dev/ttyS device).
    [[nodiscard]] bool blockPort(int com)
    {
        const QString entry = m_portDir.filePath(QStringLiteral("COM%1").arg(com));
        QFile::remove(entry);
        QFile f(entry);
        return f.open(QIODevice::WriteOnly) && f.write("/nonexistent/tty\n") > 0;
    }

    void seed(const QString& section, const QString& key, int value)
    {
        m_store->WriteInteger(section, key, value);
        m_store->Sync();
    }

    int stored(const QString& section, const QString& key) const
    {
        return m_store->ReadInteger(section, key, kMissing);
    }

    void createWindow()
    {
        m_window = std::make_unique<Tport>(*m_store);
        bus_protocol::AttachPort(m_window.get());
    }

    template<typename T>
    T* child(const char* name) const
    {
        return m_window->findChild<T*>(QString::fromLatin1(name));
    }

    QComboBox* combo(const char* name) const { return child<QComboBox>(name); }
    QTableWidget* grid() const { return child<QTableWidget>("str_tab"); }
    QTimer* timer() const { return m_window->findChild<QTimer*>(QStringLiteral("Timer1")); }

    // What the user does: picks an item, which runs the list's change handler.
    void choose(const char* name, int index)
    {
        QComboBox* box = combo(name);
        box->setCurrentIndex(index);
        emit box->activated(index);
    }

    QString cell(int address) const
    {
        const QTableWidgetItem* item = grid()->item(address / kColumns, address % kColumns);
        return item ? item->text() : QString();
    }

    // Whether the search timer runs, whether "Přerušit" is enabled, and
    // whether each control that a search disables is enabled.
    QList<bool> searchState() const
    {
        QList<bool> state{timer()->isActive(), child<QPushButton>("tl_prerusit")->isEnabled()};
        for (const char* name : {"tl_ok", "tl_cancel"})
            state.append(child<QPushButton>(name)->isEnabled());
        for (const char* name : {"cb_sa", "cb_da", "cb_com", "cb_baudrate"})
            state.append(combo(name)->isEnabled());
        return state;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_portDir.isValid());
        QVERIFY(m_configDir.isValid());
        qputenv("KV36_PORT_DIR", m_portDir.path().toLocal8Bit());
    }

    void init()
    {
        // A store file of each test's own.
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope,
                           m_configDir.filePath(QString::number(++m_storeCount)));
        m_store = std::make_unique<SettingsStore>();
        m_prompts = std::make_unique<ScriptedPrompts>();
        m_sim = startSim(1, 0);
        QVERIFY(m_sim);
    }

    void cleanup()
    {
        bus_protocol::AttachPort(nullptr);
        m_window.reset();
        m_prompts.reset();
        m_store.reset();
        m_sim2.reset();
        m_sim.reset();
    }

    void emptyStoreStartsOnCom1WithDefaults()
    {
        createWindow();
        m_window->FormCreate();
        QCOMPARE(combo("cb_sa")->currentText(), "0");
        QCOMPARE(combo("cb_da")->currentText(), "0");
        QCOMPARE(combo("cb_com")->currentText(), "COM 1");
        QCOMPARE(combo("cb_baudrate")->currentText(), "9600");
        QCOMPARE(int(bus_protocol::source_address), 0);
        QCOMPARE(int(bus_protocol::destination_address), 0);
        QCOMPARE(m_window->portNumber(), 1);
        QCOMPARE(m_window->baudRate(), 9600);
        QCOMPARE(bus_protocol::ProbeStation(), 1);

        QStringList rates;
        for (int i = 0; i < combo("cb_baudrate")->count(); ++i)
            rates.append(combo("cb_baudrate")->itemText(i));
        QCOMPARE(rates, QStringList({"110", "300", "600", "1200", "2400", "4800", "9600", "19200", "38400",
                                     "56000", "57600", "115200", "128000", "256000"}));

        m_window->show();
        QVERIFY(!QFileInfo::exists(m_store->location()));
        child<QPushButton>("tl_ok")->click();
        QVERIFY(!m_window->isVisible());
        QCOMPARE(m_window->result(), int(QDialog::Accepted));
        QVERIFY(QFileInfo::exists(m_store->location()));
        QCOMPARE(stored("ADRESA", "SA"), 0);
        QCOMPARE(stored("ADRESA", "DA"), 0);
        QCOMPARE(stored("PORT", "BAUDRATE"), 9600);
        QCOMPARE(stored("PORT", "COM"), 1);
    }

    void storedSettingsAreUsed()
    {
        m_sim2 = startSim(2, 5);
        QVERIFY(m_sim2);
        seed("ADRESA", "SA", 17);
        seed("ADRESA", "DA", 5);
        seed("PORT", "COM", 2);
        seed("PORT", "BAUDRATE", 19200);
        createWindow();
        m_window->FormCreate();
        QCOMPARE(combo("cb_sa")->currentIndex(), 17);
        QCOMPARE(combo("cb_da")->currentIndex(), 5);
        QCOMPARE(combo("cb_com")->currentIndex(), 2);
        QCOMPARE(combo("cb_baudrate")->currentText(), "19200");
        QCOMPARE(int(bus_protocol::source_address), 17);
        QCOMPARE(int(bus_protocol::destination_address), 5);
        QCOMPARE(bus_protocol::ProbeStation(), 1);
    }

    void storedPortZeroFailsAndTheWindowStillWorks()
    {
        seed("PORT", "COM", 0);
        createWindow();
        try {
            m_window->FormCreate();
            QFAIL("COM0 opened");
        } catch (const AppError& e) {
            QCOMPARE(e.message(), QStringLiteral("Sériový port COM0 nelze otevřít"));
        }
        QCOMPARE(combo("cb_com")->currentIndex(), 0);
        QCOMPARE(m_window->portNumber(), 0);
        QCOMPARE(bus_protocol::ProbeStation(), 0);

        m_window->show();
        choose("cb_com", 1);
        QCOMPARE(m_window->portNumber(), 1);
        QCOMPARE(bus_protocol::ProbeStation(), 1);
        m_window->close();
        QCOMPARE(stored("PORT", "COM"), 1);
    }

    // A port the list does not show is still a port; a rate or an address
    // the bus cannot use gives way to the default.
    void storedValueOutsideTheListIsKeptOnlyWhenMeaningful_data()
    {
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("list");
        QTest::addColumn<int>("simCom");
        QTest::addColumn<int>("used"); // what the link runs with, and what is stored again
        QTest::addColumn<int>("index");
        QTest::newRow("baud rate 14400") << "PORT"
                                         << "BAUDRATE" << 14400 << "cb_baudrate" << 1 << 9600 << 6;
        QTest::newRow("port 9") << "PORT"
                                << "COM" << 9 << "cb_com" << 9 << 9 << -1;
        QTest::newRow("PC address 300") << "ADRESA"
                                        << "SA" << 300 << "cb_sa" << 1 << 0 << 0;
        QTest::newRow("PC address -1") << "ADRESA"
                                       << "SA" << -1 << "cb_sa" << 1 << 0 << 0;
        QTest::newRow("device address 200") << "ADRESA"
                                            << "DA" << 200 << "cb_da" << 1 << 0 << 0;
    }

    void storedValueOutsideTheListIsKeptOnlyWhenMeaningful()
    {
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(int, value);
        QFETCH(QString, list);
        QFETCH(int, simCom);
        QFETCH(int, used);
        QFETCH(int, index);
        if (simCom != 1) {
            m_sim = startSim(simCom, 0);
            QVERIFY(m_sim);
        }
        seed(section, key, value);
        createWindow();
        m_window->FormCreate();
        QCOMPARE(combo(qPrintable(list))->currentIndex(), index);
        const QMap<QString, int> inUse{{"BAUDRATE", m_window->baudRate()},
                                       {"COM", m_window->portNumber()},
                                       {"SA", bus_protocol::source_address},
                                       {"DA", bus_protocol::destination_address}};
        QCOMPARE(inUse.value(key), used);
        QCOMPARE(bus_protocol::ProbeStation(), 1);

        m_window->show();
        QCOMPARE(combo(qPrintable(list))->currentIndex(), index);
        m_window->close();
        QCOMPARE(stored(section, key), used);
    }

    void choosingNoPortKeepsTheOpenPortAndStoresCom1()
    {
        createWindow();
        m_window->FormCreate();
        m_window->show();
        choose("cb_com", 0);
        QCOMPARE(m_window->portNumber(), 0);
        QCOMPARE(bus_protocol::ProbeStation(), 1);
        m_window->close();
        QCOMPARE(stored("PORT", "COM"), 1);
        QCOMPARE(m_window->portNumber(), 1);
        QCOMPARE(bus_protocol::ProbeStation(), 1);
    }

    void portChangeReleasesTheOldPortAndOpensTheNew()
    {
        m_sim2 = startSim(2, 3);
        QVERIFY(m_sim2);
        createWindow();
        m_window->FormCreate();
        m_window->show();
        choose("cb_da", 3);
        QCOMPARE(bus_protocol::ProbeStation(), 0); // COM1's station is at 0
        choose("cb_com", 2);
        QCOMPARE(m_window->portNumber(), 2);
        QCOMPARE(bus_protocol::ProbeStation(), 1);

        SerialLine other; // the open is exclusive: this works only if COM1 was closed
        other.setPortNumber(1);
        other.OpenPort(1);
    }

    void failedPortChangeShowsNoPortAndStoresCom1()
    {
        QVERIFY(blockPort(7));
        createWindow();
        m_window->FormCreate();
        m_window->show();
        try {
            choose("cb_com", 7);
            QFAIL("COM7 opened");
        } catch (const AppError& e) {
            QCOMPARE(e.message(), QStringLiteral("Sériový port COM7 nelze otevřít"));
        }
        QCOMPARE(combo("cb_com")->currentIndex(), 0);
        QCOMPARE(m_window->portNumber(), 0);
        QCOMPARE(bus_protocol::ProbeStation(), 0);
        m_window->close();
        QCOMPARE(stored("PORT", "COM"), 1);
    }

    void baudRateChange_data()
    {
        QTest::addColumn<bool>("portOpen");
        QTest::addColumn<QString>("error");
        QTest::newRow("open port") << true << QString();
        QTest::newRow("no port open") << false << "Nepodařila se reinicializace portu COM0";
    }

    void baudRateChange()
    {
        QFETCH(bool, portOpen);
        QFETCH(QString, error);
        if (!portOpen)
            seed("PORT", "COM", 0);
        createWindow();
        try {
            m_window->FormCreate();
        } catch (const AppError&) {
            QVERIFY(!portOpen);
        }
        m_window->show();
        const int item = combo("cb_baudrate")->findText("57600");
        QString raised;
        try {
            choose("cb_baudrate", item);
        } catch (const AppError& e) {
            raised = e.message();
        }
        QCOMPARE(raised, error);
        QCOMPARE(m_window->baudRate(), 57600);
        QCOMPARE(bus_protocol::ProbeStation(), portOpen ? 1 : 0);
        m_window->close();
        QCOMPARE(stored("PORT", "BAUDRATE"), 57600);
    }

    void addressChoicesReachTheProtocolAtOnce()
    {
        createWindow();
        m_window->FormCreate();
        m_window->show();
        choose("cb_sa", 126);
        choose("cb_da", 42);
        QCOMPARE(int(bus_protocol::source_address), 126);
        QCOMPARE(int(bus_protocol::destination_address), 42);
        QCOMPARE(m_window->pcAddress(), 126);
        QCOMPARE(m_window->deviceAddress(), 42);
        m_window->close();
        QCOMPARE(stored("ADRESA", "SA"), 126);
        QCOMPARE(stored("ADRESA", "DA"), 42);
    }

    void closingAsksOnlyForStornoAfterAChange_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("changed");
        QTest::addColumn<int>("questions");
        QTest::newRow("Storno, nothing changed") << "Storno" << false << 0;
        QTest::newRow("Esc, nothing changed") << "Esc" << false << 0;
        QTest::newRow("Storno after a change") << "Storno" << true << 1;
        QTest::newRow("Esc after a change") << "Esc" << true << 1;
        QTest::newRow("close box after a change") << "close box" << true << 0;
        QTest::newRow("OK after a change") << "OK" << true << 0;
    }

    void closingAsksOnlyForStornoAfterAChange()
    {
        QFETCH(QString, how);
        QFETCH(bool, changed);
        QFETCH(int, questions);
        createWindow();
        m_window->FormCreate();
        m_window->show();
        if (changed)
            choose("cb_sa", 9);
        if (how == "Storno")
            child<QPushButton>("tl_cancel")->click();
        else if (how == "Esc")
            QTest::keyClick(m_window.get(), Qt::Key_Escape);
        else if (how == "OK")
            child<QPushButton>("tl_ok")->click();
        else
            m_window->close();
        QVERIFY(!m_window->isVisible());
        QCOMPARE(m_window->result(), int(how == "OK" ? QDialog::Accepted : QDialog::Rejected));
        QCOMPARE(m_prompts->calls.size(), questions);
        for (const ScriptedPrompts::Call& call : m_prompts->calls) {
            QCOMPARE(call.text, kQuestion);
            QCOMPARE(call.caption, "Dotaz");
            QCOMPARE(call.icon, Prompts::Icon::Question);
            QCOMPARE(call.buttons, Prompts::Buttons::YesNo);
            QVERIFY(call.hasOwner);
        }
        // The question was answered No (or not asked): the change stays and is stored.
        QCOMPARE(stored("ADRESA", "SA"), changed ? 9 : 0);
    }

    void stornoAfterPortAndAddressChange_data()
    {
        QTest::addColumn<bool>("yes");
        QTest::addColumn<int>("port");
        QTest::addColumn<int>("address");
        QTest::newRow("Yes restores") << true << 1 << 0;
        QTest::newRow("No keeps") << false << 2 << 3;
    }

    void stornoAfterPortAndAddressChange()
    {
        QFETCH(bool, yes);
        QFETCH(int, port);
        QFETCH(int, address);
        m_sim2 = startSim(2, 3);
        QVERIFY(m_sim2);
        createWindow();
        m_window->FormCreate();
        m_window->show();
        choose("cb_com", 2);
        choose("cb_da", 3);
        QCOMPARE(bus_protocol::ProbeStation(), 1);

        m_prompts->answers = {yes ? Prompts::Answer::Yes : Prompts::Answer::No};
        child<QPushButton>("tl_cancel")->click();
        QCOMPARE(m_prompts->calls.size(), 1);
        QVERIFY(!m_window->isVisible());
        QCOMPARE(m_window->portNumber(), port);
        QCOMPARE(combo("cb_com")->currentIndex(), port);
        QCOMPARE(int(bus_protocol::destination_address), address);
        QCOMPARE(combo("cb_da")->currentIndex(), address);
        QCOMPARE(bus_protocol::ProbeStation(), 1); // each station answers only on its own port
        QCOMPARE(stored("PORT", "COM"), port);
        QCOMPARE(stored("ADRESA", "DA"), address);

        // Whichever the answer, the next showing starts from the state left behind.
        m_window->show();
        child<QPushButton>("tl_cancel")->click();
        QCOMPARE(m_prompts->calls.size(), 1);
    }

    void stornoRestoresAStoredPortOutsideTheList()
    {
        m_sim2 = startSim(9, 0);
        QVERIFY(m_sim2);
        seed("PORT", "COM", 9);
        createWindow();
        m_window->FormCreate();
        m_window->show();
        choose("cb_com", 1);
        m_prompts->answers = {Prompts::Answer::Yes};
        m_window->tl_cancelClick();
        QCOMPARE(combo("cb_com")->currentIndex(), -1);
        QCOMPARE(m_window->portNumber(), 9);
        QCOMPARE(stored("PORT", "COM"), 9);
    }

    void stornoClosesAlsoWhenTheRestoreFails()
    {
        m_sim2 = startSim(2, 0);
        QVERIFY(m_sim2);
        createWindow();
        m_window->FormCreate();
        m_window->show();
        choose("cb_com", 2);
        choose("cb_da", 4);
        QVERIFY(blockPort(1));

        m_prompts->answers = {Prompts::Answer::Yes};
        try {
            m_window->tl_cancelClick();
            QFAIL("COM1 reopened");
        } catch (const AppError& e) {
            QCOMPARE(e.message(), QStringLiteral("Sériový port COM1 nelze otevřít"));
        }
        QVERIFY(!m_window->isVisible());
        QCOMPARE(m_window->result(), int(QDialog::Rejected));
        QCOMPARE(combo("cb_com")->currentIndex(), 0);
        // The restore ended at the port: the address stays as changed.
        QCOMPARE(int(bus_protocol::destination_address), 4);
        QCOMPARE(stored("ADRESA", "DA"), 4);
        QCOMPARE(stored("PORT", "COM"), 1);
    }

    void showingTakesTheAddressTheProtocolUses()
    {
        createWindow();
        m_window->FormCreate();
        m_window->show();
        m_window->close();
        bus_protocol::SetDestinationAddress(7); // as after writing the regulator's own address
        m_window->show();
        QCOMPARE(combo("cb_da")->currentIndex(), 7);
        QCOMPARE(m_window->deviceAddress(), 7);
        child<QPushButton>("tl_cancel")->click();
        QVERIFY(m_prompts->calls.isEmpty());
        QCOMPARE(stored("ADRESA", "DA"), 7);
    }

    void searchFindsTheStationAtItsAddress()
    {
        QCOMPARE(m_sim->command("address 5"), "OK");
        seed("ADRESA", "DA", 9);
        createWindow();
        m_window->FormCreate();
        m_window->show();
        QList<int> probed;
        m_window->line().setTrafficTap([&](SerialLine::Direction d, auto, const QByteArray& bytes) {
            if (d == SerialLine::Direction::Tx)
                probed.append(uint8_t(bytes.at(1)));
        });

        child<QPushButton>("tl_najit")->click();
        QCOMPARE(searchState(), kSearching);
        QCOMPARE(timer()->interval(), 100);
        timer()->stop(); // the ticks are driven by hand below

        // Silent addresses wait out the read time-out; past the station the
        // line goes dead, so the rest of the walk fails at once.
        for (int address = 0; address < kAddresses; ++address) {
            if (address == 7)
                m_sim->kill();
            m_window->Timer1Timer();
            QCOMPARE(grid()->currentRow(), address / kColumns);
            QCOMPARE(grid()->currentColumn(), address % kColumns);
            QCOMPARE(int(bus_protocol::GetDestinationAddress()), 9);
            if (address < 7) { // one probe a tick, sent to the address of the tick
                QCOMPARE(probed.size(), address + 1);
                QCOMPARE(probed.last(), address);
            }
        }
        QCOMPARE(searchState(), kIdle);
        for (int address = 0; address < kAddresses; ++address)
            QCOMPARE(cell(address), address == 5 ? "5" : " ");
        QVERIFY(!grid()->item(7, 15)); // the broadcast address has no cell of its own
        QCOMPARE(m_window->deviceAddress(), 9);
    }

    void stopKeepsWhatWasFoundAndANewSearchStartsClean()
    {
        QCOMPARE(m_sim->command("address 1"), "OK");
        createWindow();
        m_window->FormCreate();
        m_window->show();
        child<QPushButton>("tl_najit")->click();
        QTRY_COMPARE_WITH_TIMEOUT(cell(1), "1", 5000);
        child<QPushButton>("tl_prerusit")->click();
        QCOMPARE(searchState(), kIdle);
        const int reached = grid()->currentColumn();
        QTest::qWait(300);
        QCOMPARE(grid()->currentColumn(), reached);
        QCOMPARE(cell(0), " ");
        QCOMPARE(cell(1), "1");
        QCOMPARE(cell(kAddresses - 1), " ");

        child<QPushButton>("tl_najit")->click();
        for (int address = 0; address < kAddresses; ++address)
            QCOMPARE(cell(address), " ");
        QTRY_COMPARE_WITH_TIMEOUT(cell(1), "1", 5000);
        QCOMPARE(grid()->currentRow(), 0);
        child<QPushButton>("tl_prerusit")->click();
        QCOMPARE(int(bus_protocol::GetDestinationAddress()), 0);
    }

    void searchWithNoPortLeavesTheTableBlank()
    {
        seed("PORT", "COM", 0);
        createWindow();
        QVERIFY_THROWS_EXCEPTION(AppError, m_window->FormCreate());
        m_window->show();
        child<QPushButton>("tl_najit")->click();
        timer()->stop();
        for (int address = 0; address < kAddresses; ++address)
            m_window->Timer1Timer();
        QCOMPARE(searchState(), kIdle);
        for (int address = 0; address < kAddresses; ++address)
            QCOMPARE(cell(address), " ");
    }

    void closingStopsASearch()
    {
        createWindow();
        m_window->FormCreate();
        m_window->show();
        child<QPushButton>("tl_najit")->click();
        QTest::keyClick(m_window.get(), Qt::Key_Escape); // Storno is disabled: nothing happens
        QVERIFY(m_window->isVisible());
        QCOMPARE(searchState(), kSearching);

        m_window->close();
        QVERIFY(!m_window->isVisible());
        QCOMPARE(searchState(), kIdle);
        QCOMPARE(stored("PORT", "COM"), 1);
        m_window->show();
        QCOMPARE(searchState(), kIdle);
    }

    void layoutFollowsTheDesign()
    {
        createWindow();
        QCOMPARE(m_window->windowTitle(), "Komunikační port");
        QCOMPARE(m_window->size(), QSize(475, 285));
        QCOMPARE(m_window->minimumSize(), m_window->maximumSize());
        QVERIFY(child<QPushButton>("tl_ok")->isDefault());
        QCOMPARE(grid()->rowCount(), 8);
        QCOMPARE(grid()->columnCount(), kColumns);
        QVERIFY(!grid()->isEnabled());
        QCOMPARE(grid()->focusPolicy(), Qt::NoFocus);
        const QList<QWidget*> controls = m_window->findChildren<QWidget*>(QRegularExpression("^(tl|cb|str)_"));
        QCOMPARE(controls.size(), 10); // with "Porty v počítači..." beside the port list
        for (const QWidget* w : controls)
            QVERIFY2(!w->accessibleName().isEmpty(), qPrintable(w->objectName()));
        QCOMPARE(combo("cb_com")->count(), 9);
        QCOMPARE(combo("cb_da")->count(), kAddresses);
        QCOMPARE(combo("cb_sa")->itemText(126), "126");
    }
};

QTEST_MAIN(TestUnitPort)
#include "tst_unit_port.moc"
