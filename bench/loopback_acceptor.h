// A listener on 127.0.0.1 that accepts every connection on a thread of its
// own and closes it once the client has closed its side, so that the
// client's end, not ours, goes through TIME_WAIT and a later connect from
// the same client port never stalls on a stale one.
#pragma once

#include <atomic>
#include <cstdint>
#include <thread>

class LoopbackAcceptor {
public:
    LoopbackAcceptor(); // port() is 0 when no listener could be made
    ~LoopbackAcceptor();
    LoopbackAcceptor(const LoopbackAcceptor&) = delete;
    LoopbackAcceptor& operator=(const LoopbackAcceptor&) = delete;

    uint16_t port() const { return m_port; }

private:
    void Loop();

    int m_listener = -1;
    uint16_t m_port = 0;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};
