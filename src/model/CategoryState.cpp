#include "model/CategoryState.h"

#include <algorithm>
#include <optional>

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QLocale>

#include "model/Amounts.h"
#include "model/CategoryTree.h"
#include "model/DefaultCategorySet.h"
#include "model/SettingsStore.h"
#include "model/WorkbookPalette.h"
#include "shell/ErrorTrap.h"
#include "shell/Failure.h"

namespace quill::model {

namespace {

QString Key(const char* name) {
    return QString::fromLatin1(name);
}

// The saved flag: "True" in any case, or a non-zero whole number; anything else, and an
// absent key, means that no table has been saved.
bool ReadSavedFlag(const SettingsStore& store) {
    const QString text = store.GetSetting(Key(kSavedKey)).trimmed();
    if (text.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0) return true;
    bool isNumber = false;
    const long long number = text.toLongLong(&isNumber);
    return isNumber && number != 0;
}

// A stored count as a whole number, or nothing when the text is not one.
std::optional<long long> ReadCount(const SettingsStore& store, const char* key, int absent) {
    bool isNumber = false;
    const long long count =
        store.GetSetting(Key(key), QString::number(absent)).trimmed().toLongLong(&isNumber);
    if (!isNumber) return std::nullopt;
    return count;
}

QString CountProblem(const SettingsStore& store, const char* key, const QString& expected) {
    return QCoreApplication::translate("quill::model::CategoryState", "\"%1\" is \"%2\", not %3")
        .arg(Key(key), store.GetSetting(Key(key)), expected);
}

// Reads the saved table into `table`. Returns what makes it unusable, empty when nothing.
QString ReadStoredTable(const SettingsStore& store, CategoryTable& table) {
    const auto rows = ReadCount(store, kRowsKey, static_cast<int>(DefaultCategoryRowCount()));
    if (!rows || *rows < 1 || *rows > kMaxStoredRows)
        return CountProblem(store, kRowsKey,
                            QCoreApplication::translate("quill::model::CategoryState",
                                                        "a whole number from 1 to %1")
                                .arg(kMaxStoredRows));
    const auto columns = ReadCount(store, kColumnsKey, kCategoryFieldCount);
    if (!columns || *columns != kCategoryFieldCount)
        return CountProblem(store, kColumnsKey, QString::number(kCategoryFieldCount));

    // Every row has a key and a parent key; a row without them is what is left of a table
    // that was not written in full (or a row count larger than the rows written).
    const auto missing = [&](int r, int field, const QString& what) {
        return QCoreApplication::translate("quill::model::CategoryState",
                                           "row %1 of %2 has no %3 (\"%4\" is empty or absent)")
            .arg(r)
            .arg(*rows)
            .arg(what, FieldKey(field, r));
    };
    CategoryTable stored(static_cast<std::size_t>(*rows));
    for (int r = 1; r <= *rows; ++r) {
        CategoryRow& row = stored[static_cast<std::size_t>(r - 1)];
        row.RowKey = store.GetSetting(FieldKey(1, r));
        if (row.RowKey.trimmed().isEmpty())
            return missing(r, 1, QCoreApplication::translate("quill::model::CategoryState", "key"));
        row.ParentKey = store.GetSetting(FieldKey(2, r));
        if (row.ParentKey.trimmed().isEmpty())
            return missing(
                r, 2, QCoreApplication::translate("quill::model::CategoryState", "parent key"));
        row.RowText = store.GetSetting(FieldKey(3, r));
        row.RowPath = store.GetSetting(FieldKey(4, r));
    }
    table = std::move(stored);
    return {};
}

// Reads the planned amounts of `table` when the stored fingerprint is the table's. Returns
// what makes them unusable, empty when nothing.
QString ReadStoredAmounts(const SettingsStore& store, CategoryTable& table) {
    const QString fingerprint = store.GetSetting(Key(kPlannedTableKey)).trimmed();
    if (fingerprint.isEmpty() || fingerprint != TableFingerprint(table)) return {};
    for (std::size_t r = 0; r < table.size(); ++r) {
        const QString key = PlannedKey(static_cast<int>(r) + 1);
        const QString text = store.GetSetting(key).trimmed();
        if (text.isEmpty()) continue;
        // Written in the plain form; read so whatever the user's locale.
        const ParsedAmount amount = ParseAmount(text, QLocale::c());
        if (!amount)
            return QCoreApplication::translate("quill::model::CategoryState",
                                               "the planned amount \"%1\" is \"%2\", not an amount")
                .arg(key, text);
        table[r].Planned = amount.Value();
    }
    return {};
}

// Shows the table in the tree with its first node selected; returns the tree's objection
// (a row whose group has no node, a key used twice, no node at all), empty when none.
QString ShowInTree(const CategoryTable& table, CategoryTree& tree) {
    try {
        FillCategoryTree(table, tree);
        tree.SelectFirstNode();
        return {};
    } catch (const Failure& rejected) {
        return QCoreApplication::translate("quill::model::CategoryState",
                                           "its rows do not form a tree (%1)")
            .arg(QString::fromUtf8(rejected.what()));
    }
}

// Loads the saved table and its tree. Returns why they cannot be used, empty on success.
QString LoadStoredTable(AppState& state, CategoryTree& tree, const SettingsStore& store) {
    CategoryTable stored;
    if (QString problem = ReadStoredTable(store, stored); !problem.isEmpty()) return problem;
    if (QString problem = ReadStoredAmounts(store, stored); !problem.isEmpty()) return problem;
    if (QString problem = ShowInTree(stored, tree); !problem.isEmpty()) return problem;
    state.categories = std::move(stored);
    return {};
}

QString UnreadableMessage(const QString& problem, const SettingsStore& store) {
    return QCoreApplication::translate(
               "quill::model::CategoryState",
               "The saved category list in %1 cannot be read: %2. The default categories "
               "are used instead; the saved file will be kept as %3 before it is next saved.")
        .arg(store.FilePath(), problem, store.BackupPath());
}

QString RefusedMessage(const QString& problem, const SettingsStore& store) {
    return QCoreApplication::translate(
               "quill::model::CategoryState",
               "The settings file %1 cannot be used: %2. It is left as it is: the default "
               "categories and incomes are used, and nothing of this run will be saved. "
               "Remove or rename it so that your changes can be saved.")
        .arg(store.FilePath(), problem);
}

}  // namespace

QString FieldKey(int field, int row) {
    return QStringLiteral("Field%1_%2").arg(field).arg(row);
}

QString PlannedKey(int row) {
    return QStringLiteral("Planned_%1").arg(row);
}

QString TableFingerprint(const CategoryTable& table) {
    QCryptographicHash hash(QCryptographicHash::Sha256);
    // Each field with its length first, so that no two tables give the same stream.
    const auto add = [&](const QString& field) {
        const QByteArray bytes = field.toUtf8();
        hash.addData(QByteArray::number(bytes.size()) + ':');
        hash.addData(bytes);
    };
    for (const CategoryRow& row : table) {
        add(row.RowKey);
        add(row.ParentKey);
        add(row.RowText);
        add(row.RowPath);
    }
    return QString::fromLatin1(hash.result().toHex());
}

void LoadCategoryState(AppState& state, CategoryTree& tree, IncomeTexts& incomes,
                       SettingsStore& store, CategorySource source) {
    QString problem;
    bool loaded = false;
    if (source == CategorySource::Stored) {
        // A file that cannot be read as a whole is not searched for a table either: what
        // could be parsed of it may be a damaged table that looks whole.
        problem = store.ReadProblem();
        if (problem.isEmpty() && ReadSavedFlag(store)) {
            problem = LoadStoredTable(state, tree, store);
            loaded = problem.isEmpty();
        }
    }
    if (!loaded) {
        state.categories = DefaultCategorySet();
        FillCategoryTree(state.categories, tree);
        tree.SelectFirstNode();
    }

    for (std::size_t i = 0; i < incomes.size(); ++i)
        incomes[i] = store.GetSetting(Key(kIncomeKeys[i]), Key(kIncomeDefaults[i]));
    if (source == CategorySource::Stored) {
        state.currency = CurrencyOrUsd(store.GetSetting(Key(kCurrencyKey)));
        state.paper = PaperNamed(store.GetSetting(Key(kPaperKey)).trimmed()).value_or(Paper::A4);
    }
    state.SelectedRowText = tree.SelectedText();
    state.WorkbookPalette = WorkbookPalette();

    // Reported only now, so that the caller's trap finds a complete, consistent state.
    if (!problem.isEmpty()) {
        if (store.Refused())
            throw UnusableStoredState(RefusedMessage(problem, store), store.FilePath(), problem);
        store.KeepBackupBeforeNextSave();
        throw UnusableStoredState(UnreadableMessage(problem, store), store.FilePath(), problem);
    }
}

void SaveCategoryState(const AppState& state, const IncomeTexts& incomes, SettingsStore& store,
                       Trace& trace) {
    // The values reach the file together, in one update at the end.
    // One step a value, numbered from 100 up in the order the values are written.
    store.BeginBatch();
    int line = 100;
    const auto save = [&](const QString& key, const QString& value) {
        trace.Step(line, [&] { store.SaveSetting(key, value); });
        line += 2;
    };
    for (std::size_t i = 0; i < incomes.size(); ++i) save(Key(kIncomeKeys[i]), incomes[i]);

    const CategoryTable& table = state.categories;
    for (std::size_t r = 0; r < table.size(); ++r) {
        const int row = static_cast<int>(r) + 1;
        save(FieldKey(1, row), table[r].RowKey);
        save(FieldKey(2, row), table[r].ParentKey);
        save(FieldKey(3, row), table[r].RowText);
        save(FieldKey(4, row), table[r].RowPath);
    }
    save(Key(kRowsKey), QString::number(table.size()));
    save(Key(kColumnsKey), QString::number(kCategoryFieldCount));
    save(Key(kSavedKey), QStringLiteral("True"));
    const bool planned = std::any_of(
        table.begin(), table.end(), [](const CategoryRow& row) { return row.Planned.has_value(); });
    if (planned) {
        for (std::size_t r = 0; r < table.size(); ++r)
            save(PlannedKey(static_cast<int>(r) + 1),
                 table[r].Planned ? table[r].Planned->Decimal() : QString());
        save(Key(kPlannedTableKey), TableFingerprint(table));
    } else if (!store.GetSetting(Key(kPlannedTableKey)).isEmpty()) {
        // Amounts saved before are no longer the table's.
        save(Key(kPlannedTableKey), QString());
    }
    // A default value is no key at all.
    const auto saveUnlessDefault = [&](const char* key, const QString& value, bool isDefault) {
        if (!isDefault) {
            save(Key(key), value);
        } else if (store.HasSetting(Key(key))) {
            trace.Step(line, [&] { store.RemoveSetting(Key(key)); });
            line += 2;
        }
    };
    saveUnlessDefault(kCurrencyKey, state.currency.code,
                      state.currency.code == QLatin1String(kDefaultCurrencyCode));
    saveUnlessDefault(kPaperKey, PaperName(state.paper), state.paper == Paper::A4);
    trace.Step(line, [&] { store.CommitBatch(); });
}

}  // namespace quill::model
