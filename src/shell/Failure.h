// The exception type for failures that a traced procedure reports and steps over.
#pragma once

#include <stdexcept>
#include <string>

#include <QString>

namespace quill {

class Failure : public std::runtime_error {
  public:
    explicit Failure(const std::string& description) : std::runtime_error(description) {}
    explicit Failure(const QString& description) : std::runtime_error(description.toStdString()) {}
    explicit Failure(const char* description) : std::runtime_error(description) {}
};

}  // namespace quill
