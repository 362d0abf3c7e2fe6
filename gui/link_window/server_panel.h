#pragma once

#include "network_address.h"

#include <QGroupBox>

#include <memory>
#include <optional>

namespace Ui {
class ServerPanel;
}

// "Server v síti" in the port dialog: a serial server on the network (host,
// TCP port, kind) given a COM number. "Vyzkoušet" connects once, as the port
// would, and says whether the server answered; "Přiřadit server" writes the
// assignment, so that the COM number opens the server from then on.
class ServerPanel : public QGroupBox {
    Q_OBJECT

public:
    explicit ServerPanel(int comNumber, QWidget* parent = nullptr);
    ~ServerPanel() override;

    // The rate the check sets on an RFC 2217 server: the line's own.
    void setBaudRate(int baudRate) { m_baudRate = baudRate; }

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

    std::unique_ptr<Ui::ServerPanel> m_ui;
    int m_baudRate = 9600;
};
