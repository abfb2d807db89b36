#include "support/SmallFileSystem.h"

#include <string>

#include <sys/mount.h>

#include <QFile>

namespace quill::test {

SmallFileSystem::SmallFileSystem(const char* size) {
    const std::string options = std::string("size=") + size + ",mode=0700";
    mounted_ = dir_.isValid() && ::mount("tmpfs", QFile::encodeName(dir_.path()).constData(),
                                         "tmpfs", 0, options.c_str()) == 0;
}

SmallFileSystem::~SmallFileSystem() {
    if (mounted_) ::umount2(QFile::encodeName(dir_.path()).constData(), MNT_DETACH);
}

}  // namespace quill::test
