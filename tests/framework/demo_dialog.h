// A small dialog of the tests' own, with one control of every kind. Its
// button and notification handlers live in a base class that is no dialog,
// as the program's dialogs have them.
#pragma once

#include "framework/controls.h"
#include "framework/dialog.h"
#include "framework/dialog_template.h"

#include <string>
#include <vector>

enum : int {
    IDC_NUMBER = 201,
    IDC_LIST = 202,
    IDC_BOX = 203,
    IDC_COUNT = 204,
    IDC_PANE = 205,
    IDC_GO = 206,
    IDC_STOP = 207,
    IDC_OTHER = 208,
};

constexpr UINT WM_DEMO = WM_USER + 7;
constexpr UINT IDM_DEMO = 0x0010;

extern const DlgTemplate kDemoTemplate;

// What happened, in order, as text: "go", "pick 2", "edit ab 2", ...
class DemoHandlers {
public:
    virtual ~DemoHandlers() = default;
    void OnGo() { m_log.push_back("go"); }
    void OnStop() { m_log.push_back("stop"); }
    void OnOther() { m_log.push_back("other"); }
    LRESULT OnDemo(WPARAM wParam, LPARAM lParam) {
        m_log.push_back("demo " + std::to_string(wParam) + " " + std::to_string(lParam));
        return LRESULT(wParam + 1);
    }

    std::vector<std::string> m_log; // main thread
};

class DemoDlg : public CDialog, public DemoHandlers {
public:
    DemoDlg() : CDialog(kDemoTemplate) {}

    CEdit* Number() { return static_cast<CEdit*>(GetDlgItem(IDC_NUMBER)); }
    CComboBox* List() { return static_cast<CComboBox*>(GetDlgItem(IDC_LIST)); }
    CComboBox* Box() { return static_cast<CComboBox*>(GetDlgItem(IDC_BOX)); }
    CSliderCtrl* Count() { return static_cast<CSliderCtrl*>(GetDlgItem(IDC_COUNT)); }
    CEdit* Pane() { return static_cast<CEdit*>(GetDlgItem(IDC_PANE)); }
    CButton* Button(int id) { return static_cast<CButton*>(GetDlgItem(id)); }

    // Completes what the user types in the box from its list.
    bool m_bComplete = false;
    // Keeps the Close command for itself instead of the default handling.
    bool m_bKeepClose = false;

protected:
    BOOL OnInitDialog() override;
    void OnSysCommand(UINT nID, LPARAM lParam);
    void OnPaint();
    HCURSOR OnQueryDragIcon();
    void OnPick();
    void OnEditBox();
    void OnLeaveBox() { m_log.push_back("leave box"); }

    DECLARE_MESSAGE_MAP()

private:
    CString m_strTyped;
};
