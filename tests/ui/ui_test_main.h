// The main routine of a headless window test: offscreen platform, test-mode settings, "C" numbers.
#pragma once

#include <QApplication>
#include <QStandardPaths>
#include <QTest>
#include <clocale>
#include <cstdlib>

#define LAPIDRAW_UI_TEST_MAIN(TestClass)                                                                     \
    int main(int argc, char* argv[]) {                                                                       \
        setenv("QT_QPA_PLATFORM", "offscreen", 0);                                                           \
        QStandardPaths::setTestModeEnabled(true);                                                            \
        QApplication application(argc, argv);                                                                \
        std::setlocale(LC_NUMERIC, "C");                                                                     \
        TestClass test;                                                                                      \
        return QTest::qExec(&test, argc, argv);                                                              \
    }
