#include "shell/SignalWatcher.h"

#include <cerrno>

#include <fcntl.h>
#include <unistd.h>

#include <QSocketNotifier>

#include "shell/Failure.h"

namespace quill {

namespace {

// The handler can reach nothing but globals: the pipe's two ends and what it replaced.
int pipeEnds[2] = {-1, -1};
struct sigaction previous[SignalWatcher::kSignals.size()];

extern "C" void OnSignal(int signal) {
    const int saved = errno;
    const unsigned char number = static_cast<unsigned char>(signal);
    (void)!::write(pipeEnds[1], &number, 1);  // a full pipe already holds enough to act on
    errno = saved;
}

}  // namespace

SignalWatcher::SignalWatcher(QObject* parent) : QObject(parent) {
    if (pipeEnds[0] >= 0) throw Failure(tr("Signals are already being watched"));
    if (::pipe2(pipeEnds, O_CLOEXEC | O_NONBLOCK) != 0)
        throw Failure(tr("Cannot watch for signals: %1").arg(qt_error_string(errno)));
    notifier_ = new QSocketNotifier(pipeEnds[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, [this] { ReadPipe(); });

    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;  // other threads' system calls go on undisturbed
    for (std::size_t i = 0; i < kSignals.size(); ++i) sigaction(kSignals[i], &action, &previous[i]);
}

SignalWatcher::~SignalWatcher() {
    for (std::size_t i = 0; i < kSignals.size(); ++i) sigaction(kSignals[i], &previous[i], nullptr);
    delete notifier_;
    for (int& end : pipeEnds) {
        ::close(end);
        end = -1;
    }
}

void SignalWatcher::ReadPipe() {
    unsigned char numbers[16];
    ssize_t got = 0;
    while ((got = ::read(pipeEnds[0], numbers, sizeof numbers)) > 0) {
        for (ssize_t i = 0; i < got; ++i) emit received(numbers[i]);
    }
}

void SignalWatcher::EndBy(int signal) {
    struct sigaction action {};
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    sigaction(signal, &action, nullptr);
    sigset_t only;
    sigemptyset(&only);
    sigaddset(&only, signal);
    pthread_sigmask(SIG_UNBLOCK, &only, nullptr);
    ::raise(signal);
    ::_exit(128 + signal);  // in case the default action does not end the process
}

}  // namespace quill
