#include "ui/connect_dlg.h"

#include "framework/menu.h"
#include "framework/resources.h"
#include "framework/win_app.h"
#include "history/target_history.h"
#include "ui/about_dlg.h"
#include "ui/resource.h"
#include "ui/resources.h"

namespace {

UINT MainTemplate() {
    RegisterUiResources();
    return IDD_MAIN;
}

} // namespace

CConnectDlg::CConnectDlg(CWnd* pParent)
    : CDialog(MainTemplate(), pParent), m_hIcon(AfxGetApp()->LoadIcon(IDR_MAINFRAME)) {}

CConnectDlg::~CConnectDlg() = default;

void CConnectDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
}

BEGIN_MESSAGE_MAP(CConnectDlg, CDialog)
ON_WM_SYSCOMMAND()
ON_WM_PAINT()
ON_WM_QUERYDRAGICON()
ON_BN_CLICKED(IDC_CONNECT, &CConnectDlg::OnConnect)
ON_BN_CLICKED(IDC_STOP, &CConnectDlg::OnStop)
ON_BN_CLICKED(IDC_QUIT, &CConnectDlg::OnQuit)
ON_COMMAND(IDS_ABOUTBOX, &CConnectDlg::OnAboutBox)
ON_CBN_SELENDOK(IDC_SERVICE, &CConnectDlg::OnSelEndOkService)
ON_MESSAGE(WM_SAVEANDCLOSE, &CConnectDlg::OnSaveAndClose)
ON_CBN_KILLFOCUS(IDC_TARGET, &CConnectDlg::OnKillFocusTarget)
ON_CBN_EDITUPDATE(IDC_TARGET, &CConnectDlg::OnEditUpdateTarget)
ON_BN_CLICKED(IDC_ABOUTICON, &CConnectDlg::OnAboutBox)
END_MESSAGE_MAP()

BOOL CConnectDlg::OnInitDialog() {
    CDialog::OnInitDialog();

    m_pService = static_cast<CComboBox*>(GetDlgItem(IDC_SERVICE));
    m_targetBox.Attach(static_cast<CComboBox*>(GetDlgItem(IDC_TARGET)));
    m_pCount = static_cast<CSliderCtrl*>(GetDlgItem(IDC_COUNT));
    m_pAboutIcon = static_cast<CButton*>(GetDlgItem(IDC_ABOUTICON));
    m_pPort = static_cast<CEdit*>(GetDlgItem(IDC_PORT));
    m_pOutput = static_cast<CEdit*>(GetDlgItem(IDC_OUTPUT));

    CString about;
    AfxLoadString(IDS_ABOUTBOX, about);
    if (!about.empty()) {
        if (CMenu* menu = GetSystemMenu(FALSE)) {
            menu->AppendMenu(MF_SEPARATOR);
            menu->AppendMenu(MF_STRING, IDM_ABOUTBOX, about.c_str());
        }
    }

    SetIcon(m_hIcon, TRUE);
    SetIcon(m_hIcon, FALSE);
    m_pAboutIcon->SetIcon(m_hIcon);

    m_nPort = 0;
    m_nCount = 0;
    m_bBusy = m_bStop = m_bQuit = 0;

    FillServiceList();

    auto* target = static_cast<CComboBox*>(GetDlgItem(IDC_TARGET));
    target->LimitText(255);
    target->SetWindowText("");
    target->SetFocus();

    LoadHistory();

    for (int tic = 1; tic <= 4; ++tic)
        m_pCount->SetTic(tic);
    m_pCount->SetRange(0, 4, FALSE);

    return FALSE; // the focus stays in the target box
}

void CConnectDlg::OnSysCommand(UINT nID, LPARAM lParam) {
    if ((nID & 0xFFF0) == IDM_ABOUTBOX)
        OnAboutBox();
    else if ((nID & 0xFFF0) == SC_CLOSE)
        OnCloseCommand();
    else
        CDialog::OnSysCommand(nID, lParam);
}

void CConnectDlg::OnPaint() {
    if (!IsIconic()) {
        CDialog::OnPaint();
        return;
    }
    CPaintDC dc(this);
    SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);
    const int cxIcon = GetSystemMetrics(SM_CXICON);
    const int cyIcon = GetSystemMetrics(SM_CYICON);
    CRect rect;
    GetClientRect(&rect);
    const int x = (rect.Width() - cxIcon + 1) / 2;
    const int y = (rect.Height() - cyIcon + 1) / 2;
    dc.DrawIcon(x, y, m_hIcon);
}

HCURSOR CConnectDlg::OnQueryDragIcon() {
    return m_hIcon;
}

void CConnectDlg::OnAboutBox() {
    CAboutDlg about;
    about.DoModal();
}

// The target history lives in the store; the dialog gives it the box and
// the members it reads and writes.
CString CConnectDlg::FindHistoryFile() {
    return ::FindHistoryFile();
}
void CConnectDlg::LoadHistory() {
    ::LoadHistory(m_targetBox);
}
void CConnectDlg::SaveHistory() {
    ::SaveHistory(m_targetBox, m_strLastGood);
}
void CConnectDlg::OnKillFocusTarget() {
    CapTargetList(m_targetBox);
}
void CConnectDlg::OnEditUpdateTarget() {
    TypeAheadTarget(m_targetBox, m_strTyped);
}

CString CConnectDlg::GetOutputText() {
    return m_pOutput->GetWindowText();
}
void CConnectDlg::SetOutputText(const CString& text) {
    m_pOutput->SetWindowText(text);
}
void CConnectDlg::SetOutputDefaultTabStops() {
    m_pOutput->SetTabStops();
}
void CConnectDlg::SetOutputSoftBreaks(bool on) {
    m_pOutput->FmtLines(on);
}
int CConnectDlg::GetOutputLineCount() {
    return m_pOutput->GetLineCount();
}
void CConnectDlg::ScrollOutput(int lines) {
    m_pOutput->LineScroll(lines);
}
int CConnectDlg::GetCountPosition() {
    return m_pCount->GetPos();
}
CString CConnectDlg::GetPortText() {
    return m_pPort->GetWindowText();
}
void CConnectDlg::EnableConnect(bool enable) {
    GetDlgItem(IDC_CONNECT)->EnableWindow(enable);
}
void CConnectDlg::EnableStop(bool enable) {
    GetDlgItem(IDC_STOP)->EnableWindow(enable);
}
void CConnectDlg::EnableQuit(bool enable) {
    GetDlgItem(IDC_QUIT)->EnableWindow(enable);
}

void CConnectDlg::ShowWaitCursor(bool on) {
    if (on)
        BeginWaitCursor();
    else
        EndWaitCursor();
}

void CConnectDlg::PostSaveAndClose() {
    PostMessage(WM_SAVEANDCLOSE, 0, 0);
}
void CConnectDlg::CloseDialog(int result) {
    EndDialog(result);
}
