// A dialog without windows for tests of the probe engine: every control
// operation of CProbeDialog works on in-memory state and is recorded. The
// output pane keeps its text and the places where the run scrolled; the
// target box is a FakeTargetList; the buttons, the wait cursor, the posted
// close and the history save are logged as events.
//
// Safe to use from the worker and the test thread at once.
#pragma once

#include "probe/probe_dialog.h"
#include "tests/support/fake_target_list.h"

#include <functional>
#include <mutex>
#include <string>
#include <vector>

class FakeProbeDialog : public CProbeDialog {
public:
    ~FakeProbeDialog() override;

    // Output pane.
    CString GetOutputText() override;
    void SetOutputText(const CString& text) override;
    void SetOutputDefaultTabStops() override;
    void SetOutputSoftBreaks(bool on) override;
    int GetOutputLineCount() override; // line ends + 1, as the edit control counts
    void ScrollOutput(int lines) override;

    CTargetList& TargetBox() override { return m_box; }

    int GetCountPosition() override;
    CString GetPortText() override;
    void EnableConnect(bool enable) override;
    void EnableStop(bool enable) override;
    void EnableQuit(bool enable) override;
    void ShowWaitCursor(bool on) override;
    void PostSaveAndClose() override;
    void CloseDialog(int result) override;
    void SaveHistory() override;

    // Inputs the test sets.
    void SetCountPosition(int position);
    void SetPortText(const CString& text);

    // What the test reads back.
    CString Output();
    // The output with "<v>" wherever the pane was scrolled, and a check that
    // every scroll was by the pane's line count at that moment.
    CString OutputWithScrolls();
    bool ScrollsByLineCount();
    // Pane operations in order: "tabs", "softbreaks 1", "get", "set", "lines",
    // "scroll N".
    std::vector<std::string> PaneOps();
    // Dialog events in order: "EnableConnect 1", "EnableStop 0", "EnableQuit 0",
    // "WaitCursor 1", "PostSaveAndClose", "CloseDialog 0", "SaveHistory".
    std::vector<std::string> Events();
    int Count(const std::string& event);
    bool ConnectEnabled();
    bool StopEnabled();
    bool QuitEnabled();

    // Called after each dialog event is logged, outside the lock (to deliver
    // a posted close, say). Pane operations do not call it.
    void SetEventHook(std::function<void(const std::string& event)> hook);

    FakeTargetList m_box;

private:
    void Event(const std::string& event);
    void PaneOp(const std::string& op);

    std::mutex m_mutex;
    CString m_output;
    std::vector<size_t> m_scrollAt; // output length at each scroll
    bool m_bScrollsByLineCount = true;
    std::vector<std::string> m_paneOps;
    std::vector<std::string> m_events;
    std::function<void(const std::string&)> m_hook;
    int m_nCountPosition = 0;
    CString m_strPort;
    bool m_bConnect = true;
    bool m_bStopEnabled = false;
    bool m_bQuitEnabled = true;
};
