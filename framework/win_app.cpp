#include "framework/win_app.h"

#include "framework/message_box_ui.h"
#include "framework/qt/main_thread.h"
#include "framework/qt/text.h"
#include "framework/qt/window_link.h"
#include "framework/resources.h"

#include <QApplication>
#include <QFileInfo>

#include <vector>

namespace {

CWinApp* s_pApp = nullptr;

CString NameFromExecutable() {
    if (!QCoreApplication::instance())
        return CString();
    return AfxFromQt(QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName());
}

} // namespace

BEGIN_MESSAGE_MAP(CWinApp, CCmdTarget)
ON_COMMAND(ID_HELP, &CWinApp::OnHelp)
END_MESSAGE_MAP()

CWinApp::CWinApp(const char* lpszAppName) {
    if (lpszAppName) {
        m_strAppName = lpszAppName;
        m_pszAppName = m_strAppName.c_str();
    }
    s_pApp = this;
}

CWinApp::~CWinApp() {
    if (s_pApp == this)
        s_pApp = nullptr;
}

BOOL CWinApp::InitInstance() {
    return TRUE;
}

int CWinApp::Run() {
    // Only a window that still runs keeps the application going.
    if (m_pMainWnd && AfxWidgetOf(*m_pMainWnd) && AfxWidgetOf(*m_pMainWnd)->isVisible())
        QApplication::exec();
    return ExitInstance();
}

int CWinApp::ExitInstance() {
    return 0;
}

HICON CWinApp::LoadIcon(UINT nIDResource) const {
    return AfxLoadIcon(nIDResource);
}

int CWinApp::WinMain(int argc, char** argv) {
    // Qt takes its own options out of argv; the command line is the caller's.
    m_strCmdLine = AfxJoinCommandLine(argc, argv);
    m_lpCmdLine = m_strCmdLine.c_str();
    int code = 0;
    {
        QApplication application(argc, argv);
        if (!m_pszAppName) {
            m_strAppName = NameFromExecutable();
            m_pszAppName = m_strAppName.c_str();
        }
        QApplication::setApplicationName(AfxToQt(m_pszAppName));
        AfxInstallWindowMessageBoxes();
        code = InitInstance() ? Run() : ExitInstance();
        AfxEndMainThreadService();
    }
    return code;
}

CWinApp* AfxGetApp() {
    return s_pApp;
}

CWnd* AfxGetMainWnd() {
    return s_pApp ? s_pApp->m_pMainWnd : nullptr;
}

CString AfxGetAppName() {
    if (s_pApp && s_pApp->m_pszAppName)
        return s_pApp->m_pszAppName;
    return NameFromExecutable();
}

CString AfxJoinCommandLine(int argc, char** argv) {
    CString line;
    for (int i = 1; i < argc; ++i) {
        const CString arg = argv[i];
        if (!line.empty())
            line += ' ';
        if (!arg.empty() && arg.find_first_of(" \t\"") == CString::npos) {
            line += arg;
            continue;
        }
        line += '"';
        for (char c : arg) {
            if (c == '"')
                line += '\\';
            line += c;
        }
        line += '"';
    }
    return line;
}
