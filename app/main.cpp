#include "Hl_modul.h"
#include "application.h"
#include "error_box.h"
#include "qt_prompts.h"
#include "startup.h"

#include <memory>

int main(int argc, char** argv)
{
    Application app(argc, argv);
    QtPrompts dialogs;
    installPrompts(&dialogs);
    std::unique_ptr<Tqzr17> mainWindow;
    const bool started = runShowingErrors([&] {
        mainWindow.reset(createWindows().main);
        mainWindow->show();
    });
    if (started)
        app.exec();
    return 0;
}
