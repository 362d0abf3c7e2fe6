#include "report_preview.h"

#include "ui_report_preview.h"

#include "prompts.h"

#include <QDir>
#include <QFileInfo>
#include <QPageLayout>
#include <QPrintPreviewWidget>
#include <QPrinter>

ReportPreview::ReportPreview(CommissioningReport report, QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::report_preview>()),
      m_printer(std::make_unique<QPrinter>(QPrinter::HighResolution)), m_report(std::move(report))
{
    m_ui->setupUi(this);
    m_printer->setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(15, 15, 15, 15),
                                         QPageLayout::Millimeter));
    m_preview = new QPrintPreviewWidget(m_printer.get(), m_ui->pa_nahled);
    m_preview->setAccessibleName(tr("Náhled protokolu"));
    m_ui->box_nahled->addWidget(m_preview);
    connect(m_preview, &QPrintPreviewWidget::paintRequested, this, [this](QPrinter* printer) { current().print(*printer); });
    connect(m_ui->ed_technik, &QLineEdit::textChanged, m_preview, &QPrintPreviewWidget::updatePreview);
    connect(m_ui->ed_poznamka, &QPlainTextEdit::textChanged, m_preview, &QPrintPreviewWidget::updatePreview);
    connect(m_ui->tl_tisk, &QPushButton::clicked, this, &ReportPreview::tl_tiskClick);
    connect(m_ui->tl_pdf, &QPushButton::clicked, this, &ReportPreview::tl_pdfClick);
}

ReportPreview::~ReportPreview() = default;

CommissioningReport ReportPreview::current() const
{
    CommissioningReport report = m_report;
    report.technician = m_ui->ed_technik->text();
    report.note = m_ui->ed_poznamka->toPlainText();
    return report;
}

void ReportPreview::tl_tiskClick()
{
    if (prompts().printerSetup(*m_printer, this))
        current().print(*m_printer);
}

void ReportPreview::tl_pdfClick()
{
    const QString suggested = tr("Protokol_QZR17_%1.pdf").arg(m_report.created.date().toString(Qt::ISODate));
    const auto path = prompts().saveFileName(
        {tr("Uložit protokol jako PDF"), suggested, tr("Dokument PDF (*.pdf)"), QStringLiteral("pdf")}, this);
    if (!path)
        return;
    QPrinter pdf(QPrinter::HighResolution);
    pdf.setOutputFormat(QPrinter::PdfFormat);
    pdf.setPageLayout(m_printer->pageLayout());
    pdf.setOutputFileName(*path);
    current().print(pdf);
    if (QFileInfo(*path).size() == 0) {
        prompts().message(
            tr("Protokol se nepodařilo uložit do souboru %1.").arg(QDir::toNativeSeparators(*path)),
            tr("Protokol o nastavení"), Prompts::Icon::Error, Prompts::Buttons::Ok, this);
    }
}
