// The probe run against a scripted runtime and a dialog without windows: the
// transcript it writes, where it scrolls, the runtime calls it leads to, its
// stop points and what it does to the target box.
#include "framework/message_box.h"
#include "tests/probe/fake_probe_dialog.h"
#include "tests/probe/transcript.h"
#include "tests/transport/fake_runtime.h"
#include "transport/transport.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <chrono>
#include <cstring>
#include <functional>
#include <mutex>
#include <numeric>
#include <thread>

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::Not;

namespace {

using Ops = std::vector<std::string>;

const uint32_t kAlpha = FromBytes(10, 0, 0, 7);
const std::string kRefused = "Connection refused";

std::mutex s_boxMutex;
std::vector<std::pair<CString, UINT>> s_boxes;

int RecordBox(const CString& text, UINT type) {
    std::lock_guard lock(s_boxMutex);
    s_boxes.emplace_back(text, type);
    return IDOK;
}

// A scripted runtime and a dialog, ready for a run against alpha.test:80.
struct ProbeRig {
    ProbeRig() {
        g_bAbort = 0;
        g_addrTarget = kti_inaddr{};
        rt.AddHost("alpha.test", kAlpha);
        rt.AddHost("10.1.2.3", FromBytes(10, 1, 2, 3));
        rt.SetErrorText(0x1001, kRefused);
        dlg.m_strTarget = "alpha.test";
        dlg.m_nPort = 80;
        dlg.m_nCount = 2;
    }

    // Sets m_bStop when the runtime has made its count-th call of op.
    void StopAt(const std::string& op, int count) {
        rt.SetHook([this, op, count](const std::string& called, int n) {
            if (called == op && n == count)
                dlg.m_bStop = 1;
        });
    }

    FakeRuntime rt;
    FakeProbeDialog dlg;
};

class ProbeRunTest : public ::testing::Test {
protected:
    void SetUp() override {
        {
            std::lock_guard lock(s_boxMutex);
            s_boxes.clear();
        }
        AfxSetMessageBoxHandler(&RecordBox);
    }
    void TearDown() override { AfxSetMessageBoxHandler(nullptr); }

    void StopAt(const std::string& op, int count) { rig.StopAt(op, count); }

    ProbeRig rig;
    FakeRuntime& rt = rig.rt;
    FakeProbeDialog& dlg = rig.dlg;
};

struct TranscriptCase {
    const char* name;
    std::function<void(FakeRuntime&, FakeProbeDialog&)> setup;
    std::string expected; // the transcript with every ms figure as #
    bool totalIsSum;      // every timed step shows its time (no dotted lookup)
};

TEST(ProbeRun, Transcripts) {
    const std::string a = "10.0.0.7";
    const std::vector<TranscriptCase> cases = {
        {"host name, count 2", [](FakeRuntime&, FakeProbeDialog&) {},
         Lookup("alpha.test") + kConnecting + Reply(1, a, 80) + Reply(2, a, 80) + Summary(2, 2),
         true},
        {"count 5", [](FakeRuntime&, FakeProbeDialog& d) { d.m_nCount = 5; },
         Lookup("alpha.test") + kConnecting + Reply(1, a, 80) + Reply(2, a, 80) + Reply(3, a, 80) +
             Reply(4, a, 80) + Reply(5, a, 80) + Summary(5, 5),
         true},
        {"dotted target: no lookup line",
         [](FakeRuntime&, FakeProbeDialog& d) {
             d.m_strTarget = "10.1.2.3";
             d.m_nCount = 1;
         },
         kConnecting + Reply(1, "10.1.2.3", 80) + Summary(1, 1), false},
        {"dotted text that is no address",
         [](FakeRuntime&, FakeProbeDialog& d) {
             d.m_strTarget = "999.1..5";
             d.m_nCount = 1;
         },
         Unresolved(kLookupFailed) + Summary(0, 1), false},
        {"unresolvable name, count 3",
         [](FakeRuntime&, FakeProbeDialog& d) {
             d.m_strTarget = "nowhere.test";
             d.m_nCount = 3;
         },
         Lookup("nowhere.test") + Unresolved(kLookupFailed) + Lookup("nowhere.test") +
             Unresolved(kLookupFailed) + Lookup("nowhere.test") + Unresolved(kLookupFailed) +
             Summary(0, 3),
         true},
        {"port printed whole, looked up with its low 16 bits",
         [](FakeRuntime&, FakeProbeDialog& d) {
             d.m_nPort = 0x101BB;
             d.m_nCount = 1;
         },
         Lookup("alpha.test") + kConnecting + Reply(1, a, 65979) + Summary(1, 1), true},
        {"open fails before the lookup: a lone tab",
         [](FakeRuntime& r, FakeProbeDialog&) { r.Script("kti_open", {0x1101}); },
         Unresolved("") + Lookup("alpha.test") + kConnecting + Reply(2, a, 80) + Summary(1, 2),
         true},
        {"open fails after a failed lookup: not that lookup's text again",
         [](FakeRuntime& r, FakeProbeDialog& d) {
             d.m_strTarget = "nowhere.test";
             r.Script("kti_open", {0, 0x1101});
         },
         Lookup("nowhere.test") + Unresolved(kLookupFailed) + Unresolved("") + Summary(0, 2), true},
        {"connect failures with and without a text of their own",
         [](FakeRuntime& r, FakeProbeDialog& d) {
             d.m_nCount = 5;
             r.Script("kti_connect", {0, 0x20, 0x1001, 0x20, 0x1001});
         },
         Lookup("alpha.test") + kConnecting + Reply(1, a, 80) + Failed(2, a, 80) +
             Failed(3, a, 80) + ErrorLine(kRefused) + Failed(4, a, 80) + Failed(5, a, 80) +
             ErrorLine(kRefused) + Summary(1, 5),
         true},
        {"connect pending, then confirmed",
         [](FakeRuntime& r, FakeProbeDialog& d) {
             d.m_nCount = 1;
             r.Script("kti_connect", {13});
             r.ScriptWaits({{0, 0, 0, 0}, {0, 1, 0, 2}});
         },
         Lookup("alpha.test") + kConnecting + Reply(1, a, 80) + Summary(1, 1), true},
    };
    for (const TranscriptCase& c : cases) {
        SCOPED_TRACE(c.name);
        ProbeRig rig;
        FakeRuntime& runtime = rig.rt;
        FakeProbeDialog& d = rig.dlg;
        c.setup(runtime, d);

        d.RunProbe();

        const Transcript t = ParseTranscript(d.Output());
        EXPECT_EQ(t.shape, c.expected);
        const uint32_t sum = std::accumulate(t.times.begin(), t.times.end(), 0u);
        if (c.totalIsSum) {
            EXPECT_EQ(t.total, sum);
        } else {
            EXPECT_GE(t.total, sum);
        }
        EXPECT_EQ(d.m_bStop.load(), 0); // the run only reads it
        EXPECT_EQ(ntohs(g_addrTarget.port), uint16_t(d.m_nPort));

        // Every attempt that opened closes, after releasing what connected;
        // the transport ends once.
        EXPECT_EQ(runtime.Count("kti_close"), runtime.Count("kti_bind"));
        EXPECT_EQ(runtime.Count("kti_sndrel"), t.replies);
        EXPECT_EQ(runtime.Count("kti_init"), 1);
        EXPECT_EQ(runtime.Ops().back(), "kti_term");
    }
}

TEST_F(ProbeRunTest, HostNameRunMakesItsRuntimeCallsInOrder) {
    dlg.RunProbe();
    // One lookup, in the first attempt only.
    // clang-format off
    EXPECT_EQ(rt.Ops(), (Ops{"kti_init",
        "kti_open", "kti_bind", "kti_SetAbortCheck", "kti_setparam",
        "kti_getflags", "kti_mapaddr",
        "kti_fill", "kti_setmode", "kti_connect",
        "kti_sndrel", "kti_close",
        "kti_open", "kti_bind", "kti_SetAbortCheck", "kti_setparam",
        "kti_fill", "kti_setmode", "kti_connect",
        "kti_sndrel", "kti_close",
        "kti_term"}));
    // clang-format on

    const auto lookups = rt.CallsOf("kti_mapaddr");
    ASSERT_EQ(lookups.size(), 1u);
    EXPECT_EQ(lookups[0].text, "alpha.test");
    EXPECT_EQ(lookups[0].args[1], 4098);
    EXPECT_EQ(dlg.m_strLastGood, "alpha.test");
}

TEST_F(ProbeRunTest, ScrollsAfterEachLineButNotWithinTheLookupLine) {
    rt.Script("kti_connect", {0x1001});
    dlg.RunProbe();
    const std::string a = "10.0.0.7";
    EXPECT_EQ(ParseTranscript(dlg.OutputWithScrolls()).shape,
              Lookup("alpha.test") + kConnecting + "<v>" + Failed(1, a, 80) + ErrorLine(kRefused) +
                  "<v>" + Reply(2, a, 80) + "<v>" + Summary(1, 2) + "<v>");
    EXPECT_TRUE(dlg.ScrollsByLineCount());
}

TEST_F(ProbeRunTest, ScrollsAfterTheUnresolvedAndTheCancelLine) {
    dlg.m_strTarget = "nowhere.test";
    StopAt("kti_close", 1);
    dlg.RunProbe();
    EXPECT_EQ(ParseTranscript(dlg.OutputWithScrolls()).shape,
              Lookup("nowhere.test") + Unresolved(kLookupFailed) + "<v>" + kCanceled + "<v>");
    EXPECT_TRUE(dlg.ScrollsByLineCount());
}

// An attempt whose open fails made no connect: its line shows no time, and
// the total leaves it out, whatever an earlier attempt took.
TEST_F(ProbeRunTest, OpenFailureAfterTheLookupShowsNoTimeAndNoOldError) {
    rt.Script("kti_connect", {0x1001});
    rt.Script("kti_open", {0, 0x1101});
    rt.SetHook([](const std::string& op, int) {
        if (op == "kti_connect")
            std::this_thread::sleep_for(std::chrono::milliseconds(15));
    });
    dlg.RunProbe();

    const std::string a = "10.0.0.7";
    const Transcript t = ParseTranscript(dlg.Output());
    EXPECT_EQ(t.shape, Lookup("alpha.test") + kConnecting + Failed(1, a, 80) + ErrorLine(kRefused) +
                           Failed(2, a, 80) + Summary(0, 2));
    ASSERT_EQ(t.times.size(), 3u);
    EXPECT_GE(t.times[1], 15u);
    EXPECT_EQ(t.times[2], 0u);
    EXPECT_EQ(t.total, t.times[0] + t.times[1]);
    // Nothing is closed for the attempt that did not open.
    EXPECT_EQ(rt.Count("kti_close"), 1);
    EXPECT_EQ(rt.Count("kti_sndrel"), 0);
}

struct StopCase {
    const char* name;
    const char* op; // null: set before the run
    int count;
    std::string expected;
    int opens;
    int closes;
};

TEST(ProbeRun, StopPointsEndTheRunWithTheCancelLine) {
    const std::string a = "10.0.0.7";
    const std::vector<StopCase> cases = {
        {"before the first attempt", nullptr, 0, kCanceled, 0, 0},
        {"during the first open: before the connecting line", "kti_open", 1,
         Lookup("alpha.test") + kCanceled, 1, 0},
        {"during the first connect: its line is not written", "kti_connect", 1,
         Lookup("alpha.test") + kConnecting + kCanceled, 1, 0},
        {"after the first attempt", "kti_close", 1,
         Lookup("alpha.test") + kConnecting + Reply(1, a, 80) + kCanceled, 1, 1},
        {"during the second open", "kti_open", 2,
         Lookup("alpha.test") + kConnecting + Reply(1, a, 80) + kCanceled, 2, 1},
    };
    for (const StopCase& c : cases) {
        SCOPED_TRACE(c.name);
        ProbeRig rig;
        FakeRuntime& runtime = rig.rt;
        FakeProbeDialog& d = rig.dlg;
        if (c.op)
            rig.StopAt(c.op, c.count);
        else
            d.m_bStop = 1;

        d.RunProbe();

        EXPECT_EQ(ParseTranscript(d.Output()).shape, c.expected);
        EXPECT_EQ(runtime.Count("kti_open"), c.opens);
        EXPECT_EQ(runtime.Count("kti_close"), c.closes);
        EXPECT_EQ(runtime.Count("kti_sndrel"), c.closes);
        EXPECT_EQ(runtime.Count("kti_init"), 1);
        EXPECT_EQ(runtime.Count("kti_term"), 1);
        EXPECT_EQ(runtime.Ops().back(), "kti_term");
    }
}

TEST_F(ProbeRunTest, StopAfterAFailedLookupWritesNoFailureLine) {
    dlg.m_strTarget = "nowhere.test";
    StopAt("kti_mapaddr", 1);
    dlg.RunProbe();
    EXPECT_EQ(ParseTranscript(dlg.Output()).shape, Lookup("nowhere.test") + kCanceled);
    EXPECT_EQ(rt.Count("kti_close"), 0);
}

// The stop comes from another thread while the connect blocks in the runtime;
// only the abort flag can end the wait.
TEST_F(ProbeRunTest, StopDuringABlockingConnect) {
    dlg.m_nCount = 3;
    rt.Script("kti_connect", {0, 13});
    std::thread worker([this] { dlg.RunProbe(); });

    const auto start = std::chrono::steady_clock::now();
    while (!rt.WaitBlocking() && std::chrono::steady_clock::now() - start < std::chrono::seconds(5))
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    ASSERT_TRUE(rt.WaitBlocking());
    // As run control does it: the stop request first, then the abort.
    dlg.m_bStop = 1;
    g_bAbort = 1;
    const auto stopped = std::chrono::steady_clock::now();
    worker.join();
    EXPECT_LT(std::chrono::steady_clock::now() - stopped, std::chrono::seconds(2));

    EXPECT_EQ(ParseTranscript(dlg.Output()).shape,
              Lookup("alpha.test") + kConnecting + Reply(1, "10.0.0.7", 80) + kCanceled);
    const Ops ops = rt.Ops();
    EXPECT_EQ(ops.back(), "kti_term");
    EXPECT_EQ(rt.Count("kti_close"), 1); // the cancelled attempt's endpoint stays open
    EXPECT_EQ(rt.Count("kti_sndrel"), 1);
}

TEST_F(ProbeRunTest, TransportInitFailureShowsTheMessageAndEnds) {
    rt.Script("kti_init", {0x1001});
    dlg.SetOutputText("an earlier run");
    dlg.RunProbe();

    EXPECT_EQ(dlg.Output(), "");
    EXPECT_EQ(rt.Ops(), Ops{"kti_init"});
    std::lock_guard lock(s_boxMutex);
    ASSERT_EQ(s_boxes.size(), 1u);
    EXPECT_EQ(s_boxes[0].first, "Transport Initialization Failed. Verify that you have WinSock "
                                "and a TCP/IP stack installed");
    EXPECT_EQ(s_boxes[0].second, UINT(MB_OK | MB_ICONSTOP));
}

TEST_F(ProbeRunTest, AppendReadsThePaneBackAndSetsItWhole) {
    dlg.SetOutputText("one\r\n");
    dlg.AppendOutput({"two", "\t", "three\r\n"});
    EXPECT_EQ(dlg.Output(), "one\r\ntwo\tthree\r\n");
    EXPECT_THAT(dlg.PaneOps(), ElementsAre("set", "tabs", "softbreaks 1", "get", "set"));
}

using Entry = FakeTargetList::Entry;

struct BoxCase {
    const char* name;
    const char* target; // m_strTarget
    const char* text;   // what the box shows when the lookup ends
    int selected;
    std::vector<Entry> entries; // after the run
    int selectedAfter;
    const char* textAfter;
};

TEST(ProbeRun, LookupVerdictUpdatesTheTargetBox) {
    const uint32_t M = HOST_KEEP_MARK;
    const std::vector<Entry> before = {{"alpha.test", 0}, {"beta.test", M}, {"nowhere.test", 0}};
    const std::vector<BoxCase> cases = {
        {"failed, unmarked: deleted",
         "nowhere.test",
         "nowhere.test",
         2,
         {{"alpha.test", 0}, {"beta.test", M}},
         0,
         "nowhere.test"},
        // The box's text counts, not the target taken at Connect.
        {"failed, edited to a marked entry: kept", "nowhere.test", "BETA.test", -1, before, 0,
         "BETA.test"},
        {"failed, text not in the list: left alone", "nowhere.test", "gamma.test", 1, before, 1,
         "gamma.test"},
        {"resolved, an entry selected: only it is marked",
         "alpha.test",
         "alpha.test",
         0,
         {{"alpha.test", M}, {"beta.test", M}, {"nowhere.test", 0}},
         0,
         "alpha.test"},
        {"resolved, none selected: every entry is marked",
         "alpha.test",
         "alpha.test",
         -1,
         {{"alpha.test", M}, {"beta.test", M}, {"nowhere.test", M}},
         -1,
         "alpha.test"},
    };
    for (const BoxCase& c : cases) {
        SCOPED_TRACE(c.name);
        ProbeRig rig;
        FakeProbeDialog& d = rig.dlg;
        d.m_strTarget = c.target;
        d.m_nCount = 1;
        for (const Entry& entry : before)
            d.m_box.SetItemData(d.m_box.AddString(entry.text), entry.data);
        d.m_box.SetCurSel(c.selected);
        d.m_box.SetText(c.text);

        d.RunProbe();

        EXPECT_EQ(d.m_box.Entries(), c.entries);
        EXPECT_EQ(d.m_box.GetCurSel(), c.selectedAfter);
        EXPECT_EQ(d.m_box.GetText(), c.textAfter);
        EXPECT_EQ(d.m_strLastGood, std::string(c.target) == "alpha.test" ? "alpha.test" : "");
    }
}

TEST_F(ProbeRunTest, RepeatedFailedLookupsDeleteOnlyOnce) {
    dlg.m_strTarget = "nowhere.test";
    dlg.m_nCount = 3;
    dlg.m_box.InsertString(0, "alpha.test");
    dlg.m_box.InsertString(0, "nowhere.test");
    dlg.m_box.SetText("nowhere.test");
    dlg.RunProbe();
    EXPECT_EQ(dlg.m_box.Texts(), std::vector<CString>{"alpha.test"});
    EXPECT_EQ(rt.Count("kti_mapaddr"), 3);
    EXPECT_THAT(rt.Ops(), Not(Contains("kti_connect")));
}

} // namespace
