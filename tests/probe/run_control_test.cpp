// Run control against the windowless dialog and a stand-in runtime whose
// connects, unless a test says otherwise, stay pending until the abort flag
// ends them. The test thread plays the main thread: it calls the handlers and
// delivers the posted close.
#include "framework/message_box.h"
#include "probe/probe_thread.h"
#include "tests/probe/fake_probe_dialog.h"
#include "tests/probe/transcript.h"
#include "tests/transport/fake_runtime.h"
#include "transport/transport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <mutex>
#include <random>
#include <thread>

namespace {

const char kTargetRequired[] = "Target Required: Enter Target Host Name or IP Address";
const char kPortMissing[] =
    "Invalid Port: Select a Service Type or Enter a Port Number between 1 - 65535";
const char kPortInvalid[] =
    "Invalid Port: Select a Service or Enter a Port number between 1 - 65535";
const char kCloseQueued[] = "A TCP/IP operation is outstanding. The termination request has been "
                            "queued. Please wait for completion.";

struct Shown {
    CString text;
    UINT type;
};

std::mutex s_boxesMutex;
std::vector<Shown> s_boxes;

int RecordBox(const CString& text, UINT type) {
    std::lock_guard lock(s_boxesMutex);
    s_boxes.push_back({text, type});
    return IDOK;
}

std::vector<Shown> Boxes() {
    std::lock_guard lock(s_boxesMutex);
    return s_boxes;
}

bool WaitFor(const std::function<bool()>& done, int limitMs = 5000) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMs);
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    return true;
}

class TestDialog : public FakeProbeDialog {
public:
    ~TestDialog() override { EndRun(); }
    bool Running() { return WorkerRunning(); }
};

class RunControl : public ::testing::Test {
protected:
    void SetUp() override {
        {
            std::lock_guard lock(s_boxesMutex);
            s_boxes.clear();
        }
        m_previousBox = AfxSetMessageBoxHandler(&RecordBox);
        g_bAbort = 0;
        m_runtime.AddHost("127.0.0.1", FromBytes(127, 0, 0, 1));
        m_runtime.SetDefault("kti_connect", KTI_INPROGRESS);
        m_dlg.m_box.SetText("127.0.0.1");
        m_dlg.SetPortText("80");
    }
    void TearDown() override {
        m_dlg.EndRun();
        AfxSetMessageBoxHandler(m_previousBox);
    }

    // Connect, and wait until the run blocks in its first connect.
    void StartBlockedRun() {
        m_dlg.OnConnect();
        ASSERT_TRUE(WaitFor([&] { return m_dlg.m_bBusy && m_runtime.WaitBlocking(); }));
    }
    void WaitForIdle() {
        ASSERT_TRUE(WaitFor([&] { return !m_dlg.Running(); }));
    }
    void DeliverClose() {
        if (m_dlg.Count("PostSaveAndClose") > 0)
            m_dlg.OnSaveAndClose(0, 0);
    }

    FakeRuntime m_runtime;
    TestDialog m_dlg;
    MessageBoxHandler m_previousBox = nullptr;
};

TEST_F(RunControl, IdleStopOnlyDisablesStop) {
    m_dlg.OnStop();
    EXPECT_EQ(m_dlg.Events(), std::vector<std::string>{"EnableStop 0"});
    EXPECT_FALSE(m_dlg.m_bStop);
    EXPECT_FALSE(g_bAbort);
}

TEST_F(RunControl, IdleQuitSavesAndClosesThroughThePostedMessage) {
    m_dlg.OnQuit();
    EXPECT_FALSE(m_dlg.QuitEnabled());
    EXPECT_FALSE(m_dlg.StopEnabled());
    EXPECT_TRUE(m_dlg.m_bQuit);
    EXPECT_FALSE(m_dlg.m_bStop);
    EXPECT_EQ(m_dlg.Count("SaveHistory"), 0); // not before the message is handled
    DeliverClose();
    EXPECT_EQ(m_dlg.Events(),
              (std::vector<std::string>{"EnableQuit 0", "EnableStop 0", "PostSaveAndClose",
                                        "SaveHistory", "CloseDialog 0"}));
}

TEST_F(RunControl, IdleCloseClosesAtOnceWithoutAMessage) {
    m_dlg.OnCloseCommand();
    DeliverClose();
    EXPECT_EQ(m_dlg.Events(),
              (std::vector<std::string>{"PostSaveAndClose", "SaveHistory", "CloseDialog 0"}));
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(RunControl, AStartedRunSwapsTheButtonsAndIgnoresConnect) {
    m_dlg.m_strTyped = "12";
    StartBlockedRun();
    EXPECT_FALSE(m_dlg.ConnectEnabled());
    EXPECT_TRUE(m_dlg.StopEnabled());
    EXPECT_TRUE(m_dlg.m_strTyped.empty());
    EXPECT_EQ(m_dlg.m_box.FocusCount(), 1);
    EXPECT_EQ(m_dlg.Count("WaitCursor 1"), 1);
    EXPECT_EQ(m_dlg.Count("WaitCursor 0"), 1);

    m_dlg.OnConnect();
    m_dlg.OnConnect();
    EXPECT_EQ(m_runtime.Count("RuntimeThreadAttach"), 1);
    EXPECT_EQ(m_runtime.Count("kti_init"), 1);
}

TEST_F(RunControl, StopCancelsTheRunAndReturnsToIdle) {
    StartBlockedRun();
    m_dlg.OnStop();
    EXPECT_TRUE(m_dlg.m_bStop);
    EXPECT_FALSE(m_dlg.StopEnabled());
    WaitForIdle();
    EXPECT_TRUE(m_dlg.Output().ends_with(kCanceled)) << m_dlg.Output();
    EXPECT_TRUE(m_dlg.ConnectEnabled());
    EXPECT_FALSE(m_dlg.StopEnabled());
    EXPECT_FALSE(m_dlg.m_bStop);
    EXPECT_FALSE(m_dlg.m_bBusy);
    EXPECT_EQ(m_dlg.Count("PostSaveAndClose"), 0);
    EXPECT_EQ(m_runtime.Count("RuntimeThreadDetach"), 1);
}

TEST_F(RunControl, QuitDuringARunClosesAfterIt) {
    StartBlockedRun();
    m_dlg.OnQuit();
    EXPECT_TRUE(m_dlg.m_bQuit);
    EXPECT_TRUE(m_dlg.m_bStop);
    EXPECT_FALSE(m_dlg.QuitEnabled());
    EXPECT_FALSE(m_dlg.StopEnabled());
    EXPECT_EQ(m_dlg.Count("PostSaveAndClose"), 0); // the worker posts, at its end
    WaitForIdle();
    EXPECT_TRUE(m_dlg.Output().ends_with(kCanceled));
    EXPECT_TRUE(m_dlg.ConnectEnabled());
    DeliverClose();
    EXPECT_EQ(m_dlg.Count("SaveHistory"), 1);
    EXPECT_EQ(m_dlg.Count("CloseDialog 0"), 1);
}

TEST_F(RunControl, CloseDuringARunIsQueuedWithANotice) {
    StartBlockedRun();
    m_dlg.OnCloseCommand();
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].text, kCloseQueued);
    EXPECT_EQ(Boxes()[0].type, UINT(MB_OK | MB_ICONINFORMATION));
    EXPECT_TRUE(m_dlg.m_bStop);
    EXPECT_TRUE(m_dlg.m_bQuit);
    EXPECT_TRUE(m_dlg.QuitEnabled()); // buttons are left as they are
    WaitForIdle();
    DeliverClose();
    EXPECT_EQ(m_dlg.Count("CloseDialog 0"), 1);
}

TEST_F(RunControl, TheCloseRunsOnceWhenPostedTwice) {
    m_dlg.OnQuit();
    m_dlg.OnSaveAndClose(0, 0);
    EXPECT_EQ(m_dlg.OnSaveAndClose(0, 0), 1);
    EXPECT_EQ(m_dlg.Count("SaveHistory"), 1);
    EXPECT_EQ(m_dlg.Count("CloseDialog 0"), 1);
}

TEST_F(RunControl, AFailedAttachSkipsTheRunButStillCloses) {
    m_runtime.Script("RuntimeThreadAttach", {1});
    m_dlg.SetOutputText("earlier transcript");
    m_dlg.OnConnect();
    m_dlg.OnQuit(); // may come before or after the worker has looked
    WaitForIdle();
    EXPECT_EQ(m_dlg.Output(), "earlier transcript");
    EXPECT_EQ(m_runtime.Count("kti_init"), 0);
    EXPECT_EQ(m_runtime.Count("RuntimeThreadDetach"), 0);
    EXPECT_TRUE(m_dlg.ConnectEnabled());
    EXPECT_FALSE(m_dlg.StopEnabled());
    EXPECT_FALSE(m_dlg.m_bBusy);
    EXPECT_GE(m_dlg.Count("PostSaveAndClose"), 1);
}

TEST_F(RunControl, TheCountIsThePositionPlusOne) {
    m_runtime.SetDefault("kti_connect", 0);
    for (int position : {0, 2, 4}) {
        m_dlg.SetCountPosition(position);
        m_dlg.OnConnect();
        WaitForIdle();
        EXPECT_EQ(m_dlg.m_nCount, position + 1);
        EXPECT_EQ(ParseTranscript(m_dlg.Output()).replies, position + 1);
    }
}

struct Validation {
    const char* target;
    const char* port;
    const char* message; // null: the run starts
};

TEST_F(RunControl, ValidationMessages) {
    const Validation cases[] = {
        {"", "80", kTargetRequired},           {"host.example", "", kPortMissing},
        {"host.example", "0", kPortInvalid},   {"host.example", "65536", kPortInvalid},
        {"host.example", "8o", kPortInvalid},  {"host.example", "99999999999", kPortInvalid},
        {"host.example", " 80", kPortInvalid},
    };
    for (const Validation& c : cases) {
        SCOPED_TRACE(std::string(c.target) + " / " + c.port);
        {
            std::lock_guard lock(s_boxesMutex);
            s_boxes.clear();
        }
        m_dlg.m_bStop = 1;
        m_dlg.SetCountPosition(3);
        m_dlg.m_box.SetText(c.target);
        m_dlg.SetPortText(c.port);
        m_dlg.OnConnect();
        ASSERT_EQ(Boxes().size(), 1u);
        EXPECT_EQ(Boxes()[0].text, c.message);
        EXPECT_EQ(Boxes()[0].type, UINT(MB_OK | MB_ICONSTOP));
        EXPECT_FALSE(m_dlg.m_bStop); // cleared before the validation
        EXPECT_EQ(m_dlg.m_nCount, 4);
        EXPECT_FALSE(m_dlg.Running());
    }
    EXPECT_EQ(m_runtime.Count("RuntimeThreadAttach"), 0);
}

TEST_F(RunControl, ANewTargetGoesOnTopUnmarkedEvenWhenThePortIsBad) {
    m_dlg.m_box.AddString("b.example");
    m_dlg.m_box.SetItemData(0, HOST_KEEP_MARK);
    m_dlg.SetPortText("0");

    m_dlg.m_box.SetText("z.example");
    m_dlg.OnConnect();
    m_dlg.m_box.SetText("B.EXAMPLE"); // already there under another case
    m_dlg.OnConnect();

    using Entry = FakeTargetList::Entry;
    EXPECT_EQ(m_dlg.m_box.Entries(),
              (std::vector<Entry>{{"z.example", 0}, {"b.example", HOST_KEEP_MARK}}));
}

TEST_F(RunControl, EndRunStopsABlockedRunPromptly) {
    StartBlockedRun();
    const auto start = std::chrono::steady_clock::now();
    m_dlg.EndRun();
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_FALSE(m_dlg.Running());
    EXPECT_LT(took, std::chrono::seconds(1));
    EXPECT_EQ(m_runtime.Count("RuntimeThreadDetach"), 1);
}

// The two windows run control must close: a second Connect before the worker
// has set m_bBusy, and a Quit after the worker has taken m_bQuit but before
// it has cleared m_bBusy. Runs that end at once make both windows frequent.
TEST(RunControlRaces, ConnectTwiceNeverStartsTwoRuns) {
    FakeRuntime runtime;
    runtime.AddHost("127.0.0.1", FromBytes(127, 0, 0, 1));
    runtime.SetDefault("kti_connect", KTI_INPROGRESS); // each run waits for its Stop
    TestDialog dlg;
    dlg.m_box.SetText("127.0.0.1");
    dlg.SetPortText("80");
    const int rounds = 100;
    for (int i = 0; i < rounds; ++i) {
        dlg.OnConnect();
        dlg.OnConnect(); // most often before the worker has set m_bBusy
        ASSERT_TRUE(WaitFor([&] { return dlg.m_bBusy && runtime.WaitBlocking(); }));
        dlg.OnConnect();
        dlg.OnStop();
        ASSERT_TRUE(WaitFor([&] { return !dlg.Running(); }));
    }
    EXPECT_EQ(runtime.Count("RuntimeThreadAttach"), rounds);
}

TEST(RunControlRaces, AQuitDuringTheRunsEndIsNeverLost) {
    const MessageBoxHandler previous = AfxSetMessageBoxHandler(&RecordBox);
    FakeRuntime runtime;
    runtime.AddHost("127.0.0.1", FromBytes(127, 0, 0, 1));
    std::mt19937 random(12345);
    std::uniform_int_distribution<int> delayUs(0, 400);
    std::uniform_int_distribution<int> which(0, 1);
    for (int i = 0; i < 300; ++i) {
        TestDialog dlg;
        dlg.m_box.SetText("127.0.0.1");
        dlg.SetPortText("80");
        dlg.OnConnect();
        std::this_thread::sleep_for(std::chrono::microseconds(delayUs(random)));
        if (which(random))
            dlg.OnQuit();
        else
            dlg.OnCloseCommand();
        ASSERT_TRUE(WaitFor([&] { return !dlg.Running(); }));
        ASSERT_GE(dlg.Count("PostSaveAndClose"), 1) << "round " << i;
        dlg.OnSaveAndClose(0, 0);
        dlg.OnSaveAndClose(0, 0);
        ASSERT_EQ(dlg.Count("CloseDialog 0"), 1);
    }
    AfxSetMessageBoxHandler(previous);
}

} // namespace
