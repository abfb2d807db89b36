// Points the settings store at a fresh temporary folder for the lifetime of a test,
// so that no test ever touches the user's real configuration.
#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include "support/ScopedSettings.h"

namespace quill::test {

class ScratchConfig {
  public:
    ScratchConfig();
    ~ScratchConfig();
    ScratchConfig(const ScratchConfig&) = delete;
    ScratchConfig& operator=(const ScratchConfig&) = delete;

    QString Folder() const { return dir_.path(); }
    QString IniPath() const { return dir_.path() + QStringLiteral("/Tarnwick.ini"); }

  private:
    QTemporaryDir dir_;
    ScopedEnvironment configHome_;
};

}  // namespace quill::test
