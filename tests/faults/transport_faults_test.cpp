// The probe run through the real runtime library when the network or the
// machine lets it down: a refused and an unreachable connect in a private
// network of the test's own, a pending connect that only the abort ends, a
// runtime library that is missing or incomplete, and a process that has run
// out of descriptors. Each gives its transcript, and nothing crashes.
#include "framework/message_box.h"
#include "tests/kelto/kelto_testing.h"
#include "tests/kelto/private_network_test.h"
#include "tests/probe/fake_probe_dialog.h"
#include "tests/probe/transcript.h"
#include "tests/support/test_copy.h"
#include "transport/runtime.h"
#include "transport/transport.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

int IgnoreBox(const CString&, UINT) {
    return IDOK;
}

bool WaitFor(const std::function<bool()>& done, int limitMs = 5000) {
    const auto deadline = Clock::now() + std::chrono::milliseconds(limitMs);
    while (!done()) {
        if (Clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::microseconds(500));
    }
    return true;
}

class TestDialog : public FakeProbeDialog {
public:
    ~TestDialog() override { EndRun(); }
    bool Running() { return WorkerRunning(); }
};

// The run on this thread, as the worker makes it.
void RunOnThisThread(FakeProbeDialog& dlg) {
    ASSERT_EQ(RuntimeThreadAttach(), 0);
    dlg.RunProbe();
    RuntimeThreadDetach();
}

class TransportFaults : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(BindRuntimeLibrary(BinFile(KELTO_LIBRARY_NAME)));
        ASSERT_EQ(RuntimeStartup(), 0);
        g_bAbort = 0;
        m_previousBox = AfxSetMessageBoxHandler(&IgnoreBox);
    }
    void TearDown() override {
        AfxSetMessageBoxHandler(m_previousBox);
        RuntimeShutdown();
    }

    MessageBoxHandler m_previousBox = nullptr;
};

// In the private network only 127/8 has a route: a connect anywhere else
// fails at once, and no packet can leave the machine.
TEST_F(TransportFaults, RefusedAndUnreachableConnectsShowTheRuntimesText) {
    IN_PRIVATE_NETWORK();
    const uint16_t closed = UnusedLoopbackPort();
    const struct {
        const char* target;
        uint16_t port;
        const char* text;
    } cases[] = {
        {"127.0.0.1", closed, "Connection refused"},
        {"10.255.0.1", 80, "Network is unreachable"},
        {"192.0.2.7", 443, "Network is unreachable"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.target);
        const int fdsBefore = OpenFdCount();
        FakeProbeDialog dlg;
        dlg.m_strTarget = c.target;
        dlg.m_nPort = c.port;
        dlg.m_nCount = 2;
        RunOnThisThread(dlg);
        EXPECT_EQ(ParseTranscript(dlg.Output()).shape,
                  kConnecting + Failed(1, c.target, c.port) + ErrorLine(c.text) +
                      Failed(2, c.target, c.port) + ErrorLine(c.text) + Summary(0, 2));
        EXPECT_EQ(dlg.m_strLastGood, "");
        EXPECT_EQ(OpenFdCount(), fdsBefore) << "an endpoint was left open";
    }
}

// A listener whose accept queue is full drops the SYN, so the connect stays
// pending; every way of stopping the run ends it through the abort, from the
// handlers down, and the endpoint of the cancelled attempt, which the run
// leaves open, is gone once the transport is terminated.
TEST_F(TransportFaults, EveryStopEndsAPendingConnectAndLeavesNoEndpoint) {
    uint16_t port = 0;
    const int listener = ListenOnLoopback(0, port);
    ASSERT_GE(listener, 0);
    const std::vector<int> fillers = FillAcceptQueue(port);

    const struct {
        const char* how;
        void (*stop)(TestDialog&);
        bool closes;
    } cases[] = {
        {"Stop", [](TestDialog& d) { d.OnStop(); }, false},
        {"Quit", [](TestDialog& d) { d.OnQuit(); }, true},
        {"Close", [](TestDialog& d) { d.OnCloseCommand(); }, true},
        {"Escape", [](TestDialog& d) { d.EndRun(); }, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.how);
        const int fdsBefore = OpenFdCount();
        TestDialog dlg;
        dlg.m_box.SetText("127.0.0.1");
        dlg.SetPortText(std::to_string(port));
        dlg.SetCountPosition(2);
        dlg.OnConnect();
        ASSERT_TRUE(WaitFor([&] { return dlg.Output() == kConnecting; }));
        std::this_thread::sleep_for(std::chrono::milliseconds(50)); // into the wait

        const auto stopped = Clock::now();
        c.stop(dlg);
        ASSERT_TRUE(WaitFor([&] { return !dlg.Running(); }, 2000)) << "the run did not end";
        EXPECT_LT(Clock::now() - stopped, std::chrono::seconds(1));

        EXPECT_EQ(dlg.Output(), kConnecting + kCanceled);
        EXPECT_TRUE(dlg.ConnectEnabled());
        EXPECT_FALSE(dlg.StopEnabled());
        EXPECT_EQ(dlg.Count("PostSaveAndClose"), c.closes ? 1 : 0);
        EXPECT_EQ(OpenFdCount(), fdsBefore);
    }
    for (int fd : fillers)
        close(fd);
    close(listener);
}

// Set in the copies that StartWithoutAWholeRuntime starts.
const char kCopyVariable[] = "KC_FAULTS_RUNTIME_COPY";

// Runs a copy of this test alone beside the given library (or none); its
// exit status.
int RunCopyBeside(const std::string& library, std::vector<std::string> variables) {
    variables.push_back(std::string(kCopyVariable) + "=1");
    return RunTestCopyBeside("transport_faults_test", library,
                             "RuntimeCopy.StartupFailsAndNothingCrashes", variables);
}

// The program refuses to start when the runtime start-up fails; here the
// start-up's status stands for its message box. Nothing that could still run
// afterwards (a worker, the shutdown) may touch the missing operations.
TEST(RuntimeFaults, StartWithoutAWholeRuntime) {
    const struct {
        const char* what;
        std::string library;
        std::vector<std::string> variables;
    } cases[] = {
        {"no library", "", {}},
        {"library lacking kti_connect",
         BinFile("libkelto_fake.so"),
         {"KC_FAKE_MISSING_ORDINAL=" + std::to_string(KELTO_KTI_CONNECT)}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(RunCopyBeside(c.library, c.variables), 0)
            << "the copy's test failed (its output is above)";
    }
}

TEST(RuntimeCopy, StartupFailsAndNothingCrashes) {
    if (std::getenv(kCopyVariable) == nullptr)
        GTEST_SKIP() << "runs only in a copy of this test";
    const MessageBoxHandler previous = AfxSetMessageBoxHandler(&IgnoreBox);
    EXPECT_NE(RuntimeStartup(), 0);

    TestDialog dlg;
    dlg.SetOutputText("earlier transcript");
    dlg.m_box.SetText("127.0.0.1");
    dlg.SetPortText("80");
    dlg.OnConnect();
    ASSERT_TRUE(WaitFor([&] { return !dlg.Running(); }));
    EXPECT_EQ(dlg.Output(), "earlier transcript");
    EXPECT_TRUE(dlg.ConnectEnabled());
    dlg.OnQuit();
    EXPECT_EQ(dlg.Count("PostSaveAndClose"), 1);
    RuntimeShutdown();
    AfxSetMessageBoxHandler(previous);
}

// Sets the soft limit of open descriptors, so that no new one can be made at
// 0; true when it took.
bool LimitDescriptors(rlim_t limit) {
    rlimit now{};
    if (getrlimit(RLIMIT_NOFILE, &now) != 0)
        return false;
    now.rlim_cur = limit;
    return setrlimit(RLIMIT_NOFILE, &now) == 0;
}

// The kti_sndrel of the run: the first attempt has connected, and from here
// on the process can open nothing.
KeltoApi s_real;
rlim_t s_formerLimit = 0;
int32_t ReleaseThenExhaust(uint32_t handle) {
    const int32_t status = s_real.kti_sndrel(handle);
    LimitDescriptors(0);
    return status;
}

// Checks what a run gives when descriptors run out before it or during it,
// and that a run after the limit is lifted works again. Runs in a child
// process, whose limit it lowers; the problems found, empty when none.
std::string ExhaustDescriptors() {
    rlimit former{};
    getrlimit(RLIMIT_NOFILE, &former);
    s_formerLimit = former.rlim_cur;
    uint16_t port = 0;
    const int listener = ListenOnLoopback(64, port);
    if (listener < 0)
        return "no listener\n";
    std::string problems;
    auto expect = [&](const char* what, FakeProbeDialog& dlg, const std::string& shape) {
        const std::string got = ParseTranscript(dlg.Output()).shape;
        if (got != shape)
            problems += std::string(what) + ":\n got " + got + "\n want " + shape + "\n";
    };

    {
        FakeProbeDialog dlg;
        dlg.m_strTarget = "127.0.0.1";
        dlg.m_nPort = port;
        dlg.m_nCount = 3;
        if (!LimitDescriptors(0))
            return "setrlimit\n";
        dlg.RunProbe();
        LimitDescriptors(s_formerLimit);
        // Open fails before the lookup: the line holds only what the error
        // buffer holds, which is nothing.
        expect("out of descriptors from the start", dlg,
               Unresolved("") + Unresolved("") + Unresolved("") + Summary(0, 3));
    }
    {
        FakeProbeDialog dlg;
        dlg.m_strTarget = "127.0.0.1";
        dlg.m_nPort = port;
        dlg.m_nCount = 3;
        s_real = g_kelto;
        g_kelto.kti_sndrel = ReleaseThenExhaust;
        dlg.RunProbe();
        g_kelto = s_real;
        LimitDescriptors(s_formerLimit);
        const std::string address = "127.0.0.1";
        expect("out of descriptors after the first connect", dlg,
               kConnecting + Reply(1, address, port) + Failed(2, address, port) +
                   Failed(3, address, port) + Summary(1, 3));
    }
    {
        FakeProbeDialog dlg;
        dlg.m_strTarget = "127.0.0.1";
        dlg.m_nPort = port;
        dlg.m_nCount = 3;
        dlg.RunProbe();
        const std::string address = "127.0.0.1";
        expect("limit lifted", dlg,
               kConnecting + Reply(1, address, port) + Reply(2, address, port) +
                   Reply(3, address, port) + Summary(3, 3));
    }
    close(listener);
    return problems;
}

TEST_F(TransportFaults, OutOfDescriptorsFailsTheOpensAndRecovers) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            const std::string problems = ExhaustDescriptors();
            std::fputs(problems.c_str(), stderr);
            std::fflush(stderr);
            std::_Exit(problems.empty() ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

} // namespace
