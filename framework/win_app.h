// The application: one global object of a class derived from CWinApp.
//
//   class CDemoApp : public CWinApp {
//   public:
//       BOOL InitInstance() override {
//           CDemoDlg dlg;
//           m_pMainWnd = &dlg;
//           dlg.DoModal();
//           return FALSE; // end the process
//       }
//   };
//   CDemoApp theApp;
//
// The program's entry (the framework_main library) creates the window
// system, names the application after the executable's file name without
// directory and extension (every message box's title), runs InitInstance and
// ends the process: at once after FALSE, and after TRUE once there is no main
// window (a dialog that has ended is none).
#pragma once

#include "framework/cmd_target.h"

class CWnd;

class CWinApp : public CCmdTarget {
public:
    // lpszAppName null: the executable's name.
    explicit CWinApp(const char* lpszAppName = nullptr);
    ~CWinApp() override;

    virtual BOOL InitInstance();
    virtual int Run();
    virtual int ExitInstance();

    // Asks for the three-dimensional look of dialog controls: the toolkit's
    // normal appearance.
    BOOL Enable3dControls() { return TRUE; }
    HICON LoadIcon(UINT nIDResource) const;

    const char* m_pszAppName = nullptr;
    // The command line after the program's name: the arguments joined by
    // blanks, an argument with blanks (or an empty one) in double quotes.
    const char* m_lpCmdLine = "";
    CWnd* m_pMainWnd = nullptr;

    // The program's entry; sets the fields above and runs the application.
    int WinMain(int argc, char** argv);

protected:
    void OnHelp() {} // no help file belongs to the program

    DECLARE_MESSAGE_MAP()

private:
    CString m_strAppName;
    CString m_strCmdLine;
};

CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();
// The application's name: every message box's title.
CString AfxGetAppName();
// The command line text of the arguments, as m_lpCmdLine gives it.
CString AfxJoinCommandLine(int argc, char** argv);
