// The main of GoogleTest programs that need windows: a QApplication on Qt's
// offscreen platform (unless the caller chose another) and the window
// message boxes.
#include "framework/message_box_ui.h"
#include "framework/qt/main_thread.h"

#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    AfxInstallWindowMessageBoxes();
    testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    AfxEndMainThreadService();
    return result;
}
