#include "application.h"

#include "error_box.h"
#include "language.h"
#include "settings_store.h"

Application::Application(int& argc, char** argv) : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("KV-36"));
    // Lets the desktop match the windows to the installed launcher entry.
    setDesktopFileName(QStringLiteral("cz.koravel.kv36"));
    // The chosen language, Czech when none was chosen, whatever the system's
    // language; Qt's own dialogs and buttons follow it.
    applyLanguage(storedLanguage(SettingsStore()));
}

bool Application::notify(QObject* receiver, QEvent* event)
{
    bool handled = false;
    runShowingErrors([&] { handled = QApplication::notify(receiver, event); });
    return handled;
}
