// Calls from worker threads: carried out by the main thread, also while a
// message box is open, and harmless once the dialog has ended.
#include "tests/framework/demo_dialog.h"
#include "tests/framework/qt_test_support.h"

#include "framework/message_box.h"
#include "framework/message_box_ui.h"
#include "framework/thread.h"

#include <QApplication>
#include <QCursor>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <atomic>
#include <functional>

namespace {

// Runs fn on a worker thread of the framework's own.
class Worker {
public:
    explicit Worker(std::function<void()> fn) : m_fn(std::move(fn)) {
        m_pThread = AfxBeginThread(&Worker::Run, this, THREAD_PRIORITY_NORMAL, 31900);
    }
    ~Worker() { delete m_pThread; }
    bool Wait(int timeoutMs) { return m_pThread->Wait(timeoutMs); }
    std::atomic<bool> done{false};

private:
    static UINT Run(void* self) {
        auto* worker = static_cast<Worker*>(self);
        worker->m_fn();
        worker->done = true;
        return 0;
    }
    std::function<void()> m_fn;
    CWinThread* m_pThread;
};

QMessageBox* OpenBox() {
    return qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
}

// Calls act with the next message box that opens, from inside its own loop.
void WhenBoxOpens(std::function<void(QMessageBox*)> act) {
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        if (QMessageBox* box = OpenBox()) {
            timer->stop();
            timer->deleteLater();
            act(box);
        }
    });
    timer->start(5);
}

TEST(Threads, WorkerCallsAreServedWhileAMessageBoxIsOpen) {
    DemoDlg dlg;
    CString text;
    int count = 0;
    int selected = 0;
    RunModal(dlg, [&] {
        std::unique_ptr<Worker> worker;
        WhenBoxOpens([&](QMessageBox* box) {
            worker = std::make_unique<Worker>([&] {
                dlg.Pane()->SetWindowText("from the worker\r\n");
                text = dlg.Pane()->GetWindowText();
                dlg.Box()->AddString("b");
                dlg.Box()->InsertString(0, "z");
                count = dlg.Box()->GetCount();
                selected = dlg.Box()->GetCurSel();
                dlg.Button(IDC_GO)->EnableWindow(FALSE);
            });
            EXPECT_TRUE(WaitFor([&] { return worker->done.load(); }));
            EXPECT_EQ(OpenBox(), box) << "the box was open throughout";
            box->accept();
        });
        EXPECT_EQ(AfxMessageBox("while the worker works", MB_ICONINFORMATION), IDOK);
        ASSERT_TRUE(worker);
        EXPECT_TRUE(worker->Wait(5000));
        EXPECT_FALSE(dlg.Button(IDC_GO)->IsWindowEnabled());
    });
    EXPECT_EQ(text, "from the worker\r\n");
    EXPECT_EQ(count, 2);
    EXPECT_EQ(selected, -1);
}

TEST(Threads, MessageBoxFromAWorkerShowsOnTheMainThreadWithTitleAndIcon) {
    DemoDlg dlg;
    std::atomic<int> result{0};
    bool seen = false;
    RunModal(dlg, [&] {
        Worker worker([&] { result = AfxMessageBox("from the worker", MB_OK | MB_ICONSTOP); });
        WhenBoxOpens([&](QMessageBox* box) {
            seen = true;
            EXPECT_EQ(box->text(), "from the worker");
            EXPECT_EQ(box->windowTitle(), "framework_qt_test");
            EXPECT_EQ(box->icon(), QMessageBox::Critical);
            EXPECT_FALSE(worker.done) << "the worker waits for the box";
            box->accept();
        });
        EXPECT_TRUE(WaitFor([&] { return worker.done.load(); }));
        EXPECT_TRUE(worker.Wait(5000));
    });
    EXPECT_TRUE(seen);
    EXPECT_EQ(result, IDOK);
}

TEST(Threads, MessageBoxFromAWorkerReturnsAtOnceWhenNoDialogRuns) {
    std::atomic<int> result{0};
    Worker worker([&] { result = AfxMessageBox("nobody serves", MB_ICONINFORMATION); });
    EXPECT_TRUE(worker.Wait(5000));
    EXPECT_EQ(result, IDOK);
}

TEST(Threads, HookRecordsBoxesOfEveryThreadOnTheMainThread) {
    std::vector<MessageBoxRecord> records;
    AfxSetMessageBoxHook([&](const MessageBoxRecord& record) { records.push_back(record); });
    DemoDlg dlg;
    RunModal(dlg, [&] {
        AfxMessageBox("main", MB_ICONSTOP);
        Worker worker([] { AfxMessageBox("worker", MB_ICONINFORMATION); });
        EXPECT_TRUE(WaitFor([&] { return worker.done.load(); }));
        EXPECT_TRUE(worker.Wait(5000));
    });
    AfxSetMessageBoxHook(nullptr);
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].text, "main");
    EXPECT_EQ(records[0].icon, UINT(MB_ICONSTOP));
    EXPECT_EQ(records[1].text, "worker");
    EXPECT_EQ(records[1].icon, UINT(MB_ICONINFORMATION));
    EXPECT_EQ(records[1].title, "framework_qt_test");
}

TEST(Threads, WaitCursorNestsAndIsSetFromAWorkerToo) {
    DemoDlg dlg;
    RunModal(dlg, [&] {
        dlg.BeginWaitCursor();
        Worker worker([&] { dlg.BeginWaitCursor(); });
        EXPECT_TRUE(WaitFor([&] { return worker.done.load(); }));
        ASSERT_NE(QApplication::overrideCursor(), nullptr);
        EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
        dlg.EndWaitCursor();
        EXPECT_NE(QApplication::overrideCursor(), nullptr) << "one wait cursor is still on";
        dlg.EndWaitCursor();
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
        dlg.EndWaitCursor();
    });
}

TEST(Threads, WorkerAfterTheDialogEndedNeitherBlocksNorTouchesIt) {
    std::vector<std::string> log;
    std::atomic<bool> ended{false};
    std::atomic<int> callsAfterEnd{0};
    std::atomic<bool> postAccepted{false};
    CString textAfterEnd = "unset";
    std::unique_ptr<Worker> worker;
    {
        DemoDlg dlg;
        RunModal(dlg, [&] {
            worker = std::make_unique<Worker>([&] {
                // Busy with the controls when the dialog ends, and after.
                while (callsAfterEnd < 200) {
                    const bool wasEnded = ended;
                    dlg.Pane()->SetWindowText("x");
                    dlg.Box()->AddString("entry");
                    dlg.PostMessage(WM_DEMO, 1, 2);
                    if (wasEnded)
                        ++callsAfterEnd;
                }
                textAfterEnd = dlg.Pane()->GetWindowText();
                postAccepted = dlg.PostMessage(WM_DEMO, 3, 4) != FALSE;
                dlg.EndDialog(5);
            });
            ASSERT_TRUE(WaitFor([&] { return dlg.Box()->GetCount() > 20; }));
            dlg.EndDialog(IDOK);
            ended = true;
        });
        EXPECT_TRUE(worker->Wait(10000)) << "the worker must not wait for an ended dialog";
        log = dlg.m_log;
        EXPECT_EQ(dlg.Box()->GetCount(), 0);
        // Posted messages still queued when it ended are dropped.
        QTest::qWait(50);
        EXPECT_EQ(dlg.m_log, log);
    }
    QTest::qWait(50);
    EXPECT_EQ(textAfterEnd, "");
    EXPECT_FALSE(postAccepted);
    for (const std::string& entry : log)
        EXPECT_EQ(entry, "demo 1 2");
}

} // namespace
