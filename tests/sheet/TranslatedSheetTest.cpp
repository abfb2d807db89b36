// The sheet and the default categories in the language installed when they are made, and
// the English sheet unchanged by a translation installed and removed before it.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include <QFile>
#include <QLocale>

#include "SheetDump.h"
#include "model/Amounts.h"
#include "model/DefaultCategorySet.h"
#include "model/WorkbookPalette.h"
#include "sheet/BudgetSheet.h"
#include "shell/Translations.h"

namespace quill::sheet {
namespace {

namespace ss = spreadsheet;

IncomeAmounts FirstRunIncomes() {
    return model::AllIncomeAmounts(IncomeTexts{"$3000", "$100", "$100", "$2720"});
}

std::string Text(ss::Application& app, const std::string& a1) {
    const ss::Value value = app.Range(a1).Value2();
    const auto* text = std::get_if<std::string>(&value);
    return text != nullptr ? *text : std::string();
}

bool Holds(ss::Application& app, const std::string& text) {
    for (const auto& [at, cell] : app.ActiveSheet().Cells())
        if (const auto* held = std::get_if<std::string>(&cell.content); held && *held == text)
            return true;
    return false;
}

// Every English word the sheet writes itself; none may be left in a translated sheet.
const char* const kEnglishCaptions[] = {
    "Personal Finance",     "PROJECTED INCOME",  "ACTUAL INCOME",    "Income",     "Extra income",
    "Total income",         "Projected Cost",    "Actual Cost",      "Difference", "Subtotals",
    "TOTAL PROJECTED COST", "TOTAL ACTUAL COST", "TOTAL DIFFERENCE",
};

TEST(TranslatedSheet, CaptionsAndDefaultCategoriesFollowTheLanguageAndUserNamesStayAsTyped) {
    const struct {
        const char* language;
        const char* title;            // B2
        const char* projectedIncome;  // B6
        const char* projectedCost;    // C14, the first section's caption
        const char* firstGroup;       // B14
        const char* firstItem;        // B15
        const char* spokenStart;      // the key figures' first words
    } cases[] = {
        {"de", "Persönliche Finanzen", "GEPLANTE EINNAHMEN", "Plankosten", "WOHNEN",
         "Miete oder Kreditrate", "Geplanter Saldo $"},
        {"fr", "Finances personnelles", "REVENUS PRÉVUS", "Coût prévu", "LOGEMENT",
         "Loyer ou crédit immobilier", "Solde prévu $"},
        {"es", "Finanzas personales", "INGRESOS PREVISTOS", "Coste previsto", "VIVIENDA",
         "Hipoteca o alquiler", "Saldo previsto $"},
    };
    const CategoryTable english = model::DefaultCategorySet();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.language);
        const shell::Translations translations(shell::Program::Companion,
                                               QLocale(QString::fromLatin1(c.language)));
        ASSERT_EQ(translations.Language(), QString::fromLatin1(c.language));

        CategoryTable table = model::DefaultCategorySet();
        ASSERT_EQ(table.size(), english.size());
        for (std::size_t r = 0; r < table.size(); ++r) {
            EXPECT_EQ(table[r].RowKey, english[r].RowKey);
            EXPECT_EQ(table[r].ParentKey, english[r].ParentKey);
            // Every group has its own translated name; paths are made of the translated names.
            if (table[r].ParentKey == model::kRootKey) {
                EXPECT_NE(table[r].RowText, english[r].RowText);
                EXPECT_EQ(table[r].RowPath, table[r].RowText);
            } else {
                EXPECT_TRUE(table[r].RowPath.endsWith(u'\\' + table[r].RowText));
            }
        }
        // The user's own names are never translated, even where they match a default name.
        const QString key = QString::number(table.size() + 1) + u'_';
        table.push_back({key, model::kRootKey, "HOUSING", "HOUSING"});
        table.push_back({QString::number(table.size() + 1) + u'_', key, "Mortgage or rent", ""});

        ss::Application app;
        app.Workbooks().Add();
        BuildBudgetSheet(app, table, FirstRunIncomes(), model::WorkbookPalette());
        app.Calculate();
        EXPECT_EQ(Text(app, "B2"), c.title);
        EXPECT_EQ(app.ActiveWorkbook().title, c.title);
        EXPECT_EQ(Text(app, "B6"), c.projectedIncome);
        EXPECT_EQ(Text(app, "C14"), c.projectedCost);
        EXPECT_EQ(Text(app, "B14"), c.firstGroup);
        EXPECT_EQ(Text(app, "B15"), c.firstItem);
        // A translated balance title has its explanation on a line of its own.
        EXPECT_NE(Text(app, "G6").find('\n'), std::string::npos);
        for (const char* caption : kEnglishCaptions) EXPECT_FALSE(Holds(app, caption)) << caption;
        EXPECT_TRUE(Holds(app, "HOUSING"));
        EXPECT_TRUE(Holds(app, "Mortgage or rent"));
        // The spoken figures find the translated grand totals: five figures, not three.
        const std::string spoken = KeyFiguresSummary(app.ActiveSheet());
        EXPECT_TRUE(spoken.starts_with(c.spokenStart)) << spoken;
        EXPECT_EQ(std::count(spoken.begin(), spoken.end(), '$'), 5) << spoken;
    }

    // With the translations gone, the English sheet is the one of the golden dump.
    EXPECT_EQ(model::DefaultCategorySet(), english);
    ss::Application app;
    app.Workbooks().Add();
    BuildBudgetSheet(app, model::DefaultCategorySet(), FirstRunIncomes(), model::WorkbookPalette());
    QFile golden(QStringLiteral(QUILL_SOURCE_DIR "/tests/sheet/golden/default_sheet.txt"));
    ASSERT_TRUE(golden.open(QIODevice::ReadOnly));
    EXPECT_EQ(test::DumpSheet(app.ActiveWorkbook(), app.ActiveSheet()),
              golden.readAll().toStdString());
}

}  // namespace
}  // namespace quill::sheet
