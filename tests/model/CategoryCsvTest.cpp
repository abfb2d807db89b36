#include <gtest/gtest.h>

#include <QByteArray>
#include <QString>

#include "model/CategoryCsv.h"
#include "model/CategoryState.h"
#include "model/DefaultCategorySet.h"
#include "support/QtPrinting.h"

namespace quill::model {
namespace {

Amount Cents(std::int64_t cents) {
    return Amount::FromCents(cents);
}

// A file refused whole: the line and a word of the cause that tells the user what to fix.
TEST(CategoryCsv, RefusesMalformedFilesWithTheLineAndTheCause) {
    QByteArray tooMany = "Group,Category,Planned\nG,,\n";
    for (int i = 1; i < kMaxStoredRows; ++i) tooMany += ",x" + QByteArray::number(i) + ",\n";
    const QByteArray justEnough = tooMany;
    tooMany += ",one too many,\n";
    const struct {
        const char* name;
        QByteArray file;
        int line;
        const char* cause;
    } cases[] = {
        {"empty file", "", 1, "empty"},
        {"only a byte order mark", "\xEF\xBB\xBF", 1, "empty"},
        {"no header", "HOUSING,,\nHOUSING,Rent,5\n", 1, "header"},
        {"header with a wrong name", "Group,Item,Planned\nA,,\n", 1, "header"},
        {"header only", "Group,Category,Planned\r\n", 1, "no groups"},
        {"two fields", "Group,Category,Planned\nA,,\nA,Rent\n", 3, "2 field"},
        {"four fields", "Group,Category,Planned\nA,Rent,5,6\n", 2, "4 field"},
        {"item before any group", "Group,Category,Planned\n,Rent,5\nA,,\n", 2, "before any group"},
        {"empty group name", "Group,Category,Planned\nA,,\n,,\n", 3, "group name is empty"},
        {"blank group name", "Group,Category,Planned\n  ,,\n", 2, "group name is empty"},
        {"group declared twice", "Group,Category,Planned\nA,,\nB,,\nA,,\n", 4, "declared twice"},
        {"amount on a group", "Group,Category,Planned\nA,,12\n", 2, "planned amount"},
        {"letters", "Group,Category,Planned\nA,Rent,12abc\n", 2, "not an amount"},
        {"negative", "Group,Category,Planned\nA,Rent,-5\n", 2, "negative"},
        {"exponent", "Group,Category,Planned\nA,Rent,1e5\n", 2, "not an amount"},
        {"too large", "Group,Category,Planned\nA,Rent,1234567890123\n", 2, "12 digits"},
        {"unclosed quote", "Group,Category,Planned\nA,,\nA,\"Rent,5\nB,,\n", 3, "not closed"},
        {"text after a closing quote", "Group,Category,Planned\nA,\"Rent\"x,5\n", 2,
         "closing quote"},
        {"quote inside a plain field", "Group,Category,Planned\nA,Re\"nt,5\n", 2, "quote"},
        {"not UTF-8", "Group,Category,Planned\nA,,\nA,Caf\xE9,5\n", 3, "UTF-8"},
        {"line count past a quoted line break", "Group,Category,Planned\nA,\"x\ny\",\nA,b\n", 4,
         "2 field"},
        {"more rows than the table holds", tooMany, kMaxStoredRows + 2, "more than 65536"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        try {
            ReadCategoryCsv(c.file);
            ADD_FAILURE() << "accepted";
        } catch (const CategoryCsvError& error) {
            EXPECT_EQ(error.Line(), c.line) << error.what();
            EXPECT_TRUE(error.Cause().contains(QLatin1String(c.cause))) << error.what();
            EXPECT_TRUE(QString::fromUtf8(error.what())
                            .startsWith(QStringLiteral("Line %1: ").arg(c.line)));
        }
    }
    // The largest table fits exactly.
    EXPECT_EQ(ReadCategoryCsv(justEnough).size(), static_cast<std::size_t>(kMaxStoredRows));
}

TEST(CategoryCsv, ReadsTheAcceptedFormsAsTheTreeOrder) {
    // A byte order mark, CR LF and LF, an empty line, a header in other case, items that
    // declare their group or continue the one above, a group named again later, amounts
    // as the parser reads them whatever the user's locale.
    const QByteArray file =
        "\xEF\xBB\xBFgroup, CATEGORY ,planned\r\n"
        "HOUSING,Rent,\"1,234.56\"\r\n"
        ",Phone,$45\n"
        "\n"
        "CAR,,\n"
        "HOUSING,Water,\" 12,50 \"\n"
        "CAR,Fuel,0\n"
        "CAR,Fuel,\n";
    const CategoryTable expected = {
        {"1_", "0_", "HOUSING", "HOUSING", std::nullopt},
        {"2_", "1_", "Rent", "HOUSING\\Rent", Cents(123456)},
        {"3_", "1_", "Phone", "HOUSING\\Phone", Cents(4500)},
        {"4_", "1_", "Water", "HOUSING\\Water", Cents(1250)},
        {"5_", "0_", "CAR", "CAR", std::nullopt},
        {"6_", "5_", "Fuel", "CAR\\Fuel", Cents(0)},
        {"7_", "5_", "Fuel", "CAR\\Fuel", std::nullopt},
    };
    EXPECT_EQ(ReadCategoryCsv(file), expected);
}

TEST(CategoryCsv, ExportThenImportGivesBackTheSameTable) {
    CategoryTable odd = {
        {"1_", "0_", "Bills, \"fixed\"", "Bills, \"fixed\"", std::nullopt},
        {"2_", "1_", "Rent\nand service", "Bills, \"fixed\"\\Rent\nand service", Cents(120050)},
        {"3_", "1_", "電気代", "Bills, \"fixed\"\\電気代", Cents(1)},
        {"4_", "1_", "Coffee ☕ 🎉", "Bills, \"fixed\"\\Coffee ☕ 🎉", std::nullopt},
        {"5_", "1_", " padded ", "Bills, \"fixed\"\\ padded ", Cents(Amount::kMaxCents)},
        {"6_", "0_", "食費 🍙", "食費 🍙", std::nullopt},
        {"7_", "0_", "Empty group", "Empty group", std::nullopt},
        {"8_", "7_", "=SUM(A1)", "Empty group\\=SUM(A1)", Cents(0)},
    };
    CategoryTable planned = DefaultCategorySet();
    planned[1].Planned = Cents(120050);
    for (const CategoryTable& table : {DefaultCategorySet(), planned, odd}) {
        const QByteArray bytes = WriteCategoryCsv(table);
        EXPECT_EQ(ReadCategoryCsv(bytes), table) << bytes.toStdString();
        EXPECT_EQ(WriteCategoryCsv(ReadCategoryCsv(bytes)), bytes);
    }
    EXPECT_TRUE(WriteCategoryCsv(planned).startsWith(
        "Group,Category,Planned\r\nHOUSING,,\r\nHOUSING,Mortgage or rent,1200.50\r\n"
        "HOUSING,Phone,\r\n"));
}

TEST(CategoryCsv, ExportWritesTheTreeOrderAndRefusesWhatCannotComeBack) {
    // Keys out of table order (as after inserts), an item of no group (not shown).
    const CategoryTable table = {{"4_", "1_", "Second", ""},
                                 {"1_", "0_", "G", "G"},
                                 {"2_", "1_", "First", ""},
                                 {"9_", "77_", "Lost", ""},
                                 {"3_", "0_", "H", "H"}};
    EXPECT_EQ(WriteCategoryCsv(table),
              "Group,Category,Planned\r\nG,,\r\nG,First,\r\nG,Second,\r\nH,,\r\n");

    const CategoryTable sameNames = {{"1_", "0_", "G", "G"}, {"2_", "0_", "G", "G"}};
    EXPECT_THROW(WriteCategoryCsv(sameNames), PlainFailure);
    const CategoryTable unnamedItem = {{"1_", "0_", "G", "G"}, {"2_", "1_", " ", ""}};
    EXPECT_THROW(WriteCategoryCsv(unnamedItem), PlainFailure);
}

}  // namespace
}  // namespace quill::model
