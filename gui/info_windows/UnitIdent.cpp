#include "UnitIdent.h"

#include "ui_UnitIdent.h"

#include "bus_protocol.h"
#include "caption.h"
#include "fixed_dialog.h"
#include "info_resources.h"

#include <QEvent>
#include <QShowEvent>
#include <QStringDecoder>

#include <algorithm>

namespace {

// The regulator's texts are Windows-1250, zero-terminated in their buffer.
QString textUpToZero(const std::array<uint8_t, bus_protocol::kTextSize>& text)
{
    const auto end = std::find(text.begin(), text.end(), uint8_t{0});
    QStringDecoder decoder("windows-1250");
    return decoder(QByteArrayView(text.data(), end - text.begin()));
}

} // namespace

Tabout_ident::Tabout_ident(QWidget* parent)
    : QDialog(parent)
{
    initInfoResources();
    m_ui = std::make_unique<Ui::about_ident>();
    m_ui->setupUi(this);
    makeFixedDialog(*this);
}

Tabout_ident::~Tabout_ident() = default;

void Tabout_ident::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // A spontaneous show comes from the window system (restoring the window),
    // not from the program showing it.
    if (event->spontaneous())
        return;
    centreOnScreen(*this);
    FormShow();
}

// Runs before the window becomes visible: the two exchanges block until each
// reply is in or the port's time-outs end the read. A failed read is not
// reported; its label keeps what it showed.
void Tabout_ident::FormShow()
{
    if (bus_protocol::ReadDeviceType())
        m_deviceType = textUpToZero(bus_protocol::device_type_text);
    if (bus_protocol::ReadDeviceVersion())
        m_deviceVersion = textUpToZero(bus_protocol::device_version_text);
    showRegulatorTexts();
}

void Tabout_ident::showRegulatorTexts()
{
    if (m_deviceType)
        setCaption(*m_ui->lb_zarizeni, *m_deviceType);
    if (m_deviceVersion)
        setCaption(*m_ui->lb_verze, *m_deviceVersion);
}

// The regulator's own texts stay as it sent them.
void Tabout_ident::changeEvent(QEvent* event)
{
    QDialog::changeEvent(event);
    if (event->type() != QEvent::LanguageChange)
        return;
    m_ui->retranslateUi(this);
    showRegulatorTexts();
}
