#include <QApplication>
#include <gtest/gtest.h>

#include "support/ModalDriver.h"

int main(int argc, char **argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    // The build lists the tests by running this binary, with no display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName("Quorvane");
    const ModalWatchdog watchdog;
    return RUN_ALL_TESTS();
}
