// Dialog templates: plain static tables. Positions and sizes are in dialog
// units of the template's font: a horizontal unit is a quarter of the font's
// average character width, a vertical unit an eighth of its height. Controls
// are created in table order, which is also the order of the Tab key (over
// the controls with WS_TABSTOP).
//
//   const DlgItem kItems[] = {
//       {IDC_NAME, DlgKind::Edit, "", 10, 20, 80, 13, WS_TABSTOP | WS_BORDER},
//       {IDC_STATIC, DlgKind::Text, "Name", 10, 10, 80, 8},
//       {IDOK, DlgKind::Button, "OK", 100, 20, 40, 14, WS_TABSTOP | BS_DEFPUSHBUTTON},
//   };
//   const DlgTemplate kDemo = {"Demo", 150, 50, "MS Sans Serif", 8,
//                              WS_CAPTION | WS_SYSMENU | DS_CENTER, kItems};
//   AfxRegisterDialogTemplate(IDD_DEMO, kDemo); // or CDialog(kDemo)
//
// An input control's accessible name is the text of the nearest static text
// before it in the table, unless the item names one itself.
#pragma once

#include "framework/afx_types.h"

#include <span>

enum class DlgKind {
    Edit,     // single-line edit; ES_MULTILINE: multi-line edit
    ComboBox, // CBS_DROPDOWN: with an edit field; CBS_DROPDOWNLIST: list only
    Trackbar,
    Button, // push button; BS_DEFPUSHBUTTON: the default button
    Text,   // static text
    Frame,  // static frame
    Icon,   // static icon, showing the item's icon
};

// Styles of every control.
constexpr UINT WS_TABSTOP = 0x0001;
constexpr UINT WS_GROUP = 0x0002;
constexpr UINT WS_DISABLED = 0x0004;
constexpr UINT WS_VSCROLL = 0x0008;
constexpr UINT WS_HSCROLL = 0x0010;
constexpr UINT WS_BORDER = 0x0020;

// Styles of one kind of control each, so their values overlap. Plain
// constants, not enumerators: styles of different groups are or-ed together.
constexpr UINT ES_READONLY = 0x0100;
constexpr UINT ES_NUMBER = 0x0200; // typing limited to digits; pasting is not
constexpr UINT ES_MULTILINE = 0x0400;
constexpr UINT ES_AUTOHSCROLL = 0x0800;
constexpr UINT ES_AUTOVSCROLL = 0x1000;
constexpr UINT ES_WANTRETURN = 0x2000; // Enter stays in a multi-line edit

constexpr UINT CBS_DROPDOWN = 0x0100;
constexpr UINT CBS_DROPDOWNLIST = 0x0200;
constexpr UINT CBS_SORT = 0x0400;
constexpr UINT CBS_AUTOHSCROLL = 0x0800;

constexpr UINT TBS_HORZ = 0x0000;
constexpr UINT TBS_BOTTOM = 0x0100; // tick marks below the channel
constexpr UINT TBS_NOTICKS = 0x0200;
constexpr UINT TBS_AUTOTICKS = 0x0400;
constexpr UINT TBS_ENABLESELRANGE = 0x0800;

constexpr UINT BS_DEFPUSHBUTTON = 0x0100;
constexpr UINT BS_ICON = 0x0200; // shows its icon instead of its text
constexpr UINT BS_FLAT = 0x0400;

constexpr UINT SS_LEFT = 0x0000;
constexpr UINT SS_CENTER = 0x0100;
constexpr UINT SS_LEFTNOWORDWRAP = 0x0200;
constexpr UINT SS_NOPREFIX = 0x0400;
constexpr UINT SS_CENTERIMAGE = 0x0800;
constexpr UINT SS_BLACKFRAME = 0x1000;
constexpr UINT SS_SUNKEN = 0x2000;

// Styles of the dialog itself.
constexpr UINT WS_POPUP = 0x0001;
constexpr UINT WS_VISIBLE = 0x0002;
constexpr UINT WS_CAPTION = 0x0004;
constexpr UINT WS_SYSMENU = 0x0008; // the dialog's own system menu
constexpr UINT WS_MINIMIZEBOX = 0x0010;
constexpr UINT DS_MODALFRAME = 0x0020;
constexpr UINT DS_CENTER = 0x0040;       // centred on the screen
constexpr UINT WS_EX_APPWINDOW = 0x0080; // a taskbar button even when owned

struct DlgItem {
    int id; // IDC_STATIC for controls nobody looks up
    DlgKind kind;
    const char* text; // null or empty: none
    int x;
    int y;
    int cx;
    int cy;
    UINT style = 0;
    UINT icon = 0;                        // DlgKind::Icon: the registered icon
    const char* accessibleName = nullptr; // null: from the label before it
};

struct DlgTemplate {
    const char* caption;
    int cx; // client area, dialog units
    int cy;
    const char* fontName; // the desktop's sans font where this one is missing
    int pointSize;
    UINT style;
    std::span<const DlgItem> items;
};

// Makes a template known under a resource id, for CDialog(UINT). The table
// must outlive its use (a static table does).
void AfxRegisterDialogTemplate(UINT id, const DlgTemplate& dialogTemplate);
const DlgTemplate* AfxFindDialogTemplate(UINT id);
