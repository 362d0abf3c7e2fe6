// The regulator settings window against the simulator on a real
// pseudo-terminal: the connection check and automatic read, the full read
// and write, the EEPROM store and the weekly programme's read and write.
// Dialogs are answered through the prompts seam; what reaches the standard
// error box goes through the application object as in the program.
#include "app_test_main.h"
#include "UnitMenuMod.h"
#include "bus_protocol.h"
#include "param_record.h"
#include "scripted_prompts.h"
#include "serial_line.h"
#include "sim_process.h"
#include "week_programme.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QProgressBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <bit>
#include <functional>
#include <memory>

namespace {

const QLocale kCzech(QLocale::Czech, QLocale::Czechia);
const QLocale kEnglish(QLocale::English, QLocale::UnitedStates);
const QString kNoConnection = QStringLiteral("Nebylo navázáno spojení s regulátorem");
const QString kReadError = QStringLiteral("Chyba při čtení dat z regulátoru");
const QString kWriteError = QStringLiteral("Chyba při zápisu");
const QString kRangeError = QStringLiteral("Chyba, špatně zadaný rozsah dat");
const QString kFloatMessage = QStringLiteral("Je nutné zadávat pouze čísla nebo desetinnou čárku");
const QString kWholeMessage = QStringLiteral("Je nutné zadávat pouze čísla");
// What a stopped write says after its message about the tables before it.
QString pagesWritten(const QString& pages)
{
    return "\n\nHodnoty těchto karet už jsou v pracovní paměti (RAM) regulátoru: " + pages +
           ".\nDo EEPROM se nic neuložilo.";
}
constexpr uint8_t kReadService = 1;
constexpr uint8_t kWriteService = 2;

// A table's bytes as the regulator keeps them: big-endian, no gaps.
class Wire {
public:
    Wire& f(float value)
    {
        const auto bits = std::bit_cast<uint32_t>(value);
        for (int shift = 24; shift >= 0; shift -= 8)
            m_bytes.append(char(bits >> shift));
        return *this;
    }
    Wire& i16(int value)
    {
        m_bytes.append(char(value >> 8)).append(char(value));
        return *this;
    }
    Wire& b(int value)
    {
        m_bytes.append(char(value));
        return *this;
    }
    operator QByteArray() const { return m_bytes; }

private:
    QByteArray m_bytes;
};

QByteArray dayBytes(int day)
{
    Wire w;
    w.f(day - 3.0f).f(0.5f * day).f(-12.25f).f(10.0f + day);
    w.b(5 + day).b(8).b(16).b(22);
    w.b(5 * day).b(30).b(45).b(59);
    return w;
}

QString versionHex(const QString& text) { return QString::fromLatin1(text.toLatin1().toHex()); }

// A request the program sent: its destination, service and table.
struct Sent {
    int destination;
    int service;
    int table;
};

// A prompts double that runs an action at each message, as a user who does
// something while a box is open.
class PromptsWithAction : public ScriptedPrompts {
public:
    std::function<void()> action;
    Answer message(const QString& text, const QString& caption, Icon icon, Buttons buttons,
                   QWidget* owner) override
    {
        const Answer answer = ScriptedPrompts::message(text, caption, icon, buttons, owner);
        if (action)
            action();
        return answer;
    }
};

} // namespace

class TestMenuExchange : public QObject {
    Q_OBJECT

    QTemporaryDir m_portDir;
    std::unique_ptr<SimProcess> m_sim;
    SerialLine m_line;
    QList<Sent> m_sent;
    std::unique_ptr<Tmenu_qzr17> m_window;

    template <typename T>
    T* control(const char* name)
    {
        T* found = m_window->findChild<T*>(QString::fromLatin1(name));
        if (!found)
            qFatal("no control %s", name);
        return found;
    }
    QLineEdit* edit(const char* name) { return control<QLineEdit>(name); }
    QComboBox* combo(const char* name) { return control<QComboBox>(name); }
    QTabWidget* pages() { return control<QTabWidget>("pgc"); }
    QTabBar* days() { return control<QTabBar>("TabControl1"); }

    QList<int> tablesSent(int service) const
    {
        QList<int> tables;
        for (const Sent& s : m_sent)
            if (s.service == service)
                tables.append(s.table);
        return tables;
    }

    void command(const QString& line) { QCOMPARE(m_sim->command(line), QStringLiteral("OK")); }

    void setVersion(const QString& text) { command("version-hex " + versionHex(text)); }

    void drainEvents()
    {
        while (!m_sim->waitForEvent(QString(), 0).isEmpty()) {
        }
    }

    // Distinct in-range values in every table the window reads.
    void loadRegulatorTables()
    {
        QVERIFY(m_sim->setTable(0, Wire().f(81.5f).f(33.25f)));
        QVERIFY(m_sim->setTable(1, Wire().b(2).b(0).f(-20.5f).f(120.0f)));
        QVERIFY(m_sim->setTable(2, Wire().b(0).b(2).f(-40.0f).f(60.75f)));
        QVERIFY(m_sim->setTable(3, Wire().f(-7.5f).f(6.25f).f(2.5f)));
        QVERIFY(m_sim->setTable(
            4, Wire().f(-2.5f).f(3.5f).f(-6.0f).f(4.5f).b(1).i16(300).i16(3).i16(7).i16(5)));
        QVERIFY(m_sim->setTable(5, Wire().b(1).b(2).b(0).b(1).b(2)));
        QVERIFY(m_sim->setTable(6, Wire().i16(11).i16(1234).b(1).b(0)));
        QVERIFY(m_sim->setTable(7, Wire().b(0)));
        QVERIFY(m_sim->setTable(15, Wire().b(0).b(5).b(14).b(3).b(7).b(12).b(26)));
        QVERIFY(m_sim->setTable(17, Wire().f(25.5f).f(130.0f).f(12.75f)));
        QVERIFY(m_sim->setTable(19, Wire().b(1).b(3).f(-10.0f).f(90.5f)));
        QVERIFY(m_sim->setTable(20, Wire().b(1).b(0)));
        for (int day = 0; day < 7; ++day)
            QVERIFY(m_sim->setTable(8 + day, dayBytes(day)));
    }

    // Runs the tick armed by a showing or by the creation step.
    void runTimerTick()
    {
        auto* timer = m_window->findChild<QTimer*>("Timer1");
        QVERIFY(timer->isActive());
        QTRY_VERIFY(!timer->isActive());
    }

    void checkShownOnPages(bool pointLocale)
    {
        const QList<std::pair<const char*, QString>> texts = {
            {"ed_sp0", "81,50"},       {"ed_sp20", "33,25"},       {"ed_strs1", "-20,50"},
            {"ed_ends1", "120,00"},    {"ed_strs2", "-40,00"},     {"ed_ends2", "60,75"},
            {"ed_al_low", "-7,50"},    {"ed_al_high", "6,25"},     {"ed_al_hyst", "2,50"},
            {"ed_prvni_low", "-2,50"}, {"ed_prvni_high", "3,50"},  {"ed_druhy_low", "-6,00"},
            {"ed_druhy_high", "4,50"}, {"ed_dser", "300"},         {"ed_dead", "3"},
            {"ed_f2", "7"},            {"ed_heslo", "1234"},       {"ed_adresa", "0"},
            {"ed_realmin", "5"},       {"ed_realhod", "14"},       {"ed_den", "7"},
            {"ed_rok", "26"},          {"ed_pb", "25,50"},         {"ed_ti", "130,00"},
            {"ed_di", "12,75"},        {"ed_astr", "-10,00"},      {"ed_aend", "90,50"},
            {"ed_utlum1", "-3,00"},    {"ed_utlum2", "0,00"},      {"ed_utlum3", "-12,25"},
            {"ed_utlum4", "10,00"},    {"ed_hod1", "5"},           {"ed_hod4", "22"},
            {"ed_min1", "0"},          {"ed_min2", "30"},          {"ed_min4", "59"}};
        for (auto [name, text] : texts) {
            if (pointLocale)
                text.replace(u',', u'.');
            QCOMPARE(edit(name)->text(), text);
        }
        const QList<std::pair<const char*, QString>> items = {
            {"cb_type1", "0-5V"},
            {"cb_dp1", "0000."},
            {"cb_type2", "0-20mA"},
            {"cb_dp2", "00.00"},
            {"cb_rego", "Třístavová regulce (PID)"},
            {"cb_tpid", "1,0 sekundy"},
            {"cb_rele1", "Při poruše zapne (ON)"},
            {"cb_rele2", "Při poruše vypne (OFF)"},
            {"cb_rele3", "Bez funkce (no)"},
            {"cb_yout", "Při poruše 20 mA"},
            {"cb_filtr", "11"},
            {"cb_lock", "zamčena"},
            {"cb_denty", "Středa"},
            {"cb_mesic", "Prosinec"},
            {"cb_a_in", "Naměřená hodnota"},
            {"cb_aout", "20-4mA"},
            {"cb_alarm_lo", "Naměřená vstup 2"},
            {"cb_alarm_hi", "Naměřená vstup 1"}};
        for (const auto& [name, item] : items)
            QCOMPARE(combo(name)->currentText(), item);
        QCOMPARE(control<QWidget>("Panel1")->property("text").toString(), QStringLiteral("95 "));
    }

    void typeParameters(const QLocale& locale)
    {
        const auto number = [&](double value) { return locale.toString(value, 'f', 2); };
        edit("ed_sp0")->setText(number(78.5));
        edit("ed_sp20")->setText(number(31.25));
        combo("cb_type1")->setCurrentIndex(0);
        combo("cb_dp1")->setCurrentIndex(2);
        edit("ed_strs1")->setText(number(-12.5));
        edit("ed_ends1")->setText(number(99.75));
        combo("cb_type2")->setCurrentIndex(2);
        combo("cb_dp2")->setCurrentIndex(0);
        edit("ed_strs2")->setText("-30");
        edit("ed_ends2")->setText("45");
        edit("ed_al_low")->setText(number(-4.5));
        edit("ed_al_high")->setText(number(7.5));
        edit("ed_al_hyst")->setText(number(1.5));
        edit("ed_prvni_low")->setText(number(-1.5));
        edit("ed_prvni_high")->setText("3");
        edit("ed_druhy_low")->setText("-3");
        edit("ed_druhy_high")->setText(number(1.5));
        combo("cb_rego")->setCurrentIndex(0);
        edit("ed_dser")->setText("1000");
        edit("ed_dead")->setText("10");
        edit("ed_f2")->setText("16");
        combo("cb_tpid")->setCurrentIndex(49);
        for (const char* name : {"cb_rele1", "cb_rele2", "cb_rele3", "cb_rele4"})
            combo(name)->setCurrentIndex(2);
        combo("cb_yout")->setCurrentIndex(1);
        combo("cb_filtr")->setCurrentIndex(15);
        edit("ed_heslo")->setText("9999");
        combo("cb_lock")->setCurrentIndex(0);
        edit("ed_realmin")->setText("5");
        edit("ed_realhod")->setText("14");
        combo("cb_denty")->setCurrentIndex(0);
        edit("ed_den")->setText("7");
        combo("cb_mesic")->setCurrentIndex(11);
        edit("ed_rok")->setText("26");
        edit("ed_pb")->setText(number(-250.5));
        edit("ed_ti")->setText(number(0.01));
        edit("ed_di")->setText("9999");
        combo("cb_a_in")->setCurrentIndex(0);
        combo("cb_aout")->setCurrentIndex(1);
        edit("ed_astr")->setText(number(-5.25));
        edit("ed_aend")->setText(number(250.0));
        combo("cb_alarm_lo")->setCurrentIndex(2);
        combo("cb_alarm_hi")->setCurrentIndex(0);
    }

private slots:
    void initTestCase()
    {
        qputenv("KV36_PORT_DIR", m_portDir.path().toLocal8Bit());
        m_sim = std::make_unique<SimProcess>(QStringList{"--com", "1", "--firmware-date", "03.10.2008"});
        QVERIFY(m_sim->start());
        QTRY_VERIFY(QFileInfo::exists(m_portDir.filePath("COM1")));
        m_line.setPortNumber(1);
        m_line.OpenPort(1);
        m_line.setTrafficTap([this](SerialLine::Direction direction, auto, const QByteArray& bytes) {
            if (direction != SerialLine::Direction::Tx || bytes.isEmpty())
                return;
            const bool sd2 = uint8_t(bytes[0]) == 0x68 && bytes.size() > 8;
            m_sent.append(sd2 ? Sent{uint8_t(bytes[4]), uint8_t(bytes[7]), uint8_t(bytes[8])}
                              : Sent{uint8_t(bytes[1]), -1, -1});
        });
        bus_protocol::AttachPort(&m_line);
    }

    void cleanupTestCase() { bus_protocol::AttachPort(nullptr); }

    void init()
    {
        QLocale::setDefault(kCzech);
        command("silent off");
        command("corrupt-checksum 0");
        command("no-version off");
        command("refuse-eeprom off");
        command("address 0");
        for (const int table : {0, 3, 7, 11})
            command(QStringLiteral("accept %1").arg(table));
        setVersion("QZR17-5 FW 03.10.2008");
        loadRegulatorTables();
        // Each case on a line that has not failed yet.
        bus_protocol::AttachPort(&m_line);
        bus_protocol::SetDestinationAddress(0);
        param_record = ParamRecord{};
        m_window = std::make_unique<Tmenu_qzr17>();
        drainEvents();
        m_sent.clear();
    }

    void cleanup()
    {
        m_window.reset();
        QLocale::setDefault(kCzech);
    }

    void showingReadsEverything_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::newRow("decimal comma") << "cs";
        QTest::newRow("decimal point") << "en";
    }

    void showingReadsEverything()
    {
        QFETCH(QString, locale);
        QLocale::setDefault(locale == "cs" ? kCzech : kEnglish);
        ScriptedPrompts prompts;
        m_window->show();
        runTimerTick();
        QCOMPARE(prompts.texts(), QStringList());
        QCOMPARE(m_window->new_firmware, 1);
        checkShownOnPages(locale != "cs");
        for (int day = 0; day < 7; ++day) {
            const day_record& d = param_record.days[day];
            QCOMPARE(d.shift1, day - 3.0f);
            QCOMPARE(int(d.hour1), 5 + day);
            QCOMPARE(int(d.minute1), 5 * day);
        }
        auto* bar = control<QProgressBar>("bar_load");
        QCOMPARE(bar->value(), 100);
        QVERIFY(bar->isHidden());
    }

    void silentRegulatorIsReportedAndNothingRead()
    {
        command("silent on");
        ScriptedPrompts prompts;
        m_window->new_firmware = 1;
        param_record.INA1 = 1;
        m_window->show();
        runTimerTick();
        QCOMPARE(prompts.texts(), QStringList{kNoConnection});
        QCOMPARE(prompts.calls[0].caption, QStringLiteral("Komunikace"));
        QCOMPARE(prompts.calls[0].icon, Prompts::Icon::Error);
        QVERIFY(!prompts.calls[0].hasOwner);
        QCOMPARE(tablesSent(kReadService), QList<int>());
        // The alarm page shows the firmware of the last successful check.
        QCOMPARE(m_window->new_firmware, 1);
        QCOMPARE(control<QWidget>("Label25")->property("text").toString(),
                 QStringLiteral("Nastavení hranice ALARMU 1"));
        QVERIFY(combo("cb_alarm_lo")->isEnabled());
        QCOMPARE(combo("cb_alarm_lo")->currentIndex(), 1);
        QCOMPARE(edit("ed_sp0")->text(), QStringLiteral("80"));
    }

    void firmwareDateDecidesOnTable20_data()
    {
        QTest::addColumn<QString>("version");
        QTest::addColumn<int>("newFirmware");
        QTest::newRow("03.10.2008") << "QZR17-5 FW 03.10.2008" << 1;
        QTest::newRow("02.10.2008") << "QZR17-5 FW 02.10.2008" << 0;
        QTest::newRow("15.03.2012") << "QZR17-5 FW 15.03.2012" << 1;
        QTest::newRow("31.12.2007") << "QZR17-5 FW 31.12.2007" << 0;
        QTest::newRow("no version") << "" << 0;
    }

    void firmwareDateDecidesOnTable20()
    {
        QFETCH(QString, version);
        QFETCH(int, newFirmware);
        if (version.isEmpty())
            command("no-version on");
        else
            setVersion(version);
        ScriptedPrompts prompts;
        m_window->FormCreate();
        m_window->new_firmware = 1 - newFirmware;
        runTimerTick();
        QCOMPARE(m_window->new_firmware, newFirmware);
        QList<int> read = {0, 1, 2, 3, 4, 5, 6, 7, 15, 17, 19};
        if (newFirmware)
            read.append(20);
        // A version that did not come leaves the line in doubt: each table is read twice.
        QList<int> sent = tablesSent(kReadService);
        sent.erase(std::unique(sent.begin(), sent.end()), sent.end());
        QCOMPARE(sent, read + QList<int>({8, 9, 10, 11, 12, 13, 14}));

        m_sent.clear();
        control<QCheckBox>("check_time")->setChecked(true);
        m_window->tl_zapisClick();
        QList<int> written = {0, 1, 2, 3, 4, 5, 6, 15, 17, 19};
        if (newFirmware)
            written.append(20);
        written.append(7);
        QCOMPARE(tablesSent(kWriteService), written);
        QCOMPARE(prompts.texts(), QStringList());
    }

    void unreadableFirmwareDateIsAnError_data()
    {
        QTest::addColumn<QString>("version");
        QTest::addColumn<QString>("error");
        QTest::newRow("letters in the day") << "QZR17-5 FW ab.10.2008" << "'ab' is not a valid integer value.";
        QTest::newRow("letter in the year") << "QZR17-5 FW 03.10.2o08" << "'2o08' is not a valid integer value.";
        QTest::newRow("short text") << "QZR17-5" << "'' is not a valid integer value.";
        QTest::newRow("no such day") << "QZR17-5 FW 31.02.2008" << "Invalid argument to date encode.";
        QTest::newRow("month 13") << "QZR17-5 FW 01.13.2008" << "Invalid argument to date encode.";
    }

    void unreadableFirmwareDateIsAnError()
    {
        QFETCH(QString, version);
        QFETCH(QString, error);
        setVersion(version);
        ScriptedPrompts prompts;
        m_window->FormCreate();
        m_window->new_firmware = 1;
        runTimerTick();
        QCOMPARE(prompts.texts(), QStringList{error});
        QCOMPARE(prompts.calls[0].caption, QStringLiteral("KV-36"));
        QCOMPARE(prompts.calls[0].icon, Prompts::Icon::Error);
        QCOMPARE(tablesSent(kReadService), QList<int>());
        QCOMPARE(m_window->new_firmware, 1);
        // The buttons still read.
        m_window->tl_cistClick();
        QCOMPARE(tablesSent(kReadService).size(), 12);
        QCOMPARE(edit("ed_sp0")->text(), QStringLiteral("81,50"));
    }

    void fullWriteSendsWhatWasTyped_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::newRow("decimal comma") << "cs";
        QTest::newRow("decimal point") << "en";
    }

    void fullWriteSendsWhatWasTyped()
    {
        QFETCH(QString, locale);
        const QLocale typing = locale == "cs" ? kCzech : kEnglish;
        QLocale::setDefault(typing);
        ScriptedPrompts prompts;
        m_window->new_firmware = 1;
        m_window->tl_cistClick();
        typeParameters(typing);
        control<QCheckBox>("check_time")->setChecked(true);
        m_sent.clear();
        m_window->tl_zapisClick();
        QCOMPARE(prompts.texts(), QStringList());
        QCOMPARE(tablesSent(kWriteService), (QList<int>{0, 1, 2, 3, 4, 5, 6, 15, 17, 19, 20, 7}));
        QCOMPARE(m_sim->table(0), QByteArray(Wire().f(78.5f).f(31.25f)));
        QCOMPARE(m_sim->table(1), QByteArray(Wire().b(0).b(2).f(-12.5f).f(99.75f)));
        QCOMPARE(m_sim->table(2), QByteArray(Wire().b(2).b(0).f(-30.0f).f(45.0f)));
        QCOMPARE(m_sim->table(3), QByteArray(Wire().f(-4.5f).f(7.5f).f(1.5f)));
        QCOMPARE(m_sim->table(4),
                 QByteArray(Wire().f(-1.5f).f(3.0f).f(-3.0f).f(1.5f).b(0).i16(1000).i16(10).i16(16).i16(50)));
        QCOMPARE(m_sim->table(5), QByteArray(Wire().b(2).b(2).b(2).b(2).b(1)));
        QCOMPARE(m_sim->table(6), QByteArray(Wire().i16(15).i16(9999).b(0).b(0)));
        // The clock ticks from what was written: seconds start at 0.
        QCOMPARE(m_sim->table(15).mid(1), QByteArray(Wire().b(5).b(14).b(1).b(7).b(12).b(26)));
        QCOMPARE(m_sim->table(17), QByteArray(Wire().f(-250.5f).f(0.01f).f(9999.0f)));
        QCOMPARE(m_sim->table(19), QByteArray(Wire().b(0).b(1).f(-5.25f).f(250.0f)));
        QCOMPARE(m_sim->table(20), QByteArray(Wire().b(2).b(0)));
        QCOMPARE(m_sim->table(7), QByteArray(Wire().b(0)));
        QVERIFY(control<QProgressBar>("bar_load")->isHidden());
    }

    void clockIsNotTouchedUnlessEnabled()
    {
        ScriptedPrompts prompts;
        m_window->tl_cistClick();
        edit("ed_realmin")->setText("abc");
        m_sent.clear();
        m_window->tl_zapisClick();
        QCOMPARE(prompts.texts(), QStringList());
        QCOMPARE(tablesSent(kWriteService), (QList<int>{0, 1, 2, 3, 4, 5, 6, 17, 19, 7}));
        QCOMPARE(edit("ed_realmin")->text(), QStringLiteral("abc"));
        QCOMPARE(int(param_record.MIN), 5);
    }

    void newAddressTakesEffectAfterTable7()
    {
        ScriptedPrompts prompts;
        m_window->tl_cistClick();
        edit("ed_adresa")->setText("5");
        m_sent.clear();
        m_window->tl_zapisClick();
        QCOMPARE(m_sent.last().table, 7);
        QCOMPARE(m_sent.last().destination, 0);
        QCOMPARE(bus_protocol::GetDestinationAddress(), uint8_t(5));
        m_sent.clear();
        m_window->tl_cistClick();
        QCOMPARE(prompts.texts(), QStringList());
        QCOMPARE(m_sent.size(), 11);
        for (const Sent& s : m_sent)
            QCOMPARE(s.destination, 5);
        QCOMPARE(edit("ed_adresa")->text(), QStringLiteral("5"));
    }

    // The regulator keeps its address when it refuses the new one; the
    // exchanges that follow still reach it.
    void refusedAddressKeepsTheDestination()
    {
        ScriptedPrompts prompts;
        m_window->tl_cistClick();
        edit("ed_adresa")->setText("200");
        m_window->tl_zapisClick();
        QVERIFY(!m_sim->waitForEvent("REFUSED 7 2").isEmpty());
        QCOMPARE(prompts.texts(),
                 QStringList{kRangeError + pagesWritten("Ekviterm, Snímač 1, Snímač 2, Alarm, "
                                                        "Regulace ONOF, REGO, Error, Ostatní, PID, DACO")});
        QCOMPARE(pages()->currentWidget()->objectName(), QStringLiteral("ostat"));
        QCOMPARE(bus_protocol::GetDestinationAddress(), uint8_t(0));
        QCOMPARE(bus_protocol::ProbeStation(), 1);
    }

    void refusalStopsTheWriteAndShowsItsPage()
    {
        command("refuse 3");
        ScriptedPrompts prompts;
        m_window->tl_cistClick();
        pages()->setCurrentIndex(0);
        edit("ed_sp0")->setText("70");
        edit("ed_al_low")->setText("-9");
        edit("ed_prvni_low")->setText("-11");
        m_sent.clear();
        m_window->tl_zapisClick();
        QVERIFY(!m_sim->waitForEvent("REFUSED 3 2").isEmpty());
        QCOMPARE(tablesSent(kWriteService), (QList<int>{0, 1, 2, 3}));
        QCOMPARE(prompts.texts(), QStringList{kRangeError + pagesWritten("Ekviterm, Snímač 1, Snímač 2")});
        QCOMPARE(prompts.calls[0].caption, QStringLiteral("Komunikace"));
        QCOMPARE(prompts.calls[0].icon, Prompts::Icon::Error);
        QVERIFY(!prompts.calls[0].hasOwner);
        QCOMPARE(pages()->currentWidget()->objectName(), QStringLiteral("alarm"));
        QCOMPARE(m_sim->table(0), QByteArray(Wire().f(70.0f).f(33.25f)));
        QCOMPARE(m_sim->table(3), QByteArray(Wire().f(-7.5f).f(6.25f).f(2.5f)));
        QCOMPARE(m_sim->table(4).left(4), QByteArray(Wire().f(-2.5f)));
        QVERIFY(control<QProgressBar>("bar_load")->isHidden());
    }

    void silenceInTheMiddleOfTheWriteIsAWriteError()
    {
        PromptsWithAction prompts;
        m_window->tl_cistClick();
        // The regulator falls silent while the box about table 3's edit is open.
        edit("ed_al_low")->setText("abc");
        prompts.action = [this] { m_sim->command("silent on"); };
        m_sent.clear();
        m_window->tl_zapisClick();
        QCOMPARE(prompts.texts(),
                 (QStringList{kFloatMessage, kWriteError + pagesWritten("Ekviterm, Snímač 1, Snímač 2")}));
        QCOMPARE(tablesSent(kWriteService), (QList<int>{0, 1, 2, 3}));
        QVERIFY(!m_sim->waitForEvent("WROTE 2").isEmpty());
        QVERIFY(m_sim->waitForEvent("WROTE 3", 100).isEmpty());
    }

    // A refusal leaves its code behind; a later write that gets no answer at
    // all is a write error, not a refusal.
    void noAnswerAfterARefusalIsAWriteError()
    {
        command("refuse 0");
        ScriptedPrompts prompts;
        m_window->tl_cistClick();
        m_window->tl_zapisClick();
        command("accept 0");
        command("silent on");
        pages()->setCurrentIndex(5);
        m_window->tl_zapisClick();
        QCOMPARE(prompts.texts(), (QStringList{kRangeError, kWriteError}));
        QCOMPARE(pages()->currentWidget()->objectName(), QStringLiteral("cas"));
    }

    void failedReadIsReportedOnceAfterEveryTable()
    {
        command("corrupt-checksum 1");
        ScriptedPrompts prompts;
        m_window->new_firmware = 1;
        m_window->tl_cistClick();
        QCOMPARE(tablesSent(kReadService), (QList<int>{0, 1, 2, 3, 4, 5, 6, 7, 15, 17, 19, 20}));
        QCOMPARE(prompts.texts(), QStringList{kReadError});
        QVERIFY(!prompts.calls[0].hasOwner);
        // The pages show the record, which no failed read has changed.
        QCOMPARE(edit("ed_sp0")->text(), QStringLiteral("0,00"));
        QVERIFY(control<QProgressBar>("bar_load")->isHidden());
    }

    void eepromStoreReportsOnlyAFailure_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<bool>("stored");
        QTest::newRow("acknowledged") << QString() << true;
        QTest::newRow("no answer") << "silent on" << false;
        QTest::newRow("negative acknowledgement") << "refuse-eeprom on" << false;
    }

    void eepromStoreReportsOnlyAFailure()
    {
        QFETCH(QString, fault);
        QFETCH(bool, stored);
        if (!fault.isEmpty())
            command(fault);
        ScriptedPrompts prompts;
        m_window->tl_eepromClick();
        QCOMPARE(prompts.texts(), stored ? QStringList() : QStringList{kWriteError});
        if (!stored) {
            QCOMPARE(prompts.calls[0].caption, QStringLiteral("Komunikace"));
            QCOMPARE(prompts.calls[0].icon, Prompts::Icon::Error);
            QVERIFY(!prompts.calls[0].hasOwner);
        }
        QCOMPARE(m_sent.size(), 1);
        QCOMPARE(m_sim->waitForEvent("EEPROM", stored ? 2000 : 100).isEmpty(), !stored);
        QVERIFY(control<QProgressBar>("bar_load")->isHidden());
    }

    // A table or day whose read failed holds values that never came from the
    // regulator; writing them could wipe its settings.
    void writeOfValuesNotReadAsksFirst_data()
    {
        QTest::addColumn<bool>("week");
        QTest::addColumn<int>("failing");
        QTest::addColumn<bool>("yes");
        QTest::addColumn<QString>("question");
        QTest::addColumn<QList<int>>("written");
        const QString pages = QStringLiteral("Z regulátoru nebyly načteny tyto stránky: Ostatní.\n"
                                             "Opravdu chceš zapsat i jejich hodnoty?");
        const QString days = QStringLiteral("Z regulátoru nebyly načteny tyto dny: Středa.\n"
                                            "Opravdu chceš zapsat i jejich program?");
        QTest::newRow("full write, No") << false << 6 << false << pages << QList<int>{};
        QTest::newRow("full write, Yes") << false << 6 << true << pages << QList<int>{0, 1, 2, 3, 4, 5, 6, 17, 19, 20, 7};
        QTest::newRow("full write, all read") << false << -1 << false << QString() << QList<int>{0, 1, 2, 3, 4, 5, 6, 17, 19, 20, 7};
        QTest::newRow("week write, No") << true << 10 << false << days << QList<int>{};
        QTest::newRow("week write, Yes") << true << 10 << true << days << QList<int>{8, 9, 10, 11, 12, 13, 14};
        QTest::newRow("week write, all read") << true << -1 << false << QString() << QList<int>{8, 9, 10, 11, 12, 13, 14};
    }

    void writeOfValuesNotReadAsksFirst()
    {
        QFETCH(bool, week);
        QFETCH(int, failing);
        QFETCH(bool, yes);
        QFETCH(QString, question);
        QFETCH(QList<int>, written);
        m_window->new_firmware = 1;
        ScriptedPrompts prompts;
        prompts.answers = {Prompts::Answer::Ok, yes ? Prompts::Answer::Yes : Prompts::Answer::No};
        if (failing >= 0)
            command(QStringLiteral("unreadable %1").arg(failing));
        week ? m_window->tl_readClick() : m_window->tl_cistClick();
        if (failing >= 0)
            command(QStringLiteral("readable %1").arg(failing));
        m_sent.clear();
        week ? m_window->tl_writeClick() : m_window->tl_zapisClick();
        const QStringList expected = failing < 0 ? QStringList() : QStringList{kReadError, question};
        QCOMPARE(prompts.texts(), expected);
        if (failing >= 0) {
            QCOMPARE(prompts.calls[1].caption, QStringLiteral("Dotaz"));
            QCOMPARE(prompts.calls[1].buttons, Prompts::Buttons::YesNoDefaultNo);
        }
        QCOMPARE(tablesSent(kWriteService), written);
    }

    void weekReadReplacesTheShownDay()
    {
        ScriptedPrompts prompts;
        days()->setCurrentIndex(2);
        edit("ed_utlum1")->setText("7");
        edit("ed_hod3")->setText("9");
        m_window->tl_readClick();
        QCOMPARE(prompts.texts(), QStringList());
        QCOMPARE(tablesSent(kReadService), (QList<int>{8, 9, 10, 11, 12, 13, 14}));
        QCOMPARE(edit("ed_utlum1")->text(), QStringLiteral("-1,00"));
        QCOMPARE(edit("ed_utlum2")->text(), QStringLiteral("1,00"));
        QCOMPARE(edit("ed_hod1")->text(), QStringLiteral("7"));
        QCOMPARE(edit("ed_hod3")->text(), QStringLiteral("16"));
        QCOMPARE(edit("ed_min1")->text(), QStringLiteral("10"));
        auto* bar = control<QProgressBar>("bar_load");
        QCOMPARE(bar->value(), 100);
        QVERIFY(bar->isHidden());
    }

    // The days have the same length: a slow regulator's answer for one day
    // must never be shown as the next day's programme.
    void lateRepliesNeverShiftTheDays()
    {
        command("late 620");
        ScriptedPrompts prompts;
        m_window->tl_readClick();
        command("late 0");
        QCOMPARE(prompts.texts(), QStringList{kReadError});
        for (int day = 1; day < 7; ++day)
            QVERIFY2(param_record.days[day].shift4 != 10.0f + day - 1, qPrintable(QString::number(day)));
    }

    void failedWeekReadTriesEveryDay()
    {
        command("corrupt-checksum 1");
        ScriptedPrompts prompts;
        m_window->tl_readClick();
        QCOMPARE(tablesSent(kReadService), (QList<int>{8, 9, 10, 11, 12, 13, 14}));
        QCOMPARE(prompts.texts(), QStringList{kReadError});
        QCOMPARE(edit("ed_utlum1")->text(), QStringLiteral("0,00"));
    }

    void weekWriteSendsTheShownDayAndTheRecord()
    {
        ScriptedPrompts prompts;
        m_window->tl_readClick();
        edit("ed_utlum1")->setText("-2,5");
        edit("ed_hod1")->setText("abc");
        edit("ed_min4")->setText("15");
        m_window->tl_writeClick();
        QCOMPARE(prompts.texts(), QStringList{kWholeMessage});
        QCOMPARE(tablesSent(kWriteService), (QList<int>{8, 9, 10, 11, 12, 13, 14}));
        QByteArray monday = dayBytes(0);
        monday.replace(0, 4, QByteArray(Wire().f(-2.5f)));
        monday[16] = 0;
        monday[23] = 15;
        QCOMPARE(m_sim->table(8), monday);
        QCOMPARE(m_sim->table(14), dayBytes(6));
    }

    void refusedThursdayStopsTheWeekWrite()
    {
        command("refuse 11");
        ScriptedPrompts prompts;
        m_window->tl_readClick();
        days()->setCurrentIndex(5);
        pages()->setCurrentIndex(8);
        m_window->tl_writeClick();
        QVERIFY(!m_sim->waitForEvent("REFUSED 11 2").isEmpty());
        QCOMPARE(tablesSent(kWriteService), (QList<int>{8, 9, 10, 11}));
        QCOMPARE(prompts.texts(),
                 QStringList{kRangeError +
                             "\n\nProgram těchto dnů už je v pracovní paměti (RAM) "
                             "regulátoru: Pondělí, Úterý, Středa.\nDo EEPROM se nic neuložilo."});
        QCOMPARE(prompts.calls[0].caption, QStringLiteral("Komunikace"));
        QCOMPARE(days()->currentIndex(), 5);
        QCOMPARE(pages()->currentIndex(), 8);
        QVERIFY(control<QProgressBar>("bar_load")->isHidden());
    }
};

int main(int argc, char** argv) { return runAppTest<TestMenuExchange>(argc, argv); }

#include "tst_unit_menu_mod_exchange.moc"
