// Resource, control and command ids of the dialogs.
#pragma once

enum : unsigned {
    IDD_ABOUTBOX = 100,
    IDD_MAIN = 102,
    IDR_MAINFRAME = 128,
    IDS_ABOUTBOX = 1101,
    IDM_ABOUTBOX = 0x0010,
};

enum : int {
    IDC_PORT = 1022,
    IDC_COUNT = 1023,
    IDC_SERVICE = 1024,
    IDC_OUTPUT = 1025,
    IDC_ABOUT_BYLINE = 1032,
    IDC_ABOUT_MAKER1 = 1033,
    IDC_ABOUT_MAKER2 = 1034,
    IDC_ABOUT_MAKER3 = 1035,
    IDC_ABOUT_MAKER4 = 1036,
    IDC_CONNECT = 1100,
    IDC_STOP = 1102,
    IDC_QUIT = 1103,
    IDC_ABOUTICON = 1108,
    IDC_TARGET = 1112,
};
