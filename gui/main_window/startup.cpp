#include "startup.h"

#include "About_cz.h"
#include "Hl_modul.h"
#include "UnitIdent.h"
#include "UnitMenuMod.h"
#include "UnitNast.h"
#include "UnitPort.h"
#include "bus_protocol.h"
#include "error_box.h"

#include <QCoreApplication>

Windows createWindows()
{
    Windows w;
    w.main = new Tqzr17;
    runShowingErrors([&] { w.main->FormCreate(); });
    // The technician sees the program at once, and an error raised by a later
    // creation step (a port that cannot be opened) stands over its window.
    w.main->show();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);

    auto* settings = new Tmenu_qzr17(w.main);
    w.main->setSettingsWindow(settings);
    runShowingErrors([&] { settings->FormCreate(); });

    w.port = new Tport(w.main->store(), w.main);
    bus_protocol::AttachPort(w.port);
    w.main->setLinkWindow(w.port);
    runShowingErrors([&] { w.port->FormCreate(); });

    auto* ident = new Tabout_ident(w.main);
    w.ident = ident;
    w.main->setIdentWindow(ident);
    runShowingErrors([&] { ident->FormCreate(); });

    auto* about = new TAboutBox(w.main);
    w.about = about;
    w.main->setAboutWindow(about);
    runShowingErrors([&] { about->FormCreate(); });

    w.main->setStorageDialog(new Tform_nastaveni(w.main));
    return w;
}
