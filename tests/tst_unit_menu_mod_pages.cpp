// The regulator settings window without a regulator: its controls and their
// first state, the conversions between the record and the controls in both
// directions, the alarm page's two variants and the day change.
#include "UnitMenuMod.h"
#include "edit_conversions.h"
#include "multi_row_tab_bar.h"
#include "param_record.h"
#include "scripted_prompts.h"
#include "week_programme.h"

#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include <memory>

namespace {

const QLocale kCzech(QLocale::Czech, QLocale::Czechia);
const QLocale kEnglish(QLocale::English, QLocale::UnitedStates);
const QString kFloatMessage = QStringLiteral("Je nutné zadávat pouze čísla nebo desetinnou čárku");
const QString kWholeMessage = QStringLiteral("Je nutné zadávat pouze čísla");

QLocale localeNamed(const QString& name) { return name == "cs" ? kCzech : kEnglish; }

} // namespace

class TestMenuPages : public QObject {
    Q_OBJECT

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
    QString labelText(const char* name) { return control<QLabel>(name)->text(); }

private slots:
    void init()
    {
        QLocale::setDefault(kCzech);
        param_record = ParamRecord{};
        m_window = std::make_unique<Tmenu_qzr17>();
    }

    void cleanup()
    {
        m_window.reset();
        QLocale::setDefault(kCzech);
    }

    void windowHasItsElevenPagesWithAlarmInFront()
    {
        QCOMPARE(m_window->windowTitle(), QStringLiteral("QZR 17"));
        QCOMPARE(m_window->size(), QSize(636, 480));
        auto* pgc = control<QTabWidget>("pgc");
        QStringList names, titles;
        for (int i = 0; i < pgc->count(); ++i) {
            names.append(pgc->widget(i)->objectName());
            titles.append(pgc->tabText(i));
        }
        QCOMPARE(names, (QStringList{"ekvi", "regul", "alarm", "snimac1", "snimac2", "cas", "erro", "ostat", "pid",
                                     "rego", "daco"}));
        QCOMPARE(titles, (QStringList{"Ekviterm", "Regulace ONOF", "Alarm", "Snímač 1", "Snímač 2", "Čas", "Error",
                                      "Ostatní", "PID", "REGO", "DACO"}));
        QCOMPARE(pgc->currentWidget()->objectName(), QStringLiteral("alarm"));
    }

    void dayTabsStartOnMonday()
    {
        auto* days = control<QTabBar>("TabControl1");
        QStringList titles;
        for (int i = 0; i < days->count(); ++i)
            titles.append(days->tabText(i));
        QCOMPARE(titles, (QStringList{"Pondělí", "Úterý", "Středa", "Čtvrtek", "Pátek", "Sobota", "Neděle"}));
        QCOMPARE(days->currentIndex(), 0);
        QCOMPARE(m_window->week().shownDay(), 0);
    }

    void initialTexts_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        const QList<std::pair<const char*, const char*>> rows = {
            {"ed_sp0", "80"},        {"ed_sp20", "20"},       {"ed_prvni_low", "-1,5"}, {"ed_prvni_high", "3"},
            {"ed_druhy_low", "-3"},  {"ed_druhy_high", "1,5"}, {"ed_al_low", "-5"},     {"ed_al_high", "5"},
            {"ed_al_hyst", "1"},     {"ed_strs1", "0"},       {"ed_ends1", "100"},     {"ed_strs2", "-50"},
            {"ed_ends2", "50"},      {"ed_realmin", "0"},     {"ed_realhod", "0"},     {"ed_den", "1"},
            {"ed_rok", "02"},        {"ed_heslo", "0"},       {"ed_adresa", "0"},      {"ed_pb", ""},
            {"ed_dser", ""},         {"ed_astr", ""},         {"ed_utlum1", "000"},    {"ed_utlum4", "000"},
            {"ed_hod1", "01"},       {"ed_hod2", "02"},       {"ed_hod3", "03"},       {"ed_hod4", "04"},
            {"ed_min1", "00"},       {"ed_min4", "00"}};
        for (const auto& [name, text] : rows)
            QTest::newRow(name) << name << text;
    }

    void initialTexts()
    {
        QFETCH(QString, name);
        QFETCH(QString, text);
        QCOMPARE(m_window->findChild<QLineEdit*>(name)->text(), text);
    }

    void initialDecimalTextsFollowTheLocale()
    {
        QLocale::setDefault(kEnglish);
        Tmenu_qzr17 window;
        QCOMPARE(window.findChild<QLineEdit*>("ed_prvni_low")->text(), QStringLiteral("-1.5"));
        QCOMPARE(window.findChild<QLineEdit*>("ed_druhy_high")->text(), QStringLiteral("1.5"));
    }

    void initialSelections_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("item");
        const QList<std::pair<const char*, const char*>> rows = {
            {"cb_type1", "4-20mA"},           {"cb_dp2", "000.0"},
            {"cb_denty", "Pondělí"},          {"cb_mesic", "Leden"},
            {"cb_rele4", "Bez funkce (no)"},  {"cb_yout", "Bez funkce (no)"},
            {"cb_filtr", "8"},                {"cb_lock", "odemčena"},
            {"cb_rego", "Dvoustavová regulace (ONOF)"},
            {"cb_tpid", "1,0 sekundy"},       {"cb_a_in", "Regulační veličina"},
            {"cb_aout", "0-20mA"},            {"cb_alarm_lo", "Naměřená vstup 1"},
            {"cb_alarm_hi", "Požadovaná z EKVITERMU"}};
        for (const auto& [name, item] : rows)
            QTest::newRow(name) << name << item;
    }

    void initialSelections()
    {
        QFETCH(QString, name);
        QFETCH(QString, item);
        QCOMPARE(m_window->findChild<QComboBox*>(name)->currentText(), item);
    }

    void tpidListRunsInStepsOfAFifthOfASecond()
    {
        QComboBox* tpid = combo("cb_tpid");
        QCOMPARE(tpid->count(), 50);
        QCOMPARE(tpid->itemText(0), QStringLiteral("0,2 sekundy"));
        QCOMPARE(tpid->itemText(23), QStringLiteral("4,8 sekundy"));
        QCOMPARE(tpid->itemText(48), QStringLiteral("9,8 sekundy"));
        QCOMPARE(tpid->itemText(49), QStringLiteral("10,0 sekund"));
    }

    void alarmInputsStartDisabledAndPanelIsFixed()
    {
        QCOMPARE(labelText("Label25"), QStringLiteral("Nastavení hranice ALARMU 1"));
        QCOMPARE(labelText("Label26"), QStringLiteral("Nastavení hranice ALARMU 2"));
        for (const char* name : {"cb_alarm_lo", "cb_alarm_hi", "Label104", "Label105", "Label106", "Label107"})
            QVERIFY2(!control<QWidget>(name)->isEnabled(), name);
        QCOMPARE(labelText("Label106"), QStringLiteral("INA1"));
        QCOMPARE(labelText("Panel1"), QStringLiteral("95 "));
        QVERIFY(!control<QCheckBox>("check_time")->isChecked());
        QVERIFY(control<QProgressBar>("bar_load")->isHidden());
        QCOMPARE(m_window->new_firmware, 0);
    }

    void buttonsCarryTheirCaptionsAndHints_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("hint");
        QTest::newRow("tl_cist") << "tl_cist" << "Čtení" << "Přečte parametry regulátoru a zobrazí je na kartách";
        QTest::newRow("tl_zapis") << "tl_zapis" << "Zápis" << "Zapíše nastavené parametry do RAM regulátoru";
        QTest::newRow("tl_read") << "tl_read" << "Čtení" << "Přečte týdenní režim regulátoru";
        QTest::newRow("tl_write") << "tl_write" << "Zápis" << "Zapíše týdenní režim regulátoru";
        QTest::newRow("tl_eeprom") << "tl_eeprom" << "Zápis do EEPROM"
                                   << "Zápis RAM do EEPROM po nastavení regulátorutlačítko ";
        QTest::newRow("tl_cancel") << "tl_cancel" << "Zpět" << "";
    }

    void buttonsCarryTheirCaptionsAndHints()
    {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QFETCH(QString, hint);
        auto* button = m_window->findChild<QPushButton*>(name);
        QCOMPARE(button->text(), caption);
        QCOMPARE(button->toolTip(), hint);
        // Enter in an edit must not start an exchange.
        QVERIFY(!button->autoDefault());
    }

    void everyControlHasAnAccessibleName()
    {
        const QList<QWidget*> all = m_window->findChildren<QWidget*>();
        int checked = 0;
        for (QWidget* w : all) {
            const bool control = qobject_cast<QLineEdit*>(w) || qobject_cast<QComboBox*>(w)
                                 || qobject_cast<QPushButton*>(w) || qobject_cast<QCheckBox*>(w)
                                 || qobject_cast<QTabBar*>(w) || qobject_cast<QProgressBar*>(w);
            if (!control || w->parentWidget() == nullptr || qobject_cast<QComboBox*>(w->parentWidget()))
                continue;
            if (w->objectName().startsWith("qt_"))
                continue;
            QVERIFY2(!w->accessibleName().isEmpty(), qPrintable(w->objectName()));
            ++checked;
        }
        QVERIFY(checked > 60);
        QCOMPARE(edit("ed_sp0")->accessibleName(), QStringLiteral("Teplota vody při 0°C venkovní teploty"));
        QCOMPARE(combo("cb_rele3")->accessibleName(), QStringLiteral("Nastavení chování relé při error RE_3"));
        QCOMPARE(control<QWidget>("daco")->accessibleName(), QStringLiteral("DACO"));
    }

    void floatText_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<float>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("cs whole") << "cs" << 80.0f << "80,00";
        QTest::newRow("cs five digits") << "cs" << 1234.567f << "1234,60";
        QTest::newRow("cs negative") << "cs" << -1.5f << "-1,50";
        QTest::newRow("cs six digits") << "cs" << 123456.0f << "123460,00";
        QTest::newRow("cs rounds up a digit") << "cs" << 99999.5f << "100000,00";
        QTest::newRow("cs tiny negative") << "cs" << -0.004f << "0,00";
        QTest::newRow("cs negative zero") << "cs" << -0.0f << "0,00";
        QTest::newRow("cs hundredths") << "cs" << 0.01f << "0,01";
        QTest::newRow("cs no group separator") << "cs" << 9999.0f << "9999,00";
        QTest::newRow("en whole") << "en" << 80.0f << "80.00";
        QTest::newRow("en five digits") << "en" << 1234.567f << "1234.60";
        QTest::newRow("en negative") << "en" << -1.5f << "-1.50";
    }

    void floatText()
    {
        QFETCH(QString, locale);
        QFETCH(float, value);
        QFETCH(QString, text);
        QLocale::setDefault(localeNamed(locale));
        QCOMPARE(::floatText(value), text);
    }

    void editToFloat_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<float>("stored");
        QTest::newRow("cs comma") << "cs" << "1,5" << true << 1.5f;
        QTest::newRow("cs point") << "cs" << "1.5" << false << 0.0f;
        QTest::newRow("cs signed") << "cs" << "-2,25" << true << -2.25f;
        QTest::newRow("cs exponent") << "cs" << "1,5e2" << true << 150.0f;
        QTest::newRow("cs whole") << "cs" << "80" << true << 80.0f;
        QTest::newRow("cs letters") << "cs" << "abc" << false << 0.0f;
        QTest::newRow("cs empty") << "cs" << "" << false << 0.0f;
        QTest::newRow("cs trailing letter") << "cs" << "12a" << false << 0.0f;
        QTest::newRow("cs not a number") << "cs" << "nan" << false << 0.0f;
        QTest::newRow("cs beyond a float") << "cs" << "1e39" << false << 0.0f;
        QTest::newRow("en point") << "en" << "1.5" << true << 1.5f;
        QTest::newRow("en comma is no group separator") << "en" << "1,5" << false << 0.0f;
        QTest::newRow("en thousands") << "en" << "1,234.5" << false << 0.0f;
    }

    void editToFloat()
    {
        QFETCH(QString, locale);
        QFETCH(QString, typed);
        QFETCH(bool, accepted);
        QFETCH(float, stored);
        QLocale::setDefault(localeNamed(locale));
        ScriptedPrompts prompts;
        QLineEdit* target = edit("ed_sp0");
        target->setText(typed);
        float field = 42.0f;
        QCOMPARE(EditToFloat(field, target), accepted ? 0 : -1);
        QCOMPARE(field, stored);
        if (accepted) {
            QVERIFY(prompts.calls.isEmpty());
            QCOMPARE(target->text(), typed);
            return;
        }
        QCOMPARE(prompts.calls.size(), 1);
        QCOMPARE(prompts.calls[0].text, kFloatMessage);
        QCOMPARE(prompts.calls[0].caption, QStringLiteral("CHYBA"));
        QCOMPARE(prompts.calls[0].icon, Prompts::Icon::Warning);
        QCOMPARE(prompts.calls[0].buttons, Prompts::Buttons::Ok);
        QVERIFY(prompts.calls[0].hasOwner);
        QCOMPARE(target->text(), QStringLiteral("0"));
    }

    void editToByte_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<int>("stored");
        QTest::newRow("plain") << "126" << true << 126;
        QTest::newRow("low eight bits") << "300" << true << 44;
        QTest::newRow("minus one") << "-1" << true << -1;
        QTest::newRow("255 is -1") << "255" << true << -1;
        QTest::newRow("decimal") << "12,5" << false << 0;
        QTest::newRow("letters") << "abc" << false << 0;
        QTest::newRow("empty") << "" << false << 0;
        QTest::newRow("beyond 32 bits") << "2147483648" << false << 0;
    }

    void editToByte()
    {
        QFETCH(QString, typed);
        QFETCH(bool, accepted);
        QFETCH(int, stored);
        ScriptedPrompts prompts;
        QLineEdit* target = edit("ed_adresa");
        target->setText(typed);
        int8_t field = 9;
        QCOMPARE(EditToByte(field, target), accepted ? 0 : -1);
        QCOMPARE(int(field), stored);
        QCOMPARE(prompts.texts(), accepted ? QStringList() : QStringList{kWholeMessage});
        QCOMPARE(target->text(), accepted ? typed : QStringLiteral("0"));
    }

    void editToInt_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<int>("stored");
        QTest::newRow("password") << "9999" << true << 9999;
        QTest::newRow("negative") << "-5" << true << -5;
        QTest::newRow("largest") << "2147483647" << true << 2147483647;
        QTest::newRow("decimal") << "12,5" << false << 0;
        QTest::newRow("letters") << "x1" << false << 0;
    }

    void editToInt()
    {
        QFETCH(QString, typed);
        QFETCH(bool, accepted);
        QFETCH(int, stored);
        ScriptedPrompts prompts;
        QLineEdit* target = edit("ed_heslo");
        target->setText(typed);
        int32_t field = 9;
        QCOMPARE(EditToInt(field, target), accepted ? 0 : -1);
        QCOMPARE(field, stored);
        QCOMPARE(prompts.texts(), accepted ? QStringList() : QStringList{kWholeMessage});
    }

    void refusedEditOnAHiddenPageComesToTheFront()
    {
        ScriptedPrompts prompts;
        edit("ed_sp0")->setText("abc");
        m_window->CollectTable(0);
        QCOMPARE(prompts.texts(), QStringList{kFloatMessage});
        QCOMPARE(control<QTabWidget>("pgc")->currentWidget()->objectName(), QStringLiteral("ekvi"));
        QCOMPARE(param_record.SP_0, 0.0f);
    }

    void addressTypedIsStoredAsAByte_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("stored");
        QTest::addColumn<QStringList>("messages");
        QTest::newRow("300 stores 44") << "300" << 44 << QStringList();
        QTest::newRow("12,5 refused") << "12,5" << 0 << QStringList{kWholeMessage};
    }

    void addressTypedIsStoredAsAByte()
    {
        QFETCH(QString, typed);
        QFETCH(int, stored);
        QFETCH(QStringList, messages);
        ScriptedPrompts prompts;
        param_record.regulator_address = 3;
        edit("ed_adresa")->setText(typed);
        m_window->CollectTable(7);
        QCOMPARE(int(param_record.regulator_address), stored);
        QCOMPARE(prompts.texts(), messages);
    }

    void byteFieldsShowSigned()
    {
        param_record.regulator_address = static_cast<int8_t>(200);
        param_record.YEAR = 8;
        param_record.MIN = static_cast<int8_t>(255);
        m_window->ShowParameters();
        QCOMPARE(edit("ed_adresa")->text(), QStringLiteral("-56"));
        QCOMPARE(edit("ed_rok")->text(), QStringLiteral("8"));
        QCOMPARE(edit("ed_realmin")->text(), QStringLiteral("-1"));
    }

    void showParametersFormatsEveryKind()
    {
        param_record.SP_0 = 80.0f;
        param_record.P_LO = -1.5f;
        param_record.input2.ENDS = 1234.567f;
        param_record.DSER = 300;
        param_record.PASS = 9999;
        param_record.input1.TYPE = 2;
        param_record.RE_3 = 1;
        param_record.FILTR = 15;
        param_record.AOUT = 3;
        m_window->ShowParameters();
        QCOMPARE(edit("ed_sp0")->text(), QStringLiteral("80,00"));
        QCOMPARE(edit("ed_prvni_low")->text(), QStringLiteral("-1,50"));
        QCOMPARE(edit("ed_ends2")->text(), QStringLiteral("1234,60"));
        QCOMPARE(edit("ed_dser")->text(), QStringLiteral("300"));
        QCOMPARE(edit("ed_heslo")->text(), QStringLiteral("9999"));
        QCOMPARE(combo("cb_type1")->currentText(), QStringLiteral("0-5V"));
        QCOMPARE(combo("cb_rele3")->currentText(), QStringLiteral("Při poruše zapne (ON)"));
        QCOMPARE(combo("cb_filtr")->currentText(), QStringLiteral("15"));
        QCOMPARE(combo("cb_aout")->currentText(), QStringLiteral("20-4mA"));
        QCOMPARE(labelText("Panel1"), QStringLiteral("95 "));
    }

    void indexCombos_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("table");
        QTest::addColumn<int>("storedBack");
        QTest::newRow("TPID 5") << "cb_tpid" << 5 << "1,0 sekundy" << 4 << 5;
        QTest::newRow("TPID 50") << "cb_tpid" << 50 << "10,0 sekund" << 4 << 50;
        QTest::newRow("TPID 0 outside") << "cb_tpid" << 0 << "" << 4 << 0;
        QTest::newRow("DAY 1") << "cb_denty" << 1 << "Pondělí" << 15 << 1;
        QTest::newRow("DAY 7") << "cb_denty" << 7 << "Neděle" << 15 << 7;
        QTest::newRow("DAY 8 outside") << "cb_denty" << 8 << "" << 15 << 0;
        QTest::newRow("MONT 12") << "cb_mesic" << 12 << "Prosinec" << 15 << 12;
        QTest::newRow("MONT 1") << "cb_mesic" << 1 << "Leden" << 15 << 1;
        QTest::newRow("YOUT 2") << "cb_yout" << 2 << "Při poruše 20 mA" << 5 << 2;
        QTest::newRow("YOUT 3 outside") << "cb_yout" << 3 << "" << 5 << -1;
        QTest::newRow("LOC_ negative") << "cb_lock" << -1 << "" << 6 << -1;
        QTest::newRow("FILTR 16 outside") << "cb_filtr" << 16 << "" << 6 << -1;
    }

    // Each combo's value goes from the record to the control and back
    // unchanged when it lies in the list; outside, nothing is selected and
    // -1 (index) or 0 (index+1) goes back.
    void indexCombos()
    {
        QFETCH(QString, name);
        QFETCH(int, value);
        QFETCH(QString, shown);
        QFETCH(int, table);
        QFETCH(int, storedBack);
        ScriptedPrompts prompts;
        const auto field = [&]() -> int {
            if (name == "cb_tpid") return param_record.TPID;
            if (name == "cb_denty") return param_record.DAY;
            if (name == "cb_mesic") return param_record.MONT;
            if (name == "cb_yout") return param_record.YOUT;
            if (name == "cb_lock") return param_record.LOC_;
            return param_record.FILTR;
        };
        param_record.TPID = name == "cb_tpid" ? value : 1;
        param_record.DAY = static_cast<int8_t>(name == "cb_denty" ? value : 1);
        param_record.MONT = static_cast<int8_t>(name == "cb_mesic" ? value : 1);
        param_record.YOUT = static_cast<int8_t>(name == "cb_yout" ? value : 0);
        param_record.LOC_ = static_cast<int8_t>(name == "cb_lock" ? value : 0);
        param_record.FILTR = name == "cb_filtr" ? value : 0;
        m_window->ShowParameters();
        QComboBox* box = m_window->findChild<QComboBox*>(name);
        QCOMPARE(box->currentText(), shown);
        QCOMPARE(box->currentIndex() < 0, shown.isEmpty());
        m_window->CollectTable(table);
        QCOMPARE(field(), storedBack);
        QVERIFY(prompts.calls.isEmpty());
    }

    void choosingAnItemStoresIt_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("item");
        QTest::addColumn<int>("table");
        QTest::addColumn<int>("stored");
        QTest::newRow("10,0 sekund") << "cb_tpid" << "10,0 sekund" << 4 << 50;
        QTest::newRow("Neděle") << "cb_denty" << "Neděle" << 15 << 7;
        QTest::newRow("Prosinec") << "cb_mesic" << "Prosinec" << 15 << 12;
        QTest::newRow("typed text matching no item") << "cb_denty" << "Pondělíx" << 15 << 0;
    }

    // The user picks an item in the combo's list or types over its text.
    void choosingAnItemStoresIt()
    {
        QFETCH(QString, name);
        QFETCH(QString, item);
        QFETCH(int, table);
        QFETCH(int, stored);
        ScriptedPrompts prompts;
        QComboBox* box = m_window->findChild<QComboBox*>(name);
        const int index = box->findText(item);
        if (index >= 0)
            box->setCurrentIndex(index);
        else
            box->setEditText(item);
        m_window->CollectTable(table);
        QCOMPARE(name == "cb_tpid" ? param_record.TPID : name == "cb_denty" ? param_record.DAY : param_record.MONT,
                 stored);
    }

    void clockIsCollectedWithSecondsZero()
    {
        param_record.seconds = 33;
        edit("ed_realmin")->setText("5");
        edit("ed_realhod")->setText("14");
        edit("ed_den")->setText("7");
        edit("ed_rok")->setText("26");
        combo("cb_mesic")->setCurrentIndex(11);
        m_window->CollectTable(15);
        const ParamRecord& r = param_record;
        QCOMPARE((QList<int>{r.seconds, r.MIN, r.HOUR, r.DAY, r.DATE, r.MONT, r.YEAR}),
                 (QList<int>{0, 5, 14, 1, 7, 12, 26}));
    }

    void firmwareVariant_data()
    {
        QTest::addColumn<int>("flag");
        QTest::addColumn<QString>("low");
        QTest::addColumn<QString>("high");
        QTest::newRow("new") << 1 << "Nastavení hranice ALARMU 1" << "Nastavení hranice ALARMU 2";
        QTest::newRow("old") << 0 << "Nastavení poklesu o (-20 až 0°C)" << "Nastavení překročení o (-20 až 0°C)";
    }

    void firmwareVariant()
    {
        QFETCH(int, flag);
        QFETCH(QString, low);
        QFETCH(QString, high);
        param_record.INA1 = 2;
        param_record.INA2 = 1;
        m_window->new_firmware = flag;
        m_window->ShowParameters();
        QCOMPARE(labelText("Label25"), low);
        QCOMPARE(labelText("Label26"), high);
        QCOMPARE(edit("ed_al_low")->accessibleName(), low);
        for (const char* name : {"cb_alarm_lo", "cb_alarm_hi", "Label104", "Label105", "Label106", "Label107"})
            QVERIFY2(control<QWidget>(name)->isEnabled() == (flag != 0), name);
        // Old firmware leaves the selectors as they were.
        QCOMPARE(combo("cb_alarm_lo")->currentIndex(), flag ? 2 : 0);
        QCOMPARE(combo("cb_alarm_hi")->currentIndex(), flag ? 1 : 2);
    }

    void leavingADayWithLettersStaysOnIt()
    {
        ScriptedPrompts prompts;
        param_record.days[1].hour1 = 7;
        edit("ed_hod2")->setText("abc");
        control<QTabBar>("TabControl1")->setCurrentIndex(1);
        QCOMPARE(prompts.texts(), QStringList{kWholeMessage});
        QCOMPARE(prompts.calls[0].caption, QStringLiteral("CHYBA"));
        QCOMPARE(edit("ed_hod2")->text(), QStringLiteral("0"));
        QCOMPARE(int(param_record.days[0].hour2), 0);
        QCOMPARE(int(param_record.days[0].hour1), 1);
        QCOMPARE(control<QTabBar>("TabControl1")->currentIndex(), 0);
        QCOMPARE(m_window->week().shownDay(), 0);
        // Tuesday was not shown.
        QCOMPARE(edit("ed_hod1")->text(), QStringLiteral("01"));
        QCOMPARE(prompts.calls.size(), 1);
    }

    void twoRefusedEditsGiveTwoMessagesInOrder()
    {
        ScriptedPrompts prompts;
        edit("ed_utlum1")->setText("x");
        edit("ed_min4")->setText("y");
        control<QTabBar>("TabControl1")->setCurrentIndex(3);
        QCOMPARE(prompts.texts(), (QStringList{kFloatMessage, kWholeMessage}));
        QCOMPARE(edit("ed_utlum1")->text(), QStringLiteral("0"));
        QCOMPARE(edit("ed_min4")->text(), QStringLiteral("0"));
        QCOMPARE(control<QTabBar>("TabControl1")->currentIndex(), 0);
    }

    void leavingAValidDayShowsTheNext_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("shift");
        QTest::addColumn<QString>("shown");
        QTest::newRow("cs") << "cs" << "-2,5" << "5,00";
        QTest::newRow("en") << "en" << "-2.5" << "5.00";
    }

    void leavingAValidDayShowsTheNext()
    {
        QFETCH(QString, locale);
        QFETCH(QString, shift);
        QFETCH(QString, shown);
        QLocale::setDefault(localeNamed(locale));
        ScriptedPrompts prompts;
        param_record.days[4] = day_record{5.0f, 0, 0, -10.0f, 6, 8, 16, 22, 0, 30, 0, 15};
        edit("ed_utlum2")->setText(shift);
        edit("ed_hod4")->setText("25");
        edit("ed_min3")->setText("45");
        control<QTabBar>("TabControl1")->setCurrentIndex(4);
        QVERIFY(prompts.calls.isEmpty());
        const day_record& monday = param_record.days[0];
        QCOMPARE(monday.shift2, -2.5f);
        QCOMPARE(int(monday.hour4), 25);
        QCOMPARE(int(monday.minute3), 45);
        QCOMPARE(m_window->week().shownDay(), 4);
        QCOMPARE(edit("ed_utlum1")->text(), shown);
        QCOMPARE(edit("ed_hod4")->text(), QStringLiteral("22"));
        QCOMPARE(edit("ed_min2")->text(), QStringLiteral("30"));
        QCOMPARE(edit("ed_min4")->text(), QStringLiteral("15"));
    }

    // At the designed size every page tab and every day tab is in sight:
    // the tabs wrap into rows instead of scrolling out of view.
    void everyTabIsInSightAtTheDesignedSize_data()
    {
        QTest::addColumn<QString>("bar");
        QTest::newRow("pages") << "pgc";
        QTest::newRow("days") << "TabControl1";
    }

    void everyTabIsInSightAtTheDesignedSize()
    {
        QFETCH(QString, bar);
        m_window->findChild<QTimer*>("Timer1")->stop();
        m_window->show();
        m_window->findChild<QTimer*>("Timer1")->stop();
        auto* pagesBar = qobject_cast<MultiRowTabBar*>(control<QTabWidget>("pgc")->tabBar());
        auto* tabs = bar == "pgc" ? pagesBar : control<MultiRowTabBar>("TabControl1");
        QVERIFY(tabs);
        QVERIFY(tabs->rowCount() > 1);
        QRegion covered;
        for (int i = 0; i < tabs->count(); ++i) {
            const QRect area = tabs->tabArea(i);
            QVERIFY2(tabs->rect().contains(area), qPrintable(tabs->tabText(i)));
            QVERIFY2(!covered.intersects(area), qPrintable(tabs->tabText(i)));
            covered += area;
        }
        QCOMPARE(tabs->height(), tabs->rowCount() * tabs->tabArea(0).height());
    }

    void selectedRowLiesNextToThePages()
    {
        auto* pgc = control<QTabWidget>("pgc");
        m_window->findChild<QTimer*>("Timer1")->stop();
        m_window->show();
        m_window->findChild<QTimer*>("Timer1")->stop();
        auto* tabs = static_cast<MultiRowTabBar*>(pgc->tabBar());
        for (const int page : {0, 5, 10}) {
            pgc->setCurrentIndex(page);
            QCOMPARE(tabs->tabArea(page).bottom(), tabs->height() - 1);
        }
    }

    void clickingADayTabChangesTheDay()
    {
        ScriptedPrompts prompts;
        m_window->findChild<QTimer*>("Timer1")->stop();
        m_window->show();
        m_window->findChild<QTimer*>("Timer1")->stop();
        param_record.days[5].hour1 = 9;
        auto* days = control<MultiRowTabBar>("TabControl1");
        QTest::mouseClick(days, Qt::LeftButton, {}, days->tabArea(5).center());
        QCOMPARE(days->currentIndex(), 5);
        QCOMPARE(m_window->week().shownDay(), 5);
        QCOMPARE(edit("ed_hod1")->text(), QStringLiteral("9"));
        // Monday took the edits it held.
        QCOMPARE(int(param_record.days[0].hour4), 4);
        QVERIFY(prompts.calls.isEmpty());
    }

    void clickingAPageTabBringsItsPage()
    {
        auto* pgc = control<QTabWidget>("pgc");
        m_window->findChild<QTimer*>("Timer1")->stop();
        m_window->show();
        m_window->findChild<QTimer*>("Timer1")->stop();
        auto* tabs = static_cast<MultiRowTabBar*>(pgc->tabBar());
        for (const int page : {9, 0, 6}) {
            QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabArea(page).center());
            QCOMPARE(pgc->currentIndex(), page);
        }
    }

    void timerIsArmedAtCreationAndAtEveryShowing()
    {
        auto* timer = m_window->findChild<QTimer*>("Timer1");
        QVERIFY(!timer->isActive());
        QCOMPARE(timer->interval(), Tmenu_qzr17::kTimerIntervalMs);
        QVERIFY(timer->isSingleShot());
        m_window->FormCreate();
        QVERIFY(timer->isActive());
        timer->stop();
        m_window->show();
        QVERIFY(timer->isActive());
        timer->stop();
        m_window->hide();
        m_window->show();
        QVERIFY(timer->isActive());
        timer->stop();
    }

    void cancelClosesWithOk()
    {
        m_window->findChild<QTimer*>("Timer1")->stop();
        QTimer::singleShot(0, m_window.get(), [this] {
            m_window->findChild<QTimer*>("Timer1")->stop();
            m_window->findChild<QPushButton*>("tl_cancel")->click();
        });
        QCOMPARE(m_window->exec(), int(QDialog::Accepted));
    }
};

QTEST_MAIN(TestMenuPages)
#include "tst_unit_menu_mod_pages.moc"
