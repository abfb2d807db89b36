// The budget sheet as built on the embedded engine: the whole default sheet against a
// checked golden dump, the formulas that tie the sheet together, tables of unusual shapes,
// the limits of the layout and the computed figures.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <optional>
#include <string>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "SheetDump.h"
#include "model/Amounts.h"
#include "model/DefaultCategorySet.h"
#include "model/WorkbookPalette.h"
#include "sheet/BudgetSheet.h"
#include "sheet/SheetStyle.h"
#include "shell/Failure.h"
#include "spreadsheet/format/NumberFormat.h"

namespace quill::sheet {
namespace {

namespace ss = spreadsheet;

// The incomes of a first run: "$3000", "$100", "$100", "$2720" in boxes 0 to 3.
IncomeAmounts DefaultIncomes() {
    const IncomeTexts texts{"$3000", "$100", "$100", "$2720"};
    return model::AllIncomeAmounts(texts);
}

// Appends a group and its items, keys numbered on from the table's length.
void AddGroup(CategoryTable& table, const QString& name, int items) {
    const QString key = QString::number(table.size() + 1) + "_";
    table.push_back({key, "0_", name, name});
    for (int i = 1; i <= items; ++i)
        table.push_back({QString::number(table.size() + 1) + "_", key,
                         name + " item " + QString::number(i), QString()});
}

class BudgetSheetTest : public ::testing::Test {
  protected:
    BudgetSheetTest() { app.Workbooks().Add(); }

    void Build(const CategoryTable& table) {
        BuildBudgetSheet(app, table, DefaultIncomes(), model::WorkbookPalette());
    }

    std::string Formula(const std::string& a1) { return app.Range(a1).FormulaR1C1(); }

    double Number(const std::string& a1) {
        const ss::Value value = app.Range(a1).Value2();
        const double* number = std::get_if<double>(&value);
        EXPECT_NE(number, nullptr) << a1 << " holds no number";
        return number ? *number : -1e300;
    }

    void Put(const std::string& a1, double value) { app.Range(a1).SetFormulaR1C1(value); }

    bool IsMerged(const std::string& a1) {
        const ss::RangeRef area = ss::ParseA1Range(a1);
        const ss::RangeRef* merged = app.ActiveSheet().MergeAt(area.first);
        return merged != nullptr && *merged == area;
    }

    // The cell holding `text`, if any.
    std::optional<std::string> Find(const std::string& text) {
        for (const auto& [at, cell] : app.ActiveSheet().Cells())
            if (const auto* held = std::get_if<std::string>(&cell.content); held && *held == text)
                return ss::CellName(at);
        return std::nullopt;
    }

    static void ExpectFailure(const std::function<void()>& build, const std::string& words) {
        try {
            build();
            ADD_FAILURE() << "no failure";
        } catch (const Failure& failure) {
            EXPECT_NE(std::string(failure.what()).find(words), std::string::npos) << failure.what();
        }
    }

    static void ExpectUntouched(ss::Application& target) {
        EXPECT_TRUE(target.ActiveSheet().Cells().empty());
        EXPECT_FALSE(target.ActiveSheet().printArea.has_value());
        EXPECT_NE(ss::Colors(target.ActiveWorkbook(), 39), model::WorkbookPalette()[38]);
    }

    ss::Application app;
};

// ---- The default sheet -----------------------------------------------------------------

TEST_F(BudgetSheetTest, DefaultSheetMatchesGoldenDump) {
    Build(model::DefaultCategorySet());
    const std::string dump = test::DumpSheet(app.ActiveWorkbook(), app.ActiveSheet());

    const QString path = QStringLiteral(QUILL_SOURCE_DIR "/tests/sheet/golden/default_sheet.txt");
    QFile file(path);
    if (qEnvironmentVariableIsSet("QUILL_UPDATE_GOLDEN")) {
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray::fromStdString(dump));
        GTEST_SKIP() << "golden dump rewritten; check it by hand";
    }
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    EXPECT_EQ(dump, file.readAll().toStdString());
    for (int i = 1; i <= 56; ++i)
        EXPECT_EQ(ss::Colors(app.ActiveWorkbook(), i),
                  model::WorkbookPalette()[static_cast<std::size_t>(i - 1)]);
}

TEST_F(BudgetSheetTest, DefaultSheetBalancesPointAtTheGrandTotals) {
    Build(model::DefaultCategorySet());
    EXPECT_EQ(Formula("J6"), "=R[2]C[-5]-R[55]C");  // E8 - J61
    EXPECT_EQ(Formula("J8"), "=R[4]C[-5]-R[55]C");  // E12 - J63
    EXPECT_EQ(Formula("J10"), "=R[-2]C-R[-4]C");
    EXPECT_EQ(Formula("J61"),
              "=SUM(R[-36]C[-7],R[-26]C[-7],R[-19]C[-7],R[-13]C[-7],R[-5]C[-7],R[5]C[-7],"
              "R[-37]C[-2],R[-28]C[-2],R[-21]C[-2],R[-15]C[-2],R[-9]C[-2],R[-2]C[-2])");
    EXPECT_TRUE(Formula("J63").starts_with("=SUM(R[-38]C[-6],"));
    EXPECT_TRUE(Formula("J65").ends_with(",R[-6]C[0])"));
    for (const char* label : {"G61:I62", "G63:I64", "G65:I66", "J61:J62", "J63:J64", "J65:J66"})
        EXPECT_TRUE(IsMerged(label)) << label;
    EXPECT_EQ(Find("TOTAL PROJECTED COST"), "G61");
    EXPECT_EQ(Find("TOTAL ACTUAL COST"), "G63");
    EXPECT_EQ(Find("TOTAL DIFFERENCE"), "G65");
    EXPECT_EQ(app.PageSetup().PrintArea(), "A1:J73");
}

TEST_F(BudgetSheetTest, DefaultSheetSectionsStandWhereListed) {
    struct Section {
        const char* name;
        const char* header;    // the name cell of the header row
        const char* subtotal;  // the projected subtotal
        const char* sum;
    };
    const Section sections[] = {
        {"HOUSING", "B14", "C25", "=SUM(R[-10]C:R[-1]C)"},
        {"TRANSPORTATION", "B27", "C35", "=SUM(R[-7]C:R[-1]C)"},
        {"INSURANCE", "B37", "C42", "=SUM(R[-4]C:R[-1]C)"},
        {"FOOD", "B44", "C48", "=SUM(R[-3]C:R[-1]C)"},
        {"PETS", "B50", "C56", "=SUM(R[-5]C:R[-1]C)"},
        {"PERSONAL CARE", "B58", "C66", "=SUM(R[-7]C:R[-1]C)"},
        {"ENTERTAINMENT", "G14", "H24", "=SUM(R[-9]C:R[-1]C)"},
        {"LOANS", "G26", "H33", "=SUM(R[-6]C:R[-1]C)"},
        {"TAXES", "G35", "H40", "=SUM(R[-4]C:R[-1]C)"},
        {"SAVINGS OR INVESTMENTS", "G42", "H46", "=SUM(R[-3]C:R[-1]C)"},
        {"GIFTS AND DONATIONS", "G48", "H52", "=SUM(R[-3]C:R[-1]C)"},
        {"LEGAL", "G54", "H59", "=SUM(R[-4]C:R[-1]C)"},
    };
    Build(model::DefaultCategorySet());
    for (const Section& s : sections) {
        EXPECT_EQ(Find(s.name), s.header);
        EXPECT_EQ(Formula(s.subtotal), s.sum) << s.name;
        EXPECT_EQ(app.Range(s.subtotal).Offset(0, 1).FormulaR1C1(), s.sum) << s.name;
    }
}

TEST_F(BudgetSheetTest, DefaultSheetComputesSubtotalsTotalsAndBalances) {
    Build(model::DefaultCategorySet());
    Put("C15", 1000);  // HOUSING, Mortgage or rent
    Put("D15", 900);
    Put("C16", 50);  // HOUSING, Phone
    Put("H15", 20);  // ENTERTAINMENT, Video/DVD
    Put("I15", 30);
    app.Calculate();

    EXPECT_EQ(Number("E6"), 3000);
    EXPECT_EQ(Number("E7"), 100);
    EXPECT_EQ(Number("E8"), 3100);
    EXPECT_EQ(Number("E10"), 2720);
    EXPECT_EQ(Number("E11"), 100);
    EXPECT_EQ(Number("E12"), 2820);
    EXPECT_EQ(Number("E15"), 100);
    EXPECT_EQ(Number("C25"), 1050);
    EXPECT_EQ(Number("D25"), 900);
    EXPECT_EQ(Number("E25"), 150);
    EXPECT_EQ(Number("J24"), -10);
    EXPECT_EQ(Number("J61"), 1070);
    EXPECT_EQ(Number("J63"), 930);
    EXPECT_EQ(Number("J65"), 140);
    EXPECT_EQ(Number("J6"), 3100 - 1070);
    EXPECT_EQ(Number("J8"), 2820 - 930);
    EXPECT_EQ(Number("J10"), (2820 - 930) - (3100 - 1070));
}

// Incomes with cents reach their cells as the exact amounts, and stay so in a saved file.
TEST_F(BudgetSheetTest, IncomesWithCentsReachTheirCellsExactly) {
    using model::Amount;
    const IncomeAmounts incomes = {Amount::FromCents(123456), Amount::FromCents(7), Amount(),
                                   Amount::FromCents(Amount::kMaxCents)};
    BuildBudgetSheet(app, {}, incomes, model::WorkbookPalette());
    app.Calculate();
    EXPECT_EQ(Number("E6"), 1234.56);
    EXPECT_EQ(Number("E7"), 0.07);
    EXPECT_EQ(Number("E8"), 1234.56 + 0.07);
    EXPECT_EQ(Number("E10"), 999999999999.99);
    EXPECT_EQ(Number("E11"), 0);
    EXPECT_EQ(app.Range("E6").NumberFormat(), std::string(AmountFormat));

    QTemporaryDir dir;
    const std::string path = QDir(dir.path()).filePath("budget.xls").toStdString();
    ss::SaveAs(app.ActiveWorkbook(), path, ss::xl::kExcel8);
    ss::Application viewer;
    viewer.Workbooks().Open(path);
    EXPECT_EQ(viewer.Range("E6").Value2(), ss::Value(1234.56));
    EXPECT_EQ(viewer.Range("E7").Value2(), ss::Value(0.07));
    EXPECT_EQ(viewer.Range("E10").Value2(), ss::Value(999999999999.99));
}

// Planned amounts fill the projected costs of their items exactly; every figure of the sheet
// computes from them, in the engine and in the saved file; unplanned items stay empty.
TEST_F(BudgetSheetTest, PlannedAmountsFillProjectedCostsAndTheTotalsFollow) {
    using model::Amount;
    CategoryTable table = model::DefaultCategorySet();
    const auto plan = [&](const char* name, std::int64_t cents) {
        const auto row = std::find_if(table.begin(), table.end(),
                                      [&](const CategoryRow& r) { return r.RowText == name; });
        ASSERT_NE(row, table.end()) << name;
        row->Planned = Amount::FromCents(cents);
    };
    plan("Mortgage or rent", 120050);  // C15
    plan("Phone", 4500);               // C16
    plan("Video/DVD", 2007);           // H15, the right half
    plan("Cable", 0);                  // planned as nothing: a 0, not empty
    Build(table);
    Put("D15", 900);
    app.Calculate();

    EXPECT_EQ(Number("C15"), 1200.50);
    EXPECT_EQ(app.Range("C17").Value2(), ss::Value());  // Electricity: not planned
    EXPECT_EQ(Number("C20"), 0);
    EXPECT_EQ(Number("E15"), 1200.50 - 900);
    EXPECT_EQ(Number("C25"), 1245.50);
    EXPECT_EQ(Number("J61"), 1245.50 + 20.07);
    EXPECT_EQ(Number("J6"), 3100 - (1245.50 + 20.07));
    EXPECT_EQ(Number("J10"), (2820 - 900) - (3100 - (1245.50 + 20.07)));
    EXPECT_EQ(KeyFiguresSummary(app.ActiveSheet()),
              "Projected balance $1,834, actual balance $1,920, difference $86, total "
              "projected cost $1,266, total actual cost $900.");  // as the sheet shows them

    QTemporaryDir dir;
    const std::string path = QDir(dir.path()).filePath("budget.xls").toStdString();
    ss::SaveAs(app.ActiveWorkbook(), path, ss::xl::kExcel8);
    ss::Application viewer;
    viewer.Workbooks().Open(path);
    viewer.Calculate();
    EXPECT_EQ(viewer.Range("C15").Value2(), ss::Value(1200.50));
    EXPECT_EQ(viewer.Range("C17").Value2(), ss::Value());
    EXPECT_EQ(viewer.Range("J61").Value2(), ss::Value(1245.50 + 20.07));
}

TEST_F(BudgetSheetTest, KeyFiguresSummaryReadsTheComputedBalancesAndGrandTotals) {
    Build(model::DefaultCategorySet());
    Put("C15", 1000);
    Put("D15", 900);
    Put("H15", 2070.4);  // in the right half; shown rounded
    app.Calculate();
    EXPECT_EQ(KeyFiguresSummary(app.ActiveSheet()),
              "Projected balance $30, actual balance $1,920, difference $1,890, total projected "
              "cost $3,070, total actual cost $900.");

    // A negative figure reads with a minus sign, not in the sheet's red parentheses; a
    // figure that is not a number reads as its text.
    Put("C15", 4000);
    app.Range("D16").SetFormulaR1C1(std::string("=1/0"));
    app.Calculate();
    EXPECT_EQ(KeyFiguresSummary(app.ActiveSheet()),
              "Projected balance -$2,970, actual balance #DIV/0!, difference #DIV/0!, total "
              "projected cost $6,070, total actual cost #DIV/0!.");
}

TEST_F(BudgetSheetTest, KeyFiguresSummaryOfASheetWithoutSectionsHasNoTotals) {
    Build({});
    app.Calculate();
    EXPECT_EQ(KeyFiguresSummary(app.ActiveSheet()),
              "Projected balance $3,100, actual balance $2,820, difference -$280.");
}

// ---- Tables of unusual shapes ----------------------------------------------------------

TEST_F(BudgetSheetTest, EmptyTableLeavesTheBalancesAtTotalIncome) {
    Build({});
    EXPECT_EQ(Formula("J6"), "=R[2]C[-5]");
    EXPECT_EQ(Formula("J8"), "=R[4]C[-5]");
    EXPECT_EQ(app.PageSetup().PrintArea(), "A1:J18");
    EXPECT_EQ(ss::CellName(app.ActiveSheet().activeCell), "C15");
    for (const auto& [at, cell] : app.ActiveSheet().Cells())
        EXPECT_FALSE(at.row >= 13 && cell.HasContent()) << ss::CellName(at);
    app.Calculate();
    EXPECT_EQ(Number("J6"), 3100);
    EXPECT_EQ(Number("J8"), 2820);
    EXPECT_EQ(Number("J10"), -280);
}

TEST_F(BudgetSheetTest, SingleGroupWithItemsPutsTheTotalsInTheLeftHalf) {
    CategoryTable table;
    AddGroup(table, "ONLY", 2);
    Build(table);

    EXPECT_EQ(Find("ONLY"), "B14");
    EXPECT_EQ(Formula("C17"), "=SUM(R[-2]C:R[-1]C)");
    EXPECT_TRUE(IsMerged("B19:D20"));
    EXPECT_TRUE(IsMerged("E19:E20"));
    EXPECT_EQ(Formula("E19"), "=SUM(R[-2]C[-2])");
    EXPECT_EQ(Formula("E21"), "=SUM(R[-4]C[-1])");
    EXPECT_EQ(Formula("E23"), "=SUM(R[-6]C[0])");
    EXPECT_EQ(Formula("J6"), "=R[2]C[-5]-R[13]C[-5]");
    EXPECT_EQ(Formula("J8"), "=R[4]C[-5]-R[13]C[-5]");
    EXPECT_EQ(app.PageSetup().PrintArea(), "A1:J24");

    Put("C15", 10);
    Put("D15", 4);
    Put("C16", 5);
    app.Calculate();
    EXPECT_EQ(Number("E19"), 15);
    EXPECT_EQ(Number("E21"), 4);
    EXPECT_EQ(Number("E23"), 11);
    EXPECT_EQ(Number("J6"), 3100 - 15);
    EXPECT_EQ(Number("J8"), 2820 - 4);
}

TEST_F(BudgetSheetTest, LoneEmptyGroupGoesRightWithAZeroSubtotal) {
    CategoryTable table;
    AddGroup(table, "EMPTY", 0);
    Build(table);

    EXPECT_EQ(Find("EMPTY"), "G14");
    EXPECT_EQ(Formula("G15"), "Subtotals");
    EXPECT_EQ(Formula("H15"), "=0");
    EXPECT_EQ(Formula("I15"), "=0");
    EXPECT_EQ(Find("TOTAL PROJECTED COST"), "G17");
    EXPECT_EQ(Formula("J6"), "=R[2]C[-5]-R[11]C");
    EXPECT_EQ(app.PageSetup().PrintArea(), "A1:J22");
    app.Calculate();
    EXPECT_EQ(Number("J17"), 0);
    EXPECT_EQ(Number("J6"), 3100);
}

TEST_F(BudgetSheetTest, EmptyGroupAmongOthersAddsZeroWithoutReferringToItself) {
    CategoryTable table;
    AddGroup(table, "FIRST", 2);
    AddGroup(table, "HOLLOW", 0);
    AddGroup(table, "LAST", 3);
    Build(table);
    EXPECT_EQ(Find("FIRST"), "B14");
    EXPECT_EQ(Find("HOLLOW"), "B19");
    EXPECT_EQ(Find("LAST"), "G14");
    EXPECT_EQ(Formula("C20"), "=0");
    EXPECT_EQ(Formula("D20"), "=0");
    EXPECT_EQ(Find("TOTAL PROJECTED COST"), "G20");

    Put("C15", 10);
    Put("H15", 7);
    Put("I15", 3);
    app.Calculate();
    EXPECT_EQ(Number("C20"), 0);
    EXPECT_EQ(Number("E20"), 0);
    EXPECT_EQ(Number("J20"), 17);
    EXPECT_EQ(Number("J22"), 3);
    EXPECT_EQ(Number("J24"), 14);
}

TEST_F(BudgetSheetTest, SectionsAndItemsFollowTheTreeOrderNotTheTableOrder) {
    CategoryTable table = model::DefaultCategorySet();
    // Both new rows are appended to the table; the tree shows them by their keys.
    model::InsertRowBelow(table, "0_", "1_", "NEW GROUP");  // a group after HOUSING
    model::InsertRowBelow(table, "14_", "19_", "Toys");     // below Fuel
    ASSERT_EQ(table.back().RowText, "Toys");
    Build(table);
    EXPECT_EQ(Find("HOUSING"), "B14");
    EXPECT_EQ(Find("NEW GROUP"), "B27");
    EXPECT_EQ(app.Range("B28").Value2(), ss::Value(std::string("Subtotals")));  // no items yet
    EXPECT_EQ(Find("TRANSPORTATION"), "B30");
    EXPECT_EQ(Find("Fuel"), "B35");
    EXPECT_EQ(Find("Toys"), "B36");
    EXPECT_EQ(Find("Maintenance"), "B37");
    EXPECT_EQ(Find("LEGAL"), "G54");
    Put("C36", 40);
    app.Calculate();
    EXPECT_EQ(Number("C39"), 40);  // TRANSPORTATION's subtotal counts Toys
    EXPECT_EQ(Number("J61"), 40);  // and so does the projected grand total
}

TEST_F(BudgetSheetTest, RowsOfNoGroupAreLeftOutAndDigitlessParentsAreGroups) {
    const CategoryTable table = {
        {"1_", "0_", "KEPT", "KEPT"},          {"2_", "1_", "Kept item", ""},
        {"3_", "99_", "Orphan", ""},           {"4_", "x", "DIGITLESS", ""},
        {"5_", " 1_", "Blank-led parent", ""},
    };
    Build(table);
    EXPECT_EQ(Find("Orphan"), std::nullopt);
    EXPECT_EQ(Find("KEPT"), "B14");
    EXPECT_EQ(Find("Kept item"), "B15");
    EXPECT_EQ(Find("Blank-led parent"), "B16");
    EXPECT_EQ(Find("DIGITLESS"), "G14");
}

TEST_F(BudgetSheetTest, CategoryNamesAreWrittenAsTheyAreTyped) {
    // Names that look like formulas or numbers stay texts; none of them breaks the build.
    const CategoryTable table = {
        {"1_", "0_", "=Other", ""},
        {"2_", "1_", "2024", ""},
        {"3_", "1_", "'quoted", ""},
        {"4_", "1_", "=1+1", ""},
    };
    Build(table);
    EXPECT_EQ(app.Range("B14").Value2(), ss::Value(std::string("=Other")));
    EXPECT_EQ(app.Range("B15").Value2(), ss::Value(std::string("2024")));
    EXPECT_EQ(app.Range("B16").Value2(), ss::Value(std::string("'quoted")));
    EXPECT_EQ(app.Range("B17").Value2(), ss::Value(std::string("=1+1")));
}

// ---- Limits ----------------------------------------------------------------------------

TEST_F(BudgetSheetTest, TwoHundredGroupsBuildAndSurviveTheFile) {
    CategoryTable table;
    for (int i = 1; i <= 200; ++i) AddGroup(table, "GROUP " + QString::number(i), 1);
    Build(table);

    const std::string amount = "J" + Find("TOTAL PROJECTED COST")->substr(1);
    const std::string sum = Formula(amount);
    EXPECT_EQ(std::count(sum.begin(), sum.end(), ','), 199);

    Put("C15", 7);                                      // the first group's item
    Put("H" + Find("GROUP 200 item 1")->substr(1), 5);  // the last group's item
    QTemporaryDir dir;
    const std::string path = QDir(dir.path()).filePath("budget.xls").toStdString();
    ss::SaveAs(app.ActiveWorkbook(), path, ss::xl::kExcel8);
    ss::Application viewer;
    viewer.Workbooks().Open(path);
    viewer.Calculate();
    EXPECT_EQ(viewer.Range(amount).Value2(), ss::Value(12.0));
}

TEST_F(BudgetSheetTest, MoreThanTwoHundredGroupsFailBeforeWriting) {
    CategoryTable table;
    for (int i = 1; i <= 201; ++i) AddGroup(table, "GROUP " + QString::number(i), 0);
    ExpectFailure([&] { Build(table); }, "more than 200 groups");
    ExpectUntouched(app);
}

TEST_F(BudgetSheetTest, FillsTheLastRowOfTheFileAndRefusesOneMore) {
    // One group of n items: its section ends at row n + 17, the grand totals at n + 22.
    constexpr int kMostItems = ss::kMaxRows - 22;
    CategoryTable table;
    AddGroup(table, "HUGE", kMostItems);
    Build(table);
    EXPECT_EQ(app.PageSetup().PrintArea(), "A1:J65536");
    EXPECT_EQ(Find("TOTAL DIFFERENCE"), "B65535");
    EXPECT_TRUE(IsMerged("E65535:E65536"));

    ss::Application other;
    other.Workbooks().Add();
    table.push_back({"999999_", table.front().RowKey, "one more", ""});
    ExpectFailure(
        [&] { BuildBudgetSheet(other, table, DefaultIncomes(), model::WorkbookPalette()); },
        "65537 rows");
    ExpectUntouched(other);
}

// Another currency reaches every amount cell of the sheet in one format, valid for other
// programs and shown by the engine with the symbol where the locale puts it; Letter paper
// reaches the page set-up; USD keeps the format of every earlier sheet in any locale.
TEST_F(BudgetSheetTest, TheCurrencyFormatsEveryAmountAndThePaperReachesThePageSetUp) {
    const struct {
        const char* locale;
        const char* currency;
        const char* format;    // UTF-8
        const char* positive;  // 1234.56 as the engine shows it
        const char* negative;  // -1234.56
    } cases[] = {
        {"de_DE", "USD", "$#,##0_);[Red]($#,##0)", "$1,235 ", "($1,235)"},
        {"de_DE", "EUR", "#,##0.00 \"\u20AC\"_);[Red](#,##0.00 \"\u20AC\")", "1,234.56 \u20AC ",
         "(1,234.56 \u20AC)"},
        {"en_US", "EUR", "\"\u20AC\"#,##0.00_);[Red](\"\u20AC\"#,##0.00)", "\u20AC1,234.56 ",
         "(\u20AC1,234.56)"},
        {"en_US", "JPY", "\"\u00A5\"#,##0_);[Red](\"\u00A5\"#,##0)", "\u00A51,235 ",
         "(\u00A51,235)"},
        {"de_CH", "CHF", "#,##0.00 \"CHF\"_);[Red](#,##0.00 \"CHF\")", "1,234.56 CHF ",
         "(1,234.56 CHF)"},
        {"nb_NO", "NOK", "\"kr\" #,##0.00_);[Red](\"kr\" #,##0.00)", "kr 1,234.56 ",
         "(kr 1,234.56)"},
        {"C", "PLN", "\"z\u0142\"#,##0.00_);[Red](\"z\u0142\"#,##0.00)", "z\u01421,234.56 ",
         "(z\u01421,234.56)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.locale) + " " + c.currency);
        const std::string format = AmountFormatFor(model::CurrencyOrUsd(QLatin1String(c.currency)),
                                                   QLocale(QLatin1String(c.locale)));
        EXPECT_EQ(format, c.format);
        const ss::FormattedValue positive = ss::FormatValue(1234.56, format);
        EXPECT_EQ(positive.text, c.positive);
        EXPECT_FALSE(positive.color);
        const ss::FormattedValue negative = ss::FormatValue(-1234.56, format);
        EXPECT_EQ(negative.text, c.negative);
        EXPECT_TRUE(negative.color);
    }

    const std::string euro = AmountFormatFor(model::CurrencyOrUsd(QStringLiteral("EUR")),
                                             QLocale(QStringLiteral("de_DE")));
    BuildBudgetSheet(app, model::DefaultCategorySet(), DefaultIncomes(), model::WorkbookPalette(),
                     SheetLookFor(model::CurrencyOrUsd(QStringLiteral("EUR")),
                                  QLocale(QStringLiteral("de_DE")), Paper::Letter));
    const ss::Worksheet& sheet = app.ActiveSheet();
    int amounts = 0;
    for (const auto& [at, cell] : sheet.Cells()) {
        const std::string& shown = app.ActiveWorkbook()
                                       .Formats()[static_cast<std::size_t>(sheet.FormatIndexOf(at))]
                                       .numberFormat;
        EXPECT_EQ(shown.find('$'), std::string::npos) << shown;
        if (shown == euro) ++amounts;
    }
    EXPECT_GE(amounts, 100);  // the header block and every item and subtotal
    EXPECT_EQ(app.Range("E6").NumberFormat(), euro);
    EXPECT_EQ(sheet.pageSetup.paperSize, 1);
    for (const ss::DataValidation& validation : sheet.validations)
        EXPECT_NE(validation.inputMessage.find("in EUR"), std::string::npos);
    EXPECT_EQ(KeyFiguresSummary(sheet, euro).find('$'), std::string::npos);
}

}  // namespace
}  // namespace quill::sheet
