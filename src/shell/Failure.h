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

// An ordinary failure to read or write a file: a missing folder, no permission, a full disk,
// a read-only file system, a target that is not a regular file. Its text names the file and
// the cause, so the user is told it plainly; the error-report box is for faults of the
// program itself.
class FileFailure : public Failure {
  public:
    using Failure::Failure;
};

}  // namespace quill
