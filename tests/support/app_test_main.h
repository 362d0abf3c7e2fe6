#pragma once

#include "application.h"

#include <QLocale>
#include <QTemporaryDir>
#include <QTest>

#include <optional>

// The settings store of the running test lives here, never in the user's.
inline const QTemporaryDir& testConfigDir()
{
    static const QTemporaryDir dir;
    return dir;
}

// Runs a window test under the program's own application object, whose
// notify() shows what escapes a handler in the standard error box.
template <typename Test>
int runAppTest(int argc, char** argv, std::optional<QLocale> locale = std::nullopt)
{
    qputenv("XDG_CONFIG_HOME", testConfigDir().path().toLocal8Bit());
    Application app(argc, argv);
    if (locale)
        QLocale::setDefault(*locale);
    Test test;
    return QTest::qExec(&test, argc, argv);
}
