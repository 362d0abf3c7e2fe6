#pragma once

#include "regulator_sequences.h"

#include <QDialog>

#include <memory>

class LoadProgress;
class ParamSetCommands;
class QShowEvent;
class QTimer;
class WeekProgramme;
namespace Ui {
class menu_qzr17;
}

// The regulator settings window "QZR 17": eleven parameter pages, the weekly
// programme on seven day tabs, and the buttons that read the regulator,
// write it and ask it to store the parameters in EEPROM. Created once at
// start-up and shown modally; the controls keep their contents between
// showings. Each showing checks the connection and reads everything anew.
class Tmenu_qzr17 : public QDialog {
    Q_OBJECT

public:
    static constexpr int kTimerIntervalMs = 10;

    explicit Tmenu_qzr17(QWidget* parent = nullptr);
    ~Tmenu_qzr17() override;

    // The creation step: arms Timer1, so that the connection check and the
    // automatic read run once shortly after start-up.
    void FormCreate();

    // Every control of the pages from the parameter record.
    void ShowParameters();
    // The alarm page for firmware before (0) or since (1) 3 October 2008.
    void ApplyFirmwareVariant(int flag);
    // The fields of one table from their controls, just before it is
    // written. A refused text goes out as 0.
    void CollectTable(int table);

    void Timer1Timer();
    void tl_cistClick();
    void tl_zapisClick();
    void tl_eepromClick();
    void tl_cancelClick();
    void TabControl1Change(int selected);
    void tl_readClick();
    void tl_writeClick();

    WeekProgramme& week() { return *m_week; }
    // A table loaded whole from a parameter set holds deliberate values:
    // writing it asks nothing, as after a read.
    void tableLoaded(int table) { m_fromRegulator.set(static_cast<size_t>(table)); }
    ParamSetCommands& sets() { return *m_sets; }

    // Decides whether table 20 is read and written and how the alarm page
    // reads; set by each successful connection check.
    int new_firmware = 0;

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // The check run at start-up, while the window is still hidden.
    bool m_startupCheck = false;
    void labelAlarmLimits(int flag);
    void FormShow();
    void buildDayTabs();
    void connectHandlers();
    void showInputs(int table);
    void showClock();
    void collectInputs(int table);
    void collectClock();
    QWidget* pageOf(int table) const;
    void bringTableToFront(int table);
    QStringList pageNames(const std::vector<int>& tables) const;
    QStringList pagesNotRead(const std::vector<regulator_sequences::WriteStep>& steps) const;
    QStringList pagesWrittenBefore(const std::vector<regulator_sequences::WriteStep>& steps,
                                   int failed) const;

    std::unique_ptr<Ui::menu_qzr17> m_ui;
    std::unique_ptr<LoadProgress> m_progress;
    regulator_sequences::TableSet m_fromRegulator;
    std::unique_ptr<WeekProgramme> m_week;
    std::unique_ptr<ParamSetCommands> m_sets;
    QTimer* Timer1;
};
