#include "framework/message_box.h"
#include "framework/thread.h"
#include "framework/tick_count.h"

#include <gtest/gtest.h>

#include <atomic>
#include <unistd.h>

namespace {

UINT ReturnParam(void* param) { return *static_cast<UINT*>(param); }

std::atomic<int> s_release{0};
UINT WaitForRelease(void*) {
    while (!s_release.load())
        usleep(1000);
    return 7;
}

TEST(Thread, RunsProcWithSmallStackAndReportsExitCode) {
    UINT value = 42;
    CWinThread* thread = AfxBeginThread(&ReturnParam, &value, THREAD_PRIORITY_NORMAL, 31900);
    ASSERT_NE(thread, nullptr);
    EXPECT_TRUE(thread->Wait());
    EXPECT_EQ(thread->GetExitCode(), 42u);
    delete thread;
}

TEST(Thread, TimedWaitExpiresWhileThreadRuns) {
    s_release = 0;
    CWinThread* thread = AfxBeginThread(&WaitForRelease, nullptr, THREAD_PRIORITY_NORMAL, 31900);
    ASSERT_NE(thread, nullptr);
    EXPECT_FALSE(thread->Wait(30));
    s_release = 1;
    EXPECT_TRUE(thread->Wait(5000));
    EXPECT_EQ(thread->GetExitCode(), 7u);
    delete thread;
}

TEST(TickCount, AdvancesInMilliseconds) {
    const uint32_t start = GetTickCount();
    usleep(50 * 1000);
    const uint32_t elapsed = GetTickCount() - start;
    EXPECT_GE(elapsed, 49u);
    EXPECT_LT(elapsed, 5000u);
}

CString s_lastText;
UINT s_lastType = 0;
int Record(const CString& text, UINT type) {
    s_lastText = text;
    s_lastType = type;
    return IDOK;
}

TEST(MessageBox, GoesToTheInstalledHandler) {
    MessageBoxHandler previous = AfxSetMessageBoxHandler(&Record);
    EXPECT_EQ(AfxMessageBox("hello", MB_OK | MB_ICONINFORMATION), IDOK);
    EXPECT_EQ(s_lastText, "hello");
    EXPECT_EQ(s_lastType, UINT(MB_OK | MB_ICONINFORMATION));
    AfxSetMessageBoxHandler(previous);
}

} // namespace
