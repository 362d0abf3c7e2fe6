// qzr17ctl: the command-line companion for scripted work on the regulator bus.
#include "companion.h"
#include "program_version.h"

#include <QCoreApplication>

int main(int argc, char* argv[])
{
    if (printVersionIfAsked(argc, argv, "qzr17ctl"))
        return 0;
    const auto start = SerialLine::Clock::now();
    QCoreApplication app(argc, argv);
    return static_cast<int>(runCompanion(QCoreApplication::arguments().mid(1), start));
}
