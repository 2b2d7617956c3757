// The application's start-up and shutdown in this process, with the real
// dialog and worker: the start-up status, the one shutdown after each way the
// dialog ends, Escape during a blocked connect, and a whole run on loopback.
#include "framework/win_app.h"
#include "tests/app/app_fixture.h"
#include "tests/app/runtime_spy.h"
#include "tests/framework/qt_test_support.h"
#include "tests/kelto/kelto_testing.h"
#include "tests/probe/transcript.h"
#include "transport/transport.h"
#include "ui/resource.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

const char kStartupFailed[] =
    "Kelto SDK Initialization failed. Copy this utility to your Kelto execitable directory";

// How things stood when the runtime was shut down.
struct AtShutdown {
    bool windowShown = true;
    int attaches = -1;
    int detaches = -1;
    int callsInFlight = -1; // runtime calls not yet returned
    int abort = -1;         // g_bAbort
};

void WatchShutdown(AtShutdown& seen) {
    SetSpyShutdownHook([&seen] {
        seen.windowShown = AnyWindowShown();
        seen.attaches = SpyCalls(RuntimeOp::ThreadAttach);
        seen.detaches = SpyCalls(RuntimeOp::ThreadDetach);
        seen.callsInFlight = 0;
        for (int op = 0; op < int(RuntimeOp::Count); ++op)
            seen.callsInFlight += SpyInFlight(RuntimeOp(op));
        seen.abort = g_bAbort;
    });
}

class AppWithRuntime : public AppTest {
protected:
    void TearDown() override {
        SetSpyShutdownHook(nullptr);
        AppTest::TearDown();
    }
};

TEST_F(AppWithRuntime, OnlyTheLow16BitsOfTheStartUpStatusCount) {
    struct Case {
        const char* status;
        bool refused;
    };
    const Case cases[] = {
        {"1", true}, {"0xFFFF", true}, {"0x10001", true}, {"0", false}, {"0x10000", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.status);
        ASSERT_TRUE(InstallRuntimeSpy(BinFile("libkelto_fake.so")));
        setenv("KC_FAKE_STARTUP_STATUS", c.status, 1);
        m_boxes.clear();
        const Outcome outcome = RunApp([](CConnectDlg&) { PressEscape(); });
        unsetenv("KC_FAKE_STARTUP_STATUS");

        EXPECT_EQ(SpyCalls(RuntimeOp::Startup), 1);
        EXPECT_EQ(outcome.dialogShown, !c.refused);
        EXPECT_EQ(SpyCalls(RuntimeOp::Shutdown), c.refused ? 0 : 1);
        EXPECT_EQ(outcome.result, c.refused ? TRUE : FALSE);
        EXPECT_EQ(AfxGetMainWnd(), nullptr);
        if (c.refused) {
            ASSERT_EQ(m_boxes.size(), 1u);
            EXPECT_EQ(m_boxes[0].text, kStartupFailed);
            EXPECT_EQ(m_boxes[0].icon, UINT(MB_ICONSTOP));
        } else {
            EXPECT_TRUE(m_boxes.empty());
        }
    }
}

// Quit and Close end through the history save, Escape without it; each way
// the runtime is shut down once, after the dialog has gone.
TEST_F(AppWithRuntime, RuntimeShutsDownOnceAfterTheDialogHasEnded) {
    struct Case {
        const char* way;
        std::function<void(CConnectDlg&)> end;
        bool saves;
    };
    const Case cases[] = {
        {"Quit", [](CConnectDlg& dlg) { Click(dlg, IDC_QUIT); }, true},
        {"Close", [](CConnectDlg& dlg) { CloseWindow(dlg); }, true},
        {"Escape", [](CConnectDlg&) { PressEscape(); }, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.way);
        ASSERT_TRUE(InstallRuntimeSpy(BinFile(KELTO_LIBRARY_NAME)));
        WriteFile(HistoryFile(), "seed.example\r\n");
        const ino_t before = InodeOf(HistoryFile());
        AtShutdown seen;
        WatchShutdown(seen);

        const Outcome outcome = RunApp(c.end);

        EXPECT_TRUE(outcome.dialogShown);
        EXPECT_EQ(outcome.result, FALSE);
        EXPECT_EQ(SpyCalls(RuntimeOp::Startup), 1);
        EXPECT_EQ(SpyCalls(RuntimeOp::Shutdown), 1);
        EXPECT_FALSE(seen.windowShown) << "the runtime was shut down under a running dialog";
        EXPECT_EQ(ReadFile(HistoryFile()), "seed.example\r\n");
        EXPECT_EQ(InodeOf(HistoryFile()) != before, c.saves) << "the history file was replaced";
        EXPECT_TRUE(m_boxes.empty());
    }
}

// Escape ends the dialog at once even while the worker waits in a connect
// that would not end by itself: the worker is told to stop, has let go of the
// runtime before it is shut down, and the history is not saved.
TEST_F(AppWithRuntime, EscapeDuringABlockedConnect) {
    ASSERT_TRUE(InstallRuntimeSpy(BinFile(KELTO_LIBRARY_NAME)));
    uint16_t port = 0;
    const int listener = ListenOnLoopback(1, port);
    ASSERT_GE(listener, 0);
    const std::vector<int> queued = FillAcceptQueue(port);
    WriteFile(HistoryFile(), "seed.example\r\n");
    const ino_t before = InodeOf(HistoryFile());
    AtShutdown seen;
    WatchShutdown(seen);

    Clock::time_point escaped;
    const Outcome outcome = RunApp([&](CConnectDlg& dlg) {
        TypeTarget(dlg, "127.0.0.1");
        ChooseOtherService(dlg);
        TypePort(dlg, port);
        Click(dlg, IDC_CONNECT);
        ASSERT_TRUE(WaitFor([] { return SpyInFlight(RuntimeOp::Wait) > 0; }))
            << "the connect did not block";
        EXPECT_TRUE(dlg.m_bBusy);
        escaped = Clock::now();
        PressEscape();
    });
    const auto took = Clock::now() - escaped;

    EXPECT_EQ(outcome.result, FALSE);
    EXPECT_LT(took, std::chrono::seconds(1)) << "InitInstance did not return at once";
    EXPECT_EQ(seen.abort, 1) << "the run was not told to stop";
    EXPECT_FALSE(seen.windowShown);
    EXPECT_EQ(seen.attaches, 1);
    EXPECT_EQ(seen.detaches, 1) << "the worker had not let go of the runtime";
    EXPECT_EQ(seen.callsInFlight, 0);
    EXPECT_EQ(SpyCalls(RuntimeOp::Shutdown), 1);
    // Nothing may reach the runtime later either.
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_EQ(SpyCallsAfterShutdown(), 0);
    EXPECT_EQ(ReadFile(HistoryFile()), "seed.example\r\n");
    EXPECT_EQ(InodeOf(HistoryFile()), before) << "the history was saved";
    EXPECT_TRUE(m_boxes.empty());

    for (int fd : queued)
        close(fd);
    close(listener);
}

// Three connects to a loopback listener through the real dialog, worker and
// runtime; the transcript is read back from the output pane, and the target
// that answered is the first line of the history that Quit saves.
TEST_F(AppWithRuntime, ThreeConnectsToALoopbackListener) {
    ASSERT_TRUE(InstallRuntimeSpy(BinFile(KELTO_LIBRARY_NAME)));
    uint16_t port = 0;
    const int listener = ListenOnLoopback(16, port);
    ASSERT_GE(listener, 0);

    std::string output;
    const Outcome outcome = RunApp([&](CConnectDlg& dlg) {
        TypeTarget(dlg, "127.0.0.1");
        ChooseOtherService(dlg);
        TypePort(dlg, port);
        SetCount(dlg, 3);
        Click(dlg, IDC_CONNECT);
        EXPECT_TRUE(
            WaitFor([&] { return SpyCalls(RuntimeOp::ThreadDetach) == 1 && !dlg.m_bBusy; }, 10000));
        output = OutputText(dlg);
        EXPECT_TRUE(IsEnabled(dlg, IDC_CONNECT));
        EXPECT_FALSE(IsEnabled(dlg, IDC_STOP));
        Click(dlg, IDC_QUIT);
    });
    close(listener);

    EXPECT_EQ(outcome.result, FALSE);
    const Transcript transcript = ParseTranscript(output);
    EXPECT_EQ(transcript.replies, 3);
    std::string expected = kConnecting;
    for (int i = 1; i <= 3; ++i)
        expected += Reply(i, "127.0.0.1", port);
    EXPECT_EQ(transcript.shape, expected + Summary(3, 3)) << output;
    EXPECT_EQ(ReadFile(HistoryFile()), "127.0.0.1\r\n");
    EXPECT_EQ(SpyCalls(RuntimeOp::Shutdown), 1);
    EXPECT_TRUE(m_boxes.empty());
}

} // namespace
