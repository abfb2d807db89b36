#include "companion/RunGuard.h"

#include <QDir>
#include <QFileInfo>

namespace quill::companion {

RunGuard::RunGuard() : watcher_(new SignalWatcher) {
    QObject::connect(
        watcher_, &SignalWatcher::received, watcher_, [this](int signal) { End(signal); },
        Qt::DirectConnection);
    watcher_->moveToThread(&thread_);
    QObject::connect(&thread_, &QThread::finished, watcher_, &QObject::deleteLater);
    thread_.start();
}

RunGuard::~RunGuard() {
    {
        const std::lock_guard<std::mutex> hold(lock_);
        folder_.reset();
    }
    thread_.quit();
    thread_.wait();
}

QString RunGuard::Folder() {
    const std::lock_guard<std::mutex> hold(lock_);
    folderPath_ = folder_->Path();
    return folderPath_;
}

void RunGuard::End(int signal) {
    lock_.lock();  // never released: the process ends here
    // The generation may still be writing into the folder; try again while it is there.
    for (int attempt = 0; attempt < 10 && !folderPath_.isEmpty() && QFileInfo::exists(folderPath_);
         ++attempt)
        QDir(folderPath_).removeRecursively();
    SignalWatcher::EndBy(signal);
}

}  // namespace quill::companion
