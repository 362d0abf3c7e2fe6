#pragma once

#include <QString>
#include <QStringList>

#include <optional>

class QColor;
class QPrinter;
class QWidget;

// Every message box and common dialog of the program goes through this one
// interface: the program installs the Qt dialogs, tests a scripted double.
class Prompts {
public:
    enum class Icon { None, Information, Warning, Error, Question };
    // YesNoDefaultNo: for a question whose Yes may cost the user data.
    enum class Buttons { Ok, YesNo, YesNoDefaultNo };
    enum class Answer { Ok, Yes, No };

    struct SaveFileRequest {
        QString title;
        QString fileName;    // filled in when the dialog opens
        QString filter;      // "Textový soubor [*.txt]"
        QString defaultExtension;
    };

    struct OpenFileRequest {
        QString title;
        QString filter; // "Sada parametrů (*.qzr)"
    };

    virtual ~Prompts() = default;

    // owner nullptr: a box without owner window.
    virtual Answer message(const QString& text, const QString& caption, Icon icon,
                           Buttons buttons, QWidget* owner = nullptr) = 0;
    // The chosen path (the overwrite question already answered), or nothing.
    virtual std::optional<QString> saveFileName(const SaveFileRequest& request,
                                                QWidget* owner = nullptr) = 0;
    // An existing file the user chose, or nothing.
    virtual std::optional<QString> openFileName(const OpenFileRequest& request, QWidget* owner = nullptr) = 0;
    virtual std::optional<QColor> color(const QColor& initial, QWidget* owner = nullptr) = 0;
    // Printer set-up; true when the user confirmed.
    virtual bool printerSetup(QPrinter& printer, QWidget* owner = nullptr) = 0;
};

// The installed implementation. Until one is installed, messages go to
// standard error and every dialog is cancelled (the command-line companion).
Prompts& prompts();
// Installs p (not owned) and returns the previous one; nullptr restores the default.
Prompts* installPrompts(Prompts* p);
