#include "framework/dialog.h"

#include "framework/dialog_template.h"
#include "framework/menu.h"
#include "framework/qt/dialog_access.h"
#include "framework/qt/dialog_builder.h"
#include "framework/qt/dialog_window.h"
#include "framework/qt/icon.h"
#include "framework/qt/window_link.h"
#include "framework/win_app.h"

#include <algorithm>
#include <mutex>
#include <vector>

struct CDialog::Impl {
    UINT templateId = 0;
    const DlgTemplate* dialogTemplate = nullptr;
    CWnd* parent = nullptr;

    QPointer<AfxDialogWindow> window; // while DoModal runs
    std::shared_ptr<AfxCallScope> scope;
    bool running = false;
    bool ended = false;
    int result = 0;

    mutable std::mutex itemsMutex;
    std::vector<std::unique_ptr<CWnd>> items;
    // Handles of an earlier run: a worker may still hold them.
    std::vector<std::unique_ptr<CWnd>> retired;

    CMenu systemMenu;
    bool systemMenuReady = false;
    HICON bigIcon = nullptr;
    HICON smallIcon = nullptr;
};

namespace {

// The dialogs whose DoModal runs, innermost last; main thread.
std::vector<CDialog*>& RunningDialogs() {
    static std::vector<CDialog*> dialogs;
    return dialogs;
}

void FillSystemMenu(CMenu& menu, UINT style) {
    menu.RemoveAll();
    menu.AppendMenu(MF_STRING, SC_RESTORE, "&Restore");
    if (style & WS_MINIMIZEBOX)
        menu.AppendMenu(MF_STRING, SC_MINIMIZE, "Mi&nimize");
    menu.AppendMenu(MF_SEPARATOR);
    menu.AppendMenu(MF_STRING, SC_CLOSE, "&Close\tAlt+F4");
}

} // namespace

BEGIN_MESSAGE_MAP(CDialog, CWnd)
ON_COMMAND(IDOK, &CDialog::OnOK)
ON_COMMAND(IDCANCEL, &CDialog::OnCancel)
END_MESSAGE_MAP()

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd) : m_pImpl(std::make_unique<Impl>()) {
    m_pImpl->templateId = nIDTemplate;
    m_pImpl->parent = pParentWnd;
}

CDialog::CDialog(const DlgTemplate& dialogTemplate, CWnd* pParentWnd)
    : m_pImpl(std::make_unique<Impl>()) {
    m_pImpl->dialogTemplate = &dialogTemplate;
    m_pImpl->parent = pParentWnd;
}

CDialog::~CDialog() {
    if (m_pImpl->scope)
        m_pImpl->scope->Close();
}

INT_PTR CDialog::DoModal() {
    Impl& d = *m_pImpl;
    if (!AfxIsMainThread() || d.running)
        return -1;
    if (!d.dialogTemplate)
        d.dialogTemplate = AfxFindDialogTemplate(d.templateId);
    if (!d.dialogTemplate)
        return -1;
    const DlgTemplate& t = *d.dialogTemplate;

    QWidget* owner = nullptr;
    if (d.parent)
        owner = AfxWidgetOf(*d.parent);
    else if (!RunningDialogs().empty())
        owner = AfxWidgetOf(*RunningDialogs().back());
    if (t.style & WS_EX_APPWINDOW)
        owner = nullptr;

    auto* window = new AfxDialogWindow(this, owner, t);
    d.window = window;
    d.scope = AfxCallScope::Create(true);
    d.running = true;
    d.ended = false;
    d.result = 0;
    auto link = std::make_shared<AfxWindowLink>();
    link->widget = window;
    link->scope = d.scope;
    link->dialog = this;
    AfxWndAccess::Link(*this) = link;
    {
        std::vector<std::unique_ptr<CWnd>> items = AfxBuildControls(*this, *window, t, d.scope);
        std::lock_guard lock(d.itemsMutex);
        for (auto& item : d.items)
            d.retired.push_back(std::move(item));
        d.items = std::move(items);
    }
    if (!d.systemMenuReady)
        GetSystemMenu(TRUE);

    RunningDialogs().push_back(this);
    AfxEnterModalLoop();
    if (OnInitDialog() && !d.ended)
        window->FocusFirstTabStop();
    if (!d.ended)
        window->exec();

    d.ended = true;
    d.scope->Close();
    d.running = false;
    AfxLeaveModalLoop();
    auto& running = RunningDialogs();
    running.erase(std::remove(running.begin(), running.end(), this), running.end());
    if (CWinApp* app = AfxGetApp(); app && app->m_pMainWnd == this)
        app->m_pMainWnd = nullptr;
    delete window;
    return d.result;
}

void CDialog::EndDialog(int nResult) {
    if (!AfxIsMainThread()) {
        AfxWithWidget<QWidget>(*this, false, [this, nResult](QWidget*) {
            EndDialog(nResult);
            return true;
        });
        return;
    }
    Impl& d = *m_pImpl;
    if (!d.running || d.ended)
        return;
    d.result = nResult;
    d.ended = true;
    d.scope->Close();
    if (d.window)
        d.window->done(nResult);
}

CWnd* CDialog::GetDlgItem(int nID) const {
    std::lock_guard lock(m_pImpl->itemsMutex);
    for (const auto& item : m_pImpl->items) {
        if (item->GetDlgCtrlID() == nID)
            return item.get();
    }
    return nullptr;
}

HICON CDialog::SetIcon(HICON hIcon, BOOL bBigIcon) {
    return AfxWithWidget<QWidget>(*this, HICON(nullptr), [this, hIcon, bBigIcon](QWidget* window) {
        HICON& slot = bBigIcon ? m_pImpl->bigIcon : m_pImpl->smallIcon;
        HICON previous = slot;
        slot = hIcon;
        // One icon serves the title bar, the taskbar and the rest alike.
        window->setWindowIcon(AfxQIcon(m_pImpl->bigIcon ? m_pImpl->bigIcon : m_pImpl->smallIcon));
        return previous;
    });
}

CMenu* CDialog::GetSystemMenu(BOOL bRevert) {
    Impl& d = *m_pImpl;
    if (!d.dialogTemplate)
        d.dialogTemplate = AfxFindDialogTemplate(d.templateId);
    const UINT style = d.dialogTemplate ? d.dialogTemplate->style : 0;
    if (!(style & WS_SYSMENU))
        return nullptr;
    if (bRevert || !d.systemMenuReady) {
        FillSystemMenu(d.systemMenu, style);
        d.systemMenuReady = true;
    }
    return bRevert ? nullptr : &d.systemMenu;
}

BOOL CDialog::UpdateData(BOOL bSaveAndValidate) {
    CDataExchange exchange{bSaveAndValidate, this};
    DoDataExchange(&exchange);
    return TRUE;
}

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::DoDataExchange(CDataExchange*) {}

void CDialog::OnOK() {
    if (UpdateData(TRUE))
        EndDialog(IDOK);
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

LRESULT CDialog::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE)
        return WindowProc(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    return CWnd::DefWindowProc(message, wParam, lParam);
}

LRESULT AfxDialogAccess::Dispatch(CDialog& dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!IsRunning(dialog))
        return 0;
    return dialog.WindowProc(message, wParam, lParam);
}

bool AfxDialogAccess::IsRunning(const CDialog& dialog) {
    return dialog.m_pImpl->running && !dialog.m_pImpl->ended;
}

const CMenu* AfxDialogAccess::SystemMenu(CDialog& dialog) {
    return dialog.GetSystemMenu(FALSE);
}
