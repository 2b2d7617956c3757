#include "ui/resources.h"

#include "framework/dialog_template.h"
#include "framework/resources.h"
#include "ui/app_icon_table.h"
#include "ui/resource.h"

#include <mutex>
#include <span>

namespace {

const DlgItem kMainItems[] = {
    {IDC_PORT, DlgKind::Edit, "", 155, 21, 51, 13,
     WS_BORDER | WS_TABSTOP | ES_NUMBER | ES_AUTOHSCROLL, 0, "Target Port Number"},
    {IDC_COUNT, DlgKind::Trackbar, "Slider2", 5, 69, 97, 22,
     WS_TABSTOP | TBS_HORZ | TBS_BOTTOM | TBS_ENABLESELRANGE, 0, "Connection Count"},
    {IDC_SERVICE, DlgKind::ComboBox, nullptr, 155, 71, 60, 94,
     WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, 0, "Service List"},
    {IDC_OUTPUT, DlgKind::Edit, "", 7, 104, 290, 79,
     WS_BORDER | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_READONLY | ES_WANTRETURN, 0,
     "Connection transcript"},
    {IDC_STATIC, DlgKind::Text, "Target Host Name or IP Address", 10, 11, 113, 8,
     SS_LEFT | WS_GROUP},
    {IDC_STATIC, DlgKind::Text, "(Example: host.domain.nam or 127.0.0.1)", 10, 36, 136, 8,
     SS_LEFT | WS_GROUP},
    {IDC_STATIC, DlgKind::Text, "Target Port Number", 155, 11, 62, 8, SS_LEFT | WS_GROUP},
    {IDC_STATIC, DlgKind::Text, "Connection Count", 11, 60, 84, 8, SS_LEFT | WS_GROUP},
    {IDC_STATIC, DlgKind::Frame, nullptr, 235, 5, 62, 93, SS_BLACKFRAME | SS_SUNKEN},
    {IDC_STATIC, DlgKind::Icon, nullptr, 255, 67, 20, 20, SS_CENTERIMAGE, IDR_MAINFRAME},
    {IDC_STATIC, DlgKind::Text, "1", 11, 90, 12, 12, SS_LEFTNOWORDWRAP | WS_GROUP},
    {IDC_STATIC, DlgKind::Text, "5", 93, 90, 10, 10, SS_LEFTNOWORDWRAP | WS_GROUP},
    {IDC_STATIC, DlgKind::Text, "3", 52, 90, 11, 10, SS_LEFTNOWORDWRAP | WS_GROUP},
    {IDC_CONNECT, DlgKind::Button, "&Connect", 241, 10, 50, 13, BS_DEFPUSHBUTTON | WS_TABSTOP},
    {IDC_STOP, DlgKind::Button, "&Stop", 241, 26, 50, 14, WS_DISABLED},
    {IDC_QUIT, DlgKind::Button, "&Quit", 241, 43, 50, 14, 0},
    {IDC_ABOUTICON, DlgKind::Button, "Button1", 242, 61, 49, 31, BS_ICON | BS_FLAT, 0,
     "About KeltoCONNECT"},
    {IDC_STATIC, DlgKind::Text, "Service List", 155, 61, 59, 8, SS_LEFT | WS_GROUP},
    {IDC_STATIC, DlgKind::Text, ":", 145, 22, 8, 10, SS_CENTER | WS_GROUP},
    {IDC_TARGET, DlgKind::ComboBox, nullptr, 10, 21, 133, 85,
     WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_SORT | CBS_AUTOHSCROLL, 0,
     "Target Host Name or IP Address"},
};

const DlgTemplate kMainTemplate = {"KeltoCONNECT",
                                   305,
                                   193,
                                   "MS Sans Serif",
                                   8,
                                   WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU |
                                       WS_MINIMIZEBOX | DS_MODALFRAME | DS_CENTER | WS_EX_APPWINDOW,
                                   kMainItems};

// The four identification lines name this program, its version and its
// platform.
const DlgItem kAboutItems[] = {
    {IDC_STATIC, DlgKind::Icon, nullptr, 11, 17, 20, 20, 0, IDR_MAINFRAME},
    {IDC_STATIC, DlgKind::Text, "KeltoCONNECT Version 2.1", 39, 7, 119, 8,
     SS_LEFT | SS_NOPREFIX | WS_GROUP},
    {IDC_ABOUT_MAKER2, DlgKind::Text, "Runs on Linux", 39, 34, 89, 8, SS_LEFT | WS_GROUP},
    {IDOK, DlgKind::Button, "OK", 178, 7, 32, 14, BS_DEFPUSHBUTTON | WS_GROUP | WS_TABSTOP},
    {IDC_STATIC, DlgKind::Text, "Establish a TCP/IP connection with a Tavrin Service ", 16, 46, 181,
     8, SS_LEFT | SS_NOPREFIX | WS_GROUP},
    {IDC_ABOUT_BYLINE, DlgKind::Text, "by using that services well known port.", 16, 55, 124, 8,
     SS_LEFT | SS_NOPREFIX | WS_GROUP},
    {IDC_ABOUT_MAKER1, DlgKind::Text, "Version 2.1", 40, 25, 51, 8, SS_LEFT | WS_GROUP},
    {IDC_ABOUT_MAKER3, DlgKind::Text, "KeltoCONNECT for Linux", 39, 16, 119, 8, SS_LEFT | WS_GROUP},
    {IDC_ABOUT_MAKER4, DlgKind::Text, "KeltoCONNECT 2.1", 142, 65, 69, 8, SS_LEFT | WS_GROUP},
};

const DlgTemplate kAboutTemplate = {
    "About KeltoCONNECT", 217, 79,
    "MS Sans Serif",      8,   WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME,
    kAboutItems};

} // namespace

void RegisterUiResources() {
    static std::once_flag once;
    std::call_once(once, [] {
        AfxRegisterDialogTemplate(IDD_MAIN, kMainTemplate);
        AfxRegisterDialogTemplate(IDD_ABOUTBOX, kAboutTemplate);
        AfxRegisterString(IDS_ABOUTBOX, "&About KeltoCONNECT...");
        AfxRegisterIcon(IDR_MAINFRAME, std::span(kAppIconImages, kAppIconImageCount));
    });
}
