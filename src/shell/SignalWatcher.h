// Turns the signals that ask a program to end (SIGTERM, SIGINT, SIGHUP) into the Qt signal
// received(), delivered by the event loop of the thread the watcher lives in. The system's
// handler only writes the signal's number into a pipe, the one kind of work that is safe
// there; a socket notifier reads it, and everything else happens in ordinary code.
//
// One watcher at a time; when it goes, the signals are handled as before it came.
#pragma once

#include <array>
#include <csignal>

#include <QObject>

class QSocketNotifier;

namespace quill {

class SignalWatcher : public QObject {
    Q_OBJECT
  public:
    // Throws quill::Failure when the pipe cannot be made or another watcher exists.
    explicit SignalWatcher(QObject* parent = nullptr);
    ~SignalWatcher() override;

    // The signals watched.
    static constexpr std::array<int, 3> kSignals{SIGTERM, SIGINT, SIGHUP};

    // Ends the process by `signal` with the system's default action, so that whoever
    // started it sees how it ended.
    [[noreturn]] static void EndBy(int signal);

  signals:
    void received(int signal);

  private:
    void ReadPipe();

    QSocketNotifier* notifier_ = nullptr;
};

}  // namespace quill
