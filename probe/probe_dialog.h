// The main dialog as the probe engine sees it: the members that run control
// and the probe run share with the dialog, the handlers of run control, the
// run itself, and the control operations they need. The dialog implements the
// operations on its real controls; tests implement them on models of their
// own. Every operation may be called from the worker thread, and completes
// before it returns.
#pragma once

#include "framework/afx_types.h"
#include "framework/thread.h"
#include "history/target_list.h"

#include <atomic>
#include <cstdint>
#include <initializer_list>
#include <string_view>

// The dialog's private close message, posted with both parameters 0.
constexpr UINT WM_SAVEANDCLOSE = WM_USER + 1;

class CProbeDialog {
public:
    CProbeDialog() = default;
    virtual ~CProbeDialog();
    CProbeDialog(const CProbeDialog&) = delete;
    CProbeDialog& operator=(const CProbeDialog&) = delete;

    CString m_strTarget;   // target text taken at Connect
    CString m_strLastGood; // last target whose connection succeeded
    CString m_strTyped;    // type-ahead prefix of the target box
    uint32_t m_nPort = 0;  // port of the run, 1 to 65535 while one runs
    uint16_t m_nCount = 0; // connection count of the run, 1 to 5
    // Plain 32-bit words without a lock; atomic only so that each read and
    // write is whole.
    std::atomic<BOOL> m_bBusy{0};
    std::atomic<BOOL> m_bStop{0};
    std::atomic<BOOL> m_bQuit{0};

    // Run control, on the main thread.
    void OnConnect();
    void OnStop();
    void OnQuit();
    void OnCloseCommand(); // the window's Close command
    LRESULT OnSaveAndClose(WPARAM, LPARAM);

    // Once the modal dialog has ended (Escape ends it even during a run):
    // tells a run still going to stop and waits for its worker, so that the
    // worker touches neither the ended dialog nor the runtime after it is
    // shut down.
    void EndRun();

    // The run, on the worker thread.
    void RunProbe();
    void AppendOutput(std::initializer_list<std::string_view> pieces);

    // Output pane.
    virtual CString GetOutputText() = 0;
    virtual void SetOutputText(const CString& text) = 0;
    virtual void SetOutputDefaultTabStops() = 0;   // may do nothing
    virtual void SetOutputSoftBreaks(bool on) = 0; // may do nothing
    virtual int GetOutputLineCount() = 0;
    virtual void ScrollOutput(int lines) = 0;

    // Target box.
    virtual CTargetList& TargetBox() = 0;

    // Connection-count trackbar, port field and buttons.
    virtual int GetCountPosition() = 0; // 0 to 4
    virtual CString GetPortText() = 0;
    virtual void EnableConnect(bool enable) = 0;
    virtual void EnableStop(bool enable) = 0;
    virtual void EnableQuit(bool enable) = 0;

    // The dialog as a whole.
    virtual void ShowWaitCursor(bool on) = 0;
    virtual void PostSaveAndClose() = 0;      // queues WM_SAVEANDCLOSE
    virtual void CloseDialog(int result) = 0; // ends the modal dialog
    virtual void SaveHistory() = 0;

protected:
    bool WorkerRunning();

    CWinThread* m_pWorker = nullptr; // the current or last worker
    bool m_bClosing = false;         // the close path has run (main thread only)
};
