#pragma once

#include "network_address.h"
#include "network_port.h"

#include <QGroupBox>

#include <memory>
#include <optional>

namespace Ui {
class ServerPanel;
}

// "Server v síti" in the port dialog: a serial server on the network (host,
// TCP port, kind) given a COM number. "Vyzkoušet" connects once, as the port
// would, and says how far the server answered: why a connection failed, and
// through a raw TCP server whether the station at the line's address
// answered; "Přiřadit server" writes the assignment, so that the COM number
// opens the server from then on.
class ServerPanel : public QGroupBox {
    Q_OBJECT

public:
    explicit ServerPanel(int comNumber, QWidget* parent = nullptr);
    ~ServerPanel() override;

    // The rate the check sets on an RFC 2217 server: the line's own.
    void setBaudRate(int baudRate) { m_baudRate = baudRate; }
    // The addresses the check through a raw TCP server probes with.
    void setStation(const StationProbe& station) { m_station = station; }

    void tl_vyzkousetClick();
    void tl_priraditServerClick();

signals:
    void assigned(int comNumber);

protected:
    void changeEvent(QEvent* event) override;

private:
    void showServerOf(int comNumber);
    std::optional<NetworkAddress> address();
    void tell(const QString& text, bool failed);
    void tellChecked(const NetworkAddress& server, const ServerCheck& check);

    std::unique_ptr<Ui::ServerPanel> m_ui;
    int m_baudRate = 9600;
    StationProbe m_station;
};
