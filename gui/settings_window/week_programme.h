#pragma once

#include "regulator_sequences.h"

#include <array>

class LoadProgress;
class QLineEdit;
class QTabBar;

// The weekly programme on the day tab control: twelve edits that always show
// one day, four levels of a shift, an hour and a minute. A day's record takes
// the edits only when the user leaves the day or the week is written.
class WeekProgramme {
public:
    static constexpr int kLevels = 4;

    struct Level {
        QLineEdit* shift;
        QLineEdit* hour;
        QLineEdit* minute;
    };

    // `fromRegulator` notes which day tables the last reads brought.
    WeekProgramme(QTabBar* days, const std::array<Level, kLevels>& levels, LoadProgress& progress,
                  regulator_sequences::TableSet& fromRegulator);

    // The day the edits hold (the tag of the day tab control).
    int shownDay() const { return m_shownDay; }

    void ShowDay(int day);
    // Runs all twelve conversions, so that every refused edit shows its own
    // message; false when any was refused.
    bool SaveDay(int day);

    // After the user selected another day: a day with a refused edit is not
    // left, so that the user sees what was set to 0.
    void TabControl1Change(int selected);
    void tl_readClick();
    // True when all seven days were written.
    bool tl_writeClick();

private:
    QTabBar* m_days;
    std::array<Level, kLevels> m_levels;
    LoadProgress& m_progress;
    regulator_sequences::TableSet& m_fromRegulator;
    int m_shownDay = 0;
};
