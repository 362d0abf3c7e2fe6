#include "application.h"

#include "error_box.h"

Application::Application(int& argc, char** argv) : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("KV-36"));
}

bool Application::notify(QObject* receiver, QEvent* event)
{
    bool handled = false;
    runShowingErrors([&] { handled = QApplication::notify(receiver, event); });
    return handled;
}
