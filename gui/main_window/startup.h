#pragma once

class QDialog;
class Tport;
class Tqzr17;

// The program's windows, created once at start-up and kept for the whole run.
struct Windows {
    Tqzr17* main = nullptr;   // owns the others
    Tport* port = nullptr;
    QDialog* ident = nullptr;
    QDialog* about = nullptr;
};

// Creates the windows in their fixed order and shows the main window as soon
// as it exists. Each window's creation step runs after its construction; what
// a step raises is shown in the standard error box and start-up goes on with
// the next window.
Windows createWindows();
