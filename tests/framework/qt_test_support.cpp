#include "tests/framework/qt_test_support.h"

#include "framework/qt/window_link.h"

#include <QApplication>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QMenu>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>

TestWatchdog::TestWatchdog(int timeoutMs, const char* what)
    : m_thread([this, timeoutMs, what] {
          std::unique_lock lock(m_mutex);
          if (!m_done.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                               [this] { return m_bFinished; })) {
              std::fprintf(stderr, "watchdog: %s still runs after %d ms\n", what, timeoutMs);
              std::fflush(stderr);
              std::_Exit(3);
          }
      }) {}

TestWatchdog::~TestWatchdog() {
    {
        std::lock_guard lock(m_mutex);
        m_bFinished = true;
    }
    m_done.notify_all();
    m_thread.join();
}

INT_PTR RunModal(CDialog& dlg, const std::function<void()>& body, int timeoutMs) {
    TestWatchdog watchdog(timeoutMs, "the dialog");
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

void ChooseInMenu(Qt::Key mnemonic, QStringList* texts) {
    QTimer::singleShot(0, [mnemonic, texts] {
        ASSERT_TRUE(WaitFor([] { return QApplication::activePopupWidget() != nullptr; }));
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        for (QAction* action : menu->actions()) {
            if (texts)
                *texts << (action->isSeparator() ? "-" : action->text());
        }
        QTest::keyClick(menu, mnemonic);
    });
}

QWidget* WidgetOf(const CWnd* wnd) {
    return wnd ? AfxWidgetOf(*wnd) : nullptr;
}
