// Files come out the same whatever the user's locale is: the C library formats and reads
// numbers with the locale (a decimal comma under de_DE and fr_FR), and Qt sets the process
// locale from the environment. Code that writes a file, or that reads a number with the C
// library, does so inside a CLocaleScope.
#pragma once

#include <locale.h>

namespace quill::spreadsheet {

// For its lifetime the calling thread formats and reads numbers (and changes case) in the
// C locale; other threads and the process locale are not touched. Scopes nest.
class CLocaleScope {
  public:
    CLocaleScope() : c_(::newlocale(LC_ALL_MASK, "C", locale_t{})) {
        // The C locale is built into the C library, which hands it out without allocating.
        if (c_ != locale_t{}) previous_ = ::uselocale(c_);
    }
    ~CLocaleScope() {
        if (c_ == locale_t{}) return;
        ::uselocale(previous_);
        ::freelocale(c_);
    }
    CLocaleScope(const CLocaleScope&) = delete;
    CLocaleScope& operator=(const CLocaleScope&) = delete;

  private:
    locale_t c_;
    locale_t previous_ = LC_GLOBAL_LOCALE;
};

}  // namespace quill::spreadsheet
