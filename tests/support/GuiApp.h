#pragma once

#include <QApplication>

// The one QApplication of a widget test program, created on first use. It is
// never destroyed: static destruction order at exit would tear it down after
// the platform plugin it depends on.
inline QApplication &guiApp()
{
    static int argc = 1;
    static char name[] = "tocrewmint-test";
    static char *argv[] = {name, nullptr};
    static QApplication *app = new QApplication(argc, argv);
    return *app;
}
