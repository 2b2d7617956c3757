// The main dialog: the program's only window. It owns the controls and the
// state that run control, the probe run and the history store share; their
// work lives with them, and the dialog gives them its real controls.
#pragma once

#include "framework/controls.h"
#include "framework/dialog.h"
#include "probe/probe_dialog.h"
#include "ui/target_box.h"

class CConnectDlg : public CDialog, public CProbeDialog {
public:
    explicit CConnectDlg(CWnd* pParent = nullptr);
    ~CConnectDlg() override;

    HICON m_hIcon;

    // The target history.
    CString FindHistoryFile();
    void LoadHistory();
    void SaveHistory() override;
    void OnKillFocusTarget();
    void OnEditUpdateTarget();

    // The service list and the port field.
    void FillServiceList();
    void OnSelEndOkService();

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

    void OnSysCommand(UINT nID, LPARAM lParam);
    void OnPaint();
    HCURSOR OnQueryDragIcon();
    void OnAboutBox();

    // The controls as the probe engine uses them.
    CString GetOutputText() override;
    void SetOutputText(const CString& text) override;
    void SetOutputDefaultTabStops() override;
    void SetOutputSoftBreaks(bool on) override;
    int GetOutputLineCount() override;
    void ScrollOutput(int lines) override;
    CTargetList& TargetBox() override { return m_targetBox; }
    int GetCountPosition() override;
    CString GetPortText() override;
    void EnableConnect(bool enable) override;
    void EnableStop(bool enable) override;
    void EnableQuit(bool enable) override;
    void ShowWaitCursor(bool on) override;
    void PostSaveAndClose() override;
    void CloseDialog(int result) override;

    DECLARE_MESSAGE_MAP()

private:
    CComboBox* m_pService = nullptr;
    CSliderCtrl* m_pCount = nullptr;
    CButton* m_pAboutIcon = nullptr;
    CEdit* m_pPort = nullptr;
    CEdit* m_pOutput = nullptr;
    CTargetBox m_targetBox;
};
