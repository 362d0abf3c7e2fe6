#pragma once

#include <QCoreApplication>
#include <QDialog>
#include <QString>

#include <memory>

namespace Ui {
class AboutBox;
}

// The about window: product, maker, the program's file version and the
// system requirements. The version is read once, at creation, from the
// version information of the executable file.
class TAboutBox : public QDialog {
    Q_OBJECT

public:
    // `executablePath`: the file whose version is shown, the program's own by default.
    explicit TAboutBox(QWidget* parent = nullptr,
                       const QString& executablePath = QCoreApplication::applicationFilePath());
    ~TAboutBox() override;

    // The start-up's creation step: sets Label5 from the version information,
    // leaving it empty, and saying nothing, when there is none.
    void FormCreate();

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    std::unique_ptr<Ui::AboutBox> m_ui;
    QString m_executablePath;
};
