// Name lookup of the real library: dotted addresses, the hosts file, and name
// servers that deny, answer or never answer, these in a private network.
#include "kelto/status.h"
#include "tests/kelto/fake_name_server.h"
#include "tests/kelto/kelto_testing.h"
#include "tests/kelto/private_network_test.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

class Lookup : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(BindRuntimeLibrary(BinFile(KELTO_LIBRARY_NAME))); }

    void SetUp() override {
        g_nTestAbort = 0;
        m_hEndpoint = OpenEndpoint();
        ASSERT_NE(m_hEndpoint, 0u);
    }

    void TearDown() override { g_kelto.kti_close(m_hEndpoint); }

    uint32_t m_hEndpoint = 0;
};

// Address records filled with this byte show what the lookup wrote.
constexpr uint8_t kUntouched = 0xAB;

kti_inaddr UntouchedAddress() {
    kti_inaddr address;
    std::memset(&address, kUntouched, sizeof address);
    return address;
}

// The address field, in memory order; every other byte must be untouched.
std::vector<int> WrittenBytes(const kti_inaddr& address) {
    const auto* bytes = reinterpret_cast<const uint8_t*>(&address);
    for (size_t i = 0; i < sizeof address; ++i) {
        if ((i < 4 || i >= 8) && bytes[i] != kUntouched)
            ADD_FAILURE() << "byte " << i << " of the address record was written";
    }
    return {bytes[4], bytes[5], bytes[6], bytes[7]};
}

TEST_F(Lookup, DottedTextFollowsTheClassicRules) {
    struct Case {
        const char* text;
        std::vector<int> address; // empty: the text is refused
    } cases[] = {
        {"10.1.2.3", {10, 1, 2, 3}},
        {"127.1", {127, 0, 0, 1}},
        {"1.2.65535", {1, 2, 255, 255}},
        {"4294967295", {255, 255, 255, 255}},
        {"010.0.0.1", {8, 0, 0, 1}}, // octal
        {"999.1..5", {}},
        {"", {}},
        {"256.0.0.1", {}},
        {"1.2.3.4.", {}},
        {"1.2.3.4.5", {}},
        {"09.0.0.1", {}},
        {"4294967296", {}},
        {"1.2.3.4 ", {}}, // the C library would ignore what follows a blank
        {"0x7f.0.0.1", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        kti_inaddr address = UntouchedAddress();
        int32_t status = MapName(m_hEndpoint, KTI_MAP_DOTTED, c.text, address);
        if (c.address.empty()) {
            EXPECT_EQ(status, KTI_BAD_DOTTED);
            EXPECT_EQ(ErrorText(status), "Not a valid dotted address");
            EXPECT_EQ(WrittenBytes(address), std::vector<int>(4, kUntouched));
        } else {
            EXPECT_EQ(status, 0);
            EXPECT_EQ(WrittenBytes(address), c.address);
        }
    }
}

TEST_F(Lookup, LocalhostComesFromTheHostsFile) {
    kti_inaddr address = UntouchedAddress();
    EXPECT_EQ(MapName(m_hEndpoint, KTI_MAP_HOSTNAME, "localhost", address), 0);
    EXPECT_EQ(WrittenBytes(address), (std::vector<int>{127, 0, 0, 1}));
}

TEST_F(Lookup, NameWithANulOrTooLongIsRefusedWithoutALookup) {
    kti_inaddr address = UntouchedAddress();
    EXPECT_EQ(MapName(m_hEndpoint, KTI_MAP_HOSTNAME, std::string("localhost\0x", 11), address),
              KTI_HOST_NOT_FOUND);
    EXPECT_EQ(MapName(m_hEndpoint, KTI_MAP_HOSTNAME, std::string(2000, 'a'), address),
              SystemStatus(ENAMETOOLONG));
    EXPECT_EQ(WrittenBytes(address), std::vector<int>(4, kUntouched));
}

uint32_t Address(const char* dotted) {
    return inet_addr(dotted);
}

TEST_F(Lookup, NameServerAnswersAndDenies) {
    IN_PRIVATE_NETWORK();
    FakeNameServer server;
    server.AddHost("probe-target.test", Address("10.9.8.7"));

    kti_inaddr address = UntouchedAddress();
    EXPECT_EQ(MapName(m_hEndpoint, KTI_MAP_HOSTNAME, "probe-target.test", address), 0);
    EXPECT_EQ(WrittenBytes(address), (std::vector<int>{10, 9, 8, 7}));

    address = UntouchedAddress();
    int32_t status = MapName(m_hEndpoint, KTI_MAP_HOSTNAME, "no-such-host.invalid", address);
    EXPECT_EQ(status, KTI_HOST_NOT_FOUND);
    EXPECT_EQ(ErrorText(status), "Host not found");
    EXPECT_EQ(WrittenBytes(address), std::vector<int>(4, kUntouched));
    EXPECT_GE(server.Queries(), 2) << "the lookups did not reach the fake name server";
}

TEST_F(Lookup, HangingLookupEndsSoonAfterTheAbortAndALateAnswerIsHarmless) {
    IN_PRIVATE_NETWORK();
    FakeNameServer server;
    server.AddHost("slow.test", Address("10.0.0.9"));
    server.SetSilent(true);
    int fdsBefore = OpenFdCount();

    std::atomic<Clock::rep> abortedAt{0};
    std::thread stopper([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(150));
        abortedAt = Clock::now().time_since_epoch().count();
        g_nTestAbort = 1;
    });
    kti_inaddr address = UntouchedAddress();
    int32_t status = MapName(m_hEndpoint, KTI_MAP_HOSTNAME, "slow.test", address);
    auto ended = Clock::now();
    stopper.join();
    EXPECT_EQ(status, SystemStatus(ECANCELED));
    EXPECT_EQ(ErrorText(status), "Operation canceled");
    EXPECT_LT(ended - Clock::time_point(Clock::duration(abortedAt.load())),
              std::chrono::milliseconds(100));
    EXPECT_EQ(WrittenBytes(address), std::vector<int>(4, kUntouched));
    EXPECT_GE(server.Queries(), 1) << "the lookup never reached the name server";

    // The abandoned resolver now gets its answer; once its socket is closed
    // it has finished, and nothing it did may show (the sanitizer builds
    // would report a touch of freed memory or a leak).
    server.AnswerHeld();
    server.SetSilent(false);
    // The resolver may close its socket and open another for a retry, so
    // wait until the count has stayed at the baseline for a while.
    auto deadline = Clock::now() + std::chrono::seconds(5);
    auto settledSince = Clock::now();
    while (Clock::now() < deadline) {
        if (OpenFdCount() > fdsBefore)
            settledSince = Clock::now();
        else if (Clock::now() - settledSince > std::chrono::milliseconds(300))
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_EQ(OpenFdCount(), fdsBefore);
    EXPECT_EQ(WrittenBytes(address), std::vector<int>(4, kUntouched));

    g_nTestAbort = 0;
    EXPECT_EQ(MapName(m_hEndpoint, KTI_MAP_HOSTNAME, "slow.test", address), 0);
    EXPECT_EQ(WrittenBytes(address), (std::vector<int>{10, 0, 0, 9}));
}

} // namespace
