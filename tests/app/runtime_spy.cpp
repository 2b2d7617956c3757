#include "tests/app/runtime_spy.h"

#include <atomic>
#include <utility>

namespace {

constexpr int kOps = int(RuntimeOp::Count);

KeltoApi g_real;
std::atomic<int> g_calls[kOps];
std::atomic<int> g_inFlight[kOps];
std::atomic<int> g_afterShutdown{0};
std::function<void()> g_shutdownHook;

template <RuntimeOp op, auto member, class R, class... A> R Spied(A... args) {
    const int index = int(op);
    if (g_calls[int(RuntimeOp::Shutdown)] > 0)
        ++g_afterShutdown;
    if (op == RuntimeOp::Shutdown && g_shutdownHook)
        g_shutdownHook();
    ++g_calls[index];
    ++g_inFlight[index];
    const R result = (g_real.*member)(args...);
    --g_inFlight[index];
    return result;
}

template <RuntimeOp op, auto member, class R, class... A> void Spy(R (*KeltoApi::*)(A...)) {
    g_kelto.*member = &Spied<op, member, R, A...>;
}

} // namespace

bool InstallRuntimeSpy(const std::string& path) {
    if (!BindRuntimeLibrary(path))
        return false;
    g_real = g_kelto;
    for (int i = 0; i < kOps; ++i) {
        g_calls[i] = 0;
        g_inFlight[i] = 0;
    }
    g_afterShutdown = 0;
    Spy<RuntimeOp::Startup, &KeltoApi::RuntimeStartup>(&KeltoApi::RuntimeStartup);
    Spy<RuntimeOp::Shutdown, &KeltoApi::RuntimeShutdown>(&KeltoApi::RuntimeShutdown);
    Spy<RuntimeOp::ThreadAttach, &KeltoApi::RuntimeThreadAttach>(&KeltoApi::RuntimeThreadAttach);
    Spy<RuntimeOp::ThreadDetach, &KeltoApi::RuntimeThreadDetach>(&KeltoApi::RuntimeThreadDetach);
    Spy<RuntimeOp::Init, &KeltoApi::kti_init>(&KeltoApi::kti_init);
    Spy<RuntimeOp::Term, &KeltoApi::kti_term>(&KeltoApi::kti_term);
    Spy<RuntimeOp::Open, &KeltoApi::kti_open>(&KeltoApi::kti_open);
    Spy<RuntimeOp::Bind, &KeltoApi::kti_bind>(&KeltoApi::kti_bind);
    Spy<RuntimeOp::SetAbortCheck, &KeltoApi::kti_SetAbortCheck>(&KeltoApi::kti_SetAbortCheck);
    Spy<RuntimeOp::SetParam, &KeltoApi::kti_setparam>(&KeltoApi::kti_setparam);
    Spy<RuntimeOp::GetFlags, &KeltoApi::kti_getflags>(&KeltoApi::kti_getflags);
    Spy<RuntimeOp::MapAddr, &KeltoApi::kti_mapaddr>(&KeltoApi::kti_mapaddr);
    Spy<RuntimeOp::Fill, &KeltoApi::kti_fill>(&KeltoApi::kti_fill);
    Spy<RuntimeOp::SetMode, &KeltoApi::kti_setmode>(&KeltoApi::kti_setmode);
    Spy<RuntimeOp::Connect, &KeltoApi::kti_connect>(&KeltoApi::kti_connect);
    Spy<RuntimeOp::Wait, &KeltoApi::kti_wait>(&KeltoApi::kti_wait);
    Spy<RuntimeOp::RcvConnect, &KeltoApi::kti_rcvconnect>(&KeltoApi::kti_rcvconnect);
    Spy<RuntimeOp::SndRel, &KeltoApi::kti_sndrel>(&KeltoApi::kti_sndrel);
    Spy<RuntimeOp::Close, &KeltoApi::kti_close>(&KeltoApi::kti_close);
    Spy<RuntimeOp::ErrInfo, &KeltoApi::kti_errinfo>(&KeltoApi::kti_errinfo);
    Spy<RuntimeOp::ErrText, &KeltoApi::kti_errtext>(&KeltoApi::kti_errtext);
    return true;
}

int SpyCalls(RuntimeOp op) {
    return g_calls[int(op)];
}

int SpyInFlight(RuntimeOp op) {
    return g_inFlight[int(op)];
}

int SpyCallsAfterShutdown() {
    return g_afterShutdown;
}

void SetSpyShutdownHook(std::function<void()> hook) {
    g_shutdownHook = std::move(hook);
}
