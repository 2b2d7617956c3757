#include "framework/message_box_ui.h"

#include "framework/message_box.h"
#include "framework/qt/main_thread.h"
#include "framework/qt/text.h"
#include "framework/win_app.h"

#include <QApplication>
#include <QMessageBox>

#include <cstdio>

namespace {

// Main thread only.
std::function<void(const MessageBoxRecord&)>& Hook() {
    static std::function<void(const MessageBoxRecord&)> hook;
    return hook;
}

int ShowOnMainThread(const CString& text, UINT type) {
    const MessageBoxRecord record{AfxGetAppName(), text, type & MB_ICONMASK};
    if (Hook()) {
        Hook()(record);
        return IDOK;
    }
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    if (record.icon == MB_ICONSTOP)
        icon = QMessageBox::Critical;
    else if (record.icon == MB_ICONINFORMATION)
        icon = QMessageBox::Information;
    QMessageBox box(icon, AfxToQt(record.title), AfxToQt(record.text), QMessageBox::Ok,
                    QApplication::activeModalWidget());
    box.setTextFormat(Qt::PlainText);
    AfxEnterModalLoop();
    box.exec();
    AfxLeaveModalLoop();
    return IDOK;
}

int WindowMessageBox(const CString& text, UINT type) {
    if (!QCoreApplication::instance()) {
        std::fprintf(stderr, "%s\n", text.c_str());
        return IDOK;
    }
    return AfxCallIn(AfxServiceScope(), int(IDOK),
                     [text, type] { return ShowOnMainThread(text, type); });
}

} // namespace

void AfxInstallWindowMessageBoxes() {
    AfxSetMessageBoxHandler(&WindowMessageBox);
}

void AfxSetMessageBoxHook(std::function<void(const MessageBoxRecord&)> hook) {
    Hook() = std::move(hook);
}
