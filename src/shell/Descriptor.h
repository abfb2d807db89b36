// A file descriptor that closes itself, writing a whole buffer to a descriptor, and the
// small helpers of the code that lists and removes our temporary files.
#pragma once

#include <dirent.h>
#include <sys/stat.h>

#include <cstddef>

namespace quill::shell {

class Descriptor {
  public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor();
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }

  private:
    int fd_;
};

// Writes all `size` bytes to `fd`, going on after interrupted and partial writes. Returns 0,
// or the errno of the write that failed.
int WriteAll(int fd, const char* data, std::size_t size);

// Closes a folder listing when it goes out of scope (std::unique_ptr<DIR, CloseFolder>).
struct CloseFolder {
    void operator()(DIR* dir) const { ::closedir(dir); }
};

// True when two stat results describe the same file.
inline bool SameInode(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// The letters and digits of the random parts of our temporary names, in any locale.
inline bool IsLetterOrDigit(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

}  // namespace quill::shell
