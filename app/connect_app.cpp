#include "app/connect_app.h"

#include "framework/message_box.h"
#include "transport/runtime.h"
#include "ui/connect_dlg.h"

#include <cstdio>

namespace {

const char kStartupFailed[] =
    "Kelto SDK Initialization failed. Copy this utility to your Kelto execitable directory";

} // namespace

// The one application object.
CConnectApp theApp;

CConnectApp::CConnectApp() = default;
CConnectApp::~CConnectApp() = default;

BEGIN_MESSAGE_MAP(CConnectApp, CWinApp)
ON_COMMAND(ID_HELP, &CConnectApp::OnHelp)
END_MESSAGE_MAP()

BOOL CConnectApp::InitInstance() {
    Enable3dControls();

    if (RuntimeStartup() != 0) {
        AfxMessageBox(kStartupFailed, MB_OK | MB_ICONSTOP);
        return TRUE; // no main window: the process ends
    }

    CConnectDlg dlg;
    m_pMainWnd = &dlg;
    if (m_lpCmdLine[0] != '\0') {
        std::printf("Saw CommanLine Arg!!!!!\n");
        std::fflush(stdout);
    }
    dlg.DoModal();
    // Escape ends the dialog even during a run: have the worker stop and go
    // before the runtime it uses is shut down.
    dlg.EndRun();
    RuntimeShutdown();
    m_pMainWnd = nullptr;
    return FALSE;
}
