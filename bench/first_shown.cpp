// Preloaded (LD_PRELOAD) into a program whose start-up bench_startup times:
// once the first top-level window has been exposed and painted, it writes
//   shown <CLOCK_MONOTONIC ns> <VmRSS kB> <VmHWM kB>
// to standard output and ends the process. The program itself is not
// changed, so the program and the bare dialog are measured alike.
#include <QCoreApplication>
#include <QEvent>
#include <QWindow>

#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <ctime>

namespace {

long StatusField(const char* name) {
    FILE* status = std::fopen("/proc/self/status", "r");
    if (!status)
        return -1;
    char line[256];
    long value = -1;
    const size_t length = std::strlen(name);
    while (std::fgets(line, sizeof line, status)) {
        if (std::strncmp(line, name, length) == 0 && line[length] == ':')
            value = std::atol(line + length + 1);
    }
    std::fclose(status);
    return value;
}

void Report() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    std::printf("shown %lld %ld %ld\n", (long long)now.tv_sec * 1000000000LL + now.tv_nsec,
                StatusField("VmRSS"), StatusField("VmHWM"));
    std::fflush(stdout);
    _exit(0);
}

// Sees every event of the main thread; the report waits in the queue until
// the window has handled its expose, which paints it.
class FirstExpose : public QObject {
protected:
    bool eventFilter(QObject* object, QEvent* event) override {
        if (!m_bSeen && event->type() == QEvent::Expose) {
            auto* window = qobject_cast<QWindow*>(object);
            if (window && window->isTopLevel() && window->isExposed()) {
                m_bSeen = true;
                QMetaObject::invokeMethod(QCoreApplication::instance(), &Report,
                                          Qt::QueuedConnection);
            }
        }
        return false;
    }

private:
    bool m_bSeen = false;
};

void Install() {
    QCoreApplication::instance()->installEventFilter(new FirstExpose);
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(Install)
