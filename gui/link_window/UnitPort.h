#pragma once

#include "port_io.h"
#include "port_source.h"
#include "serial_line.h"

#include <QDialog>
#include <QTimer>

#include <memory>

class SettingsStore;
namespace Ui {
class Tport;
}

// The link settings window "Komunikační port" and the program's one serial
// port. Every change takes effect at once: a new port is opened, a new rate is
// written to the open port, a new address goes to the protocol module. OK only
// closes; Storno offers to undo what changed since the window was shown.
// "Najít adresy" probes bus addresses 0..126, one per tick of Timer1.
class Tport : public QDialog, public PortIo {
    Q_OBJECT

public:
    static constexpr int kSearchEnd = 127; // the broadcast address is never probed
    static constexpr int kSearchIntervalMs = 100;

    explicit Tport(SettingsStore& store, QWidget* parent = nullptr);
    ~Tport() override;

    // The creation step: reads the four link settings, hands the addresses to
    // the protocol module and opens the port. An open failure propagates (the
    // window stays usable, with "žádný port" selected); an adapter that is
    // unplugged keeps its port and is opened when it is plugged in.
    void FormCreate();

    // The port operations, forwarded to the serial line.
    void OpenPort(int number) { m_line.OpenPort(number); }
    void ApplyLineSettings() { m_line.ApplyLineSettings(); }
    void ClosePort() { m_line.ClosePort(); }
    bool ReadPort(uint8_t* buffer, int count, uint32_t& received) override;
    bool WritePort(const uint8_t* buffer, int count, uint32_t& written) override;
    void DropUntilQuiet(Clock::time_point until) override { m_line.DropUntilQuiet(until); }
    // Also a server that could not be reached at start-up: its error box
    // said why, and the settings window's check need not say it again.
    bool DeviceAbsent() const override { return m_line.deviceLost() || m_serverAwayAtStart; }
    SerialLine& line() { return m_line; }
    // Where "Porty v počítači" lists the computer's ports from.
    void setPortSource(std::unique_ptr<PortSource> source) { m_portSource = std::move(source); }

    int portNumber() const { return m_line.portNumber(); }
    int baudRate() const { return m_line.baudRate(); }
    int deviceAddress() const { return device_address; }
    int pcAddress() const { return pc_address; }

    void TakeSnapshot();
    [[nodiscard]] bool SettingsChanged() const;

    void cb_comChange();
    void cb_baudrateChange();
    void cb_daChange();
    void cb_saChange();
    // Storno: offers to undo the changes, then closes with Cancel, also when
    // the undo raised (the error then propagates after the close).
    void tl_cancelClick();
    // "Porty v počítači...": assigns a port of the computer a COM number and
    // switches to that number.
    void tl_portyClick();
    void tl_najitClick();
    void tl_prerusitClick();
    void Timer1Timer();

    void done(int result) override;

protected:
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void fitLabels();
    void FormShow();
    void FormClose();
    void offerUndo();
    void restoreSaved();
    void changePort(int number);
    void changeBaudRate(int rate);
    void changeDeviceAddress(int address);
    void changePcAddress(int address);
    void selectBaudRate(int rate);
    void setSearching(bool searching);
    void setCell(int row, int column, const QString& text);
    void showPortTargets();

    std::unique_ptr<Ui::Tport> m_ui;
    SettingsStore& m_store;
    SerialLine m_line; // holds port_number and baud_rate
    bool m_serverAwayAtStart = false;
    std::unique_ptr<PortSource> m_portSource = std::make_unique<SystemPortSource>();
    QTimer* Timer1;
    // Opens a lost device when it is back, also while nothing is read.
    QTimer* m_lostDeviceTimer;

    int device_address = 0;
    int pc_address = 0;
    int saved_port_number = 0;
    int saved_baud_rate = 0;
    int saved_device_address = 0;
    int saved_pc_address = 0;
    int search_address = 0;
};
