// The category table as a CSV file (RFC 4180, UTF-8, comma-separated), for sharing and
// keeping categories and their planned amounts outside the program:
//
//     Group,Category,Planned
//     HOUSING,,
//     HOUSING,Mortgage or rent,1200.50
//     HOUSING,Phone,
//
// After the header, one record per group or item in the tree's order. "HOUSING,," declares a
// group; "HOUSING,Phone,45" is an item of that group (declaring the group when it was not
// declared yet); an item whose group field is empty belongs to the group of the record
// before it. Planned is empty (not planned) or an amount, read by the one amount parser in
// the plain form ("1200.50", "$45", "1,234.56"). Group names are unique; an item name may
// repeat. Fields with a comma, a quote or a line break are quoted, quotes doubled inside.
// A byte order mark at the start is allowed; line breaks may be CR LF or LF; empty lines
// are skipped.
#pragma once

#include <QByteArray>
#include <QString>

#include "model/CategoryTable.h"
#include "shell/Failure.h"

namespace quill::model {

// Why a file was refused: the line (1-based, where the record starts) and the cause.
// what() says both: "Line 4: the record has 2 fields; ...".
class CategoryCsvError : public PlainFailure {
  public:
    CategoryCsvError(int line, const QString& cause);
    int Line() const { return line_; }
    const QString& Cause() const { return cause_; }

  private:
    int line_;
    QString cause_;
};

// The largest categories file that is read at all: far more than the largest table takes
// in the usual name lengths, and it keeps a wrong file (a disk image, /dev/zero) from
// filling the memory before it is refused.
inline constexpr qint64 kMaxCategoryCsvBytes = qint64{64} << 20;

// Reads a whole file into a new table: rows numbered 1, 2, 3 ... as the tree shows them
// (each group, then its items), paths "GROUP" and "GROUP\Item", the planned amounts on
// the items. Throws CategoryCsvError for a file that is refused as a whole: no or a wrong
// header, a record with other than three fields, an item before any group name, an empty
// group name, a group declared twice, an amount on a group or one the parser refuses, more
// rows than a table may have (kMaxStoredRows), no rows at all, an unclosed quote, or bytes
// that are not UTF-8.
CategoryTable ReadCategoryCsv(const QByteArray& bytes);

// The table as the file's bytes (UTF-8 without byte order mark, CR LF line ends): the rows
// the tree shows, in its order, amounts in the plain form ("1200.50", "45"). Throws
// PlainFailure for a table that the file cannot give back: two groups of the same name, a
// group or an item without a name.
QByteArray WriteCategoryCsv(const CategoryTable& table);

}  // namespace quill::model
