// Test entry point shared by every room's test program: a QApplication on the
// offscreen platform, the 1024x768 screen seam, then GoogleTest.
#include <QApplication>
#include <gtest/gtest.h>

#include "platform/Screen.h"

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    SetScreenSizeForTesting(SIZE{1024, 768});
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
