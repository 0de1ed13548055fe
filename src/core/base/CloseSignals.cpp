#include "core/base/CloseSignals.h"

#include <QSocketNotifier>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#endif

namespace brix {

#ifdef Q_OS_UNIX
namespace {

constexpr int Signals[] = {SIGTERM, SIGINT, SIGHUP};

// A signal handler may only touch what is async-signal-safe: it writes one byte into a pipe,
// and the event loop reads it. The pipe is the one process-wide state a handler can reach.
int WakePipe[2] = {-1, -1};

void RestoreDefaults() {
    for (int signal : Signals) std::signal(signal, SIG_DFL);
}

extern "C" void OnCloseSignal(int) {
    const int saved = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(WakePipe[1], &byte, 1);
    errno = saved;
}

}  // namespace

CloseSignals::CloseSignals(std::function<void()> onRequest) : onRequest_(std::move(onRequest)) {
    if (WakePipe[0] >= 0 || ::pipe(WakePipe) != 0) return;
    for (int fd : WakePipe) {
        ::fcntl(fd, F_SETFD, FD_CLOEXEC);
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
    }
    notifier_ = new QSocketNotifier(WakePipe[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &CloseSignals::Deliver);
    struct sigaction action {};
    action.sa_handler = OnCloseSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : Signals) sigaction(signal, &action, nullptr);
}

CloseSignals::~CloseSignals() {
    if (notifier_ == nullptr) return;
    RestoreDefaults();
    delete notifier_;
    for (int& fd : WakePipe) {
        ::close(fd);
        fd = -1;
    }
}

void CloseSignals::Deliver() {
    char bytes[16];
    while (::read(WakePipe[0], bytes, sizeof bytes) > 0) {
    }
    notifier_->setEnabled(false);
    RestoreDefaults();
    if (onRequest_) onRequest_();
}

#else

CloseSignals::CloseSignals(std::function<void()> onRequest) : onRequest_(std::move(onRequest)) {}
CloseSignals::~CloseSignals() = default;
void CloseSignals::Deliver() {}

#endif

}  // namespace brix
