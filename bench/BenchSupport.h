// Helpers shared by the benchmarks that run whole generations.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include <QString>

#include "model/Amounts.h"
#include "model/CategoryState.h"
#include "shell/Prompt.h"

namespace quill::bench {

// Counts the error reports; a run that reports one is not a valid measurement.
class CountingPrompt : public Prompt {
  public:
    int errors = 0;
    void Notice(const QString&, const QString&) override {}
    bool AskYesNo(const QString&, const QString&) override { return false; }
    void ReportError(const QString&) override { ++errors; }
    QString InputBox(const QString&, const QString&, const QString&) override { return {}; }
    QString SaveFileName(const QString&, const QString&) override { return {}; }
};

// The amounts of the default income texts, by income box.
inline std::array<std::int32_t, 4> DefaultIncomes() {
    IncomeTexts texts;
    for (std::size_t i = 0; i < texts.size(); ++i)
        texts[i] = QString::fromLatin1(Options::kIncomeDefaults[i]);
    std::array<std::int32_t, 4> amounts{};
    for (int box = 0; box < 4; ++box)
        amounts[static_cast<std::size_t>(box)] = Options::IncomeAmount(texts, box);
    return amounts;
}

}  // namespace quill::bench
