#pragma once

#include "commissioning_report.h"

#include <QDialog>

#include <memory>

class QPrintPreviewWidget;
class QPrinter;
namespace Ui {
class report_preview;
}

// The commissioning report's print preview: the technician's name and a
// note, typed here, go into the report as it is previewed, printed or saved
// as PDF.
class ReportPreview : public QDialog {
    Q_OBJECT

public:
    explicit ReportPreview(CommissioningReport report, QWidget* parent = nullptr);
    ~ReportPreview() override;

    void tl_tiskClick();
    void tl_pdfClick();

private:
    CommissioningReport current() const;

    std::unique_ptr<Ui::report_preview> m_ui;
    std::unique_ptr<QPrinter> m_printer;
    QPrintPreviewWidget* m_preview;
    CommissioningReport m_report;
};
