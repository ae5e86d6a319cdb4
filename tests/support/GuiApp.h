#pragma once

#include <QApplication>

// The one QApplication of a widget test program, created on first use.
inline QApplication &guiApp()
{
    static int argc = 1;
    static char name[] = "tocrewmint-test";
    static char *argv[] = {name, nullptr};
    static QApplication app(argc, argv);
    return app;
}
