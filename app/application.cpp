#include "application.h"

#include "error_box.h"

#include <QLibraryInfo>
#include <QTranslator>

Application::Application(int& argc, char** argv) : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("KV-36"));
    // Lets the desktop match the windows to the installed launcher entry.
    setDesktopFileName(QStringLiteral("cz.koravel.kv36"));
    // Qt's own dialogs and message box buttons speak Czech like the rest of
    // the program, whatever the system's language.
    auto* translator = new QTranslator(this);
    if (translator->load(QStringLiteral("qtbase_cs"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        installTranslator(translator);
}

bool Application::notify(QObject* receiver, QEvent* event)
{
    bool handled = false;
    runShowingErrors([&] { handled = QApplication::notify(receiver, event); });
    return handled;
}
