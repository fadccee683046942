// One headless main for every test executable.
#include "tests/support/ModalWatch.h"

#include <QApplication>
#include <QStandardPaths>
#include <gtest/gtest.h>

// Sanitizer settings every run gets, from ctest or by hand. The leak checker crashes at exit
// scanning the thread-local blocks of libraries loaded and unloaded at run time (Qt's print
// support plugin under a Russian locale, for one); our own thread-locals are static, so that
// bookkeeping is not needed.
extern "C" const char* __asan_default_options()
{
    return "detect_leaks=1:intercept_tls_get_addr=0";
}

extern "C" const char* __ubsan_default_options()
{
    return "print_stacktrace=1:halt_on_error=1";
}

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    // What a program keeps in the user's folders (journals, the export log) goes to a test place.
    QStandardPaths::setTestModeEnabled(true);
    testsupport::startUnexpectedModalWatchdog();
    return RUN_ALL_TESTS();
}
