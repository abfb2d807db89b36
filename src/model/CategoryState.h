// Loading the category list, the income boxes and the palette at start-up (and on
// "Restore Default"), and saving the list and the incomes when the main window closes.
//
// Stored keys, all texts in the group [Quillmere] of the settings store:
//   "0 Income", "1 Extra income", "2 Extra income", "3 Income"  the four income boxes
//   "Field" + c + "_" + r                                       field c of row r
//   "System Value - Rows", "System Value - Columns"             the table's size
//   "System Value - Saved" = "True"                             a table has been saved
//   "Planned_" + r                                              row r's planned amount
//   "System Value - Planned"                                    the table the amounts are for
//   "Currency" = "EUR"                                          the currency amounts show in
//   "Paper" = "Letter"                                          the sheet's paper
// "Currency" and "Paper" are written only when they are not the defaults (USD, A4) and
// removed when they are back to them, so a file of the defaults is what it always was.
// The planned amounts ("1200.50", empty when not planned) are keys that earlier versions do
// not know: they load the table without its amounts. "System Value - Planned" holds a
// fingerprint of the four fields of every row; amounts are read only when it matches the
// stored table, so amounts left behind by a version that saved the table without them never
// land on rows they were not planned for.
#pragma once

#include <array>
#include <utility>

#include <QString>

#include "model/AppState.h"
#include "shell/Failure.h"

namespace quill {
class CategoryTree;
class SettingsStore;
class Trace;
}  // namespace quill

namespace quill::model {

inline constexpr std::array<const char*, 4> kIncomeKeys = {"0 Income", "1 Extra income",
                                                           "2 Extra income", "3 Income"};
inline constexpr std::array<const char*, 4> kIncomeDefaults = {"$3000", "$100", "$100", "$2720"};

inline constexpr const char* kRowsKey = "System Value - Rows";
inline constexpr const char* kColumnsKey = "System Value - Columns";
inline constexpr const char* kSavedKey = "System Value - Saved";
inline constexpr const char* kPlannedTableKey = "System Value - Planned";
inline constexpr const char* kCurrencyKey = "Currency";
inline constexpr const char* kPaperKey = "Paper";

// The most rows a stored table may have: the most rows a sheet can hold. A larger stored
// count is taken as damage, not as a table.
inline constexpr int kMaxStoredRows = 65536;

// "Field" + field + "_" + row, both 1-based: FieldKey(3, 12) is "Field3_12".
QString FieldKey(int field, int row);

// "Planned_" + row, 1-based: PlannedKey(12) is "Planned_12".
QString PlannedKey(int row);

// The fingerprint of the four text fields of every row, in table order (planned amounts
// left out): what "System Value - Planned" holds.
QString TableFingerprint(const CategoryTable& table);

// LoadCategoryState's report of a stored state that it could not use. what() is the full
// message for the user of the windowed program; File() and Problem() let other callers say
// it their own way.
class UnusableStoredState : public Failure {
  public:
    UnusableStoredState(const QString& message, QString file, QString problem)
        : Failure(message), file_(std::move(file)), problem_(std::move(problem)) {}
    // The settings file.
    const QString& File() const { return file_; }
    // What is wrong with it, as a clause: "the file cannot be read".
    const QString& Problem() const { return problem_; }

  private:
    QString file_;
    QString problem_;
};

// Where LoadCategoryState takes the categories from: the store (at start-up), or the
// default set ("Restore Default").
enum class CategorySource { Stored, Defaults };

// Fills the table (from the store when the source is Stored and a saved table is marked
// there, otherwise the default set), rebuilds the tree, selects its first node, loads
// the income texts (stored or default, also when restoring), sets SelectedRowText and
// fills the palette. From the store (not when restoring) also the currency (USD when the
// stored code is unknown) and the paper (Letter when "Paper" is "Letter" in any case).
//
// A stored table that cannot be used (its row count is not a whole number from 1 to
// kMaxStoredRows, its field count is not 4, a row has no key or no parent key, a planned
// amount of a matching fingerprint is not an amount, the tree
// rejects its rows or gets no node, or the file cannot be read or parsed in full) is replaced
// by the default set. The load is then finished with the default set, the store is asked to
// keep its file before the next save, and only at the end an UnusableStoredState reports the
// finding once. A settings path that is not a regular file is reported the same way; the
// store neither reads nor keeps nor writes it, so the incomes take their defaults too.
// Restoring the defaults reports nothing.
void LoadCategoryState(AppState& state, CategoryTree& tree, IncomeTexts& incomes,
                       SettingsStore& store, CategorySource source);

// Writes the incomes, every field of every row (Field1_1, Field2_1, Field3_1, Field4_1,
// Field1_2, ...), the row count, the field count and the saved flag "True", in that order;
// then, when a row has a planned amount, every row's amount and the fingerprint, or, when
// none has and the store holds a fingerprint, an empty fingerprint (so a store that never
// held amounts is written as before); then the currency and the paper, each only when it
// is not the default or the store holds it.
// Each write is one step of `trace`: a failing write is reported and the next one runs.
// The values reach the file together in a last step, which reports a file that cannot
// be written. Keys of rows beyond the table stay in the store; the row count keeps them
// unread.
void SaveCategoryState(const AppState& state, const IncomeTexts& incomes, SettingsStore& store,
                       Trace& trace);

}  // namespace quill::model
