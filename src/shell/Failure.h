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

// A failure that is no fault of the program but a condition the user can act on, such as a
// category table too large for a workbook. Its text says what is wrong and what to do, so
// the error trap tells it as a plain notice; the error-report box is for faults of the
// program itself.
class PlainFailure : public Failure {
  public:
    using Failure::Failure;
};

// An ordinary failure to read or write a file: a missing folder, no permission, a full disk,
// a read-only file system, a target that is not a regular file. Its text names the file and
// the cause.
class FileFailure : public PlainFailure {
  public:
    using PlainFailure::PlainFailure;
};

}  // namespace quill
