#include <gtest/gtest.h>

#include <memory>
#include <utility>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "model/CategoryState.h"
#include "model/DefaultCategorySet.h"
#include "model/MemoryCategoryTree.h"
#include "model/SettingsStore.h"
#include "model/WorkbookPalette.h"
#include "shell/ErrorTrap.h"
#include "shell/Failure.h"
#include "shell/Translations.h"
#include "support/NonRegularFiles.h"
#include "support/QtPrinting.h"
#include "support/RecordingPrompt.h"
#include "support/ScopedSettings.h"
#include "support/ScratchConfig.h"

namespace quill::model {
namespace {

using Stored = std::pair<QString, QString>;

// A store that records every write and can be told to fail one of them.
class RecordingStore : public SettingsStore {
  public:
    void SaveSetting(const QString& key, const QString& value) override {
        writes.emplace_back(key, value);
        if (key == failOn) throw Failure("Disk full");
        SettingsStore::SaveSetting(key, value);
    }
    std::vector<Stored> writes;
    QString failOn;
};

class CategoryState : public ::testing::Test {
  protected:
    // The store of the current run; NewRun() starts the next one.
    RecordingStore& Store() {
        if (!store_) store_ = std::make_unique<RecordingStore>();
        return *store_;
    }
    void NewRun() { store_.reset(); }

    // Loads and saves under a trap, as the main window does; both return the reports.
    std::vector<QString> Load(bool restoreDefaults = false) {
        test::RecordingPrompt prompt;
        Trace(prompt, QStringLiteral("Form1.Form_Load")).Step(110, [&] {
            LoadCategoryState(state, tree, incomes, Store(),
                              restoreDefaults ? CategorySource::Defaults : CategorySource::Stored);
        });
        return prompt.Errors();
    }
    std::vector<QString> Save() {
        test::RecordingPrompt prompt;
        Trace trace(prompt, QStringLiteral("Form1.Form_QueryUnload"));
        SaveCategoryState(state, incomes, Store(), trace);
        // Every report: a file that cannot be written is a plain notice, anything else the
        // error-report box.
        std::vector<QString> reports = prompt.Errors();
        for (const QString& notice : prompt.Notices()) reports.push_back(notice);
        return reports;
    }

    QByteArray IniText() const { return FileText(config.IniPath()); }
    static QByteArray FileText(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    void WriteIni(const QByteArray& text) {
        QFile file(config.IniPath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }

    test::ScratchConfig config;
    AppState state;
    MemoryCategoryTree tree;
    IncomeTexts incomes;

  private:
    std::unique_ptr<RecordingStore> store_;
};

TEST_F(CategoryState, FirstRunShowsTheDefaultsWithHousingSelected) {
    EXPECT_TRUE(Load().empty());
    EXPECT_EQ(state.categories, DefaultCategorySet());
    EXPECT_EQ(tree.Nodes().size(), 77u);
    EXPECT_EQ(state.SelectedRowText, QStringLiteral("HOUSING"));
    EXPECT_EQ(incomes, (IncomeTexts{"$3000", "$100", "$100", "$2720"}));
    EXPECT_EQ(state.WorkbookPalette[4], Rgb(104, 150, 206));
    EXPECT_FALSE(QFile::exists(config.IniPath()));  // loading writes nothing
}

TEST_F(CategoryState, SavingWritesEveryValueInOrder) {
    Load();
    EXPECT_TRUE(Save().empty());
    const auto& writes = Store().writes;
    ASSERT_EQ(writes.size(), 315u);
    EXPECT_EQ(writes[0], Stored("0 Income", "$3000"));
    EXPECT_EQ(std::vector<Stored>(writes.begin() + 4, writes.begin() + 9),
              (std::vector<Stored>{{"Field1_1", "1_"},
                                   {"Field2_1", "0_"},
                                   {"Field3_1", "HOUSING"},
                                   {"Field4_1", "HOUSING"},
                                   {"Field1_2", "2_"}}));
    EXPECT_EQ(std::vector<Stored>(writes.begin() + 311, writes.end()),
              (std::vector<Stored>{{"Field4_77", "LEGAL\\Other"},
                                   {"System Value - Rows", "77"},
                                   {"System Value - Columns", "4"},
                                   {"System Value - Saved", "True"}}));

    // The file escapes blanks in keys and backslashes in values.
    const QByteArray ini = IniText();  // the group comes first, keys in sorted order
    for (const char* line :
         {"[Quillmere]\n0%20Income=$3000\n", "\nSystem%20Value%20-%20Rows=77\n",
          "\nSystem%20Value%20-%20Saved=True\n", "\nField4_2=HOUSING\\\\Mortgage or rent\n"})
        EXPECT_TRUE(ini.contains(line)) << line;
}

// Names stored from a German run are the user's: an English run shows them as they are,
// planned amounts and incomes included, under the same English keys.
TEST_F(CategoryState, ATableSavedInGermanLoadsUnchangedInEnglish) {
    CategoryTable german;
    {
        const shell::Translations translations(shell::Program::Windows, QLocale(QLocale::German));
        EXPECT_TRUE(Load().empty());
        EXPECT_EQ(state.SelectedRowText, QStringLiteral("WOHNEN"));
        state.categories[1].Planned = Amount::FromCents(120050);
        incomes[0] = QStringLiteral("$1234.50");
        german = state.categories;
        EXPECT_TRUE(Save().empty());
    }
    NewRun();
    EXPECT_TRUE(Load().empty());
    EXPECT_EQ(state.categories, german);
    EXPECT_EQ(state.SelectedRowText, QStringLiteral("WOHNEN"));
    EXPECT_EQ(incomes, (IncomeTexts{"$1234.50", "$100", "$100", "$2720"}));
    const QByteArray ini = IniText();
    for (const char* line :
         {"[Quillmere]\n0%20Income=$1234.50\n", "\nField3_1=WOHNEN\n", "\nPlanned_2=1200.50\n"})
        EXPECT_TRUE(ini.contains(line)) << line;
}

TEST_F(CategoryState, HandWrittenKeysWithBlanksAreReadOnlyWithTheSavedFlag) {
    const QByteArray table =
        "[Quillmere]\nSystem Value - Rows=1\n0 Income=$7\nField1_1=1_\nField2_1=0_\n"
        "Field3_1=ONLY\nField4_1=\"a, b\"\n";
    WriteIni(table);
    EXPECT_TRUE(Load().empty());
    EXPECT_EQ(state.categories.size(), 77u);

    NewRun();
    WriteIni(table + "System Value - Saved=True\n");
    EXPECT_TRUE(Load().empty());
    EXPECT_EQ(state.categories, (CategoryTable{{"1_", "0_", "ONLY", "a, b"}}));
    EXPECT_EQ(incomes[0], QStringLiteral("$7"));
}

TEST_F(CategoryState, AnEditedTableReloadsWithoutTheOldRowsAndRestoreKeepsStoredIncomes) {
    Load();
    Save();
    DeleteRowAndChildren(state.categories, QStringLiteral("1_"));
    InsertRowBelow(state.categories, QStringLiteral("12_"), QStringLiteral("13_"),
                   QStringLiteral("Toys, \"big\" ones"));
    incomes[2] = QStringLiteral("$55");
    const CategoryTable edited = state.categories;
    Save();

    NewRun();
    state = {};
    EXPECT_TRUE(Load().empty());
    EXPECT_EQ(state.categories, edited);
    EXPECT_EQ(state.SelectedRowText, QStringLiteral("TRANSPORTATION"));
    // The rows of the longer table stay in the store, unread.
    EXPECT_TRUE(IniText().contains("\nField4_77=LEGAL\\\\Other\n"));

    incomes[2] = QStringLiteral("$1");  // typed, not saved
    EXPECT_TRUE(Load(true).empty());
    EXPECT_EQ(state.categories, DefaultCategorySet());
    EXPECT_EQ(incomes[2], QStringLiteral("$55"));
}

class UnreadableState : public CategoryState, public ::testing::WithParamInterface<const char*> {};

TEST_P(UnreadableState, IsReportedOnceReplacedByDefaultsAndKeptBeforeTheNextSave) {
    const QByteArray stored =
        QByteArray("[Quillmere]\nSystem Value - Saved=True\n0 Income=$42\n") + GetParam();
    WriteIni(stored);
    const std::vector<QString> errors = Load();
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_TRUE(errors[0].contains(QStringLiteral("cannot be read"))) << errors[0];
    EXPECT_TRUE(errors[0].contains(QStringLiteral("Tarnwick.ini.bak"))) << errors[0];

    // The load was finished with the default set.
    EXPECT_EQ(state.categories.size(), 77u);
    EXPECT_EQ(state.SelectedRowText, QStringLiteral("HOUSING"));
    EXPECT_EQ(incomes[0], QStringLiteral("$42"));
    EXPECT_EQ(state.WorkbookPalette, WorkbookPalette());

    EXPECT_FALSE(QFile::exists(config.IniPath() + ".bak"));
    EXPECT_TRUE(Save().empty());
    EXPECT_EQ(FileText(config.IniPath() + ".bak"), stored);
    EXPECT_TRUE(IniText().contains("\nSystem%20Value%20-%20Rows=77\n"));
}

INSTANTIATE_TEST_SUITE_P(
    CategoryState, UnreadableState,
    ::testing::Values("System Value - Rows=many\n", "System Value - Rows=-3\n",
                      "System Value - Rows=0\n", "System Value - Rows=65537\n",
                      "System Value - Rows=1\nSystem Value - Columns=5\nField1_1=1_\n"
                      "Field2_1=0_\n",
                      // no row with a key; an item whose group is missing; a key used twice
                      "System Value - Rows=1\n",
                      "System Value - Rows=1\nField1_1=2_\nField2_1=1_\n",
                      "System Value - Rows=2\nField1_1=1_\nField2_1=0_\nField1_2=1_\n"
                      "Field2_2=0_\n",
                      // more rows counted than written; a row without a key, without a parent
                      "System Value - Rows=65536\nField1_1=1_\nField2_1=0_\nField1_2=2_\n"
                      "Field2_2=1_\nField1_3=3_\nField2_3=1_\n",
                      "System Value - Rows=2\nField1_1=1_\nField2_1=0_\nField1_2=\n"
                      "Field2_2=1_\nField3_2=lost\n",
                      "System Value - Rows=2\nField1_1=1_\nField2_1=0_\nField1_2=2_\n"
                      "Field3_2=lost\n",
                      // a whole table, but in a file with lines that cannot be parsed
                      "System Value - Rows=1\nField1_1=1_\nField2_1=0_\nField3_1=ONLY\n"
                      "[Broken\nx=1\n",
                      "System Value - Rows=1\nField1_1=1_\nField2_1=0_\nField3_1=ONLY\n"
                      "\x89PNG\r\n\x1a\n\xff\xfe\x01junk\n"));

class NonRegularSettingsPath : public CategoryState,
                               public ::testing::WithParamInterface<test::SpecialFile> {};

TEST_P(NonRegularSettingsPath, IsNeitherReadNorReplacedAndTheDefaultsAreUsed) {
    ASSERT_TRUE(test::MakeSpecialFile(GetParam(), config.IniPath()));
    const unsigned type = test::FileTypeAt(config.IniPath());
    std::vector<QString> errors;
    {
        const test::PipeWaitGuard guard(config.IniPath());
        errors = Load();
        EXPECT_FALSE(guard.Fired()) << "the store waited for a writer of the named pipe";
    }
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_TRUE(errors[0].contains(QLatin1String(test::SpecialFileWords(GetParam())) +
                                   QStringLiteral(", not a regular file")))
        << errors[0];
    EXPECT_EQ(state.categories, DefaultCategorySet());
    EXPECT_EQ(incomes, (IncomeTexts{"$3000", "$100", "$100", "$2720"}));

    const test::PipeWaitGuard guard(config.IniPath());
    EXPECT_TRUE(Save().empty());  // reported at the start, not again
    EXPECT_EQ(test::FileTypeAt(config.IniPath()), type);
    EXPECT_FALSE(QFile::exists(config.IniPath() + ".bak"));
    EXPECT_TRUE(Load(true).empty());  // restoring the defaults reports nothing
}

INSTANTIATE_TEST_SUITE_P(CategoryState, NonRegularSettingsPath,
                         ::testing::Values(test::SpecialFile::NamedPipe, test::SpecialFile::Folder,
                                           test::SpecialFile::Device, test::SpecialFile::Socket));

TEST_F(CategoryState, PlannedAmountsSurviveSavingAndOnlyOnTheTableTheyWerePlannedFor) {
    Load();
    state.categories[1].Planned = Amount::FromCents(120050);  // Mortgage or rent
    state.categories[76].Planned = Amount::FromCents(0);      // planned as nothing
    const CategoryTable planned = state.categories;
    EXPECT_TRUE(Save().empty());
    // Earlier versions read the four fields and the counts as before.
    EXPECT_TRUE(IniText().contains("\nSystem%20Value%20-%20Columns=4\n"));
    EXPECT_TRUE(IniText().contains("\nPlanned_2=1200.50\n"));

    {  // Read back the same under a locale with a decimal comma.
        NewRun();
        const test::ScopedDefaultLocale german(QLocale(QLocale::German, QLocale::Germany));
        EXPECT_TRUE(Load().empty());
        EXPECT_EQ(state.categories, planned);
    }

    // An earlier version renamed a row and saved the table without amounts: the amounts
    // left in the file are not this table's, so none is read.
    NewRun();
    WriteIni(IniText().replace("Field3_2=Mortgage or rent", "Field3_2=Rent"));
    EXPECT_TRUE(Load().empty());
    EXPECT_EQ(state.categories[1].RowText, QStringLiteral("Rent"));
    for (const CategoryRow& row : state.categories) EXPECT_FALSE(row.Planned) << row.RowKey;

    // Amounts cleared in this version: the next load reads none, the keys left behind too.
    NewRun();
    state.categories = planned;
    EXPECT_TRUE(Save().empty());
    NewRun();
    Load();
    state.categories[1].Planned.reset();
    state.categories[76].Planned.reset();
    EXPECT_TRUE(Save().empty());
    NewRun();
    EXPECT_TRUE(Load().empty());
    EXPECT_EQ(state.categories, DefaultCategorySet());

    // A damaged amount of this table is damage like a missing key: defaults and a report.
    NewRun();
    state.categories = planned;
    EXPECT_TRUE(Save().empty());
    NewRun();
    WriteIni(IniText().replace("Planned_2=1200.50", "Planned_2=12x"));
    const std::vector<QString> reports = Load();
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_TRUE(reports[0].contains(QStringLiteral("Planned_2"))) << reports[0];
    EXPECT_EQ(state.categories, DefaultCategorySet());
}

TEST_F(CategoryState, FailedWritesAreReportedAndTheNextWriteRuns) {
    Load();
    Store().failOn = QStringLiteral("Field3_5");
    const std::vector<QString> errors = Save();
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_TRUE(errors[0].startsWith(QStringLiteral("Disk full")));
    EXPECT_TRUE(IniText().contains("\nField4_5=HOUSING\\\\Gas\n"));
    EXPECT_TRUE(IniText().contains("\nSystem%20Value%20-%20Saved=True\n"));

    // A file that cannot be written is reported once, when the values are committed: here
    // its folder has become a regular file.
    NewRun();
    Store();
    const QString folder = config.Folder();
    ASSERT_TRUE(QDir().rename(folder, folder + ".away"));
    ASSERT_TRUE(QFile(folder).open(QIODevice::WriteOnly));
    const std::vector<QString> failed = Save();
    QFile::remove(folder);
    ASSERT_TRUE(QDir().rename(folder + ".away", folder));
    ASSERT_EQ(failed.size(), 1u);
    EXPECT_TRUE(failed[0].startsWith(QStringLiteral("The settings could not be saved to ")))
        << failed[0];

    // Something else put in the file's place during the run is left alone, reported once.
    NewRun();
    Store();
    QFile::remove(config.IniPath());
    ASSERT_TRUE(QDir().mkpath(config.IniPath()));
    const std::vector<QString> refused = Save();
    ASSERT_EQ(refused.size(), 1u);
    EXPECT_TRUE(refused[0].contains(QStringLiteral("a folder, not a regular file"))) << refused[0];
    EXPECT_TRUE(QFileInfo(config.IniPath()).isDir());
}

}  // namespace
}  // namespace quill::model
