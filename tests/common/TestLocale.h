#pragma once

#include <QLocale>
#include <QtGlobal>
#include <clocale>
#include <cstring>

// Every test runs under the same locale, whatever the desktop's: C.UTF-8 for the C library
// and for the locale Qt reads as the system's. Tests that need another locale set it on purpose
// (for instance in a child process's environment).
inline void PinTestLocale() {
    qputenv("LC_ALL", "C.UTF-8");
    qunsetenv("LC_NUMERIC");
    qunsetenv("LC_TIME");
    qputenv("LANG", "C.UTF-8");
    std::setlocale(LC_ALL, "C.UTF-8");
    QLocale::setDefault(QLocale::c());
}

// Listing the tests (CTest asks each executable for its cases) needs no application object,
// hence no display and no web engine.
inline bool ListsTestsOnly(int argc, char **argv) {
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--gtest_list_tests") == 0)
            return true;
    return false;
}
