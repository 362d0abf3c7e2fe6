#pragma once

#include "network_port.h"
#include "port_source.h"

#include <QDialog>

#include <memory>
#include <optional>

class QTimer;
class ServerPanel;
namespace Ui {
class PortChooser;
}

// "Porty v počítači": the serial ports the computer has, refreshed while the
// dialog is open as adapters come and go. "Přiřadit" gives the chosen port a
// COM number: elsewhere than on Windows it writes the COMn link in the port
// directory, to the port's stable by-id name where there is one; on Windows
// the port's own COM number is taken. Refusals change nothing. Below, a
// serial server on the network can be given a COM number instead.
class PortChooser : public QDialog {
    Q_OBJECT

public:
    static constexpr int kRefreshMs = 1000;

    PortChooser(const PortSource& source, int comNumber, QWidget* parent = nullptr);
    ~PortChooser() override;

    // The COM number that now leads to the chosen port, once assigned.
    std::optional<int> assignedNumber() const { return m_assigned; }
    // The line's rate, for the check of a serial server on the network.
    void setBaudRate(int baudRate);
    // The addresses a check through a raw TCP server probes with.
    void setStation(const StationProbe& station);

    void refresh();
    void tl_priraditClick();

protected:
    void changeEvent(QEvent* event) override;

private:
    void showPorts(const std::optional<SerialPortEntry>& chosen);
    std::optional<SerialPortEntry> chosenPort() const;
    bool stillThere(const SerialPortEntry& port) const;
    std::optional<int> assign(const SerialPortEntry& port);
    void refuse(const QString& text);

    std::unique_ptr<Ui::PortChooser> m_ui;
    const PortSource& m_source;
    QList<SerialPortEntry> m_ports;
    QTimer* m_refresh;
    ServerPanel* m_serverPanel;
    std::optional<int> m_assigned;
};
