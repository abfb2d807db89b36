// A file descriptor that closes itself, and writing a whole buffer to a descriptor.
#pragma once

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

}  // namespace quill::shell
