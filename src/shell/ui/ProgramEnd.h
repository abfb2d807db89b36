// How a window ends the program once it has closed: by default QCoreApplication::exit(0).
// Tests put a recorder in its place.
#pragma once

#include <functional>
#include <utility>

#include <QCoreApplication>

namespace quill::ui {

class ProgramEnd {
  public:
    void Replace(std::function<void()> end) { end_ = std::move(end); }
    void operator()() const {
        if (end_) end_();
    }

  private:
    std::function<void()> end_ = [] { QCoreApplication::exit(0); };
};

}  // namespace quill::ui
