#include "tests/transport/fake_runtime.h"

#include "transport/runtime.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <thread>

FakeRuntime* FakeRuntime::s_current = nullptr;

int64_t Addr(const void* pointer) {
    return int64_t(reinterpret_cast<intptr_t>(pointer));
}

uint32_t FromBytes(uint8_t b0, uint8_t b1, uint8_t b2, uint8_t b3) {
    const uint8_t bytes[4] = {b0, b1, b2, b3};
    uint32_t value = 0;
    std::memcpy(&value, bytes, sizeof(value));
    return value;
}

// The operations installed into g_kelto, each forwarding to the current fake.
struct FakeRuntimeOps {
    static FakeRuntime& Self() { return *FakeRuntime::s_current; }

    static int32_t Simple(const char* op, std::vector<int64_t> args = {}) {
        FakeCall call;
        call.op = op;
        call.args = std::move(args);
        const int32_t status = Self().Record(std::move(call));
        Self().AfterCall(op);
        return status;
    }

    static int32_t RuntimeStartup() { return Simple("RuntimeStartup"); }
    static int32_t RuntimeShutdown() { return Simple("RuntimeShutdown"); }
    static int32_t RuntimeThreadAttach() { return Simple("RuntimeThreadAttach"); }
    static int32_t RuntimeThreadDetach() { return Simple("RuntimeThreadDetach"); }
    static int32_t Init(uint32_t* context) { return Simple("kti_init", {Addr(context)}); }
    static int32_t Term() { return Simple("kti_term"); }

    static int32_t Open(const char* protocol, int32_t flags, kti_info* info, uint32_t* handle) {
        FakeCall call;
        call.op = "kti_open";
        call.args = {Addr(protocol), flags, Addr(info), Addr(handle)};
        call.text = protocol ? protocol : "";
        const int32_t status = Self().Record(std::move(call));
        if (status == 0) {
            std::lock_guard lock(Self().m_mutex);
            *handle = Self().m_nextHandle++;
        }
        Self().AfterCall("kti_open");
        return status;
    }

    static int32_t Bind(uint32_t handle, kti_call* request, kti_call* reply) {
        return Simple("kti_bind", {handle, Addr(request), Addr(reply)});
    }

    static int32_t SetAbortCheck(uint32_t handle, kti_abortcheck check) {
        {
            std::lock_guard lock(Self().m_mutex);
            Self().m_abortCheck = check;
        }
        return Simple("kti_SetAbortCheck", {handle, Addr(reinterpret_cast<void*>(check))});
    }

    static int32_t SetParam(uint32_t handle, int32_t param, uint32_t* value) {
        return Simple("kti_setparam", {handle, param, Addr(value)});
    }

    static int32_t GetFlags(uint32_t handle, uint32_t* flags) {
        {
            std::lock_guard lock(Self().m_mutex);
            *flags = Self().m_flags;
        }
        return Simple("kti_getflags", {handle, Addr(flags)});
    }

    static int32_t MapAddr(uint32_t handle, int32_t kind, kti_buffer* name, kti_buffer* address,
                           void* reserved1, void* reserved2) {
        FakeCall call;
        call.op = "kti_mapaddr";
        call.args = {handle, kind, Addr(name), Addr(address), Addr(reserved1), Addr(reserved2)};
        call.name = *name;
        call.address = *address;
        call.text.assign(static_cast<const char*>(name->data), name->length);
        const std::string host = call.text;
        int32_t status = Self().Record(std::move(call));
        {
            std::lock_guard lock(Self().m_mutex);
            auto found = Self().m_hosts.find(host);
            if (status == 0 && found == Self().m_hosts.end())
                status = Self().m_lookupFailure;
            if (status == 0) {
                // Family and port as a careless runtime might leave them: the
                // caller stores its own.
                kti_inaddr* out = static_cast<kti_inaddr*>(address->data);
                out->family = 0xFFFF;
                out->port = 0xEEEE;
                out->address = found->second;
            }
        }
        Self().AfterCall("kti_mapaddr");
        return status;
    }

    static int32_t Fill(void* area, int32_t length, int32_t value) {
        std::memset(area, value, size_t(length));
        return Simple("kti_fill", {Addr(area), length, value});
    }

    static int32_t SetMode(uint32_t handle, int32_t mode) {
        return Simple("kti_setmode", {handle, mode});
    }

    static int32_t Connect(uint32_t handle, kti_call* request, kti_call* reply) {
        FakeCall call;
        call.op = "kti_connect";
        call.args = {handle, Addr(request), Addr(reply)};
        call.request = *request;
        call.reply = *reply;
        const int32_t status = Self().Record(std::move(call));
        Self().AfterCall("kti_connect");
        return status;
    }

    static int32_t Wait(int32_t limit, kti_waitrec* record, int32_t* ready) {
        FakeCall call;
        call.op = "kti_wait";
        call.args = {limit, Addr(record), Addr(ready), *ready};
        call.wait = *record;
        Self().Record(std::move(call));
        FakeWait step;
        bool scripted = false;
        kti_abortcheck check = nullptr;
        {
            std::lock_guard lock(Self().m_mutex);
            if (!Self().m_waits.empty()) {
                step = Self().m_waits.front();
                Self().m_waits.pop_front();
                scripted = true;
            }
            check = Self().m_abortCheck;
        }
        if (!scripted)
            step.status = Block(check);
        *ready = step.ready;
        record->status = step.recordStatus;
        record->events = step.events;
        Self().AfterCall("kti_wait");
        return step.status;
    }

    // A connect that never completes: only the abort check ends it.
    static int32_t Block(kti_abortcheck check) {
        Self().m_bBlocking = true;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        int32_t status = FakeRuntime::ABORTED_STATUS + 1; // gave up: nobody aborted
        while (std::chrono::steady_clock::now() < deadline) {
            if (check && check(0) != 0) {
                status = FakeRuntime::ABORTED_STATUS;
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        Self().m_bBlocking = false;
        return status;
    }

    static int32_t RcvConnect(uint32_t handle, kti_call* reply) {
        return Simple("kti_rcvconnect", {handle, Addr(reply)});
    }
    static int32_t SndRel(uint32_t handle) { return Simple("kti_sndrel", {handle}); }
    static int32_t Close(uint32_t handle) { return Simple("kti_close", {handle}); }

    static int32_t ErrInfo(uint32_t handle, kti_errrec* record) {
        FakeCall call;
        call.op = "kti_errinfo";
        call.args = {handle, Addr(record)};
        call.err = *record;
        const int32_t status = Self().Record(std::move(call));
        Self().AfterCall("kti_errinfo");
        return status;
    }

    static int32_t ErrText(uint32_t handle, kti_errrec* record, uint16_t size, char* buffer) {
        FakeCall call;
        call.op = "kti_errtext";
        call.args = {handle, Addr(record), size, Addr(buffer)};
        call.err = *record;
        const int32_t status = Self().Record(std::move(call));
        std::string text;
        {
            std::lock_guard lock(Self().m_mutex);
            auto found = Self().m_texts.find(record->status);
            text = found != Self().m_texts.end() ? found->second
                                                 : "Fake error " + std::to_string(record->status);
        }
        if (size > 0)
            std::snprintf(buffer, size, "%s", text.c_str());
        Self().AfterCall("kti_errtext");
        return status;
    }
};

FakeRuntime::FakeRuntime() {
    s_current = this;
    g_kelto = KeltoApi{
        &FakeRuntimeOps::RuntimeStartup,
        &FakeRuntimeOps::RuntimeShutdown,
        &FakeRuntimeOps::RuntimeThreadAttach,
        &FakeRuntimeOps::RuntimeThreadDetach,
        &FakeRuntimeOps::Init,
        &FakeRuntimeOps::Term,
        &FakeRuntimeOps::Open,
        &FakeRuntimeOps::Bind,
        &FakeRuntimeOps::SetAbortCheck,
        &FakeRuntimeOps::SetParam,
        &FakeRuntimeOps::GetFlags,
        &FakeRuntimeOps::MapAddr,
        &FakeRuntimeOps::Fill,
        &FakeRuntimeOps::SetMode,
        &FakeRuntimeOps::Connect,
        &FakeRuntimeOps::Wait,
        &FakeRuntimeOps::RcvConnect,
        &FakeRuntimeOps::SndRel,
        &FakeRuntimeOps::Close,
        &FakeRuntimeOps::ErrInfo,
        &FakeRuntimeOps::ErrText,
    };
}

FakeRuntime::~FakeRuntime() {
    g_kelto = KeltoApi{};
    s_current = nullptr;
}

void FakeRuntime::Script(const std::string& op, std::vector<int32_t> statuses) {
    std::lock_guard lock(m_mutex);
    auto& queue = m_scripts[op];
    queue.insert(queue.end(), statuses.begin(), statuses.end());
}

void FakeRuntime::SetDefault(const std::string& op, int32_t status) {
    std::lock_guard lock(m_mutex);
    m_defaults[op] = status;
}

void FakeRuntime::AddHost(const std::string& name, uint32_t address) {
    std::lock_guard lock(m_mutex);
    m_hosts[name] = address;
}

void FakeRuntime::SetLookupFailure(int32_t status) {
    std::lock_guard lock(m_mutex);
    m_lookupFailure = status;
}

void FakeRuntime::SetFlags(uint32_t flags) {
    std::lock_guard lock(m_mutex);
    m_flags = flags;
}

void FakeRuntime::ScriptWaits(std::vector<FakeWait> waits) {
    std::lock_guard lock(m_mutex);
    m_waits.insert(m_waits.end(), waits.begin(), waits.end());
}

void FakeRuntime::SetErrorText(int32_t status, const std::string& text) {
    std::lock_guard lock(m_mutex);
    m_texts[status] = text;
}

void FakeRuntime::SetHook(std::function<void(const std::string&, int)> hook) {
    std::lock_guard lock(m_mutex);
    m_hook = std::move(hook);
}

std::vector<FakeCall> FakeRuntime::Calls() {
    std::lock_guard lock(m_mutex);
    return m_calls;
}

std::vector<std::string> FakeRuntime::Ops() {
    return OpsOf(Calls());
}

std::vector<FakeCall> FakeRuntime::CallsOf(const std::string& op) {
    std::vector<FakeCall> found;
    for (FakeCall& call : Calls())
        if (call.op == op)
            found.push_back(std::move(call));
    return found;
}

int FakeRuntime::Count(const std::string& op) {
    return int(CallsOf(op).size());
}

void FakeRuntime::Clear() {
    std::lock_guard lock(m_mutex);
    m_calls.clear();
}

void FakeRuntime::Reset() {
    std::lock_guard lock(m_mutex);
    m_calls.clear();
    m_scripts.clear();
    m_defaults.clear();
    m_hosts.clear();
    m_texts.clear();
    m_waits.clear();
    m_hook = nullptr;
    m_lookupFailure = 0x1E01;
    m_flags = 0;
    m_nextHandle = FIRST_HANDLE;
    m_abortCheck = nullptr;
}

int32_t FakeRuntime::Record(FakeCall call) {
    std::lock_guard lock(m_mutex);
    const std::string op = call.op;
    m_calls.push_back(std::move(call));
    return NextStatus(op);
}

int32_t FakeRuntime::NextStatus(const std::string& op) {
    auto& queue = m_scripts[op];
    if (!queue.empty()) {
        const int32_t status = queue.front();
        queue.pop_front();
        return status;
    }
    auto found = m_defaults.find(op);
    return found != m_defaults.end() ? found->second : 0;
}

void FakeRuntime::AfterCall(const std::string& op) {
    std::function<void(const std::string&, int)> hook;
    int count = 0;
    {
        std::lock_guard lock(m_mutex);
        hook = m_hook;
        for (const FakeCall& call : m_calls)
            count += call.op == op ? 1 : 0;
    }
    if (hook)
        hook(op, count);
}

std::vector<std::string> OpsOf(const std::vector<FakeCall>& calls) {
    std::vector<std::string> ops;
    for (const FakeCall& call : calls)
        ops.push_back(call.op);
    return ops;
}
