// Things that are not regular files, put where a program expects one: a named pipe, a
// folder, a device (a link to /dev/null) and a socket; and a guard that ends a wait on a
// named pipe that nobody writes, so that a test of a hang fails instead of hanging.
#pragma once

#include <atomic>
#include <string>
#include <thread>

#include <QString>

namespace quill::test {

enum class SpecialFile { NamedPipe, Folder, Device, Socket };

// The words a message uses for the kind: "a named pipe", "a folder", "a device", "a socket".
const char* SpecialFileWords(SpecialFile kind);

// Creates the kind at `path`; false when it could not be made.
bool MakeSpecialFile(SpecialFile kind, const QString& path);

// The file type bits of what `path` names, following links (0 when nothing is there).
unsigned FileTypeAt(const QString& path);

// While it lives, a reader that opens the named pipe at `path` and waits longer than
// `patienceMs` for a writer is released: the guard opens the pipe for writing and closes it
// again, so the reader sees an empty file. Fired() tells whether that was needed.
class PipeWaitGuard {
  public:
    explicit PipeWaitGuard(const QString& path, int patienceMs = 3000);
    ~PipeWaitGuard();
    PipeWaitGuard(const PipeWaitGuard&) = delete;
    PipeWaitGuard& operator=(const PipeWaitGuard&) = delete;

    bool Fired() const { return fired_; }

  private:
    std::string path_;
    std::atomic<bool> stop_{false};
    std::atomic<bool> fired_{false};
    std::thread thread_;
};

}  // namespace quill::test
