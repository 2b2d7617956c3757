// TCP endpoints of the real library on loopback.
#include "kelto/status.h"
#include "tests/kelto/kelto_testing.h"

#include <gtest/gtest.h>

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <set>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

class TcpEndpoint : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(BindRuntimeLibrary(BinFile(KELTO_LIBRARY_NAME))); }

    void SetUp() override {
        g_nTestAbort = 0;
        uint32_t context = 0;
        ASSERT_EQ(g_kelto.kti_init(&context), 0);
    }

    void TearDown() override { g_kelto.kti_term(); }
};

int AcceptWithin(int listener, int ms) {
    pollfd entry{listener, POLLIN, 0};
    if (poll(&entry, 1, ms) != 1)
        return -1;
    return accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
}

TEST_F(TcpEndpoint, FiveConnectsToAListeningPortSucceedAndRelease) {
    uint16_t port = 0;
    int listener = ListenOnLoopback(8, port);
    ASSERT_GE(listener, 0);
    std::set<uint32_t> handles;
    for (int attempt = 0; attempt < 5; ++attempt) {
        uint32_t handle = OpenEndpoint();
        ASSERT_NE(handle, 0u);
        EXPECT_TRUE(handles.insert(handle).second) << "handle " << handle << " reused";
        EXPECT_EQ(ConnectEndpoint(handle, LoopbackAddress(port)), 0);
        int peer = AcceptWithin(listener, 2000);
        ASSERT_GE(peer, 0);
        EXPECT_EQ(g_kelto.kti_sndrel(handle), 0);
        char byte = 0;
        EXPECT_EQ(read(peer, &byte, 1), 0) << "the release reaches the peer as end of stream";
        close(peer);
        EXPECT_EQ(g_kelto.kti_close(handle), 0);
    }
    close(listener);
}

TEST_F(TcpEndpoint, ClosedPortIsRefusedWithItsText) {
    uint32_t handle = OpenEndpoint();
    ASSERT_NE(handle, 0u);
    int32_t status = ConnectEndpoint(handle, LoopbackAddress(UnusedLoopbackPort()));
    EXPECT_EQ(status, SystemStatus(ECONNREFUSED));
    EXPECT_EQ(ErrorText(status), "Connection refused");
}

TEST_F(TcpEndpoint, PendingConnectEndsSoonAfterTheAbort) {
    uint16_t port = 0;
    int listener = ListenOnLoopback(0, port);
    ASSERT_GE(listener, 0);
    std::vector<int> queued = FillAcceptQueue(port);
    uint32_t handle = OpenEndpoint();
    ASSERT_NE(handle, 0u);

    kti_inaddr target = LoopbackAddress(port);
    kti_call request{};
    request.address = {sizeof target, sizeof target, &target};
    ASSERT_EQ(g_kelto.kti_connect(handle, &request, nullptr), KTI_INPROGRESS);
    kti_waitrec record{};
    record.handle = handle;
    record.request = 1;
    int32_t ready = 1;
    EXPECT_EQ(g_kelto.kti_wait(60, &record, &ready), 0) << "a limit that passes is no failure";
    ASSERT_EQ(ready, 0) << "the connect did not stay pending";

    std::atomic<Clock::rep> abortedAt{0};
    std::thread stopper([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        abortedAt = Clock::now().time_since_epoch().count();
        g_nTestAbort = 1;
    });
    int32_t status = 0;
    do {
        status = g_kelto.kti_wait(120000, &record, &ready);
    } while (status == 0 && ready == 0);
    auto ended = Clock::now();
    stopper.join();

    EXPECT_EQ(status, SystemStatus(ECANCELED));
    EXPECT_EQ(ErrorText(status), "Operation canceled");
    EXPECT_LT(ended - Clock::time_point(Clock::duration(abortedAt.load())),
              std::chrono::milliseconds(100));
    for (int fd : queued)
        close(fd);
    close(listener);
}

} // namespace
