// The application with an entry of the tests' own, for the checks that need a
// process of their own. It starts as tovra.exe does, and reports to the file
// that KC_APP_REPORT names, one line each: every message box (recorded, not
// shown) as "box TITLE|ICON|TEXT", "dialog" when the main dialog's modal loop
// runs (which it then ends with the Cancel command, as Escape does), "loop"
// when some other loop runs, and "end" when the entry returns.
#include "framework/dialog.h"
#include "framework/message_box_ui.h"
#include "framework/win_app.h"

#include <QCoreApplication>
#include <QTimer>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>

namespace {

FILE* g_report = stderr;

void Report(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::vfprintf(g_report, format, args);
    va_end(args);
    std::fflush(g_report);
}

// Called as the application's QApplication is made: the timer fires only once
// an event loop runs.
void WatchForALoop() {
    QTimer::singleShot(0, [] {
        if (auto* dlg = dynamic_cast<CDialog*>(AfxGetMainWnd())) {
            Report("dialog\n");
            dlg->EndDialog(IDCANCEL);
        } else {
            Report("loop\n");
            QCoreApplication::quit();
        }
    });
}

} // namespace

int main(int argc, char** argv) {
    if (const char* path = std::getenv("KC_APP_REPORT")) {
        if (FILE* file = std::fopen(path, "w"))
            g_report = file;
    }
    AfxSetMessageBoxHook([](const MessageBoxRecord& box) {
        Report("box %s|%u|%s\n", box.title.c_str(), box.icon, box.text.c_str());
    });
    qAddPreRoutine(&WatchForALoop);
    const int code = AfxGetApp()->WinMain(argc, argv);
    Report("end\n");
    return code;
}
