// Modal dialogs built from templates (dialog_template.h).
//
//   class CDemoDlg : public CDialog {
//   public:
//       CDemoDlg() : CDialog(IDD_DEMO) {}
//   protected:
//       BOOL OnInitDialog() override {
//           CDialog::OnInitDialog();
//           GetDlgItem(IDC_NAME)->SetWindowText("x");
//           return TRUE; // TRUE: focus to the first tab stop
//       }
//       DECLARE_MESSAGE_MAP()
//   };
//   INT_PTR result = CDemoDlg().DoModal(); // the code given to EndDialog
//
// Keyboard: Tab and Shift+Tab go through the tab stops in template order;
// Enter presses the focused push button, else the default button (nothing
// when that is disabled, nothing in a multi-line edit with ES_WANTRETURN);
// Escape is the Cancel command (IDCANCEL). Unmapped IDOK and IDCANCEL
// commands go to OnOK and OnCancel, which end the dialog with that code.
// The window's close button, Alt+F4 and the system menu (opened with
// Alt+Space or a right-click on the dialog's background) send WM_SYSCOMMAND;
// without a handler, SC_CLOSE becomes the Cancel command. The dialog ends only
// through EndDialog.
#pragma once

#include "framework/wnd.h"

#include <memory>

class CMenu;
struct DlgTemplate;

class CDataExchange {
public:
    BOOL m_bSaveAndValidate;
    CWnd* m_pDlgWnd;
};

class CDialog : public CWnd {
public:
    // pParentWnd null: owned by the innermost dialog that runs, if any.
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    explicit CDialog(const DlgTemplate& dialogTemplate, CWnd* pParentWnd = nullptr);
    ~CDialog() override;

    // Main thread. Creates the window and its controls, runs OnInitDialog,
    // shows the window and runs until EndDialog; -1 when the template is
    // unknown.
    virtual INT_PTR DoModal();
    // Ends the modal dialog with nResult; callable from OnInitDialog and from
    // any thread. From then on the dialog serves no other thread.
    void EndDialog(int nResult);

    // The control's handle (see controls.h), from creation until the dialog
    // object is destroyed; null for an unknown id or before DoModal.
    CWnd* GetDlgItem(int nID) const;
    // The window's icons (large: title bar and taskbar; small: the rest).
    HICON SetIcon(HICON hIcon, BOOL bBigIcon);
    // The dialog's own system menu; bRevert TRUE restores the default items
    // and returns null.
    CMenu* GetSystemMenu(BOOL bRevert);
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);

protected:
    virtual BOOL OnInitDialog();
    virtual void DoDataExchange(CDataExchange* pDX);
    virtual void OnOK();
    virtual void OnCancel();

    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    DECLARE_MESSAGE_MAP()

private:
    friend struct AfxDialogAccess;
    struct Impl;
    std::unique_ptr<Impl> m_pImpl;
};
