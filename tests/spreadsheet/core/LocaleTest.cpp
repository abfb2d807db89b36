// The engine reads numbers in formulas, addresses and format codes the same in every locale. A
// program runs in the user's locale (Qt sets it from the environment), where the C library reads
// "1.5" only up to the decimal comma (de_DE, fr_FR) and has no capital for "i" (tr_TR).
#include <gtest/gtest.h>

#include <locale.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "spreadsheet/format/NumberFormat.h"
#include "spreadsheet/formula/Formula.h"

namespace quill::spreadsheet {
namespace {

// The process runs in `name` for the scope's life, as a program started under it does.
class ProcessLocale {
  public:
    explicit ProcessLocale(const char* name) : previous_(::setlocale(LC_ALL, nullptr)) {
        installed_ = ::setlocale(LC_ALL, name) != nullptr;
    }
    ~ProcessLocale() { ::setlocale(LC_ALL, previous_.c_str()); }
    ProcessLocale(const ProcessLocale&) = delete;
    ProcessLocale& operator=(const ProcessLocale&) = delete;
    bool Installed() const { return installed_; }

  private:
    std::string previous_;
    bool installed_ = false;
};

TEST(Locale, NumbersAddressesAndFormatCodesReadTheSameInEveryLocale) {
    const std::vector<std::pair<const char*, std::function<std::string()>>> readings = {
        {"number below the normal range",  // read by strtod
         [] {
             return FormulaToA1(ParseFormulaR1C1("=1.5E-400*R1C1"), {0, 1});
         }},
        {"A1 address with an i", [] { return RangeName(ParseA1Range("i5:j6")); }},
        {"colour name with an I",
         [] {
             const FormattedValue shown = FormatValue(Value{2.5}, "[WHITE]0.0");
             return shown.text + " " + std::to_string(shown.color.value_or(0));
         }},
    };
    std::vector<std::string> inC;
    {
        const ProcessLocale c("C");
        for (const auto& [what, read] : readings) inC.push_back(read());
    }
    EXPECT_EQ(inC[1], "I5:J6");
    EXPECT_EQ(inC[2], "2.5 16777215");

    for (const char* name : {"de_DE.UTF-8", "fr_FR.UTF-8", "tr_TR.UTF-8"}) {
        SCOPED_TRACE(name);
        const ProcessLocale locale(name);
        // A missing locale is a fault of the machine's set-up (scripts/setup makes them).
        ASSERT_TRUE(locale.Installed()) << name << " is not installed; run scripts/setup";
        for (std::size_t i = 0; i < readings.size(); ++i)
            EXPECT_EQ(readings[i].second(), inC[i]) << readings[i].first;
    }
}

}  // namespace
}  // namespace quill::spreadsheet
