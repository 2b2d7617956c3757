// Carrying work over to the main (user-interface) thread. A worker that calls
// a window operation waits until the main thread has done it, as long as the
// main thread serves the scope the call belongs to; once the scope is closed
// the call returns at once, so a worker can never wait on a main thread that
// has stopped serving.
#pragma once

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <type_traits>

bool AfxIsMainThread();

class AfxCallScope : public std::enable_shared_from_this<AfxCallScope> {
public:
    static std::shared_ptr<AfxCallScope> Create(bool open);

    // Main thread only.
    void Open();
    void Close();
    bool IsOpen();

    // From any thread but the main one: has the main thread run fn and waits
    // for its end. False when the scope was closed before fn had finished.
    bool Call(std::function<void()> fn);
    // Queues fn for the main thread; it runs only while the scope is open.
    bool Post(std::function<void()> fn);

private:
    explicit AfxCallScope(bool open) : m_bOpen(open) {}
    struct Request {
        bool done = false;
        bool abandoned = false;
    };

    std::mutex m_mutex;
    std::condition_variable m_done;
    bool m_bOpen;
};

// The scope of the work that belongs to no window (message boxes, the wait
// cursor): open while the main thread runs a modal loop, that is a dialog or a
// message box, and the application has not ended.
AfxCallScope& AfxServiceScope();
void AfxEnterModalLoop();
void AfxLeaveModalLoop();
void AfxEndMainThreadService();

// Runs f on the main thread, at once when called there; elsewhere through the
// scope, giving fallback when the scope does not serve.
template <class F>
auto AfxCallIn(AfxCallScope& scope, std::invoke_result_t<F> fallback, F f)
    -> std::invoke_result_t<F> {
    using R = std::invoke_result_t<F>;
    if (AfxIsMainThread())
        return f();
    auto result = std::make_shared<R>(fallback);
    if (!scope.Call([result, f]() mutable { *result = f(); }))
        return fallback;
    return *result;
}

template <class F> void AfxRunOnMainThread(F f) {
    if (AfxIsMainThread())
        f();
    else
        AfxServiceScope().Call(f);
}
