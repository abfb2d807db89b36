// The companion's per-run folder and the signals that end a run.
#pragma once

#include <mutex>
#include <optional>
#include <utility>

#include <QString>
#include <QThread>

#include "shell/SignalWatcher.h"
#include "shell/TempFolder.h"

namespace quill::companion {

// Keeps the per-run folder and the outputs safe from the signals that end a program. A
// thread of its own waits for SIGTERM, SIGINT and SIGHUP; when one comes it takes the lock
// (so outputs being put in place are finished first, all of them or none), removes the
// folder and ends the process by that signal.
class RunGuard {
  public:
    RunGuard();
    ~RunGuard();
    RunGuard(const RunGuard&) = delete;
    RunGuard& operator=(const RunGuard&) = delete;

    // The per-run folder, made on first use. Throws quill::Failure.
    QString Folder();

    // Runs `publish` with the signals held off until it is done.
    template <class F>
    void Publish(F&& publish) {
        const std::lock_guard<std::mutex> hold(lock_);
        std::forward<F>(publish)();
    }

  private:
    [[noreturn]] void End(int signal);

    std::mutex lock_;
    std::optional<TempFolder> folder_{std::in_place};
    QString folderPath_;
    QThread thread_;
    SignalWatcher* watcher_;  // lives in thread_, deleted when it finishes
};

}  // namespace quill::companion
