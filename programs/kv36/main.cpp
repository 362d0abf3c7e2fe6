#include "Hl_modul.h"
#include "application.h"
#include "error_box.h"
#include "info_resources.h"
#include "language.h"
#include "program_version.h"
#include "qt_prompts.h"
#include "settings_store.h"
#include "startup.h"

#include <QCoreApplication>

#include <cstdio>
#include <cstring>
#include <memory>

namespace {

// `kv36 --help`, in the chosen language, without a screen: the manual page
// is made from it.
bool printHelpIfAsked(int argc, char** argv)
{
    if (argc != 2 || std::strcmp(argv[1], "--help") != 0)
        return false;
    QCoreApplication app(argc, argv);
    applyLanguage(storedLanguage(SettingsStore()));
    std::fputs(qPrintable(QCoreApplication::translate(
                   "kv36", "Použití: kv36 [VOLBA]\n"
                           "Uvedení regulátoru QZR 17 do provozu a jeho sledování po sériové sběrnici.\n"
                           "Vše ostatní se dělá v oknech programu.\n"
                           "\n"
                           "  --help     vypíše tento text\n"
                           "  --version  vypíše verzi programu\n")),
               stdout);
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    if (printVersionIfAsked(argc, argv, "kv36"))
        return 0;
    if (printHelpIfAsked(argc, argv))
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
