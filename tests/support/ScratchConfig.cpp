#include "support/ScratchConfig.h"

#include <QSettings>

namespace quill::test {

ScratchConfig::ScratchConfig()
    : previous_(qgetenv("XDG_CONFIG_HOME")),
      hadPrevious_(qEnvironmentVariableIsSet("XDG_CONFIG_HOME")) {
    qputenv("XDG_CONFIG_HOME", dir_.path().toLocal8Bit());
    // QSettings caches the user folder; point it at the scratch folder explicitly too.
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir_.path());
}

ScratchConfig::~ScratchConfig() {
    if (hadPrevious_) {
        qputenv("XDG_CONFIG_HOME", previous_);
    } else {
        qunsetenv("XDG_CONFIG_HOME");
    }
}

}  // namespace quill::test
