// The program's entry: runs the application object.
#include "framework/win_app.h"

#include <cstdio>

int main(int argc, char** argv) {
    CWinApp* app = AfxGetApp();
    if (!app) {
        std::fprintf(stderr, "no application object\n");
        return 1;
    }
    return app->WinMain(argc, argv);
}
