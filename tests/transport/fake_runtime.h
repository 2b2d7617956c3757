// A scripted stand-in for the Kelto runtime that records every transport call
// with its arguments. Install() points g_kelto at it; each test scripts the
// statuses it wants and reads the calls back. Unscripted calls succeed.
//
// One instance at a time. The calls may come from a worker thread while the
// test thread scripts or reads; every member is guarded.
#pragma once

#include "kelto/kelto.h"

#include <atomic>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

struct FakeCall {
    std::string op;            // "kti_open", "kti_connect", ...
    std::vector<int64_t> args; // integers as passed, pointers as their addresses
                               // (kti_wait adds the ready count it was given)
    std::string text;          // kti_open: protocol; kti_mapaddr: the name's bytes
    kti_buffer name{};         // kti_mapaddr
    kti_buffer address{};      // kti_mapaddr
    kti_call request{};        // kti_connect
    kti_call reply{};          // kti_connect
    kti_waitrec wait{};        // kti_wait: the record as it came in
    kti_errrec err{};          // kti_errinfo, kti_errtext: the record as it came in
};

// What one kti_wait reports.
struct FakeWait {
    int32_t status = 0;
    int32_t ready = 1;
    int32_t recordStatus = 0;
    uint32_t events = 0;
};

class FakeRuntime {
public:
    FakeRuntime();  // installs itself into g_kelto
    ~FakeRuntime(); // empties g_kelto again
    FakeRuntime(const FakeRuntime&) = delete;
    FakeRuntime& operator=(const FakeRuntime&) = delete;

    // Statuses returned by the next calls of op, one per call; afterwards the
    // op's default (0 unless set).
    void Script(const std::string& op, std::vector<int32_t> statuses);
    void SetDefault(const std::string& op, int32_t status);

    // kti_mapaddr: names that resolve, each to an address in network byte
    // order; any other name fails with the lookup-failure status.
    void AddHost(const std::string& name, uint32_t address);
    void SetLookupFailure(int32_t status);
    // kti_getflags writes this word.
    void SetFlags(uint32_t flags);
    // kti_wait: one report per call. With none left, the wait blocks, polling
    // the endpoint's abort check every millisecond, and fails with
    // ABORTED_STATUS once it turns non-zero.
    void ScriptWaits(std::vector<FakeWait> waits);
    // kti_errtext: the text of a status, cut to the size given.
    void SetErrorText(int32_t status, const std::string& text);
    // Called after each call has been recorded, on the caller's thread,
    // with the op and how many calls of it there have been so far.
    void SetHook(std::function<void(const std::string& op, int count)> hook);

    std::vector<FakeCall> Calls();
    std::vector<std::string> Ops();
    std::vector<FakeCall> CallsOf(const std::string& op);
    int Count(const std::string& op);
    bool WaitBlocking() const { return m_bBlocking.load(); }
    void Clear(); // forgets the calls
    void Reset(); // forgets the calls and everything scripted

    static constexpr int32_t ABORTED_STATUS = 0x1F00;
    static constexpr uint32_t FIRST_HANDLE = 100;

private:
    static FakeRuntime* s_current;
    friend struct FakeRuntimeOps;

    int32_t Record(FakeCall call); // the status scripted for this call
    int32_t NextStatus(const std::string& op);
    void AfterCall(const std::string& op);

    std::mutex m_mutex;
    std::vector<FakeCall> m_calls;
    std::map<std::string, std::deque<int32_t>> m_scripts;
    std::map<std::string, int32_t> m_defaults;
    std::map<std::string, uint32_t> m_hosts;
    std::map<int32_t, std::string> m_texts;
    std::deque<FakeWait> m_waits;
    std::function<void(const std::string&, int)> m_hook;
    int32_t m_lookupFailure = 0x1E01;
    uint32_t m_flags = 0;
    uint32_t m_nextHandle = FIRST_HANDLE;
    kti_abortcheck m_abortCheck = nullptr;
    std::atomic<bool> m_bBlocking{false};
};

// The ops of a whole call sequence, for comparing against an expected list.
std::vector<std::string> OpsOf(const std::vector<FakeCall>& calls);

int64_t Addr(const void* pointer);

// The 32-bit word holding these four bytes in memory order, as an IPv4
// address in network byte order: FromBytes(10, 0, 0, 1) is 10.0.0.1.
uint32_t FromBytes(uint8_t b0, uint8_t b1, uint8_t b2, uint8_t b3);
