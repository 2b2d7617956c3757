// A program of the tests' own on the framework's entry: it reports its name
// and command line and returns TRUE from InitInstance without a main window.
#include "framework/win_app.h"

#include <cstdio>

class DemoApp : public CWinApp {
public:
    BOOL InitInstance() override {
        std::printf("name=%s cmd=%s\n", AfxGetAppName().c_str(), m_lpCmdLine);
        return TRUE;
    }
    int ExitInstance() override { return 3; }
};

DemoApp theApp;
