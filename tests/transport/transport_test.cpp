// The transport layer against a recording stand-in runtime: which runtime
// calls each operation makes, in which order, with which arguments, and what
// it makes of their statuses.
#include "tests/transport/fake_runtime.h"
#include "transport/transport.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <climits>
#include <cstring>

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

namespace {

constexpr uint32_t H = FakeRuntime::FIRST_HANDLE;

std::vector<uint8_t> TargetBytes() {
    const auto* p = reinterpret_cast<const uint8_t*>(&g_addrTarget);
    return std::vector<uint8_t>(p, p + sizeof(g_addrTarget));
}

class TransportTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_hTransport = 0;
        g_addrTarget = kti_inaddr{};
        g_bAbort = 0;
    }

    // Opens an endpoint and forgets the calls that took.
    void Open() {
        ASSERT_EQ(TransportOpen(), 0);
        rt.Clear();
    }

    FakeRuntime rt;
};

TEST_F(TransportTest, SingleCallOperationsPassStatusesUp) {
    rt.Script("kti_init", {0x1234});
    rt.Script("kti_term", {0x1235});
    rt.Script("kti_close", {0x1236});
    rt.Script("kti_sndrel", {0x12345, -1});
    g_hTransport = 77;

    EXPECT_EQ(TransportInit(), 0x1234);
    EXPECT_EQ(TransportTerm(), 0x1235);
    EXPECT_EQ(TransportClose(), 0x1236);
    EXPECT_EQ(TransportRelease(), 0x2345); // cut to its low 16 bits
    EXPECT_EQ(TransportRelease(), 0xFFFF);

    const auto calls = rt.Calls();
    ASSERT_EQ(OpsOf(calls), (std::vector<std::string>{"kti_init", "kti_term", "kti_close",
                                                      "kti_sndrel", "kti_sndrel"}));
    EXPECT_THAT(calls[0].args, ElementsAre(Addr(&g_nTransportContext)));
    EXPECT_THAT(calls[2].args, ElementsAre(77));
    EXPECT_THAT(calls[3].args, ElementsAre(77));
}

TEST_F(TransportTest, OpenMakesItsCallsInOrder) {
    EXPECT_EQ(TransportOpen(), 0);
    EXPECT_EQ(g_hTransport, H);

    const auto calls = rt.Calls();
    ASSERT_EQ(OpsOf(calls), (std::vector<std::string>{"kti_open", "kti_bind", "kti_SetAbortCheck",
                                                      "kti_setparam"}));
    EXPECT_EQ(calls[0].text, "TCP");
    EXPECT_EQ(calls[0].args[1], 3);
    EXPECT_NE(calls[0].args[2], 0); // an information area
    EXPECT_EQ(calls[0].args[3], Addr(&g_hTransport));
    EXPECT_THAT(calls[1].args, ElementsAre(H, 0, 0));
    EXPECT_THAT(calls[2].args, ElementsAre(H, Addr(reinterpret_cast<void*>(&AbortCheckProc))));
    EXPECT_EQ(calls[3].args[0], H);
    EXPECT_EQ(calls[3].args[1], 500);
    EXPECT_NE(calls[3].args[2], 0);
}

TEST_F(TransportTest, OpenReturnsTheFirstFailureOfOpenOrBindOnly) {
    struct Case {
        const char* op;
        int32_t status;
        int32_t result;
        std::vector<std::string> ops;
    };
    const std::vector<Case> cases = {
        {"kti_open", 0x1001, 0x1001, {"kti_open"}},
        // The endpoint is closed again: nobody else would close it.
        {"kti_bind", 0x1002, 0x1002, {"kti_open", "kti_bind", "kti_close"}},
        {"kti_SetAbortCheck",
         0x1003,
         0,
         {"kti_open", "kti_bind", "kti_SetAbortCheck", "kti_setparam"}},
        {"kti_setparam", 0x1004, 0, {"kti_open", "kti_bind", "kti_SetAbortCheck", "kti_setparam"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.op);
        rt.Clear();
        rt.Script(c.op, {c.status});
        EXPECT_EQ(TransportOpen(), c.result);
        const auto calls = rt.Calls();
        EXPECT_EQ(OpsOf(calls), c.ops);
        if (calls.back().op == "kti_close") {
            EXPECT_THAT(calls.back().args, ElementsAre(g_hTransport));
        }
    }
}

TEST_F(TransportTest, ResolveAsksForTheKindOfTheTextAndStoresFamilyAndPort) {
    struct Case {
        const char* host;
        int32_t kind;
    };
    const Case cases[] = {
        {"10.1.2.3", 4100},
        {"999.1..5", 4100}, // digits and dots, however odd
        {"host-1", 4098},
        {"alpha.test", 4098},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.host);
        Open();
        rt.AddHost(c.host, FromBytes(10, 1, 2, 3));
        EXPECT_EQ(TransportResolve(c.host, 80), 0);

        const auto calls = rt.Calls();
        ASSERT_EQ(OpsOf(calls), (std::vector<std::string>{"kti_getflags", "kti_mapaddr"}));
        EXPECT_EQ(calls[0].args[0], g_hTransport);
        const FakeCall& map = calls[1];
        EXPECT_EQ(map.args[0], g_hTransport);
        EXPECT_EQ(map.args[1], c.kind);
        EXPECT_EQ(map.args[4], 0);
        EXPECT_EQ(map.args[5], 0);
        EXPECT_EQ(map.name.length, std::strlen(c.host));
        EXPECT_EQ(map.name.data, c.host);
        EXPECT_EQ(map.address.length, 16u);
        EXPECT_EQ(map.address.data, &g_addrTarget);

        // The runtime wrote its own family and port; ours are on top.
        EXPECT_THAT(TargetBytes(),
                    ElementsAre(0x02, 0x00, 0x00, 0x50, 10, 1, 2, 3, 0, 0, 0, 0, 0, 0, 0, 0));
    }
}

TEST_F(TransportTest, ResolveSkipsTheLookupOnlyWhenGetflagsSucceedsWithBit7) {
    struct Case {
        uint32_t flags;
        int32_t status;
        bool lookup;
    };
    const Case cases[] = {
        {0x80, 0, false},
        {0xFF, 0, false},
        {0x7F, 0, true},
        {0x80, 0x1005, true}, // a failed getflags says nothing
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "flags " << c.flags << " status " << c.status);
        Open();
        g_addrTarget.address = FromBytes(192, 168, 0, 9);
        rt.SetFlags(c.flags);
        rt.Script("kti_getflags", {c.status});
        rt.AddHost("alpha.test", FromBytes(10, 0, 0, 7));

        EXPECT_EQ(TransportResolve("alpha.test", 0x1234), 0);
        EXPECT_EQ(rt.Count("kti_mapaddr"), c.lookup ? 1 : 0);
        const std::vector<uint8_t> kept = {2, 0, 0x12, 0x34, 192, 168, 0, 9,
                                           0, 0, 0,    0,    0,   0,   0, 0};
        const std::vector<uint8_t> looked = {2, 0, 0x12, 0x34, 10, 0, 0, 7, 0, 0, 0, 0, 0, 0, 0, 0};
        EXPECT_EQ(TargetBytes(), c.lookup ? looked : kept);
    }
}

TEST_F(TransportTest, FailedResolveReturnsItsStatusAndKeepsTheOldAddress) {
    Open();
    g_addrTarget.address = FromBytes(10, 9, 8, 7);
    rt.SetLookupFailure(0x1E05);
    EXPECT_EQ(TransportResolve("nowhere.test", 443), 0x1E05);
    EXPECT_THAT(TargetBytes(), ElementsAre(2, 0, 0x01, 0xBB, 10, 9, 8, 7, 0, 0, 0, 0, 0, 0, 0, 0));
}

TEST_F(TransportTest, ConnectBuildsItsRequestAndReply) {
    Open();
    std::memset(&g_addrPeer, 0xAB, sizeof(g_addrPeer));
    g_callReply.sequence = 99;
    EXPECT_EQ(TransportConnect(), 0);

    const auto calls = rt.Calls();
    ASSERT_EQ(OpsOf(calls), (std::vector<std::string>{"kti_fill", "kti_setmode", "kti_connect"}));
    EXPECT_THAT(calls[0].args, ElementsAre(Addr(&g_addrPeer), 16, 0));
    EXPECT_THAT(calls[1].args, ElementsAre(H, 1));
    EXPECT_EQ(calls[2].args[0], H);
    EXPECT_EQ(calls[2].args[2], Addr(&g_callReply));

    const kti_call& request = calls[2].request;
    EXPECT_EQ(request.address.capacity, 16u);
    EXPECT_EQ(request.address.length, 16u);
    EXPECT_EQ(request.address.data, &g_addrTarget);
    EXPECT_EQ(request.options.capacity, 0u);
    EXPECT_EQ(request.options.length, 0u);
    EXPECT_EQ(request.options.data, nullptr);
    EXPECT_EQ(request.udata.length, 0u);
    EXPECT_EQ(request.sequence, 0u);

    const kti_call& reply = calls[2].reply;
    EXPECT_EQ(reply.address.capacity, 16u);
    EXPECT_EQ(reply.address.length, 0u);
    EXPECT_EQ(reply.address.data, &g_addrPeer);
    EXPECT_EQ(reply.options.capacity | reply.options.length | reply.udata.capacity |
                  reply.udata.length | reply.sequence,
              0u);
    EXPECT_EQ(reply.options.data, nullptr);
    EXPECT_EQ(reply.udata.data, nullptr);

    const std::vector<uint8_t> zero(16, 0);
    const auto* peer = reinterpret_cast<const uint8_t*>(&g_addrPeer);
    EXPECT_EQ(std::vector<uint8_t>(peer, peer + 16), zero);
}

TEST_F(TransportTest, ConnectStateMachine) {
    struct Case {
        const char* name;
        int32_t connect;
        std::vector<FakeWait> waits;
        int32_t rcvconnect;
        int32_t result;
        int waitCalls;
        bool confirms;
    };
    const FakeWait notReady{0, 0, 0, 0};
    const std::vector<Case> cases = {
        {"connected at once", 0, {}, 0, 0, 0, false},
        {"refused at once", 0x1010, {}, 0, 0x1010, 0, false},
        {"other small status", 1, {}, 0, 1, 0, false},
        {"wait fails", 13, {{0x1011, 0, 0, 0}}, 0, 0x1011, 1, false},
        {"wait fails with a ready record", 13, {{0x1011, 1, 0, 2}}, 0, 0x1011, 1, false},
        {"waits until ready", 13, {notReady, notReady, {0, 1, 0, 0}}, 0, 0, 3, false},
        {"record status", 13, {{0, 1, 0x1012, 2}}, 0, 0x1012, 1, false},
        {"events clear", 13, {{0, 1, 0, 0}}, 0x1099, 0, 1, false},
        {"other events only", 13, {{0, 1, 0, 4}}, 0x1099, 0, 1, false},
        {"readable", 13, {{0, 1, 0, 1}}, 0, 0, 1, true},
        {"confirmed", 13, {{0, 1, 0, 2}}, 0x1013, 0x1013, 1, true},
        {"confirm fails after waiting", 13, {notReady, {0, 2, 0, 3}}, 0x1014, 0x1014, 2, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        rt.Reset();
        Open();
        rt.Script("kti_connect", {c.connect});
        rt.ScriptWaits(c.waits);
        rt.Script("kti_rcvconnect", {c.rcvconnect});

        EXPECT_EQ(TransportConnect(), c.result);
        EXPECT_EQ(rt.Count("kti_wait"), c.waitCalls);
        const auto confirms = rt.CallsOf("kti_rcvconnect");
        ASSERT_EQ(confirms.size(), c.confirms ? 1u : 0u);
        if (c.confirms) {
            EXPECT_THAT(confirms[0].args, ElementsAre(H, 0));
        }
    }
}

TEST_F(TransportTest, ConnectWaitsOnOneRecordBuiltBeforeTheFirstWait) {
    Open();
    rt.Script("kti_connect", {13});
    // The first round leaves marks in the record; the layer does not reset it.
    rt.ScriptWaits({{0, 0, 0, 4}, {0, 1, 0, 0}});
    EXPECT_EQ(TransportConnect(), 0);

    const auto waits = rt.CallsOf("kti_wait");
    ASSERT_EQ(waits.size(), 2u);
    const kti_waitrec& first = waits[0].wait;
    EXPECT_EQ(first.handle, H);
    EXPECT_EQ(first.request, 1u);
    EXPECT_EQ(first.events, 0u);
    EXPECT_EQ(first.status, 0);
    const auto* tag = reinterpret_cast<const uint8_t*>(&first.tag);
    EXPECT_THAT(std::vector<uint8_t>(tag, tag + 4), ElementsAre(0x11, 0x22, 0x33, 0x44));
    EXPECT_THAT(first.reserved, ElementsAre(0, 0, 0, 0, 0, 0));
    EXPECT_EQ(waits[0].args[0], 120000);
    EXPECT_EQ(waits[0].args[3], 0); // the ready count starts at 0

    EXPECT_EQ(waits[1].args[1], waits[0].args[1]);
    EXPECT_EQ(waits[1].args[2], waits[0].args[2]);
    EXPECT_EQ(waits[1].wait.events, 4u);
}

TEST_F(TransportTest, ErrorTextOnlyFromTheErrorRangeUp) {
    for (int32_t status : {0, 1, 13, 0x0FFF, -1, INT_MIN}) {
        SCOPED_TRACE(status);
        rt.Clear();
        char buffer[80] = "untouched";
        EXPECT_EQ(TransportErrorText(status, buffer, sizeof(buffer)), status);
        EXPECT_STREQ(buffer, "untouched");
        EXPECT_TRUE(rt.Calls().empty());
    }

    Open();
    rt.SetErrorText(0x1000, "Connection refused");
    rt.Script("kti_errtext", {0x77});
    char buffer[80] = "";
    EXPECT_EQ(TransportErrorText(0x1000, buffer, sizeof(buffer)), 0x77);
    EXPECT_STREQ(buffer, "Connection refused");
    const auto calls = rt.Calls();
    ASSERT_EQ(OpsOf(calls), (std::vector<std::string>{"kti_errinfo", "kti_errtext"}));
    EXPECT_EQ(calls[0].args[0], H);
    EXPECT_EQ(calls[0].err.status, 0x1000);
    EXPECT_EQ(calls[1].args[0], H);
    EXPECT_EQ(calls[1].args[1], calls[0].args[1]); // the record errinfo prepared
    EXPECT_EQ(calls[1].err.status, 0x1000);
    EXPECT_EQ(calls[1].args[2], 80);
    EXPECT_EQ(calls[1].args[3], Addr(buffer));
}

TEST_F(TransportTest, ErrorTextCutsTheSizeTo16Bits) {
    Open();
    rt.SetErrorText(0x2000, "Connection refused");
    char buffer[80] = "";
    TransportErrorText(0x2000, buffer, 0x10000 + 11);
    EXPECT_EQ(rt.CallsOf("kti_errtext")[0].args[2], 11);
    EXPECT_STREQ(buffer, "Connection");
}

TEST(FormatAddress, DottedQuadLowestByteFirst) {
    struct Case {
        uint32_t address;
        const char* text;
    };
    const Case cases[] = {
        {0, "*"},
        {FromBytes(10, 0, 0, 1), "10.0.0.1"},
        {FromBytes(127, 0, 0, 1), "127.0.0.1"},
        {FromBytes(0, 0, 0, 1), "0.0.0.1"},
        {0xFFFFFFFF, "255.255.255.255"},
        {0x0100007F, "127.0.0.1"}, // bits 0-7 first, whatever the machine's byte order
    };
    for (const Case& c : cases) {
        std::string text = "left over";
        FormatAddress(c.address, text);
        EXPECT_EQ(text, c.text);
    }
}

TEST(IsDottedText, EveryByteADigitOrADot) {
    struct Case {
        const char* text;
        int result;
    };
    const Case cases[] = {
        {"", 1},       {"10.1.2.3", 1},  {"999.1..5", 1},  {"...", 1},
        {"host-1", 0}, {"10.0.0.1 ", 0}, {" 10.0.0.1", 0}, {"1/2", 0},
        {"1:2", 0},    {"1e3", 0},       {"1\xB9", 0},     {"\xB2", 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsDottedText(c.text), c.result) << '"' << c.text << '"';
}

TEST(TransportHelpers, TargetAddressAndAbortCheck) {
    g_addrTarget.address = FromBytes(10, 2, 3, 4);
    uint32_t word = 0;
    EXPECT_EQ(GetTargetAddress(&word), &word);
    EXPECT_EQ(word, FromBytes(10, 2, 3, 4));

    for (int32_t value : {0, 1, 5, 0}) {
        g_bAbort = value;
        EXPECT_EQ(AbortCheckProc(12345), value);
    }
}

} // namespace
