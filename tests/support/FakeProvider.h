// An engine provider for tests: it can be told that the engine is missing, and counts the
// applications it has created. Header-only: the tests that use it link the bridge.
#pragma once

#include <memory>

#include "bridge/SpreadsheetProvider.h"
#include "shell/Failure.h"

namespace quill::test {

class FakeProvider : public SpreadsheetProvider {
  public:
    bool missing = false;
    int created = 0;
    std::unique_ptr<spreadsheet::Application> Create() override {
        if (missing) throw Failure("The engine cannot be created");
        ++created;
        return std::make_unique<spreadsheet::Application>();
    }
};

}  // namespace quill::test
