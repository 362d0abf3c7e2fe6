#include "UnitPort.h"

#include "ui_UnitPort.h"

#include "app_error.h"
#include "bus_protocol.h"
#include "port_chooser.h"
#include "port_names.h"
#include "prompts.h"
#include "server_entries.h"
#include "settings_store.h"
#include "translated_texts.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QShowEvent>
#include <QTableWidgetItem>

namespace {

const QString kAdresa = QStringLiteral("ADRESA");
const QString kPort = QStringLiteral("PORT");
const QString kSa = QStringLiteral("SA");
const QString kDa = QStringLiteral("DA");
const QString kCom = QStringLiteral("COM");
const QString kBaudrate = QStringLiteral("BAUDRATE");

constexpr int kDefaultAddress = 0;
constexpr int kDefaultPort = 1;
constexpr int kDefaultBaudRate = 9600;
constexpr int kAddressCount = 127; // 0..126; 127 is the broadcast address

QString decimal(int value)
{
    return QLocale::c().toString(value);
}

// The protocol module keeps addresses as single bytes.
uint8_t lowByte(int value)
{
    return static_cast<uint8_t>(value & 0xFF);
}

// A number from the store may lie outside the list: then nothing is selected.
void selectItem(QComboBox* box, int index)
{
    box->setCurrentIndex(index >= 0 && index < box->count() ? index : -1);
}

} // namespace

Tport::Tport(SettingsStore& store, QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::Tport>()), m_store(store), Timer1(new QTimer(this)),
      m_lostDeviceTimer(new QTimer(this))
{
    m_ui->setupUi(this);
    setWindowFlag(Qt::MSWindowsFixedSizeDialogHint);
    fitLabels();
    for (int address = 0; address < kAddressCount; ++address) {
        m_ui->cb_da->addItem(decimal(address));
        m_ui->cb_sa->addItem(decimal(address));
    }
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(kSearchIntervalMs);

    // `activated` comes only from the user: selecting an item from the
    // program runs no change handler.
    connect(m_ui->cb_com, &QComboBox::activated, this, &Tport::cb_comChange);
    connect(m_ui->cb_baudrate, &QComboBox::activated, this, &Tport::cb_baudrateChange);
    connect(m_ui->cb_da, &QComboBox::activated, this, &Tport::cb_daChange);
    connect(m_ui->cb_sa, &QComboBox::activated, this, &Tport::cb_saChange);
    connect(m_ui->tl_ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_ui->tl_cancel, &QPushButton::clicked, this, &Tport::tl_cancelClick);
    connect(m_ui->tl_najit, &QPushButton::clicked, this, &Tport::tl_najitClick);
    connect(m_ui->tl_porty, &QToolButton::clicked, this, &Tport::tl_portyClick);
    connect(m_ui->tl_prerusit, &QPushButton::clicked, this, &Tport::tl_prerusitClick);
    connect(Timer1, &QTimer::timeout, this, &Tport::Timer1Timer);
    m_lostDeviceTimer->setInterval(SerialLine::kReopenIntervalMs);
    connect(m_lostDeviceTimer, &QTimer::timeout, this, [this] { m_line.reopenIfLost(); });
    m_lostDeviceTimer->start();

    m_line.setPortLostHandler([this] { m_ui->cb_com->setCurrentIndex(0); });
}

Tport::~Tport() = default;

void Tport::FormCreate()
{
    pc_address = m_store.ReadInteger(kAdresa, kSa, kDefaultAddress);
    device_address = m_store.ReadInteger(kAdresa, kDa, kDefaultAddress);
    m_line.setPortNumber(m_store.ReadInteger(kPort, kCom, kDefaultPort));
    m_line.setBaudRate(m_store.ReadInteger(kPort, kBaudrate, kDefaultBaudRate));

    selectItem(m_ui->cb_sa, pc_address);
    bus_protocol::SetSourceAddress(lowByte(pc_address));
    selectItem(m_ui->cb_da, device_address);
    bus_protocol::SetDestinationAddress(lowByte(device_address));
    m_ui->cb_baudrate->clear();
    for (int rate : kListedBaudRates)
        m_ui->cb_baudrate->addItem(decimal(rate));
    selectBaudRate(baudRate());
    selectItem(m_ui->cb_com, portNumber());

    try {
        m_line.OpenPortOrAwaitDevice(portNumber());
    } catch (const AppError&) {
        m_serverAwayAtStart = m_line.isNetworkPort();
        throw;
    }
    TakeSnapshot();
}

bool Tport::ReadPort(uint8_t* buffer, int count, uint32_t& received)
{
    return m_line.ReadPort(buffer, count, received);
}

bool Tport::WritePort(const uint8_t* buffer, int count, uint32_t& written)
{
    return m_line.WritePort(buffer, count, written);
}

void Tport::TakeSnapshot()
{
    saved_port_number = portNumber();
    saved_baud_rate = baudRate();
    saved_device_address = device_address;
    saved_pc_address = pc_address;
}

bool Tport::SettingsChanged() const
{
    return portNumber() != saved_port_number || baudRate() != saved_baud_rate ||
           device_address != saved_device_address || pc_address != saved_pc_address;
}

void Tport::cb_comChange()
{
    changePort(m_ui->cb_com->currentIndex());
}

void Tport::cb_baudrateChange()
{
    changeBaudRate(QLocale::c().toInt(m_ui->cb_baudrate->currentText()));
}

// The labels take the width of their text, whatever the font and language.
void Tport::fitLabels()
{
    for (QLabel* label : findChildren<QLabel*>())
        label->resize(label->sizeHint().width(), label->height());
}

void Tport::changeEvent(QEvent* event)
{
    QDialog::changeEvent(event);
    if (event->type() != QEvent::LanguageChange)
        return;
    retranslateKeepingEdits(*this, [this] { m_ui->retranslateUi(this); });
    fitLabels();
    showPortTargets();
}

void Tport::cb_daChange()
{
    changeDeviceAddress(m_ui->cb_da->currentIndex());
}

void Tport::cb_saChange()
{
    changePcAddress(m_ui->cb_sa->currentIndex());
}

void Tport::changePort(int number)
{
    m_serverAwayAtStart = false;
    m_line.setPortNumber(number);
    // "žádný port" leaves the open port open and in use.
    if (number == 0)
        return;
    ClosePort();
    OpenPort(number);
}

void Tport::changeBaudRate(int rate)
{
    m_line.setBaudRate(rate);
    ApplyLineSettings();
}

void Tport::changeDeviceAddress(int address)
{
    device_address = address;
    bus_protocol::SetDestinationAddress(lowByte(address));
}

void Tport::changePcAddress(int address)
{
    pc_address = address;
    bus_protocol::SetSourceAddress(lowByte(address));
}

void Tport::selectBaudRate(int rate)
{
    m_ui->cb_baudrate->setCurrentIndex(m_ui->cb_baudrate->findText(decimal(rate)));
}

void Tport::tl_cancelClick()
{
    // Storno closes the window whatever the undo did; an error from reopening
    // the port still reaches the user, after the close.
    try {
        offerUndo();
    } catch (...) {
        reject();
        throw;
    }
    reject();
}

void Tport::offerUndo()
{
    if (!SettingsChanged())
        return;
    const Prompts::Answer answer = prompts().message(
        tr("Byly provedeny změny v nastavení.\nOpravdu se chceš vrátit k původnímu nastavení?"), tr("Dotaz"),
        Prompts::Icon::Question, Prompts::Buttons::YesNo, this);
    if (answer == Prompts::Answer::Yes)
        restoreSaved();
    else
        TakeSnapshot();
}

// The saved numbers themselves are restored, not the list items: a number from
// the store that has no item would otherwise come back as "no selection".
void Tport::restoreSaved()
{
    if (portNumber() != saved_port_number) {
        selectItem(m_ui->cb_com, saved_port_number);
        changePort(saved_port_number);
    }
    if (baudRate() != saved_baud_rate) {
        selectBaudRate(saved_baud_rate);
        changeBaudRate(saved_baud_rate);
    }
    if (device_address != saved_device_address) {
        selectItem(m_ui->cb_da, saved_device_address);
        changeDeviceAddress(saved_device_address);
    }
    if (pc_address != saved_pc_address) {
        selectItem(m_ui->cb_sa, saved_pc_address);
        changePcAddress(saved_pc_address);
    }
}

void Tport::done(int result)
{
    // A search does not outlive the window: it would hold the bus and leave
    // the controls disabled for the next showing.
    if (Timer1->isActive())
        tl_prerusitClick();
    FormClose();
    QDialog::done(result);
}

void Tport::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void Tport::keyPressEvent(QKeyEvent* event)
{
    // Esc is the Storno button, and like it does nothing while it is disabled.
    if (event->matches(QKeySequence::Cancel)) {
        if (m_ui->tl_cancel->isEnabled())
            m_ui->tl_cancel->click();
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

// The settings editor may have written a new bus address to the regulator
// meanwhile; the protocol module already uses it, so it is no change to undo.
void Tport::FormShow()
{
    device_address = bus_protocol::GetDestinationAddress();
    selectItem(m_ui->cb_da, device_address);
    TakeSnapshot();
    showPortTargets();
}

// Each item's tooltip tells where its COM name leads now.
void Tport::showPortTargets()
{
    for (int number = 1; number < m_ui->cb_com->count(); ++number) {
        const QString name = comPortName(number);
        if (const std::optional<NetworkAddress> server = serverFor(name)) {
            m_ui->cb_com->setItemData(number, QStringLiteral("%1 → %2").arg(name, server->text()), Qt::ToolTipRole);
            continue;
        }
        const QString entry = portEntryTarget(name);
        const QString device = devicePathFor(name);
        QString tip = name;
        if (!entry.isEmpty() && entry != device)
            tip += QStringLiteral(" → ") + entry;
        if (device != name)
            tip += QStringLiteral(" → ") + device;
        if (!portDevicePresent(name))
            tip += tr(" (zařízení není připojeno)");
        m_ui->cb_com->setItemData(number, tip, Qt::ToolTipRole);
    }
}

void Tport::tl_portyClick()
{
    PortChooser chooser(*m_portSource, portNumber() > 0 ? portNumber() : kDefaultPort, this);
    chooser.setBaudRate(baudRate());
    chooser.setStation({lowByte(device_address), lowByte(pc_address)});
    chooser.exec();
    showPortTargets();
    if (!chooser.assignedNumber())
        return;
    selectItem(m_ui->cb_com, *chooser.assignedNumber());
    changePort(*chooser.assignedNumber());
}

void Tport::FormClose()
{
    m_store.WriteInteger(kAdresa, kSa, pc_address);
    m_store.WriteInteger(kAdresa, kDa, device_address);
    m_store.WriteInteger(kPort, kBaudrate, baudRate());
    // "žádný port" is never stored: the next start opens COM1.
    if (portNumber() == 0)
        m_line.setPortNumber(kDefaultPort);
    m_store.WriteInteger(kPort, kCom, portNumber());
    m_store.Sync();
}

void Tport::tl_najitClick()
{
    setSearching(true);
    QTableWidget* tab = m_ui->str_tab;
    const int columns = tab->columnCount();
    for (int address = 0; address < kSearchEnd; ++address)
        setCell(address / columns, address % columns, QStringLiteral(" "));
    search_address = 0;
    Timer1->start();
}

void Tport::Timer1Timer()
{
    const uint8_t kept = bus_protocol::GetDestinationAddress();
    const int address = search_address;
    const int columns = m_ui->str_tab->columnCount();
    const int row = address / columns;
    const int column = address % columns;
    m_ui->str_tab->setCurrentCell(row, column);
    bus_protocol::SetDestinationAddress(lowByte(address));
    if (bus_protocol::ProbeStation())
        setCell(row, column, decimal(address));
    search_address = address + 1;
    bus_protocol::SetDestinationAddress(kept);
    if (search_address >= kSearchEnd)
        tl_prerusitClick();
}

void Tport::tl_prerusitClick()
{
    Timer1->stop();
    setSearching(false);
}

void Tport::setSearching(bool searching)
{
    m_ui->tl_prerusit->setEnabled(searching);
    for (QWidget* w : std::initializer_list<QWidget*>{m_ui->tl_ok, m_ui->tl_cancel, m_ui->cb_sa, m_ui->cb_da,
                                                      m_ui->cb_com, m_ui->tl_porty, m_ui->cb_baudrate})
        w->setEnabled(!searching);
}

void Tport::setCell(int row, int column, const QString& text)
{
    auto* item = new QTableWidgetItem(text);
    item->setTextAlignment(Qt::AlignCenter);
    m_ui->str_tab->setItem(row, column, item);
}
