#include "tests/probe/fake_probe_dialog.h"

#include <algorithm>

FakeProbeDialog::~FakeProbeDialog() {
    // A worker still running uses this object: wait for it before the
    // members go.
    if (m_pWorker)
        m_pWorker->Wait();
}

namespace {

int LineCount(const CString& text) {
    return int(std::count(text.begin(), text.end(), '\n')) + 1;
}

} // namespace

CString FakeProbeDialog::GetOutputText() {
    PaneOp("get");
    std::lock_guard lock(m_mutex);
    return m_output;
}

void FakeProbeDialog::SetOutputText(const CString& text) {
    PaneOp("set");
    std::lock_guard lock(m_mutex);
    m_output = text;
    m_scrollAt.erase(std::remove_if(m_scrollAt.begin(), m_scrollAt.end(),
                                    [&](size_t at) { return at > text.size(); }),
                     m_scrollAt.end());
}

void FakeProbeDialog::SetOutputDefaultTabStops() {
    PaneOp("tabs");
}

void FakeProbeDialog::SetOutputSoftBreaks(bool on) {
    PaneOp(on ? "softbreaks 1" : "softbreaks 0");
}

int FakeProbeDialog::GetOutputLineCount() {
    PaneOp("lines");
    std::lock_guard lock(m_mutex);
    return LineCount(m_output);
}

void FakeProbeDialog::ScrollOutput(int lines) {
    PaneOp("scroll " + std::to_string(lines));
    std::lock_guard lock(m_mutex);
    m_scrollAt.push_back(m_output.size());
    if (lines != LineCount(m_output))
        m_bScrollsByLineCount = false;
}

int FakeProbeDialog::GetCountPosition() {
    std::lock_guard lock(m_mutex);
    return m_nCountPosition;
}

CString FakeProbeDialog::GetPortText() {
    std::lock_guard lock(m_mutex);
    return m_strPort;
}

void FakeProbeDialog::EnableConnect(bool enable) {
    {
        std::lock_guard lock(m_mutex);
        m_bConnect = enable;
    }
    Event(std::string("EnableConnect ") + (enable ? "1" : "0"));
}

void FakeProbeDialog::EnableStop(bool enable) {
    {
        std::lock_guard lock(m_mutex);
        m_bStopEnabled = enable;
    }
    Event(std::string("EnableStop ") + (enable ? "1" : "0"));
}

void FakeProbeDialog::EnableQuit(bool enable) {
    {
        std::lock_guard lock(m_mutex);
        m_bQuitEnabled = enable;
    }
    Event(std::string("EnableQuit ") + (enable ? "1" : "0"));
}

void FakeProbeDialog::ShowWaitCursor(bool on) {
    Event(std::string("WaitCursor ") + (on ? "1" : "0"));
}

void FakeProbeDialog::PostSaveAndClose() {
    Event("PostSaveAndClose");
}

void FakeProbeDialog::CloseDialog(int result) {
    Event("CloseDialog " + std::to_string(result));
}

void FakeProbeDialog::SaveHistory() {
    Event("SaveHistory");
}

void FakeProbeDialog::SetCountPosition(int position) {
    std::lock_guard lock(m_mutex);
    m_nCountPosition = position;
}

void FakeProbeDialog::SetPortText(const CString& text) {
    std::lock_guard lock(m_mutex);
    m_strPort = text;
}

CString FakeProbeDialog::Output() {
    std::lock_guard lock(m_mutex);
    return m_output;
}

CString FakeProbeDialog::OutputWithScrolls() {
    std::lock_guard lock(m_mutex);
    CString marked;
    size_t from = 0;
    for (size_t at : m_scrollAt) {
        marked.append(m_output, from, at - from);
        marked.append("<v>");
        from = at;
    }
    marked.append(m_output, from, CString::npos);
    return marked;
}

bool FakeProbeDialog::ScrollsByLineCount() {
    std::lock_guard lock(m_mutex);
    return m_bScrollsByLineCount;
}

std::vector<std::string> FakeProbeDialog::PaneOps() {
    std::lock_guard lock(m_mutex);
    return m_paneOps;
}

std::vector<std::string> FakeProbeDialog::Events() {
    std::lock_guard lock(m_mutex);
    return m_events;
}

int FakeProbeDialog::Count(const std::string& event) {
    std::lock_guard lock(m_mutex);
    return int(std::count(m_events.begin(), m_events.end(), event));
}

bool FakeProbeDialog::ConnectEnabled() {
    std::lock_guard lock(m_mutex);
    return m_bConnect;
}

bool FakeProbeDialog::StopEnabled() {
    std::lock_guard lock(m_mutex);
    return m_bStopEnabled;
}

bool FakeProbeDialog::QuitEnabled() {
    std::lock_guard lock(m_mutex);
    return m_bQuitEnabled;
}

void FakeProbeDialog::SetEventHook(std::function<void(const std::string&)> hook) {
    std::lock_guard lock(m_mutex);
    m_hook = std::move(hook);
}

void FakeProbeDialog::Event(const std::string& event) {
    std::function<void(const std::string&)> hook;
    {
        std::lock_guard lock(m_mutex);
        m_events.push_back(event);
        hook = m_hook;
    }
    if (hook)
        hook(event);
}

void FakeProbeDialog::PaneOp(const std::string& op) {
    std::lock_guard lock(m_mutex);
    m_paneOps.push_back(op);
}
