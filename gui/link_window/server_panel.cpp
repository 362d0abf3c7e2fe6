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
    const ServerCheck check = checkServer(*server, m_baudRate, m_station);
    QGuiApplication::restoreOverrideCursor();
    tellChecked(*server, check);
}

void ServerPanel::tellChecked(const NetworkAddress& server, const ServerCheck& check)
{
    const QString name = server.text();
    const int station = m_station.destination;
    switch (check.outcome) {
    case ServerCheck::Outcome::Unreachable:
        tell(tr("Se serverem %1 se nelze spojit: %2.").arg(name, check.reason), true);
        break;
    case ServerCheck::Outcome::Connected:
        tell(tr("Server %1 přijal spojení.").arg(name), false);
        break;
    case ServerCheck::Outcome::Silent:
        tell(tr("Server %1 přijal spojení, ale na dotaz na stanici %2 nepřišlo nic: server data nepředává, "
                "nebo jeho linka nemá %3 Bd, 8 datových bitů, sudou paritu a 1 stop bit, nebo na adrese %2 "
                "není regulátor.")
                 .arg(name)
                 .arg(station)
                 .arg(m_baudRate),
             true);
        break;
    case ServerCheck::Outcome::Relayed:
        tell(tr("Server %1 předává data, ale na dotaz na stanici %2 nepřišla platná odpověď: jeho linka "
                "nemá %3 Bd, 8 datových bitů, sudou paritu a 1 stop bit, nebo na ní ruší jiná stanice.")
                 .arg(name)
                 .arg(station)
                 .arg(m_baudRate),
             true);
        break;
    case ServerCheck::Outcome::Answered:
        tell(tr("Server %1 předává data: stanice na adrese %2 odpověděla.").arg(name).arg(station), false);
        break;
    case ServerCheck::Outcome::Unconfirmed:
        tell(tr("Server %1 přijal spojení, ale nepotvrdil nastavení linky (RFC 2217).").arg(name), true);
        break;
    case ServerCheck::Outcome::Confirmed:
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
    if (const EntryFailure failure = assignServer(number, *server)) {
        tell(tr("%1 nelze přiřadit server %2: %3.").arg(comPortName(number), server->text(), *failure), true);
        return;
    }
    emit assigned(number);
}

void ServerPanel::tell(const QString& text, bool failed)
{
    prompts().message(text, tr("Server v síti"), failed ? Prompts::Icon::Error : Prompts::Icon::Information,
                      Prompts::Buttons::Ok, this);
}
