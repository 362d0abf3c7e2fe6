#pragma once

#include "curve_chart.h"
#include "log_history.h"
#include "translated_texts.h"

#include <QMainWindow>

#include <optional>

class HistoryChart;
class QAction;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;

// "Záznam měření": a measurement log file read back, as a chart of its values
// over time and as the heating curve's view. Modeless, one window a file;
// opening the file again shows it anew in the same window.
class LogHistoryWindow : public QMainWindow {
    Q_OBJECT
public:
    // Asks for a log file and shows it.
    static void openFromDialog(QWidget* owner);
    // The window of the file, shown anew; nullptr when the file cannot be
    // read or is no log, which the user is told.
    static LogHistoryWindow* open(const QString& path, QWidget* owner);

    QString filePath() const { return m_path; }
    const LogHistory& history() const { return m_history; }
    HistoryChart* chart() const { return m_chart; }
    CurveChart* curveChart() const { return m_curveChart; }

    void tl_obnovitClick();
    void tl_celyClick();
    void tl_priblizitClick();
    void tl_oddalitClick();
    void tl_csvClick();
    void tl_obrazekClick();
    void tl_regulatorClick();
    void tl_sadaClick();

protected:
    void changeEvent(QEvent* event) override;

private:
    LogHistoryWindow(const QString& path, LogHistory history, QWidget* owner);

    static LogHistoryWindow* windowOf(const QString& path, QWidget* owner);
    QAction* addTool(class QToolBar* tools, const char* name, const char* text,
                     void (LogHistoryWindow::*handler)());
    void buildToolBar();
    QWidget* buildTimeTab();
    QWidget* buildCurveTab();
    QLineEdit* addReadOnlyLine(class QGridLayout* layout, int row, const char* caption);
    bool reload();
    void retranslate();
    void showSummary();
    void showRange();
    void showCursor();
    void showCurve();
    void showCurveSamples();
    // The visible samples, [first, last).
    std::pair<qsizetype, qsizetype> visibleSamples() const;
    std::optional<QString> askSaveName(const char* title, const char* filter, const char* extension);
    QImage picture() const;

    TranslatedTexts m_texts{"LogHistoryWindow"};
    QString m_path;
    LogHistory m_history;
    QTabWidget* m_tabs = nullptr;
    HistoryChart* m_chart = nullptr;
    CurveChart* m_curveChart = nullptr;
    QLineEdit* ed_rozsah = nullptr;
    QLineEdit* ed_kurzor = nullptr;
    QLineEdit* ed_krivka = nullptr;
    QLabel* m_summary = nullptr;
    // The curve of a parameter set file chosen here; without one, the
    // regulator's as the settings window last read it.
    std::optional<QString> m_setFile;
    std::optional<HeatingCurve> m_setCurve;
};
