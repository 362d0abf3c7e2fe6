#pragma once

#include "prompts.h"

#include <QColor>
#include <QList>
#include <QString>

#include <optional>

// Records every message box and dialog the program asks for and answers them
// from a script; an empty script answers Ok / No and cancels the dialogs.
class ScriptedPrompts : public Prompts {
public:
    struct Call {
        QString text;
        QString caption;
        Icon icon;
        Buttons buttons;
        bool hasOwner;
    };

    QList<Call> calls;
    QList<Answer> answers;
    QList<std::optional<QString>> fileNames;
    QList<SaveFileRequest> fileRequests;
    QList<std::optional<QString>> openFileNames;
    QList<OpenFileRequest> openRequests;
    QList<std::optional<QColor>> colors;
    QList<QColor> colorInitials;
    QList<bool> printerAnswers;
    int printerCalls = 0;

    ScriptedPrompts() { m_previous = installPrompts(this); }
    ~ScriptedPrompts() override { installPrompts(m_previous); }
    ScriptedPrompts(const ScriptedPrompts&) = delete;
    ScriptedPrompts& operator=(const ScriptedPrompts&) = delete;

    Answer message(const QString& text, const QString& caption, Icon icon, Buttons buttons,
                   QWidget* owner) override
    {
        calls.append({text, caption, icon, buttons, owner != nullptr});
        if (!answers.isEmpty())
            return answers.takeFirst();
        return buttons == Buttons::Ok ? Answer::Ok : Answer::No;
    }

    std::optional<QString> saveFileName(const SaveFileRequest& request, QWidget*) override
    {
        fileRequests.append(request);
        return fileNames.isEmpty() ? std::nullopt : fileNames.takeFirst();
    }

    std::optional<QString> openFileName(const OpenFileRequest& request, QWidget*) override
    {
        openRequests.append(request);
        return openFileNames.isEmpty() ? std::nullopt : openFileNames.takeFirst();
    }

    std::optional<QColor> color(const QColor& initial, QWidget*) override
    {
        colorInitials.append(initial);
        return colors.isEmpty() ? std::nullopt : colors.takeFirst();
    }

    bool printerSetup(QPrinter&, QWidget*) override
    {
        ++printerCalls;
        return printerAnswers.isEmpty() ? false : printerAnswers.takeFirst();
    }

    QStringList texts() const
    {
        QStringList all;
        for (const Call& c : calls)
            all.append(c.text);
        return all;
    }

private:
    Prompts* m_previous = nullptr;
};
