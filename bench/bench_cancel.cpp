// Cancel latency: how long after the abort flag is raised a pending connect
// and a hanging name lookup give up. Printed, not judged.
#include "kelto/status.h"
#include "tests/kelto/fake_name_server.h"
#include "tests/kelto/kelto_testing.h"
#include "tests/kelto/private_network.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>
#include <random>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kTrials = 60;
const char kLookupChild[] = "--hanging-lookup";

double Percentile(std::vector<double> values, double fraction) {
    std::sort(values.begin(), values.end());
    size_t rank = static_cast<size_t>(std::ceil(fraction * static_cast<double>(values.size())));
    return values[std::max<size_t>(rank, 1) - 1];
}

void Report(const char* what, const std::vector<double>& latencies, int failures) {
    if (latencies.empty()) {
        std::printf("%s: no trial ended by the abort (%d failed)\n", what, failures);
        return;
    }
    std::printf("%s: %zu trials, p50 %.1f ms, p99 %.1f ms, max %.1f ms", what, latencies.size(),
                Percentile(latencies, 0.5), Percentile(latencies, 0.99),
                *std::max_element(latencies.begin(), latencies.end()));
    if (failures > 0)
        std::printf(" (%d trials did not end by the abort)", failures);
    std::printf("\n");
    std::fflush(stdout);
}

// Runs the blocking operation while another thread raises the abort flag at a
// random moment; the milliseconds from the flag to the operation's end, or -1
// when the operation ended some other way.
double CancelLatency(const std::function<int32_t()>& operation, std::mt19937& random) {
    g_nTestAbort = 0;
    int delayMs = std::uniform_int_distribution<int>(5, 40)(random);
    std::atomic<Clock::rep> raisedAt{0};
    std::thread raiser([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(delayMs));
        raisedAt = Clock::now().time_since_epoch().count();
        g_nTestAbort = 1;
    });
    int32_t status = operation();
    auto ended = Clock::now();
    raiser.join();
    if (status != SystemStatus(ECANCELED))
        return -1;
    auto raised = Clock::time_point(Clock::duration(raisedAt.load()));
    return std::chrono::duration<double, std::milli>(ended - raised).count();
}

void Collect(const char* what, const std::function<double()>& trial) {
    std::vector<double> latencies;
    int failures = 0;
    for (int i = 0; i < kTrials; ++i) {
        double latency = trial();
        if (latency < 0)
            ++failures;
        else
            latencies.push_back(latency);
    }
    Report(what, latencies, failures);
}

// Connects to a listener whose accept queue is full, so the connect stays
// pending, and waits the way the transport layer does.
void PendingConnect(std::mt19937& random) {
    uint16_t port = 0;
    int listener = ListenOnLoopback(0, port);
    std::vector<int> queued = FillAcceptQueue(port);
    Collect("pending connect cancel", [&] {
        uint32_t handle = OpenEndpoint();
        double latency =
            CancelLatency([&] { return ConnectEndpoint(handle, LoopbackAddress(port)); }, random);
        g_kelto.kti_close(handle);
        return latency;
    });
    for (int fd : queued)
        close(fd);
    close(listener);
}

// In a private network only: asks a name server that never answers.
void HangingLookup(std::mt19937& random) {
    FakeNameServer server;
    server.SetSilent(true);
    uint32_t handle = OpenEndpoint();
    int trial = 0;
    Collect("hanging lookup cancel", [&] {
        std::string name = "hang-" + std::to_string(trial++) + ".invalid";
        kti_inaddr address{};
        return CancelLatency([&] { return MapName(handle, KTI_MAP_HOSTNAME, name, address); },
                             random);
    });
    g_kelto.kti_close(handle);
}

} // namespace

int main(int argc, char** argv) {
    if (RuntimeStartup() != 0) {
        std::fprintf(stderr, "bench_cancel: the runtime library cannot be loaded\n");
        return 1;
    }
    uint32_t context = 0;
    g_kelto.kti_init(&context);
    std::mt19937 random(12345);
    if (argc > 1 && std::strcmp(argv[1], kLookupChild) == 0) {
        if (!InPrivateNetwork())
            return 1;
        HangingLookup(random);
    } else {
        PendingConnect(random);
        int status = RerunInPrivateNetwork({kLookupChild});
        if (status == -1)
            std::printf("hanging lookup cancel: skipped (network namespaces not permitted)\n");
        else if (status != 0)
            std::printf("hanging lookup cancel: failed (exit status %d)\n", status);
    }
    g_kelto.kti_term();
    RuntimeShutdown();
    return 0;
}
