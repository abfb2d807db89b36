// The program's shared editing state: the category table and what goes with it.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include <QString>

#include "model/CategoryTable.h"
#include "model/Currency.h"
#include "spreadsheet/core/Palette.h"

namespace quill {

// The four income boxes, in the order of their stored keys ("0 Income" to "3 Income"), of
// the companion's --income0 to --income3 and of the sheet's income cells.
enum class IncomeField { ProjectedIncome, ProjectedExtraIncome, ActualExtraIncome, ActualIncome };
inline constexpr std::array<IncomeField, 4> kIncomeFields = {
    IncomeField::ProjectedIncome, IncomeField::ProjectedExtraIncome, IncomeField::ActualExtraIncome,
    IncomeField::ActualIncome};
// A field's place in IncomeTexts and in the arrays of amounts.
constexpr std::size_t IncomeIndex(IncomeField field) {
    return static_cast<std::size_t>(field);
}

// The texts of the four income boxes, by IncomeIndex.
using IncomeTexts = std::array<QString, 4>;

// The workbook's colours 1 to 56, the engine's palette type (a plain array, no engine code).
using spreadsheet::Palette;

// The paper the sheet's page set-up names.
enum class Paper { A4, Letter };

// The paper's name as the settings file and the choices hold it: "A4" or "Letter".
inline QString PaperName(Paper paper) {
    return paper == Paper::Letter ? QStringLiteral("Letter") : QStringLiteral("A4");
}

// The paper a name in any case names ("a4", "Letter"), or nothing for any other text.
inline std::optional<Paper> PaperNamed(const QString& name) {
    for (const Paper paper : {Paper::A4, Paper::Letter})
        if (name.compare(PaperName(paper), Qt::CaseInsensitive) == 0) return paper;
    return std::nullopt;
}

struct AppState {
    CategoryTable categories;
    QString SelectedRowText;  // RowText of the row selected in the tree
    QString NewRowName;       // the name typed in the row-name dialog
    quill::Palette WorkbookPalette{};
    model::Currency currency = model::CurrencyOrUsd({});  // how amounts are shown
    Paper paper = Paper::A4;
};

}  // namespace quill
