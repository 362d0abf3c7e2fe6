#pragma once

#include "settings_store.h"

#include <QColor>
#include <QMainWindow>

class DeviationChart;
class QAction;
class QCheckBox;
class QDialog;
class QFrame;
class QLabel;
class QListWidget;
class QPushButton;
class QTimer;
class Tport;

// The main window "QZR 17": live values, the deviation chart, the log and the
// menus that show every other window.
class Tqzr17 : public QMainWindow {
    Q_OBJECT
public:
    static constexpr int kDesignedLeft = 188;
    static constexpr int kDesignedTop = 106;
    static constexpr int kDesignedWidth = 651;
    static constexpr int kDesignedHeight = 477;

    explicit Tqzr17(QWidget* parent = nullptr);
    ~Tqzr17() override;

    // The creation step: opens the settings store and restores the settings.
    void FormCreate();
    SettingsStore& store() { return *m_store; }

    // The windows the menus show, created after this one.
    void setLinkWindow(Tport* window) { m_linkWindow = window; }
    void setSettingsWindow(QDialog* window) { m_settingsWindow = window; }
    void setIdentWindow(QDialog* window) { m_identWindow = window; }
    void setAboutWindow(QDialog* window) { m_aboutWindow = window; }
    void setStorageDialog(QDialog* window) { m_storageDialog = window; }

    int point_limit = 400;
    QColor pen_color{Qt::red};
    int chart_interval = 1;
    int file_interval = 1;
    int chart_tick = 1;
    int file_tick = 1;
    quint16 last_second = 0;
    double point_x = 0.0;
    bool log_named = false;

    QTimer* Timer1;
    QTimer* Timer2;
    QCheckBox* check_spust = nullptr;
    DeviationChart* Chart1 = nullptr;

    void mn_konecClick();
    void mn_portClick();
    void mn_regulClick();
    void mn_aboutClick();
    void mn_identClick();
    void check_spustClick();

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void buildPanel();
    void buildMenus();
    QLabel* addValuePanel(const char* name, const QString& title, int left, int titleLeft, int width,
                          const QString& hint);
    QAction* addMenuItem(class QMenu* menu, const char* name, const QString& caption, const QString& icon);
    void restoreGeometry();
    void FormClose();
    void showModalWithoutPolling(QDialog* window);
    void showModal(QDialog* window);
    void paintSwatch();
    void placeRightAnchored();

    std::unique_ptr<SettingsStore> m_store;
    QFrame* m_panel1 = nullptr;
    QFrame* m_penSwatch = nullptr;
    QPushButton* m_penButton = nullptr;
    QFrame* m_receptionLamp = nullptr;
    QListWidget* m_logList = nullptr;
    QPoint m_storedPos;
    QPoint m_shownPos;

    // Created after this window and owned by it; they live for the whole run.
    Tport* m_linkWindow = nullptr;
    QDialog* m_settingsWindow = nullptr;
    QDialog* m_identWindow = nullptr;
    QDialog* m_aboutWindow = nullptr;
    QDialog* m_storageDialog = nullptr;
};

// 0x00BBGGRR, red in the low byte, as the settings store keeps colours.
QColor colorFromStored(int value);
int colorToStored(const QColor& color);
