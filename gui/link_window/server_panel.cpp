#include "server_panel.h"

#include "ui_server_panel.h"

#include "network_port.h"
#include "port_names.h"
#include "prompts.h"
#include "server_entries.h"

#include <QEvent>
#include <QGuiApplication>

namespace {

constexpr int kRawTcpItem = 0;
constexpr int kRfc2217Item = 1;

} // namespace

ServerPanel::ServerPanel(int comNumber, QWidget* parent)
    : QGroupBox(parent), m_ui(std::make_unique<Ui::ServerPanel>())
{
    m_ui->setupUi(this);
    m_ui->ed_server_com->setValue(comNumber);
    showServerOf(comNumber);
    connect(m_ui->ed_server_com, &QSpinBox::valueChanged, this, &ServerPanel::showServerOf);
    connect(m_ui->tl_vyzkouset, &QPushButton::clicked, this, &ServerPanel::tl_vyzkousetClick);
    connect(m_ui->tl_priradit_server, &QPushButton::clicked, this, &ServerPanel::tl_priraditServerClick);
}

ServerPanel::~ServerPanel() = default;

void ServerPanel::changeEvent(QEvent* event)
{
    QGroupBox::changeEvent(event);
    if (event->type() == QEvent::LanguageChange)
        m_ui->retranslateUi(this);
}

// A number that stands for a server already shows it, to check or change.
void ServerPanel::showServerOf(int comNumber)
{
    const std::optional<NetworkAddress> server = serverFor(comPortName(comNumber));
    if (!server)
        return;
    m_ui->ed_server->setText(server->host);
    m_ui->ed_tcp_port->setValue(server->port);
    m_ui->cb_druh->setCurrentIndex(server->kind == NetworkAddress::Kind::Rfc2217 ? kRfc2217Item
                                                                                 : kRawTcpItem);
}

// The typed parts pass the same check as an address written out.
std::optional<NetworkAddress> ServerPanel::address()
{
    const NetworkAddress typed{m_ui->cb_druh->currentIndex() == kRfc2217Item ? NetworkAddress::Kind::Rfc2217
                                                                             : NetworkAddress::Kind::RawTcp,
                               m_ui->ed_server->text().trimmed(), quint16(m_ui->ed_tcp_port->value())};
    const std::optional<NetworkAddress> address = parseNetworkAddress(typed.text());
    if (!address) {
        tell(tr("\"%1\" není název ani IP adresa serveru.").arg(typed.host), true);
        m_ui->ed_server->setFocus();
    }
    return address;
}

void ServerPanel::tl_vyzkousetClick()
{
    const std::optional<NetworkAddress> server = address();
    if (!server)
        return;
    // The check may hold the window for the connect time-out.
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    const ServerAnswer answer = checkServer(*server, m_baudRate);
    QGuiApplication::restoreOverrideCursor();
    const QString name = server->text();
    switch (answer) {
    case ServerAnswer::None:
        tell(tr("Server %1 neodpověděl.").arg(name), true);
        break;
    case ServerAnswer::Connected:
        if (server->kind == NetworkAddress::Kind::Rfc2217)
            tell(tr("Server %1 přijal spojení, ale nepotvrdil nastavení linky (RFC 2217).").arg(name), true);
        else
            tell(tr("Server %1 přijal spojení.").arg(name), false);
        break;
    case ServerAnswer::Confirmed:
        tell(tr("Server %1 odpověděl a nastavil linku na %2 Bd.").arg(name).arg(m_baudRate), false);
        break;
    }
}

void ServerPanel::tl_priraditServerClick()
{
    const std::optional<NetworkAddress> server = address();
    if (!server)
        return;
    const int number = m_ui->ed_server_com->value();
    if (!assignServer(number, *server)) {
        tell(tr("%1 nelze přiřadit server %2.").arg(comPortName(number), server->text()), true);
        return;
    }
    emit assigned(number);
}

void ServerPanel::tell(const QString& text, bool failed)
{
    prompts().message(text, tr("Server v síti"), failed ? Prompts::Icon::Error : Prompts::Icon::Information,
                      Prompts::Buttons::Ok, this);
}
