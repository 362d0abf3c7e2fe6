#include "About_cz.h"

#include "ui_About_cz.h"

#include "caption.h"
#include "fixed_dialog.h"
#include "info_resources.h"
#include "version_info.h"

#include <QEvent>
#include <QShowEvent>

#include <vector>

namespace {

constexpr char16_t kFileVersionPath[] = u"\\StringFileInfo\\040504E2\\FileVersion";

} // namespace

TAboutBox::TAboutBox(QWidget* parent, const QString& executablePath)
    : QDialog(parent)
    , m_executablePath(executablePath)
{
    initInfoResources();
    m_ui = std::make_unique<Ui::AboutBox>();
    m_ui->setupUi(this);
    makeFixedDialog(*this);
}

TAboutBox::~TAboutBox() = default;

void TAboutBox::FormCreate()
{
    const QString role = tr("Verze aplikace");
    setCaption(*m_ui->Label5, QString(), role);
    const uint32_t size = version_info::versionInfoSize(m_executablePath);
    if (size == 0)
        return;
    std::vector<std::byte> block(size + 1);
    if (!version_info::readVersionInfo(m_executablePath, block))
        return;
    if (const auto version = version_info::queryVersionText(block, kFileVersionPath))
        setCaption(*m_ui->Label5, tr("Verze %1").arg(*version), role);
}

void TAboutBox::changeEvent(QEvent* event)
{
    QDialog::changeEvent(event);
    if (event->type() != QEvent::LanguageChange)
        return;
    m_ui->retranslateUi(this);
    FormCreate();
}

void TAboutBox::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        centreOnScreen(*this);
}
