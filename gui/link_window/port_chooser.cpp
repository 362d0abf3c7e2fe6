#include "port_chooser.h"

#include "ui_port_chooser.h"

#include "port_names.h"
#include "prompts.h"
#include "server_entries.h"
#include "server_panel.h"

#include <QEvent>
#include <QFileInfo>
#include <QHeaderView>
#include <QTimer>

namespace {

QStringList fieldsOf(const SerialPortEntry& port)
{
    return {port.systemName, port.description, port.manufacturer, port.serialNumber, port.usbIds(), port.stableName};
}

#ifndef Q_OS_WIN
// Two names of one device: the same text, or links that meet at one node.
bool sameDevice(const QString& one, const QString& other)
{
    const QString canonical = QFileInfo(one).canonicalFilePath();
    return one == other || (!canonical.isEmpty() && canonical == QFileInfo(other).canonicalFilePath());
}
#endif

} // namespace

PortChooser::PortChooser(const PortSource& source, int comNumber, QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::PortChooser>()), m_source(source), m_refresh(new QTimer(this))
{
    m_ui->setupUi(this);
    // Above the closing button, and before it in the tab order.
    m_serverPanel = new ServerPanel(comNumber, this);
    m_ui->layout->insertWidget(m_ui->layout->count() - 1, m_serverPanel);
    setTabOrder(m_serverPanel->findChild<QWidget*>(QStringLiteral("tl_priradit_server")), m_ui->tl_zavrit);
    connect(m_serverPanel, &ServerPanel::assigned, this, [this](int number) {
        m_assigned = number;
        accept();
    });
    m_ui->ed_com->setValue(comNumber);
#ifdef Q_OS_WIN
    // Windows numbers its ports itself: the chosen port's own number is taken.
    m_ui->lb_com->hide();
    m_ui->ed_com->hide();
#endif
    connect(m_ui->str_porty, &QTableWidget::itemSelectionChanged, this,
            [this] { m_ui->tl_priradit->setEnabled(chosenPort().has_value()); });
    connect(m_ui->str_porty, &QTableWidget::cellDoubleClicked, this, &PortChooser::tl_priraditClick);
    connect(m_ui->tl_priradit, &QPushButton::clicked, this, &PortChooser::tl_priraditClick);
    connect(m_ui->tl_zavrit, &QPushButton::clicked, this, &QDialog::reject);
    m_refresh->setInterval(kRefreshMs);
    connect(m_refresh, &QTimer::timeout, this, &PortChooser::refresh);
    m_refresh->start();
    m_ports = m_source.ports();
    showPorts(std::nullopt);
}

PortChooser::~PortChooser() = default;

void PortChooser::setBaudRate(int baudRate) { m_serverPanel->setBaudRate(baudRate); }

void PortChooser::setStation(const StationProbe& station) { m_serverPanel->setStation(station); }

void PortChooser::changeEvent(QEvent* event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::LanguageChange)
        m_ui->retranslateUi(this);
}

// Rebuilt only when the ports changed, keeping the row the user chose.
void PortChooser::refresh()
{
    const QList<SerialPortEntry> ports = m_source.ports();
    if (ports == m_ports)
        return;
    const std::optional<SerialPortEntry> chosen = chosenPort();
    m_ports = ports;
    showPorts(chosen);
}

void PortChooser::showPorts(const std::optional<SerialPortEntry>& chosen)
{
    QTableWidget* table = m_ui->str_porty;
    // The selection would stay on the row number, not on the port.
    table->setCurrentItem(nullptr);
    table->clearSelection();
    table->setRowCount(int(m_ports.size()));
    for (int row = 0; row < m_ports.size(); ++row) {
        const QStringList fields = fieldsOf(m_ports[row]);
        for (int column = 0; column < fields.size(); ++column) {
            auto* cell = new QTableWidgetItem(fields[column]);
            cell->setToolTip(fields[column]); // a long by-id name is shown shortened
            table->setItem(row, column, cell);
        }
        if (chosen && chosen->systemName == m_ports[row].systemName)
            table->selectRow(row);
    }
    table->resizeColumnsToContents();
    m_ui->tl_priradit->setEnabled(chosenPort().has_value());
}

std::optional<SerialPortEntry> PortChooser::chosenPort() const
{
    const QList<QTableWidgetItem*> selected = m_ui->str_porty->selectedItems();
    if (selected.isEmpty() || selected.first()->row() >= m_ports.size())
        return std::nullopt;
    return m_ports[selected.first()->row()];
}

bool PortChooser::stillThere(const SerialPortEntry& port) const
{
    const QList<SerialPortEntry> now = m_source.ports();
    return std::any_of(now.begin(), now.end(),
                       [&port](const SerialPortEntry& p) { return p.systemLocation == port.systemLocation; });
}

void PortChooser::refuse(const QString& text)
{
    prompts().message(text, tr("Porty v počítači"), Prompts::Icon::Error, Prompts::Buttons::Ok, this);
}

void PortChooser::tl_priraditClick()
{
    const std::optional<SerialPortEntry> port = chosenPort();
    if (!port)
        return;
    if (!stillThere(*port)) {
        refuse(tr("Zařízení %1 už není připojeno.").arg(port->systemName));
        refresh();
        return;
    }
    m_assigned = assign(*port);
    if (m_assigned)
        accept();
}

#ifdef Q_OS_WIN
std::optional<int> PortChooser::assign(const SerialPortEntry& port)
{
    if (const std::optional<int> number = comPortNumber(port.systemName)) {
        // The number is the port's own again, not a server's.
        forgetServer(*number);
        return number;
    }
    refuse(tr("Port %1 nemá číslo COM.").arg(port.systemName));
    return std::nullopt;
}
#else
std::optional<int> PortChooser::assign(const SerialPortEntry& port)
{
    const int number = m_ui->ed_com->value();
    const QString name = comPortName(number);
    const QString target = port.linkTarget();
    const QString current = portEntryTarget(name);
    if (!current.isEmpty() && !sameDevice(current, target)) {
        const Prompts::Answer answer = prompts().message(
            tr("%1 už vede na %2.\nOpravdu ho chcete přesměrovat na %3?").arg(name, current, target),
            tr("Dotaz"), Prompts::Icon::Question, Prompts::Buttons::YesNoDefaultNo, this);
        if (answer != Prompts::Answer::Yes)
            return std::nullopt;
    }
    if (const EntryFailure failure = linkComPort(number, target)) {
        refuse(tr("Odkaz %1 nelze zapsat: %2.").arg(name, *failure));
        return std::nullopt;
    }
    return number;
}
#endif
