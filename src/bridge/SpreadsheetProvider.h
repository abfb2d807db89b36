// Where spreadsheet applications come from. The program creates every application it uses
// through a provider, so tests can make creation fail.
#pragma once

#include <memory>

#include "spreadsheet/objectmodel/ObjectModel.h"

namespace quill {

class SpreadsheetProvider {
  public:
    virtual ~SpreadsheetProvider() = default;

    // A new, hidden application. Throws (or returns null) when none can be created.
    virtual std::unique_ptr<spreadsheet::Application> Create() = 0;
};

// The provider of the embedded engine. Its applications live inside this process.
class EmbeddedProvider : public SpreadsheetProvider {
  public:
    std::unique_ptr<spreadsheet::Application> Create() override {
        return std::make_unique<spreadsheet::Application>();
    }
};

}  // namespace quill
