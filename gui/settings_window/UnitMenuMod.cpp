#include "UnitMenuMod.h"

#include "ui_UnitMenuMod.h"

#include "bus_protocol.h"
#include "edit_conversions.h"
#include "load_progress.h"
#include "param_record.h"
#include "param_set_commands.h"
#include "regulator_sequences.h"
#include "translated_texts.h"
#include "week_programme.h"

#include <QEvent>
#include <QLocale>
#include <QShowEvent>
#include <QTimer>

#include <utility>

using namespace regulator_sequences;

namespace {

const char* const kDayNames[] = {
    QT_TRANSLATE_NOOP("Tmenu_qzr17", "Pondělí"), QT_TRANSLATE_NOOP("Tmenu_qzr17", "Úterý"),
    QT_TRANSLATE_NOOP("Tmenu_qzr17", "Středa"),  QT_TRANSLATE_NOOP("Tmenu_qzr17", "Čtvrtek"),
    QT_TRANSLATE_NOOP("Tmenu_qzr17", "Pátek"),   QT_TRANSLATE_NOOP("Tmenu_qzr17", "Sobota"),
    QT_TRANSLATE_NOOP("Tmenu_qzr17", "Neděle")};

// The designed texts carry a decimal comma; under a locale with a decimal
// point they would be refused when written before the first read.
void localizeDecimal(QLineEdit* edit)
{
    edit->setText(edit->text().replace(u',', QLocale().decimalPoint()));
}

// Index+1 combos hold values counted from 1 (DAY, MONT, TPID).
void selectFromOne(QComboBox* combo, int value) { selectIndex(combo, value - 1); }
int8_t byteFromOne(const QComboBox* combo) { return static_cast<int8_t>(selectedIndex(combo) + 1); }
int8_t byteIndex(const QComboBox* combo) { return static_cast<int8_t>(selectedIndex(combo)); }

} // namespace

Tmenu_qzr17::Tmenu_qzr17(QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::menu_qzr17>()), Timer1(new QTimer(this))
{
    m_ui->setupUi(this);
    // Translated items may be longer than those the boxes first measured.
    for (QComboBox* combo : findChildren<QComboBox*>())
        combo->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    localizeDecimal(m_ui->ed_prvni_low);
    localizeDecimal(m_ui->ed_druhy_high);
    buildDayTabs();
    m_ui->pgc->tabBar()->setAccessibleName(m_ui->pgc->accessibleName());

    QSizePolicy barPolicy = m_ui->bar_load->sizePolicy();
    barPolicy.setRetainSizeWhenHidden(true);
    m_ui->bar_load->setSizePolicy(barPolicy);
    m_ui->bar_load->setRange(0, LoadProgress::kFull);
    m_ui->bar_load->hide();
    m_progress = std::make_unique<LoadProgress>(m_ui->bar_load);

    m_week = std::make_unique<WeekProgramme>(
        m_ui->TabControl1,
        std::array<WeekProgramme::Level, WeekProgramme::kLevels>{{
            {m_ui->ed_utlum1, m_ui->ed_hod1, m_ui->ed_min1},
            {m_ui->ed_utlum2, m_ui->ed_hod2, m_ui->ed_min2},
            {m_ui->ed_utlum3, m_ui->ed_hod3, m_ui->ed_min3},
            {m_ui->ed_utlum4, m_ui->ed_hod4, m_ui->ed_min4},
        }},
        *m_progress, m_fromRegulator);

    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setSingleShot(true); // one tick per arming
    Timer1->setInterval(kTimerIntervalMs);
    connectHandlers();
    m_sets = std::make_unique<ParamSetCommands>(*this, *m_ui);
}

Tmenu_qzr17::~Tmenu_qzr17() = default;

void Tmenu_qzr17::buildDayTabs()
{
    QTabBar* days = m_ui->TabControl1;
    for (const char* name : kDayNames)
        days->addTab(tr(name));
    days->setCurrentIndex(0);
}

void Tmenu_qzr17::connectHandlers()
{
    // Connected after the tabs exist, as adding them selects the first one.
    // Where the program selects a day itself, it blocks the signal.
    connect(m_ui->TabControl1, &QTabBar::currentChanged, this, &Tmenu_qzr17::TabControl1Change);
    connect(m_ui->tl_cist, &QPushButton::clicked, this, &Tmenu_qzr17::tl_cistClick);
    connect(m_ui->tl_zapis, &QPushButton::clicked, this, &Tmenu_qzr17::tl_zapisClick);
    connect(m_ui->tl_read, &QPushButton::clicked, this, &Tmenu_qzr17::tl_readClick);
    connect(m_ui->tl_write, &QPushButton::clicked, this, &Tmenu_qzr17::tl_writeClick);
    connect(m_ui->tl_eeprom, &QPushButton::clicked, this, &Tmenu_qzr17::tl_eepromClick);
    connect(m_ui->tl_cancel, &QPushButton::clicked, this, &Tmenu_qzr17::tl_cancelClick);
    connect(Timer1, &QTimer::timeout, this, &Tmenu_qzr17::Timer1Timer);
}

void Tmenu_qzr17::FormCreate()
{
    new_firmware = 0;
    m_startupCheck = true;
    Timer1->start();
}

void Tmenu_qzr17::showEvent(QShowEvent* event)
{
    // Restoring a minimised window is no new showing.
    if (!event->spontaneous())
        FormShow();
    QDialog::showEvent(event);
}

void Tmenu_qzr17::FormShow() { Timer1->start(); }

void Tmenu_qzr17::ApplyFirmwareVariant(int flag)
{
    if (flag) {
        selectIndex(m_ui->cb_alarm_lo, param_record.INA1);
        selectIndex(m_ui->cb_alarm_hi, param_record.INA2);
    }
    labelAlarmLimits(flag);
    const std::initializer_list<QWidget*> alarmInputs = {m_ui->cb_alarm_lo, m_ui->cb_alarm_hi, m_ui->Label104,
                                                         m_ui->Label105,    m_ui->Label106,    m_ui->Label107};
    for (QWidget* w : alarmInputs)
        w->setEnabled(flag != 0);
}

// The two limits are alarm limits on a new firmware, the peak heater's
// setback and overshoot on an old one.
void Tmenu_qzr17::labelAlarmLimits(int flag)
{
    if (flag) {
        m_ui->Label25->setText(tr("Nastavení hranice ALARMU 1"));
        m_ui->Label26->setText(tr("Nastavení hranice ALARMU 2"));
    } else {
        m_ui->Label25->setText(tr("Nastavení poklesu o (-20 až 0°C)"));
        m_ui->Label26->setText(tr("Nastavení překročení o (-20 až 0°C)"));
    }
    m_ui->ed_al_low->setAccessibleName(m_ui->Label25->text());
    m_ui->ed_al_high->setAccessibleName(m_ui->Label26->text());
}

void Tmenu_qzr17::changeEvent(QEvent* event)
{
    QDialog::changeEvent(event);
    if (event->type() != QEvent::LanguageChange)
        return;
    retranslateKeepingEdits(*this, [this] { m_ui->retranslateUi(this); });
    m_ui->pgc->tabBar()->setAccessibleName(m_ui->pgc->accessibleName());
    for (int day = 0; day < m_ui->TabControl1->count(); ++day)
        m_ui->TabControl1->setTabText(day, tr(kDayNames[day]));
    labelAlarmLimits(new_firmware);
    m_sets->retranslate();
}

void Tmenu_qzr17::ShowParameters()
{
    const ParamRecord& r = param_record;
    Ui::menu_qzr17& ui = *m_ui;
    ui.ed_sp0->setText(floatText(r.SP_0));
    ui.ed_sp20->setText(floatText(r.SP20));
    showInputs(1);
    showInputs(2);
    ui.ed_al_low->setText(floatText(r.SPLO));
    ui.ed_al_high->setText(floatText(r.SPHI));
    ui.ed_al_hyst->setText(floatText(r.HYST));
    ui.ed_prvni_low->setText(floatText(r.P_LO));
    ui.ed_prvni_high->setText(floatText(r.P_HI));
    ui.ed_druhy_low->setText(floatText(r.D_LO));
    ui.ed_druhy_high->setText(floatText(r.D_HI));
    selectIndex(ui.cb_rego, r.REGO);
    ui.ed_dser->setText(intText(r.DSER));
    ui.ed_dead->setText(intText(r.DEAD));
    ui.ed_f2->setText(intText(r.F2));
    selectFromOne(ui.cb_tpid, r.TPID);
    selectIndex(ui.cb_rele1, r.RE_1);
    selectIndex(ui.cb_rele2, r.RE_2);
    selectIndex(ui.cb_rele3, r.RE_3);
    selectIndex(ui.cb_rele4, r.RE_4);
    selectIndex(ui.cb_yout, r.YOUT);
    selectIndex(ui.cb_filtr, r.FILTR);
    ui.ed_heslo->setText(intText(r.PASS));
    selectIndex(ui.cb_lock, r.LOC_);
    ui.ed_adresa->setText(byteText(r.regulator_address));
    showClock();
    ui.ed_pb->setText(floatText(r.PB));
    ui.ed_ti->setText(floatText(r.INT));
    ui.ed_di->setText(floatText(r.DER));
    selectIndex(ui.cb_a_in, r.A_IN);
    selectIndex(ui.cb_aout, r.AOUT);
    ui.ed_astr->setText(floatText(r.ASTR));
    ui.ed_aend->setText(floatText(r.AEND));
    ApplyFirmwareVariant(new_firmware);
}

void Tmenu_qzr17::showInputs(int table)
{
    const bool first = table == 1;
    const SensorInput& input = first ? param_record.input1 : param_record.input2;
    selectIndex(first ? m_ui->cb_type1 : m_ui->cb_type2, input.TYPE);
    selectIndex(first ? m_ui->cb_dp1 : m_ui->cb_dp2, input.DP_);
    (first ? m_ui->ed_strs1 : m_ui->ed_strs2)->setText(floatText(input.STRS));
    (first ? m_ui->ed_ends1 : m_ui->ed_ends2)->setText(floatText(input.ENDS));
}

void Tmenu_qzr17::showClock()
{
    const ParamRecord& r = param_record;
    m_ui->ed_realmin->setText(byteText(r.MIN));
    m_ui->ed_realhod->setText(byteText(r.HOUR));
    m_ui->ed_den->setText(byteText(r.DATE));
    selectFromOne(m_ui->cb_denty, r.DAY);
    selectFromOne(m_ui->cb_mesic, r.MONT);
    m_ui->ed_rok->setText(byteText(r.YEAR));
}

// The conversions' results are not looked at: the write goes on.
void Tmenu_qzr17::CollectTable(int table)
{
    ParamRecord& r = param_record;
    Ui::menu_qzr17& ui = *m_ui;
    switch (table) {
    case 0:
        EditToFloat(r.SP_0, ui.ed_sp0);
        EditToFloat(r.SP20, ui.ed_sp20);
        break;
    case 1:
    case 2: collectInputs(table); break;
    case 3:
        EditToFloat(r.SPLO, ui.ed_al_low);
        EditToFloat(r.SPHI, ui.ed_al_high);
        EditToFloat(r.HYST, ui.ed_al_hyst);
        break;
    case 4:
        EditToFloat(r.P_LO, ui.ed_prvni_low);
        EditToFloat(r.P_HI, ui.ed_prvni_high);
        EditToFloat(r.D_LO, ui.ed_druhy_low);
        EditToFloat(r.D_HI, ui.ed_druhy_high);
        r.REGO = byteIndex(ui.cb_rego);
        EditToInt(r.DSER, ui.ed_dser);
        EditToInt(r.DEAD, ui.ed_dead);
        EditToInt(r.F2, ui.ed_f2);
        r.TPID = selectedIndex(ui.cb_tpid) + 1;
        break;
    case 5:
        r.RE_1 = byteIndex(ui.cb_rele1);
        r.RE_2 = byteIndex(ui.cb_rele2);
        r.RE_3 = byteIndex(ui.cb_rele3);
        r.RE_4 = byteIndex(ui.cb_rele4);
        r.YOUT = byteIndex(ui.cb_yout);
        break;
    case 6:
        r.FILTR = selectedIndex(ui.cb_filtr);
        EditToInt(r.PASS, ui.ed_heslo);
        r.LOC_ = byteIndex(ui.cb_lock);
        r.reserved = 0;
        break;
    case kAddressTable: EditToByte(r.regulator_address, ui.ed_adresa); break;
    case kClockTable: collectClock(); break;
    case kPidTable:
        EditToFloat(r.PB, ui.ed_pb);
        EditToFloat(r.INT, ui.ed_ti);
        EditToFloat(r.DER, ui.ed_di);
        break;
    case kAnalogueOutputTable:
        r.A_IN = byteIndex(ui.cb_a_in);
        r.AOUT = byteIndex(ui.cb_aout);
        EditToFloat(r.ASTR, ui.ed_astr);
        EditToFloat(r.AEND, ui.ed_aend);
        break;
    case kAlarmInputsTable:
        r.INA1 = byteIndex(ui.cb_alarm_lo);
        r.INA2 = byteIndex(ui.cb_alarm_hi);
        break;
    }
}

void Tmenu_qzr17::collectInputs(int table)
{
    const bool first = table == 1;
    SensorInput& input = first ? param_record.input1 : param_record.input2;
    input.TYPE = byteIndex(first ? m_ui->cb_type1 : m_ui->cb_type2);
    input.DP_ = byteIndex(first ? m_ui->cb_dp1 : m_ui->cb_dp2);
    EditToFloat(input.STRS, first ? m_ui->ed_strs1 : m_ui->ed_strs2);
    EditToFloat(input.ENDS, first ? m_ui->ed_ends1 : m_ui->ed_ends2);
}

void Tmenu_qzr17::collectClock()
{
    ParamRecord& r = param_record;
    r.seconds = 0;
    EditToByte(r.MIN, m_ui->ed_realmin);
    EditToByte(r.HOUR, m_ui->ed_realhod);
    EditToByte(r.DATE, m_ui->ed_den);
    r.DAY = byteFromOne(m_ui->cb_denty);
    r.MONT = byteFromOne(m_ui->cb_mesic);
    EditToByte(r.YEAR, m_ui->ed_rok);
}

QWidget* Tmenu_qzr17::pageOf(int table) const
{
    switch (table) {
    case 0: return m_ui->ekvi;
    case 1: return m_ui->snimac1;
    case 2: return m_ui->snimac2;
    case 3:
    case kAlarmInputsTable: return m_ui->alarm;
    case 4: return m_ui->rego;
    case 5: return m_ui->erro;
    case 6:
    case kAddressTable: return m_ui->ostat;
    case kClockTable: return m_ui->cas;
    case kPidTable: return m_ui->pid;
    case kAnalogueOutputTable: return m_ui->daco;
    }
    return nullptr;
}

void Tmenu_qzr17::bringTableToFront(int table)
{
    if (QWidget* page = pageOf(table))
        m_ui->pgc->setCurrentWidget(page);
}

// The pages, by their tab text, that show fields of the tables; table 4
// fills two of them.
QStringList Tmenu_qzr17::pageNames(const std::vector<int>& tables) const
{
    QStringList pages;
    for (const int table : tables) {
        for (QWidget* page : table == 4 ? QList<QWidget*>{m_ui->regul, m_ui->rego} : QList{pageOf(table)}) {
            const QString name = m_ui->pgc->tabText(m_ui->pgc->indexOf(page));
            if (!pages.contains(name))
                pages.append(name);
        }
    }
    return pages;
}

// The pages of the tables among `steps` that the last reads did not bring.
QStringList Tmenu_qzr17::pagesNotRead(const std::vector<WriteStep>& steps) const
{
    std::vector<int> tables;
    for (const WriteStep& step : steps) {
        if (!m_fromRegulator[static_cast<size_t>(step.table)])
            tables.push_back(step.table);
    }
    return pageNames(tables);
}

// The pages whose tables a write that stopped at `failed` has sent.
QStringList Tmenu_qzr17::pagesWrittenBefore(const std::vector<WriteStep>& steps, int failed) const
{
    std::vector<int> tables;
    for (auto step = steps.begin(); step != steps.end() && step->table != failed; ++step)
        tables.push_back(step->table);
    return pageNames(tables);
}

void Tmenu_qzr17::Timer1Timer()
{
    const bool startup = std::exchange(m_startupCheck, false);
    if (!m_sets->mayReadOver())
        return;
    if (!bus_protocol::ProbeStation()) {
        ApplyFirmwareVariant(new_firmware);
        // An unplugged adapter at start-up is told by the status bar alone.
        if (!(startup && bus_protocol::PortDeviceAbsent()))
            ReportNoConnection();
        return;
    }
    pause(kStepPauseMs);
    // A version text without a date raises here: nothing is read then.
    new_firmware = firmware::isNew(ReadFirmwareDate()) ? 1 : 0;
    pause(kStepPauseMs);
    tl_cistClick();
    pause(kStepPauseMs);
    tl_readClick();
}

void Tmenu_qzr17::tl_cistClick()
{
    m_progress->start();
    const int ok = ReadParameterTables(new_firmware != 0, *m_progress, m_fromRegulator);
    if (!ok)
        ReportReadFailure();
    m_progress->hide();
    ShowParameters();
    m_sets->parametersMatchRegulator();
}

void Tmenu_qzr17::tl_zapisClick()
{
    const auto steps = ParameterWriteSteps(new_firmware != 0, m_ui->check_time->isChecked());
    const QStringList notRead = pagesNotRead(steps);
    if (!notRead.isEmpty() && !ConfirmPagesNotRead(notRead))
        return;
    m_progress->start();
    const auto failed = WriteParameterTables(steps, [this](int table) { CollectTable(table); }, *m_progress);
    m_progress->hide();
    if (!failed)
        m_sets->parametersMatchRegulator();
    if (failed && ReportWriteFailure(PagesAlreadyWritten(pagesWrittenBefore(steps, *failed))))
        bringTableToFront(*failed);
}

void Tmenu_qzr17::tl_eepromClick()
{
    m_progress->showFull();
    const int stored = bus_protocol::StoreToEeprom();
    m_progress->hide();
    if (!stored)
        ReportStoreFailure();
}

void Tmenu_qzr17::tl_cancelClick() { accept(); }

void Tmenu_qzr17::TabControl1Change(int selected) { m_week->TabControl1Change(selected); }

void Tmenu_qzr17::tl_readClick()
{
    m_week->tl_readClick();
    m_sets->weekMatchesRegulator();
}

void Tmenu_qzr17::tl_writeClick()
{
    if (m_week->tl_writeClick())
        m_sets->weekMatchesRegulator();
}
