// What the generation benchmarks share: a prompt that only counts error reports, the
// category tables they generate from and the first run's incomes.
#pragma once

#include <array>
#include <cstdint>

#include <QString>

#include "model/Amounts.h"
#include "model/CategoryState.h"
#include "model/DefaultCategorySet.h"
#include "sheet/SyntheticTable.h"
#include "shell/Prompt.h"

namespace quill::bench {

// Counts the error reports; a generation that reports one is not a valid measurement.
class CountingPrompt : public Prompt {
  public:
    int errors = 0;
    void Notice(const QString&, const QString&) override {}
    bool AskYesNo(const QString&, const QString&) override { return false; }
    void ReportError(const QString&) override { ++errors; }
    QString InputBox(const QString&, const QString&, const QString&) override { return {}; }
    QString SaveFileName(const QString&, const QString&) override { return {}; }
};

// groups 0: the default category set.
inline CategoryTable Table(int groups, int items) {
    return groups == 0 ? model::DefaultCategorySet() : sheet::SyntheticCategoryTable(groups, items);
}

// The amounts of the default income texts, by income box.
inline std::array<model::Amount, 4> Incomes() {
    IncomeTexts texts;
    for (std::size_t i = 0; i < texts.size(); ++i)
        texts[i] = QString::fromLatin1(model::kIncomeDefaults[i]);
    return model::AllIncomeAmounts(texts);
}

}  // namespace quill::bench
