#pragma once

#include "clock.h"
#include "measurement_log.h"
#include "measurement_polling.h"
#include "settings_store.h"
#include "translated_texts.h"

#include <QColor>
#include <QMainWindow>

#include <memory>
#include <optional>

enum class Language;
class DeviationChart;
class LinkStatus;
class QAction;
class QCheckBox;
class QDialog;
class QFrame;
class QLabel;
class QPrinter;
class QPushButton;
class QTimer;
class Tform_nastaveni;
class Tport;
class Tprovoz;
class ValuePanel;

// The main window "QZR 17": live values, the deviation chart, the log and the
// menus that show every other window. While "aut. čtení" is checked, the
// polling counts new seconds of the clock, reads the measured values every
// chart_interval seconds and logs them every file_interval seconds; the
// window shows what it reads and keeps the log it tells.
class Tqzr17 : public QMainWindow {
    Q_OBJECT
    // Made first: the polling fields below are its own.
    MeasurementPolling* const m_polling = new MeasurementPolling(this);

public:
    static constexpr int kDesignedLeft = 188;
    static constexpr int kDesignedTop = 106;
    static constexpr int kDesignedWidth = 651;
    static constexpr int kDesignedHeight = 477;
    static constexpr QSize kLeastUsableSize{320, 240};

    explicit Tqzr17(QWidget* parent = nullptr);
    ~Tqzr17() override;

    // The creation step: opens the settings store and restores the settings.
    void FormCreate();
    SettingsStore& store() { return *m_store; }

    // The windows the menus show, created after this one.
    void setLinkWindow(Tport* window);
    void setSettingsWindow(QDialog* window) { m_settingsWindow = window; }
    void setIdentWindow(QDialog* window) { m_identWindow = window; }
    void setAboutWindow(QDialog* window) { m_aboutWindow = window; }
    void setStorageDialog(Tform_nastaveni* window) { m_storageDialog = window; }
    // The clock the polling counts and the log stamps (not owned); nullptr
    // restores the computer's own.
    void setClock(const Clock* clock);
    const MeasurementLog& log() const { return m_log; }
    // The traffic monitor, once opened.
    Tprovoz* trafficWindow() const { return m_trafficWindow.get(); }

    int point_limit = 400;
    QColor pen_color{Qt::red};
    int& chart_interval = m_polling->chart_interval;
    int& file_interval = m_polling->file_interval;
    int& chart_tick = m_polling->chart_tick;
    int& file_tick = m_polling->file_tick;
    quint16& last_second = m_polling->last_second;
    double point_x = 0.0;
    bool log_named = false;

    QTimer* const Timer1 = m_polling->Timer1;
    QTimer* const Timer2 = m_polling->Timer2;
    QCheckBox* check_spust = nullptr;
    DeviationChart* Chart1 = nullptr;
    LinkStatus* m_linkStatus = nullptr;

    void mn_konecClick();
    void mn_portClick();
    void mn_regulClick();
    void mn_aboutClick();
    void mn_identClick();
    void check_spustClick();
    void Timer1Timer();
    void Timer2Timer();
    void ReadMeasurements();
    void AddChartPoint(float deviation);
    void AppendLogLine();
    void tl_barva_peraClick();
    void mn_printClick();
    void mn_novyClick();
    void mn_ulozClick();
    void mn_uloz_jakoClick();
    void mn_otevriClick();
    void mn_grafClick();
    void mn_provozClick();

protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void buildPanel();
    void buildMenus();
    ValuePanel* addValuePanel(const char* name, const char* title, int left, int titleLeft, int width,
                              const char* hint);
    QAction* addMenuItem(class QMenu* menu, const char* name, const char* caption, const QString& icon);
    void addLanguageMenu(class QMenu* help);
    void chooseLanguage(Language language);
    void restoreGeometry();
    void fitOnScreen();
    void showMeasurement(const Measurement& measurement);
    void addLogLine(const QString& line, const QDateTime& at);
    void FormClose();
    void showModalWithoutPolling(QDialog* window);
    void showModal(QDialog* window);
    void paintSwatch();
    void placeRightAnchored();
    void connectHandlers();
    void readIntervals();
    std::optional<QString> askLogFileName();
    void saveOrStartLog();
    void createTrafficWindow();
    void writeTrafficGeometry();

    TranslatedTexts m_texts{"Tqzr17"};
    std::unique_ptr<SettingsStore> m_store;
    QFrame* m_panel1 = nullptr;
    QFrame* m_penSwatch = nullptr;
    QPushButton* m_penButton = nullptr;
    QFrame* m_receptionLamp = nullptr;
    ValuePanel* pa_voda = nullptr;
    ValuePanel* pa_venkovni = nullptr;
    ValuePanel* pa_sp = nullptr;
    ValuePanel* pa_utlum = nullptr;
    ValuePanel* pa_odchylka = nullptr;
    // The log's lines; it also keeps the file name last confirmed in the save
    // dialog dlg_uloz.
    MeasurementLog m_log;
    // The colour dialog opens with the colour last chosen in it.
    QColor m_colorDialogColor{Qt::black};
    // Keeps the printer chosen in the printer set-up for the whole run.
    std::unique_ptr<QPrinter> m_printer;
    QPoint m_storedPos;
    QPoint m_shownPos;

    // Created after this window and owned by it; they live for the whole run.
    Tport* m_linkWindow = nullptr;
    QDialog* m_settingsWindow = nullptr;
    QDialog* m_identWindow = nullptr;
    QDialog* m_aboutWindow = nullptr;
    Tform_nastaveni* m_storageDialog = nullptr;
    // Created when first opened; it records from then on.
    std::unique_ptr<Tprovoz> m_trafficWindow;
};

// A stored window size as it can be used: cut to the primary screen's
// available area, or `designed` when it is too small to use.
QSize usableSize(const QSize& stored, const QSize& designed);

// 0x00BBGGRR, red in the low byte, as the settings store keeps colours.
QColor colorFromStored(int value);
int colorToStored(const QColor& color);
