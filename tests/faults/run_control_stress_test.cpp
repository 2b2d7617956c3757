// Run control under random timing: rounds of random sequences of Connect,
// Stop, Quit, Close and Escape with random pauses between them, against a
// stand-in runtime whose connects succeed, fail or stay pending until the
// abort, and which stalls for random moments of its own. The test thread
// plays the main thread: it calls the handlers, delivers the posted close
// when its message loop would, and ends each round as the program ends: the
// dialog is gone once a delivered close or Escape ended it, then EndRun.
//
// In every round: never two runs at once, no quit or close request lost, no
// close without one, every run's transcript complete, and the worker gone
// at the end.
#include "framework/message_box.h"
#include "tests/probe/fake_probe_dialog.h"
#include "tests/probe/transcript.h"
#include "tests/transport/fake_runtime.h"
#include "transport/transport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <random>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

// Sanitizers slow every thread start and lock several times over.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr int kRounds = 5000;
constexpr auto kBudget = std::chrono::seconds(20);
#else
constexpr int kRounds = 12000;
constexpr auto kBudget = std::chrono::seconds(15);
#endif

int IgnoreBox(const CString&, UINT) {
    return IDOK;
}

bool WaitFor(const std::function<bool()>& done, int limitMs) {
    const auto deadline = Clock::now() + std::chrono::milliseconds(limitMs);
    while (!done()) {
        if (Clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::microseconds(100));
    }
    return true;
}

// Only the worker enables and disables Connect, once each a run: the span
// between is the run. Two such spans at once are two runs.
class StressDialog : public FakeProbeDialog {
public:
    ~StressDialog() override { EndRun(); }
    bool Running() { return WorkerRunning(); }

    void EnableConnect(bool enable) override {
        if (!enable && m_nActive.fetch_add(1) != 0)
            m_bOverlap = true;
        if (enable) {
            m_nActive.fetch_sub(1);
            ++m_nRunEnds;
        }
        FakeProbeDialog::EnableConnect(enable);
    }

    std::atomic<int> m_nActive{0};
    std::atomic<bool> m_bOverlap{false};
    std::atomic<int> m_nRunEnds{0}; // runs that have re-enabled Connect
};

// Waits for the run in progress to reach its end, then lets a random few
// hundred nanoseconds pass; false when no run ended within the limit.
bool CatchRunEnd(StressDialog& dlg, std::mt19937& random) {
    const int ends = dlg.m_nRunEnds;
    if (!dlg.m_bBusy)
        return false;
    const auto deadline = Clock::now() + std::chrono::milliseconds(5);
    while (dlg.m_nRunEnds == ends) {
        if (Clock::now() > deadline)
            return false;
    }
    for (volatile int spin = int(random() % 300); spin > 0;)
        spin = spin - 1;
    return true;
}

// The runtime's own stalls: a few hundred microseconds now and then, at the
// calls that bracket a run and in the middle of it.
std::atomic<uint32_t> s_stallSeed{0};

void Stall(const std::string& op, int count) {
    if (op != "RuntimeThreadAttach" && op != "kti_open" && op != "kti_connect" &&
        op != "RuntimeThreadDetach")
        return;
    uint32_t x = s_stallSeed.load() ^ uint32_t(count * 2654435761u) ^ uint32_t(op.size() << 24);
    x ^= x >> 15;
    x *= 0x2C1B3C6Du;
    x ^= x >> 12;
    if (x % 3 == 0)
        std::this_thread::sleep_for(std::chrono::microseconds(x % 300));
}

// RunEndQuit and RunEndClose wait for a run to reach its end and then come
// within a few hundred nanoseconds of the worker's last look at the quit
// request: the window that a single look would leave open.
enum class Op { Connect, Stop, Quit, Close, Escape, Deliver, Pause, RunEndQuit, RunEndClose };

Op PickOp(std::mt19937& random) {
    // Connect more often than the rest, so that runs start and end a lot.
    static const Op ops[] = {Op::Connect, Op::Connect, Op::Connect,    Op::Stop,
                             Op::Quit,    Op::Close,   Op::Escape,     Op::Deliver,
                             Op::Deliver, Op::Pause,   Op::RunEndQuit, Op::RunEndClose};
    return ops[std::uniform_int_distribution<size_t>(0, std::size(ops) - 1)(random)];
}

// The last run's transcript is whole: a summary or the cancel line.
bool TranscriptComplete(const CString& text) {
    return text.ends_with(kCanceled) ||
           (text.find("\r\n***** Status: ") != CString::npos && text.ends_with("ms"));
}

struct Round {
    bool quitAsked = false; // Quit or Close before the dialog ended
    bool escaped = false;
    bool closed = false; // a delivered close ended the dialog
    int connects = 0;
    int delivered = 0;
};

// Hands every posted close to the dialog, as the message loop would.
void Deliver(StressDialog& dlg, Round& round) {
    while (!round.closed && round.delivered < dlg.Count("PostSaveAndClose")) {
        dlg.OnSaveAndClose(0, 0);
        ++round.delivered;
        round.closed = dlg.Count("CloseDialog 0") > 0;
    }
}

void PlayRound(FakeRuntime& runtime, uint32_t seed) {
    std::mt19937 random(seed);
    runtime.Clear();
    s_stallSeed = seed;
    const int32_t connect[] = {0, KTI_INPROGRESS, KTI_INPROGRESS, 0x1001};
    const int32_t connectStatus = connect[random() % std::size(connect)];
    const bool runsEnd = connectStatus != KTI_INPROGRESS; // else only a stop ends them
    runtime.SetDefault("kti_connect", connectStatus);
    g_bAbort = 0;

    StressDialog dlg;
    dlg.m_box.SetText("127.0.0.1");
    dlg.SetPortText("80");
    dlg.SetCountPosition(int(random() % 5));

    Round round;
    const int steps = std::uniform_int_distribution<int>(1, 7)(random);
    std::uniform_int_distribution<int> pauseUs(0, 250);
    for (int step = 0; step < steps && !round.closed && !round.escaped; ++step) {
        if (random() % 4 != 0)
            std::this_thread::sleep_for(std::chrono::microseconds(pauseUs(random)));
        const Op op = PickOp(random);
        if ((op == Op::RunEndQuit || op == Op::RunEndClose) && runsEnd)
            CatchRunEnd(dlg, random);
        // The main thread never waits for the worker: every handler returns
        // at once, whatever the run is doing.
        const auto called = Clock::now();
        switch (op) {
        case Op::Connect:
            ++round.connects;
            dlg.OnConnect();
            break;
        case Op::Stop:
            dlg.OnStop();
            break;
        case Op::Quit:
        case Op::RunEndQuit:
            round.quitAsked = true;
            dlg.OnQuit();
            break;
        case Op::Close:
        case Op::RunEndClose:
            round.quitAsked = true;
            dlg.OnCloseCommand();
            break;
        case Op::Escape:
            round.escaped = true;
            break;
        case Op::Deliver:
            Deliver(dlg, round);
            break;
        case Op::Pause:
            std::this_thread::sleep_for(std::chrono::microseconds(pauseUs(random) * 4));
            break;
        }
        EXPECT_LT(Clock::now() - called, std::chrono::seconds(1))
            << "a handler waited for the worker";
    }

    // A request to quit must close the dialog by itself; without one the
    // user ends it with Escape.
    if (round.quitAsked && !round.closed && !round.escaped) {
        const bool closed = WaitFor(
            [&] {
                Deliver(dlg, round);
                return round.closed;
            },
            5000);
        EXPECT_TRUE(closed) << "a quit or close request was lost";
    }
    const auto ending = Clock::now();
    dlg.EndRun();
    EXPECT_LT(Clock::now() - ending, std::chrono::seconds(1)) << "the worker was slow to go";
    ASSERT_FALSE(dlg.m_bBusy) << "the worker outlived EndRun";
    ASSERT_EQ(dlg.m_nActive, 0);

    EXPECT_FALSE(dlg.m_bOverlap) << "two runs at once";
    EXPECT_LE(dlg.Count("CloseDialog 0"), 1);
    EXPECT_LE(dlg.Count("SaveHistory"), 1);
    if (!round.quitAsked) {
        EXPECT_EQ(dlg.Count("PostSaveAndClose"), 0) << "a close that nobody asked for";
    }
    const int runs = runtime.Count("RuntimeThreadAttach");
    EXPECT_LE(runs, round.connects);
    EXPECT_EQ(runtime.Count("RuntimeThreadDetach"), runs);
    if (runs > 0) {
        EXPECT_TRUE(TranscriptComplete(dlg.Output())) << dlg.Output();
    } else {
        EXPECT_EQ(dlg.Output(), "");
    }
    EXPECT_TRUE(dlg.ConnectEnabled());
    EXPECT_FALSE(dlg.StopEnabled());
}

TEST(RunControlStress, RandomSequencesOfTheHandlers) {
    const char* seedText = std::getenv("KC_STRESS_SEED");
    const uint32_t seed = seedText ? uint32_t(std::strtoul(seedText, nullptr, 0)) : 20240607u;
    const MessageBoxHandler previous = AfxSetMessageBoxHandler(&IgnoreBox);
    FakeRuntime runtime;
    runtime.AddHost("127.0.0.1", FromBytes(127, 0, 0, 1));
    runtime.SetHook(&Stall);

    const auto start = Clock::now();
    int rounds = 0;
    for (; rounds < kRounds && Clock::now() - start < kBudget; ++rounds) {
        SCOPED_TRACE("round " + std::to_string(rounds) + " (KC_STRESS_SEED=" +
                     std::to_string(seed + uint32_t(rounds)) + " replays its choices)");
        PlayRound(runtime, seed + uint32_t(rounds));
        if (HasFailure())
            break;
    }
    std::printf("%d rounds in %.1f s\n", rounds,
                std::chrono::duration<double>(Clock::now() - start).count());
    runtime.SetHook(nullptr);
    AfxSetMessageBoxHandler(previous);
}

} // namespace
