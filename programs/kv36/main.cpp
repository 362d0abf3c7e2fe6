#include "Hl_modul.h"
#include "application.h"
#include "error_box.h"
#include "info_resources.h"
#include "program_version.h"
#include "qt_prompts.h"
#include "startup.h"

#include <memory>

int main(int argc, char** argv)
{
    if (printVersionIfAsked(argc, argv, "kv36"))
        return 0;
    Application app(argc, argv);
    Application::setWindowIcon(programIcon());
    QtPrompts dialogs;
    installPrompts(&dialogs);
    std::unique_ptr<Tqzr17> mainWindow;
    const bool started = runShowingErrors([&] {
        mainWindow.reset(createWindows().main);
    });
    if (started)
        app.exec();
    return 0;
}
