// A thousand runs in a row, five connects each, against a loopback listener:
// Connect on a windowless dialog, run control's worker thread, the probe run
// and the real runtime library. The open descriptors, the threads and the
// resident memory after the first runs and at the end, so that growth shows.
// Printed, not judged.
#include "bench/loopback_acceptor.h"
#include "probe/probe_dialog.h"
#include "tests/kelto/kelto_testing.h"
#include "tests/probe/transcript.h"
#include "tests/support/fake_target_list.h"
#include "transport/runtime.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kRuns = 1000;
constexpr int kWarmUp = 50;       // "after the first runs"
constexpr int kCountPosition = 4; // five connects

// The windowless dialog, keeping only what a real one keeps: the pane's text
// and the target box. (The tests' dialog logs every call, which would grow.)
class SoakDialog : public CProbeDialog {
public:
    ~SoakDialog() override { EndRun(); }
    bool Running() { return WorkerRunning(); }

    CString GetOutputText() override {
        std::lock_guard lock(m_mutex);
        return m_output;
    }
    void SetOutputText(const CString& text) override {
        std::lock_guard lock(m_mutex);
        m_output = text;
    }
    void SetOutputDefaultTabStops() override {}
    void SetOutputSoftBreaks(bool) override {}
    int GetOutputLineCount() override {
        std::lock_guard lock(m_mutex);
        return int(std::count(m_output.begin(), m_output.end(), '\n')) + 1;
    }
    void ScrollOutput(int) override {}
    CTargetList& TargetBox() override { return m_box; }
    int GetCountPosition() override { return kCountPosition; }
    CString GetPortText() override { return m_strPortText; }
    void EnableConnect(bool) override {}
    void EnableStop(bool) override {}
    void EnableQuit(bool) override {}
    void ShowWaitCursor(bool) override {}
    void PostSaveAndClose() override {}
    void CloseDialog(int) override {}
    void SaveHistory() override {}

    FakeTargetList m_box;
    CString m_strPortText;

private:
    std::mutex m_mutex;
    CString m_output;
};

// A "Name:   value kB" line of /proc/self/status, as a number; -1 if absent.
long StatusField(const char* name) {
    std::ifstream status("/proc/self/status");
    const size_t length = std::strlen(name);
    for (std::string line; std::getline(status, line);) {
        if (line.compare(0, length, name) == 0 && line[length] == ':')
            return std::stol(line.substr(length + 1));
    }
    return -1;
}

struct Sample {
    int runs;
    int fds;
    long threads;
    long rssKb;
};

Sample Take(int runs) {
    return {runs, OpenFdCount(), StatusField("Threads"), StatusField("VmRSS")};
}

void Print(const Sample& s) {
    std::printf("  after %4d runs: %3d open files, %2ld threads, VmRSS %6ld kB\n", s.runs, s.fds,
                s.threads, s.rssKb);
}

} // namespace

int main() {
    if (RuntimeStartup() != 0) {
        std::printf("runtime library not available\n");
        return 1;
    }
    LoopbackAcceptor acceptor;
    if (acceptor.port() == 0) {
        std::printf("no loopback listener\n");
        return 1;
    }

    SoakDialog dlg;
    dlg.m_box.SetText("127.0.0.1");
    dlg.m_strPortText = std::to_string(acceptor.port());

    std::vector<Sample> samples;
    int incomplete = 0;
    const auto start = Clock::now();
    for (int run = 1; run <= kRuns; ++run) {
        dlg.OnConnect();
        while (dlg.Running() || dlg.m_bBusy)
            std::this_thread::sleep_for(std::chrono::microseconds(100));
        if (ParseTranscript(dlg.GetOutputText()).replies != kCountPosition + 1)
            ++incomplete;
        if (run == kWarmUp || run % 250 == 0)
            samples.push_back(Take(run));
    }
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    const Sample& first = samples.front();
    const Sample& last = samples.back();

    std::printf("%d runs of %d connects to 127.0.0.1:%u in %.1f s through the worker thread%s\n",
                kRuns, kCountPosition + 1, unsigned(acceptor.port()), seconds,
                incomplete ? "" : ", every connect answered");
    if (incomplete)
        std::printf("  %d runs had a failed connect\n", incomplete);
    for (const Sample& sample : samples)
        Print(sample);
    std::printf("  growth over the last %d runs: %+d open files, %+ld threads, %+ld kB\n",
                kRuns - kWarmUp, last.fds - first.fds, last.threads - first.threads,
                last.rssKb - first.rssKb);
    RuntimeShutdown();
    return 0;
}
