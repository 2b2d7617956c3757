#include "tests/framework/qt_test_support.h"

#include "framework/qt/window_link.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <thread>

namespace {

// Ends the process when the guarded dialog runs too long: a deadlocked main
// thread could not end it any other way.
class Watchdog {
public:
    explicit Watchdog(int timeoutMs)
        : m_thread([this, timeoutMs] {
              std::unique_lock lock(m_mutex);
              if (!m_done.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                                   [this] { return m_bFinished; })) {
                  std::fprintf(stderr, "watchdog: the dialog still runs after %d ms\n", timeoutMs);
                  std::fflush(stderr);
                  std::_Exit(3);
              }
          }) {}
    ~Watchdog() {
        {
            std::lock_guard lock(m_mutex);
            m_bFinished = true;
        }
        m_done.notify_all();
        m_thread.join();
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_done;
    bool m_bFinished = false;
    std::thread m_thread;
};

} // namespace

INT_PTR RunModal(CDialog& dlg, const std::function<void()>& body, int timeoutMs) {
    Watchdog watchdog(timeoutMs);
    QTimer::singleShot(0, [&dlg, &body] {
        if (QWidget* window = WidgetOf(&dlg)) {
            EXPECT_TRUE(QTest::qWaitForWindowActive(window));
        }
        body();
        dlg.EndDialog(kEndedByTest);
    });
    return dlg.DoModal();
}

bool WaitFor(const std::function<bool()>& done, int timeoutMs) {
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < timeoutMs)
        QTest::qWait(5);
    return done();
}

QWidget* WidgetOf(const CWnd* wnd) {
    return wnd ? AfxWidgetOf(*wnd) : nullptr;
}
