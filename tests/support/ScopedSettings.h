// Changes of the process's environment and of Qt's default locale for one test, put back
// when the guard goes out of scope, also when an assertion ends the test early.
#pragma once

#include <QByteArray>
#include <QLocale>

namespace quill::test {

// Sets an environment variable (or removes it, for a null value) and restores what it was.
class ScopedEnvironment {
  public:
    ScopedEnvironment(const char* name, const QByteArray& value)
        : name_(name), before_(qgetenv(name)), had_(qEnvironmentVariableIsSet(name)) {
        if (value.isNull())
            qunsetenv(name);
        else
            qputenv(name, value);
    }
    ~ScopedEnvironment() {
        if (had_)
            qputenv(name_, before_);
        else
            qunsetenv(name_);
    }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

  private:
    const char* name_;
    QByteArray before_;
    bool had_;
};

// Makes `locale` Qt's default locale and restores the previous one.
class ScopedDefaultLocale {
  public:
    explicit ScopedDefaultLocale(const QLocale& locale) { QLocale::setDefault(locale); }
    ~ScopedDefaultLocale() { QLocale::setDefault(previous_); }
    ScopedDefaultLocale(const ScopedDefaultLocale&) = delete;
    ScopedDefaultLocale& operator=(const ScopedDefaultLocale&) = delete;

  private:
    QLocale previous_;
};

}  // namespace quill::test
