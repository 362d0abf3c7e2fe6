#include "week_programme.h"

#include "edit_conversions.h"
#include "load_progress.h"
#include "param_record.h"
#include "regulator_sequences.h"

#include <QLineEdit>
#include <QSignalBlocker>
#include <QTabBar>

namespace {

struct LevelFields {
    float& shift;
    int8_t& hour;
    int8_t& minute;
};

LevelFields levelOf(day_record& day, int level)
{
    switch (level) {
    case 0: return {day.shift1, day.hour1, day.minute1};
    case 1: return {day.shift2, day.hour2, day.minute2};
    case 2: return {day.shift3, day.hour3, day.minute3};
    default: return {day.shift4, day.hour4, day.minute4};
    }
}

} // namespace

WeekProgramme::WeekProgramme(QTabBar* days, const std::array<Level, kLevels>& levels, LoadProgress& progress,
                             regulator_sequences::TableSet& fromRegulator)
    : m_days(days), m_levels(levels), m_progress(progress), m_fromRegulator(fromRegulator)
{
}

void WeekProgramme::ShowDay(int day)
{
    day_record& record = param_record.days[day];
    for (int k = 0; k < kLevels; ++k)
        m_levels[k].shift->setText(floatText(levelOf(record, k).shift));
    for (int k = 0; k < kLevels; ++k)
        m_levels[k].hour->setText(byteText(levelOf(record, k).hour));
    for (int k = 0; k < kLevels; ++k)
        m_levels[k].minute->setText(byteText(levelOf(record, k).minute));
}

bool WeekProgramme::SaveDay(int day)
{
    day_record& record = param_record.days[day];
    int failed = 0;
    for (int k = 0; k < kLevels; ++k)
        failed |= EditToFloat(levelOf(record, k).shift, m_levels[k].shift);
    for (int k = 0; k < kLevels; ++k)
        failed |= EditToByte(levelOf(record, k).hour, m_levels[k].hour);
    for (int k = 0; k < kLevels; ++k)
        failed |= EditToByte(levelOf(record, k).minute, m_levels[k].minute);
    return failed == 0;
}

void WeekProgramme::TabControl1Change(int selected)
{
    if (!SaveDay(m_shownDay)) {
        const QSignalBlocker blocker(m_days);
        m_days->setCurrentIndex(m_shownDay);
        return;
    }
    ShowDay(selected);
    m_shownDay = selected;
}

void WeekProgramme::tl_readClick()
{
    m_progress.start();
    const int ok = regulator_sequences::ReadWeekTables(m_progress, m_fromRegulator);
    m_progress.hide();
    if (!ok)
        regulator_sequences::ReportReadFailure();
    ShowDay(m_days->currentIndex());
}

bool WeekProgramme::tl_writeClick()
{
    SaveDay(m_days->currentIndex());
    QStringList notRead;
    for (int day = 0; day < regulator_sequences::kDayCount; ++day)
        if (!m_fromRegulator[regulator_sequences::kFirstDayTable + day])
            notRead.append(m_days->tabText(day));
    if (!notRead.isEmpty() && !regulator_sequences::ConfirmDaysNotRead(notRead))
        return false;
    m_progress.start();
    const std::optional<int> failed = regulator_sequences::WriteWeekTables(m_progress);
    m_progress.hide();
    if (!failed)
        return true;
    QStringList written;
    for (int day = 0; day < *failed - regulator_sequences::kFirstDayTable; ++day)
        written.append(m_days->tabText(day));
    regulator_sequences::ReportWriteFailure(regulator_sequences::DaysAlreadyWritten(written));
    return false;
}
