#include "tests/framework/demo_dialog.h"

#include "framework/gdi.h"
#include "framework/menu.h"
#include "framework/resources.h"

namespace {

const DlgItem kItems[] = {
    {IDC_STATIC, DlgKind::Text, "&Number", 5, 5, 40, 8},
    {IDC_NUMBER, DlgKind::Edit, "", 50, 5, 40, 12, WS_TABSTOP | WS_BORDER | ES_NUMBER},
    {IDC_STATIC, DlgKind::Text, "Service", 5, 20, 40, 8},
    {IDC_LIST, DlgKind::ComboBox, nullptr, 50, 20, 60, 60,
     WS_TABSTOP | CBS_DROPDOWNLIST | WS_VSCROLL},
    {IDC_STATIC, DlgKind::Text, "Target", 5, 35, 40, 8},
    {IDC_BOX, DlgKind::ComboBox, nullptr, 50, 35, 80, 60,
     WS_TABSTOP | CBS_DROPDOWN | CBS_SORT | CBS_AUTOHSCROLL | WS_VSCROLL},
    {IDC_COUNT, DlgKind::Trackbar, "Slider", 5, 50, 80, 20, WS_TABSTOP | TBS_BOTTOM},
    {IDC_PANE, DlgKind::Edit, "", 5, 75, 150, 40,
     WS_BORDER | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_WANTRETURN, 0, "Output"},
    {IDC_GO, DlgKind::Button, "&Go", 160, 5, 40, 14, WS_TABSTOP | BS_DEFPUSHBUTTON},
    {IDC_STOP, DlgKind::Button, "&Stop", 160, 22, 40, 14, WS_DISABLED},
    {IDC_OTHER, DlgKind::Button, "O&ther", 160, 39, 40, 14, WS_TABSTOP},
    {IDC_STATIC, DlgKind::Frame, nullptr, 155, 2, 50, 55, SS_BLACKFRAME | SS_SUNKEN},
};

} // namespace

const DlgTemplate kDemoTemplate = {
    "Demo",          210, 120,
    "MS Sans Serif", 8,   WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | DS_CENTER,
    kItems};

BEGIN_MESSAGE_MAP(DemoDlg, CDialog)
ON_WM_SYSCOMMAND()
ON_WM_PAINT()
ON_WM_QUERYDRAGICON()
ON_BN_CLICKED(IDC_GO, &DemoDlg::OnGo)
ON_BN_CLICKED(IDC_STOP, &DemoDlg::OnStop)
ON_BN_CLICKED(IDC_OTHER, &DemoDlg::OnOther)
ON_CBN_SELENDOK(IDC_LIST, &DemoDlg::OnPick)
ON_CBN_EDITUPDATE(IDC_BOX, &DemoDlg::OnEditBox)
ON_CBN_KILLFOCUS(IDC_BOX, &DemoDlg::OnLeaveBox)
ON_MESSAGE(WM_DEMO, &DemoDlg::OnDemo)
END_MESSAGE_MAP()

BOOL DemoDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    CMenu* menu = GetSystemMenu(FALSE);
    menu->AppendMenu(MF_SEPARATOR);
    menu->AppendMenu(MF_STRING, IDM_DEMO, "&About Demo...");
    for (const char* service : {"KRPC", "HTTP", "Other"})
        List()->InsertString(-1, service);
    List()->SetCurSel(0);
    Number()->SetFocus();
    return FALSE;
}

void DemoDlg::OnSysCommand(UINT nID, LPARAM lParam) {
    m_log.push_back("syscommand " + std::to_string(nID));
    if ((nID & 0xFFF0) == SC_CLOSE && m_bKeepClose)
        return;
    CDialog::OnSysCommand(nID, lParam);
}

void DemoDlg::OnPaint() {
    if (!IsIconic()) {
        CDialog::OnPaint();
        return;
    }
    CPaintDC dc(this);
    SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);
    CRect rect;
    GetClientRect(&rect);
    const int x = (rect.Width() - GetSystemMetrics(SM_CXICON) + 1) / 2;
    const int y = (rect.Height() - GetSystemMetrics(SM_CYICON) + 1) / 2;
    m_log.push_back(dc.DrawIcon(x, y, AfxLoadIcon(1)) ? "paint icon" : "paint none");
}

HCURSOR DemoDlg::OnQueryDragIcon() {
    m_log.push_back("drag icon");
    return AfxLoadIcon(1);
}

void DemoDlg::OnPick() {
    m_log.push_back("pick " + std::to_string(List()->GetCurSel()));
}

void DemoDlg::OnEditBox() {
    CComboBox* box = Box();
    const CString text = box->GetWindowText();
    int start = 0;
    int end = 0;
    box->GetEditSel(start, end);
    m_log.push_back("edit " + text + " " + std::to_string(start));
    if (!m_bComplete)
        return;
    // Type-ahead: complete a lengthened text from the list, the added part
    // selected.
    const bool longer = text.size() > m_strTyped.size();
    m_strTyped = text;
    if (longer && box->SelectString(-1, m_strTyped) != CB_ERR)
        box->SetEditSel(start, -1);
}
