#include "shell/TempFolder.h"

#include <QDir>
#include <QTemporaryDir>

#include "shell/Failure.h"

namespace quill {

TempFolder::TempFolder() = default;
TempFolder::~TempFolder() = default;

QString TempFolder::Path() {
    if (!dir_) {
        auto dir =
            std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/quillmere-XXXXXX"));
        if (!dir->isValid())
            throw Failure("Cannot create a temporary folder in " + QDir::tempPath() + ": " +
                          dir->errorString());
        dir_ = std::move(dir);
    }
    return dir_->path();
}

}  // namespace quill
