// Where spreadsheet applications come from. The program creates every application it uses
// through a provider, so tests can make creation fail or pretend that an instance is
// already running.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "spreadsheet/objectmodel/ObjectModel.h"

namespace quill {

class SpreadsheetProvider {
  public:
    virtual ~SpreadsheetProvider() = default;

    // A new, hidden application. Throws (or returns null) when none can be created.
    virtual std::unique_ptr<spreadsheet::Application> Create() = 0;

    // The name (default property) of an application that already runs outside this
    // program, or nothing when none can be bound.
    virtual std::optional<std::string> RunningInstanceName() = 0;
};

// The provider of the embedded engine. Its applications live inside this process, so no
// other program can share one and no running instance is ever reported.
class EmbeddedProvider : public SpreadsheetProvider {
  public:
    std::unique_ptr<spreadsheet::Application> Create() override {
        return std::make_unique<spreadsheet::Application>();
    }
    std::optional<std::string> RunningInstanceName() override { return std::nullopt; }
};

}  // namespace quill
