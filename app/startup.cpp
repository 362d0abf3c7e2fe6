#include "startup.h"

#include "Hl_modul.h"
#include "UnitPort.h"
#include "bus_protocol.h"
#include "error_box.h"

Windows createWindows()
{
    Windows w;
    w.main = new Tqzr17;
    runShowingErrors([&] { w.main->FormCreate(); });

    // The regulator settings window comes here, before the link window.

    w.port = new Tport(w.main->store(), w.main);
    bus_protocol::AttachPort(w.port);
    w.main->setLinkWindow(w.port);
    runShowingErrors([&] { w.port->FormCreate(); });

    // The identification window, the about window and the storage settings
    // dialog follow here, in this order.
    return w;
}
