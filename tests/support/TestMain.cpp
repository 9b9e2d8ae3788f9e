// Test entry point shared by every room's test program: a QApplication on the
// offscreen platform, the 1024x768 screen seam, then GoogleTest.
#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "platform/Screen.h"

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // A private runtime folder keeps the toolkit quiet where none is set (CI).
    QTemporaryDir runtimeDir;
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR") && runtimeDir.isValid()) {
        QFile::setPermissions(runtimeDir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        qputenv("XDG_RUNTIME_DIR", runtimeDir.path().toLocal8Bit());
    }
    QApplication app(argc, argv);
    SetScreenSizeForTesting(SIZE{1024, 768});
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
