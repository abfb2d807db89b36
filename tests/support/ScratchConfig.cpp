#include "support/ScratchConfig.h"

#include <QSettings>

namespace quill::test {

ScratchConfig::ScratchConfig() : configHome_("XDG_CONFIG_HOME", dir_.path().toLocal8Bit()) {
    // QSettings caches the user folder; point it at the scratch folder explicitly too.
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir_.path());
}

ScratchConfig::~ScratchConfig() = default;

}  // namespace quill::test
