// The probe run with the real runtime library, on loopback only: a listening
// port, a closed one, localhost by name, and a connect that stays pending
// until the stop arrives from another thread.
#include "tests/kelto/kelto_testing.h"
#include "tests/probe/fake_probe_dialog.h"
#include "tests/probe/transcript.h"
#include "transport/runtime.h"
#include "transport/transport.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <thread>

using ::testing::HasSubstr;
using ::testing::StartsWith;

namespace {

using Clock = std::chrono::steady_clock;

class ProbeEndToEnd : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        ASSERT_TRUE(BindRuntimeLibrary(BinFile(KELTO_LIBRARY_NAME)));
        ASSERT_EQ(RuntimeStartup(), 0);
    }
    static void TearDownTestSuite() { RuntimeShutdown(); }

    void SetUp() override {
        g_bAbort = 0;
        dlg.m_strTarget = "127.0.0.1";
        dlg.m_nCount = 1;
    }

    // The worker's part of a run, on a thread of its own.
    std::thread StartRun() {
        return std::thread([this] {
            if (RuntimeThreadAttach() != 0)
                return;
            dlg.RunProbe();
            RuntimeThreadDetach();
        });
    }

    void Run() { StartRun().join(); }

    FakeProbeDialog dlg;
};

TEST_F(ProbeEndToEnd, ListeningPortFiveOfFive) {
    uint16_t port = 0;
    const int listener = ListenOnLoopback(16, port);
    ASSERT_GE(listener, 0);
    dlg.m_nPort = port;
    dlg.m_nCount = 5;
    Run();
    close(listener);

    std::string expected = kConnecting;
    for (int i = 1; i <= 5; ++i)
        expected += Reply(i, "127.0.0.1", port);
    EXPECT_EQ(ParseTranscript(dlg.Output()).shape, expected + Summary(5, 5));
    EXPECT_EQ(dlg.m_strLastGood, "127.0.0.1");
}

TEST_F(ProbeEndToEnd, LocalhostByName) {
    uint16_t port = 0;
    const int listener = ListenOnLoopback(4, port);
    ASSERT_GE(listener, 0);
    dlg.m_strTarget = "localhost";
    dlg.m_nPort = port;
    Run();
    close(listener);

    EXPECT_EQ(ParseTranscript(dlg.Output()).shape,
              Lookup("localhost") + kConnecting + Reply(1, "127.0.0.1", port) + Summary(1, 1));
}

TEST_F(ProbeEndToEnd, ClosedPortFailsWithTheRuntimesText) {
    const uint16_t port = UnusedLoopbackPort();
    dlg.m_nPort = port;
    dlg.m_nCount = 2;
    Run();

    const Transcript t = ParseTranscript(dlg.Output());
    const std::string failed = Failed(1, "127.0.0.1", port);
    EXPECT_THAT(t.shape, StartsWith(kConnecting + failed + "\tError: "));
    EXPECT_THAT(t.shape, HasSubstr("\tError: Connection refused\r\n"));
    EXPECT_THAT(t.shape, HasSubstr(Failed(2, "127.0.0.1", port)));
    EXPECT_THAT(t.shape, HasSubstr(Summary(0, 2)));
    EXPECT_EQ(dlg.m_strLastGood, "");
}

// A listener whose accept queue is full drops the SYN: the connect stays
// pending until the abort flag ends the runtime's wait.
TEST_F(ProbeEndToEnd, StopEndsAPendingConnect) {
    uint16_t port = 0;
    const int listener = ListenOnLoopback(0, port);
    ASSERT_GE(listener, 0);
    const std::vector<int> fillers = FillAcceptQueue(port);
    dlg.m_nPort = port;
    dlg.m_nCount = 3;
    std::thread worker = StartRun();

    const auto start = Clock::now();
    while (dlg.Output().find(kConnecting) == std::string::npos &&
           Clock::now() - start < std::chrono::seconds(5))
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    std::this_thread::sleep_for(std::chrono::milliseconds(100)); // well into the wait
    dlg.m_bStop = 1;
    g_bAbort = 1;
    const auto stopped = Clock::now();
    worker.join();
    const auto took = Clock::now() - stopped;

    for (int fd : fillers)
        close(fd);
    close(listener);
    EXPECT_EQ(dlg.Output(), kConnecting + kCanceled);
    EXPECT_LT(took, std::chrono::seconds(2));
}

} // namespace
