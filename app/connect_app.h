// The application object: its start-up is the whole life of the program.
#pragma once

#include "framework/win_app.h"

class CConnectApp : public CWinApp {
public:
    CConnectApp();
    ~CConnectApp() override;

    BOOL InitInstance() override;

    DECLARE_MESSAGE_MAP()
};
