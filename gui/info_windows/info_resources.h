#pragma once

#include <QIcon>

// The pictures of the identification and about windows and the program's
// icon live in this library's resource file; a static library's resources
// must be registered explicitly before first use.
void initInfoResources();

// The program's icon, for the application and all its windows.
QIcon programIcon();
