// Windows: a thin handle on a dialog or on one of its controls. The dialog
// creates the handles of its controls and owns them (CDialog::GetDlgItem).
//
// Every operation may be called from any thread. Off the main thread it is
// carried out by the main thread, which may be in a modal dialog or a message
// box meanwhile, and returns its result before the caller goes on. Once the
// dialog has ended, operations return at once without effect (FALSE, 0, empty
// text) and posted messages are dropped.
#pragma once

#include "framework/cmd_target.h"
#include "framework/gdi.h"

#include <memory>

struct AfxWindowLink;

class CWnd : public CCmdTarget {
public:
    CWnd();
    ~CWnd() override;

    void SetWindowText(const CString& text);
    void GetWindowText(CString& text) const;
    CString GetWindowText() const;
    int GetWindowTextLength() const;

    // Returns TRUE when the window was disabled before the call.
    BOOL EnableWindow(BOOL bEnable = TRUE);
    BOOL IsWindowEnabled() const;
    // Gives the keyboard focus to this window (once its dialog is shown).
    void SetFocus();
    BOOL IsIconic() const;
    void GetClientRect(CRect* rect) const;
    int GetDlgCtrlID() const;

    // The name a screen reader announces.
    void SetAccessibleName(const CString& name);
    CString GetAccessibleName() const;

    // Queues the message for this window's message map; FALSE when the
    // window is not running.
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    // Has the message handled through the message map and returns the result.
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

protected:
    // The message map's search, then the default handling.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);

    // The default handling, for mapped handlers that pass a message on.
    void OnSysCommand(UINT nID, LPARAM lParam);
    void OnPaint();

private:
    friend struct AfxWndAccess;
    std::shared_ptr<AfxWindowLink> m_link;
};
