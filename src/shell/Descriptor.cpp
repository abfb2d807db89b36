#include "shell/Descriptor.h"

#include <cerrno>

#include <unistd.h>

namespace quill::shell {

Descriptor::~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
}

int WriteAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return 0;
}

}  // namespace quill::shell
