#include "support/NonRegularFiles.h"

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <cstring>

#include <QDir>
#include <QFile>

namespace quill::test {

const char* SpecialFileWords(SpecialFile kind) {
    switch (kind) {
        case SpecialFile::NamedPipe:
            return "a named pipe";
        case SpecialFile::Folder:
            return "a folder";
        case SpecialFile::Device:
            return "a device";
        case SpecialFile::Socket:
            return "a socket";
    }
    return "";
}

bool MakeSpecialFile(SpecialFile kind, const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    switch (kind) {
        case SpecialFile::NamedPipe:
            return ::mkfifo(name.constData(), 0600) == 0;
        case SpecialFile::Folder:
            return QDir().mkpath(path);
        case SpecialFile::Device:
            return QFile::link(QStringLiteral("/dev/null"), path);
        case SpecialFile::Socket: {
            sockaddr_un address{};
            if (name.size() >= static_cast<qsizetype>(sizeof address.sun_path)) return false;
            address.sun_family = AF_UNIX;
            std::memcpy(address.sun_path, name.constData(), static_cast<std::size_t>(name.size()));
            const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
            if (fd < 0) return false;
            // The socket file stays after the socket is closed.
            const bool bound =
                ::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
            ::close(fd);
            return bound;
        }
    }
    return false;
}

unsigned FileTypeAt(const QString& path) {
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0) return 0;
    return info.st_mode & S_IFMT;
}

PipeWaitGuard::PipeWaitGuard(const QString& path, int patienceMs)
    : path_(QFile::encodeName(path).toStdString()) {
    thread_ = std::thread([this, patienceMs] {
        const auto deadline =
            std::chrono::steady_clock::now() + std::chrono::milliseconds(patienceMs);
        while (!stop_) {
            if (std::chrono::steady_clock::now() >= deadline) {
                // Opening for writing without blocking succeeds only while a reader waits.
                const int fd = ::open(path_.c_str(), O_WRONLY | O_NONBLOCK);
                if (fd >= 0) {
                    fired_ = true;
                    ::close(fd);
                }
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    });
}

PipeWaitGuard::~PipeWaitGuard() {
    stop_ = true;
    thread_.join();
}

}  // namespace quill::test
