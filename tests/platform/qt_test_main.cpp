// SPDX-License-Identifier: MIT
// Test main for the printing tests: a QApplication without a display, and no
// printer unless a test CUPS server was set up (CF_CUPS_OUT), so that no test
// ever prints on real paper.

#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("CF_CUPS_OUT")) {
        qputenv("CUPS_SERVER", "/nonexistent/cf-no-cups.sock");
        qunsetenv("PRINTER");
        qunsetenv("LPDEST");
    }
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
