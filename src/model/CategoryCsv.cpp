#include "model/CategoryCsv.h"

#include <algorithm>
#include <utility>
#include <vector>

#include <QCoreApplication>
#include <QHash>
#include <QLocale>
#include <QStringDecoder>
#include <QStringList>

#include "model/Amounts.h"
#include "model/CategoryState.h"

namespace quill::model {

namespace {

constexpr int kFields = 3;
const QStringList kHeader = {QStringLiteral("Group"), QStringLiteral("Category"),
                             QStringLiteral("Planned")};

QString HeaderText() {
    return kHeader.join(QLatin1Char(','));
}

// The bytes as text, without a byte order mark. Throws for bytes that are not UTF-8, naming
// the line of the first bad byte (a line break is never part of a UTF-8 sequence).
QString DecodeUtf8(const QByteArray& bytes) {
    QByteArrayView view(bytes);
    if (view.startsWith("\xEF\xBB\xBF")) view = view.sliced(3);
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder.decode(view);
    if (!decoder.hasError()) return text;
    int line = 1;
    qsizetype start = 0;
    while (start <= view.size()) {
        qsizetype end = view.indexOf('\n', start);
        if (end < 0) end = view.size();
        QStringDecoder lineDecoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        // The decoding happens when the result becomes a string.
        const QString decoded = lineDecoder.decode(view.sliced(start, end - start));
        if (lineDecoder.hasError()) break;
        ++line;
        start = end + 1;
    }
    throw CategoryCsvError(
        line, QCoreApplication::translate("quill::model::CategoryCsv",
                                          "the file is not UTF-8 text; save it as UTF-8"));
}

struct Record {
    int line = 0;  // where it starts
    QStringList fields;
};

// Splits the text into records of fields (RFC 4180). Empty lines give no record.
std::vector<Record> SplitRecords(const QString& text) {
    std::vector<Record> records;
    int line = 1;
    qsizetype i = 0;
    const qsizetype size = text.size();
    const auto isBreak = [](QChar c) { return c == u'\n' || c == u'\r'; };
    // Steps over one line break (CR LF, LF or CR) at i.
    const auto skipBreak = [&] {
        if (text[i] == u'\r' && i + 1 < size && text[i + 1] == u'\n') ++i;
        ++i;
        ++line;
    };
    while (i < size) {
        if (isBreak(text[i])) {  // an empty line
            skipBreak();
            continue;
        }
        Record record;
        record.line = line;
        while (true) {
            QString field;
            if (i < size && text[i] == u'"') {
                const int opened = line;
                ++i;
                while (true) {
                    if (i >= size)
                        throw CategoryCsvError(
                            opened, QCoreApplication::translate(
                                        "quill::model::CategoryCsv",
                                        "a quoted field is not closed: a quote (\") is missing"));
                    const QChar c = text[i];
                    if (c == u'"') {
                        if (i + 1 < size && text[i + 1] == u'"') {
                            field += u'"';
                            i += 2;
                            continue;
                        }
                        ++i;
                        break;
                    }
                    if (c == u'\n' || (c == u'\r' && !(i + 1 < size && text[i + 1] == u'\n')))
                        ++line;
                    field += c;
                    ++i;
                }
                if (i < size && text[i] != u',' && !isBreak(text[i]))
                    throw CategoryCsvError(line,
                                           QCoreApplication::translate(
                                               "quill::model::CategoryCsv",
                                               "text follows a closing quote; a quote inside a "
                                               "quoted field is written twice (\"\")"));
            } else {
                const qsizetype start = i;
                while (i < size && text[i] != u',' && !isBreak(text[i])) {
                    if (text[i] == u'"')
                        throw CategoryCsvError(
                            line, QCoreApplication::translate(
                                      "quill::model::CategoryCsv",
                                      "a quote (\") inside a field that does not start "
                                      "with one; quote the whole field"));
                    ++i;
                }
                field = text.mid(start, i - start);
            }
            record.fields.append(field);
            if (i < size && text[i] == u',') {
                ++i;
                continue;
            }
            break;  // end of the record: a line break or the end of the text
        }
        records.push_back(std::move(record));
        if (i < size) skipBreak();
    }
    return records;
}

bool IsHeader(const QStringList& fields) {
    if (fields.size() != kFields) return false;
    for (int f = 0; f < kFields; ++f)
        if (fields[f].trimmed().compare(kHeader[f], Qt::CaseInsensitive) != 0) return false;
    return true;
}

// A field as the file should hold it: quoted when it has a comma, a quote or a line break.
QString CsvField(const QString& text) {
    if (!text.contains(u',') && !text.contains(u'"') && !text.contains(u'\n') &&
        !text.contains(u'\r'))
        return text;
    QString quoted = text;
    quoted.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

struct ImportedGroup {
    QString name;
    std::vector<std::pair<QString, std::optional<Amount>>> items;
};

}  // namespace

CategoryCsvError::CategoryCsvError(int line, const QString& cause)
    : PlainFailure(QCoreApplication::translate("quill::model::CategoryCsv", "Line %1: %2.")
                       .arg(line)
                       .arg(cause)),
      line_(line),
      cause_(cause) {}

CategoryTable ReadCategoryCsv(const QByteArray& bytes) {
    const std::vector<Record> records = SplitRecords(DecodeUtf8(bytes));
    if (records.empty())
        throw CategoryCsvError(
            1, QCoreApplication::translate("quill::model::CategoryCsv",
                                           "the file is empty; its first line must be %1")
                   .arg(HeaderText()));
    if (!IsHeader(records.front().fields))
        throw CategoryCsvError(
            records.front().line,
            QCoreApplication::translate("quill::model::CategoryCsv",
                                        "the first line must be the header %1, not \"%2\"")
                .arg(HeaderText(), records.front().fields.join(u',')));

    std::vector<ImportedGroup> groups;
    QHash<QString, std::size_t> groupIndex;
    std::optional<std::size_t> current;
    std::size_t rows = 0;
    for (std::size_t r = 1; r < records.size(); ++r) {
        const Record& record = records[r];
        if (record.fields.size() != kFields)
            throw CategoryCsvError(
                record.line,
                QCoreApplication::translate("quill::model::CategoryCsv",
                                            "the record has %1 field(s); every record has %2: %3")
                    .arg(record.fields.size())
                    .arg(kFields)
                    .arg(HeaderText()));
        const QString& group = record.fields[0];
        const QString& item = record.fields[1];
        const QString plannedText = record.fields[2].trimmed();
        const bool isItem = !item.trimmed().isEmpty();

        if (group.trimmed().isEmpty()) {
            if (!isItem)
                throw CategoryCsvError(record.line,
                                       QCoreApplication::translate("quill::model::CategoryCsv",
                                                                   "the group name is empty"));
            if (!current)
                throw CategoryCsvError(
                    record.line,
                    QCoreApplication::translate("quill::model::CategoryCsv",
                                                "the category \"%1\" comes before any group name")
                        .arg(item));
        } else if (const auto found = groupIndex.constFind(group); found != groupIndex.cend()) {
            if (!isItem)
                throw CategoryCsvError(
                    record.line, QCoreApplication::translate(
                                     "quill::model::CategoryCsv",
                                     "the group \"%1\" is declared twice; group names must differ")
                                     .arg(group));
            current = *found;
        } else {
            groupIndex.insert(group, groups.size());
            current = groups.size();
            groups.push_back({group, {}});
            ++rows;
        }
        if (isItem) ++rows;
        if (rows > static_cast<std::size_t>(kMaxStoredRows))
            throw CategoryCsvError(
                record.line,
                QCoreApplication::translate(
                    "quill::model::CategoryCsv",
                    "the file has more than %1 groups and categories, more than the list can hold")
                    .arg(kMaxStoredRows));

        if (!isItem) {
            if (!plannedText.isEmpty())
                throw CategoryCsvError(
                    record.line, QCoreApplication::translate(
                                     "quill::model::CategoryCsv",
                                     "the group \"%1\" has a planned amount; a group's amount is "
                                     "the sum of its categories, so leave its Planned field empty")
                                     .arg(group));
            continue;
        }
        std::optional<Amount> planned;
        if (!plannedText.isEmpty()) {
            // The plain form, read the same whatever the user's locale.
            const ParsedAmount amount = ParseAmount(plannedText, QLocale::c());
            if (!amount)
                throw CategoryCsvError(record.line,
                                       QCoreApplication::translate("quill::model::CategoryCsv",
                                                                   "\"%1\" is not an amount: %2")
                                           .arg(plannedText, amount.Reason()));
            planned = amount.Value();
        }
        groups[*current].items.emplace_back(item, planned);
    }
    if (groups.empty())
        throw CategoryCsvError(records.back().line,
                               QCoreApplication::translate("quill::model::CategoryCsv",
                                                           "the file has no groups or categories"));

    // Numbered as the default set is: each group, then its items.
    CategoryTable table;
    table.reserve(rows);
    int number = 0;
    for (const ImportedGroup& group : groups) {
        const QString groupKey = KeyText(++number);
        table.push_back({groupKey, kRootKey, group.name, group.name, std::nullopt});
        for (const auto& [name, planned] : group.items)
            table.push_back(
                {KeyText(++number), groupKey, name, group.name + u'\\' + name, planned});
    }
    return table;
}

QByteArray WriteCategoryCsv(const CategoryTable& table) {
    // The tree's order: groups by key number, each group's items by key number, rows of
    // equal number in table order; rows with key number 0 and items without a group are
    // not shown, so they are not written either.
    QHash<QString, std::vector<const CategoryRow*>> itemsOf;
    std::vector<const CategoryRow*> groups;
    for (const CategoryRow* row : RowsInKeyOrder(table)) {
        if (row->ParentKey == kRootKey)
            groups.push_back(row);
        else
            itemsOf[row->ParentKey].push_back(row);
    }

    QHash<QString, int> names;
    QString text = HeaderText() + QStringLiteral("\r\n");
    for (const CategoryRow* group : groups) {
        if (group->RowText.trimmed().isEmpty())
            throw PlainFailure(QCoreApplication::translate(
                "quill::model::CategoryCsv",
                "A group has no name; name it before the categories are exported."));
        if (names[group->RowText]++ > 0)
            throw PlainFailure(
                QCoreApplication::translate("quill::model::CategoryCsv",
                                            "Two groups are named \"%1\"; rename one of them "
                                            "before the categories are exported.")
                    .arg(group->RowText));
        const QString groupField = CsvField(group->RowText);
        text += groupField + QStringLiteral(",,\r\n");
        // A key used twice shows its items under one node only, the first one added.
        const auto items = itemsOf.take(group->RowKey);
        for (const CategoryRow* item : items) {
            if (item->RowText.trimmed().isEmpty())
                throw PlainFailure(
                    QCoreApplication::translate("quill::model::CategoryCsv",
                                                "A category of the group \"%1\" has no name; name "
                                                "it before the categories are exported.")
                        .arg(group->RowText));
            text += groupField + u',' + CsvField(item->RowText) + u',' +
                    (item->Planned ? item->Planned->Decimal() : QString()) + QStringLiteral("\r\n");
        }
    }
    return text.toUtf8();
}

}  // namespace quill::model
