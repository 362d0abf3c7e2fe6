#pragma once

#include <QDialog>
#include <QString>

#include <memory>
#include <optional>

namespace Ui {
class about_ident;
}

// The identification window: who made the program, and the device type and
// version texts the connected regulator reports, read again on every show.
// Each label changes only on a successful read, so it keeps the last text
// read, also when a later read fails.
class Tabout_ident : public QDialog {
    Q_OBJECT

public:
    explicit Tabout_ident(QWidget* parent = nullptr);
    ~Tabout_ident() override;

    // The start-up's creation step. Nothing is read until the window is shown.
    void FormCreate() {}

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void showRegulatorTexts();
    void FormShow();

    std::unique_ptr<Ui::about_ident> m_ui;
    // The texts last read from the regulator.
    std::optional<QString> m_deviceType;
    std::optional<QString> m_deviceVersion;
};
