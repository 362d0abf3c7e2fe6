#include "qt_prompts.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QPrintDialog>

namespace {

QMessageBox::Icon boxIcon(Prompts::Icon icon)
{
    switch (icon) {
    case Prompts::Icon::Information: return QMessageBox::Information;
    case Prompts::Icon::Warning: return QMessageBox::Warning;
    case Prompts::Icon::Error: return QMessageBox::Critical;
    case Prompts::Icon::Question: return QMessageBox::Question;
    case Prompts::Icon::None: break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

Prompts::Answer QtPrompts::message(const QString& text, const QString& caption, Icon icon, Buttons buttons,
                                   QWidget* owner)
{
    const auto standard = buttons == Buttons::Ok ? QMessageBox::Ok : QMessageBox::Yes | QMessageBox::No;
    QMessageBox box(boxIcon(icon), caption, text, standard, owner);
    if (buttons == Buttons::YesNoDefaultNo)
        box.setDefaultButton(QMessageBox::No);
    const int result = box.exec();
    if (buttons == Buttons::Ok)
        return Answer::Ok;
    return result == QMessageBox::Yes ? Answer::Yes : Answer::No;
}

std::optional<QString> QtPrompts::saveFileName(const SaveFileRequest& request, QWidget* owner)
{
    QFileDialog dialog(owner, request.title, QString(), request.filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    // The pattern in parentheses is for Qt; the user sees the caption alone.
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setDefaultSuffix(request.defaultExtension);
    if (!request.fileName.isEmpty())
        dialog.selectFile(request.fileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

std::optional<QString> QtPrompts::openFileName(const OpenFileRequest& request, QWidget* owner)
{
    QFileDialog dialog(owner, request.title, QString(), request.filter);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

std::optional<QColor> QtPrompts::color(const QColor& initial, QWidget* owner)
{
    const QColor chosen = QColorDialog::getColor(initial, owner);
    if (!chosen.isValid())
        return std::nullopt;
    return chosen;
}

bool QtPrompts::printerSetup(QPrinter& printer, QWidget* owner)
{
    QPrintDialog dialog(&printer, owner);
    dialog.setOptions({});
    return dialog.exec() == QDialog::Accepted;
}
