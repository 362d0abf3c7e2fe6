#pragma once

#include "prompts.h"

// The program's prompts: Qt's message boxes and common dialogs.
class QtPrompts final : public Prompts {
public:
    Answer message(const QString& text, const QString& caption, Icon icon, Buttons buttons,
                   QWidget* owner) override;
    std::optional<QString> saveFileName(const SaveFileRequest& request, QWidget* owner) override;
    std::optional<QString> openFileName(const OpenFileRequest& request, QWidget* owner) override;
    std::optional<QColor> color(const QColor& initial, QWidget* owner) override;
    bool printerSetup(QPrinter& printer, QWidget* owner) override;
};
