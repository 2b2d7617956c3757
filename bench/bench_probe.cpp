// The probe run on loopback with the runtime library: what a run costs per
// attempt beyond the connect itself, and the RTT the transcript reports beside
// the same connects timed in microseconds, and beside plain-socket connects
// to the same listener. Printed, not judged.
#include "bench/loopback_acceptor.h"
#include "tests/kelto/kelto_testing.h"
#include "tests/probe/fake_probe_dialog.h"
#include "tests/probe/transcript.h"
#include "transport/runtime.h"
#include "transport/transport.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <numeric>
#include <thread>
#include <vector>

namespace {

constexpr int kRuns = 400;
constexpr int kCount = 5; // attempts a run, the most the dialog offers

double NowUs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return double(now.tv_sec) * 1e6 + double(now.tv_nsec) / 1e3;
}

// The connect as the transport layer makes it, timed from its first runtime
// call (kti_fill) to the return of its last (kti_connect, kti_wait or
// kti_rcvconnect): the span the transcript's RTT brackets, less the layer's
// own few instructions.
KeltoApi s_real;
double s_connectStart = 0;
double s_connectEnd = 0;
std::vector<double> s_connectUs;

int32_t TimedFill(void* area, int32_t length, int32_t value) {
    s_connectStart = NowUs();
    return s_real.kti_fill(area, length, value);
}
int32_t TimedConnect(uint32_t handle, kti_call* request, kti_call* reply) {
    const int32_t status = s_real.kti_connect(handle, request, reply);
    s_connectEnd = NowUs();
    return status;
}
int32_t TimedWait(int32_t limit, kti_waitrec* record, int32_t* ready) {
    const int32_t status = s_real.kti_wait(limit, record, ready);
    s_connectEnd = NowUs();
    return status;
}
int32_t TimedRcvConnect(uint32_t handle, kti_call* reply) {
    const int32_t status = s_real.kti_rcvconnect(handle, reply);
    s_connectEnd = NowUs();
    return status;
}
// The first call after a connect: the attempt's connect is over.
int32_t TimedSndRel(uint32_t handle) {
    s_connectUs.push_back(s_connectEnd - s_connectStart);
    return s_real.kti_sndrel(handle);
}

void InstallTiming() {
    s_real = g_kelto;
    g_kelto.kti_fill = TimedFill;
    g_kelto.kti_connect = TimedConnect;
    g_kelto.kti_wait = TimedWait;
    g_kelto.kti_rcvconnect = TimedRcvConnect;
    g_kelto.kti_sndrel = TimedSndRel;
}

// A plain non-blocking connect to the listener, as a reference: microseconds
// from connect() to the socket being writable.
double RawConnectUs(uint16_t port) {
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const double start = NowUs();
    if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        pollfd entry{fd, POLLOUT, 0};
        poll(&entry, 1, 1000);
    }
    const double took = NowUs() - start;
    close(fd);
    return took;
}

double Percentile(std::vector<double> values, double fraction) {
    std::sort(values.begin(), values.end());
    const size_t rank = size_t(std::ceil(fraction * double(values.size())));
    return values[std::max<size_t>(rank, 1) - 1];
}

double Mean(const std::vector<double>& values) {
    return std::accumulate(values.begin(), values.end(), 0.0) / double(values.size());
}

void Report(const char* what, const std::vector<double>& us) {
    std::printf("%-44s p50 %7.1f us  p99 %7.1f us  max %8.1f us  (%zu)\n", what,
                Percentile(us, 0.5), Percentile(us, 0.99), Percentile(us, 1.0), us.size());
}

} // namespace

int main() {
    // The library beside this program, as the program itself finds it.
    if (RuntimeStartup() != 0 || RuntimeThreadAttach() != 0) {
        std::printf("runtime library not available\n");
        return 1;
    }
    LoopbackAcceptor acceptor;
    const uint16_t port = acceptor.port();
    if (port == 0) {
        std::printf("no loopback listener\n");
        return 1;
    }
    InstallTiming();

    std::vector<double> runUs;
    std::vector<double> rawUs;
    std::vector<uint32_t> reported;
    int incomplete = 0;
    {
        for (int run = 0; run < kRuns; ++run) {
            FakeProbeDialog dlg;
            dlg.m_strTarget = "127.0.0.1";
            dlg.m_nPort = port;
            dlg.m_nCount = kCount;
            const double start = NowUs();
            dlg.RunProbe();
            runUs.push_back(NowUs() - start);

            const Transcript t = ParseTranscript(dlg.Output());
            if (t.replies != kCount)
                ++incomplete;
            reported.insert(reported.end(), t.times.begin(), t.times.end());
            // The reference connects, interleaved with the runs so that both
            // see the same machine.
            for (int i = 0; i < kCount; ++i)
                rawUs.push_back(RawConnectUs(port));
        }
    }
    RuntimeThreadDetach();
    RuntimeShutdown();

    const double attempts = double(kRuns) * kCount;
    const double inConnects = std::accumulate(s_connectUs.begin(), s_connectUs.end(), 0.0);
    const double overhead =
        (std::accumulate(runUs.begin(), runUs.end(), 0.0) - inConnects) / attempts;
    std::vector<double> perAttempt;
    for (double us : runUs)
        perAttempt.push_back(us / kCount);

    std::printf("probe run on 127.0.0.1:%u, %d runs of %d attempts%s\n", unsigned(port), kRuns,
                kCount, incomplete ? " (some attempts failed)" : "");
    Report("whole run, per attempt", perAttempt);
    Report("connect inside the run (kti_fill..outcome)", s_connectUs);
    Report("plain-socket connect, same listener", rawUs);
    std::printf("overhead per attempt beyond its connect: %.1f us (aim: under 1000 us)\n",
                overhead);

    const uint32_t maxReported = *std::max_element(reported.begin(), reported.end());
    const double meanReported =
        double(std::accumulate(reported.begin(), reported.end(), uint64_t(0))) /
        double(reported.size());
    std::printf("transcript RTT: mean %.3f ms, max %u ms, %zu of %zu lines at 0 ms; "
                "the same connects measured: mean %.3f ms, max %.3f ms\n",
                meanReported, maxReported, size_t(std::count(reported.begin(), reported.end(), 0u)),
                reported.size(), Mean(s_connectUs) / 1000.0,
                *std::max_element(s_connectUs.begin(), s_connectUs.end()) / 1000.0);
    if (incomplete)
        std::printf("%d runs had an attempt that failed\n", incomplete);
    return 0;
}
