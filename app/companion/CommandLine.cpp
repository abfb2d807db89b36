#include "companion/CommandLine.h"

#include <algorithm>
#include <cstdio>

#include <QCoreApplication>

#include "companion/Messages.h"
#include "model/Currency.h"
#include "sheet/SyntheticTable.h"

namespace quill::companion {

namespace {

// A text of the tables below, which mark it for translation, in the user's language.
QString Tr(const char* text) {
    return QCoreApplication::translate("Companion", text);
}

const char* const kUsage =
    QT_TRANSLATE_NOOP("Companion",
                      "Usage: quillmere-sheet [options] -o FILE\n"
                      "Generates the Personal Finance budget workbook without windows.");

// The names of the options' values, translated like the words they stand for; the
// descriptions name them the same way.
//: The name of an option's value in the help: a file name. Capitals, no spaces.
const char* const kFile = QT_TRANSLATE_NOOP("Companion", "FILE");
//: The name of an option's value in the help: a file format. Capitals, no spaces.
const char* const kFormat = QT_TRANSLATE_NOOP("Companion", "FORMAT");
//: The name of an option's value in the help: an amount of money. Capitals, no spaces.
const char* const kAmount = QT_TRANSLATE_NOOP("Companion", "N");
//: The name of an option's value in the help: a currency code such as EUR. Capitals, no spaces.
const char* const kCode = QT_TRANSLATE_NOOP("Companion", "CODE");
//: The name of an option's value in the help: a paper size. Capitals, no spaces.
const char* const kPaper = QT_TRANSLATE_NOOP("Companion", "PAPER");

// An option of --help: its name (never translated), the name of its value (none when it
// takes none) and what it does, broken into lines where the text has line breaks.
struct HelpOption {
    const char* name;
    const char* value;
    const char* description;
};

const HelpOption kOptions[] = {
    {"-o", kFile,
     QT_TRANSLATE_NOOP("Companion",
                       "write the workbook to FILE (- for standard output): an .xlsx\n"
                       "workbook when FILE ends in .xlsx, the printed pages as PDF when\n"
                       "it ends in .pdf, else an .xls workbook (also with no ending)")},
    {"--format", kFormat,
     QT_TRANSLATE_NOOP("Companion",
                       "xls, xlsx or pdf: write FILE in that format, whatever its ending")},
    {"--picture", kFile,
     QT_TRANSLATE_NOOP("Companion",
                       "write the sheet's picture to FILE (PNG for .png, else BMP;\n"
                       "- for standard output, as BMP)")},
    {"--defaults", nullptr,
     QT_TRANSLATE_NOOP("Companion",
                       "use the default categories and incomes, not the settings store")},
    {"--synthetic", "GxI",
     QT_TRANSLATE_NOOP("Companion",
                       "use G groups of I items each (for size tests and benchmarks;\n"
                       "at most 200 groups, and as many items as one sheet holds)")},
    {"--categories", kFile,
     QT_TRANSLATE_NOOP("Companion",
                       "use the categories and planned amounts of the CSV file FILE\n"
                       "(- for standard input), not the settings store")},
    {"--export-categories", kFile,
     QT_TRANSLATE_NOOP("Companion",
                       "write the categories the run would use to FILE as CSV\n"
                       "(- for standard output) instead of a workbook")},
};

// The incomes, two to a line, and what they all take.
const HelpOption kIncomes[] = {
    {"--income0", kAmount, QT_TRANSLATE_NOOP("Companion", "projected income")},
    {"--income1", kAmount, QT_TRANSLATE_NOOP("Companion", "projected extra income")},
    {"--income2", kAmount, QT_TRANSLATE_NOOP("Companion", "actual extra income")},
    {"--income3", kAmount, QT_TRANSLATE_NOOP("Companion", "actual income")},
};

const char* const kIncomesNote =
    QT_TRANSLATE_NOOP("Companion", "(in the locale's form or the plain one, such as 1234.56)");

const HelpOption kLaterOptions[] = {
    {"--currency", kCode,
     QT_TRANSLATE_NOOP("Companion",
                       "show the amounts in the currency CODE (USD, EUR, GBP, CHF,\n"
                       "JPY, CAD, AUD, SEK, NOK, DKK, PLN, CZK or the locale's own);\n"
                       "else the settings store's, or USD without it")},
    {"--paper", kPaper,
     QT_TRANSLATE_NOOP("Companion",
                       "a4 or letter: the paper the sheet is printed on (else the\n"
                       "settings store's, or A4 without it)")},
    {"--help", nullptr, QT_TRANSLATE_NOOP("Companion", "show this text")},
    {"--version", nullptr, QT_TRANSLATE_NOOP("Companion", "show the version")},
};

// The options start two columns in, their descriptions in column 24 whatever the language;
// an option too wide for its column has its description on the next lines.
constexpr qsizetype kIndent = 2;
constexpr qsizetype kDescriptionColumn = 24;

QString OptionText(const HelpOption& option) {
    QString text = QLatin1String(option.name);
    if (option.value) text += QLatin1Char(' ') + Tr(option.value);
    return text;
}

QStringList OptionLines(const HelpOption& option) {
    QStringList lines;
    QString head = QString(kIndent, QLatin1Char(' ')) + OptionText(option);
    if (head.size() + 2 > kDescriptionColumn) {
        lines << head;
        head.clear();
    }
    for (const QString& line : Tr(option.description).split(QLatin1Char('\n'))) {
        lines << head.leftJustified(kDescriptionColumn) + line;
        head.clear();
    }
    return lines;
}

qsizetype Widest(const QStringList& lines) {
    qsizetype widest = 0;
    for (const QString& line : lines) widest = std::max(widest, line.size());
    return widest;
}

// The incomes two to a line, in four aligned columns; one to a line (like the other
// options) when the pairs would be wider than the rest of the text.
QStringList IncomeLines(qsizetype width) {
    qsizetype leftDescription = 0, rightOption = 0;
    for (std::size_t i = 0; i < std::size(kIncomes); i += 2) {
        leftDescription = std::max(leftDescription, Tr(kIncomes[i].description).size());
        rightOption = std::max(rightOption, OptionText(kIncomes[i + 1]).size());
    }
    QStringList pairs;
    for (std::size_t i = 0; i < std::size(kIncomes); i += 2) {
        const QString left = QString(kIndent, QLatin1Char(' ')) + OptionText(kIncomes[i]);
        pairs << left.leftJustified(std::max(kDescriptionColumn, left.size() + 2)) +
                     Tr(kIncomes[i].description).leftJustified(leftDescription + 4) +
                     OptionText(kIncomes[i + 1]).leftJustified(rightOption + 3) +
                     Tr(kIncomes[i + 1].description);
    }
    if (Widest(pairs) <= width) return pairs;
    QStringList lines;
    for (const HelpOption& income : kIncomes) lines << OptionLines(income);
    return lines;
}

QString HelpText() {
    QStringList options;
    for (const HelpOption& option : kOptions) options << OptionLines(option);
    QStringList later;
    for (const QString& line : Tr(kIncomesNote).split(QLatin1Char('\n')))
        later << QString(kDescriptionColumn, QLatin1Char(' ')) + line;
    for (const HelpOption& option : kLaterOptions) later << OptionLines(option);
    options << IncomeLines(std::max(Widest(options), Widest(later))) << later;
    return Tr(kUsage) + QStringLiteral("\n\n") + options.join(QLatin1Char('\n')) +
           QLatin1Char('\n');
}

QString CurrencyUsage(const QString& code) {
    QStringList codes;
    for (const model::Currency& currency : model::Currencies()) codes << currency.code;
    return QCoreApplication::translate(
               "Companion",
               "--currency \"%1\" is not a currency this program knows; give one of %2")
        .arg(code, codes.join(QStringLiteral(", ")));
}

std::optional<std::pair<int, int>> ParseSynthetic(const QString& text) {
    const QStringList parts = text.split(QLatin1Char('x'));
    if (parts.size() != 2) return std::nullopt;
    bool okGroups = false, okItems = false;
    const int groups = parts[0].toInt(&okGroups);
    const int items = parts[1].toInt(&okItems);
    if (!okGroups || !okItems || groups < 0 || items < 0) return std::nullopt;
    return std::pair{groups, items};
}

}  // namespace

std::optional<int> ParseOptions(const QStringList& args, CommandLine& options) {
    for (int i = 1; i < args.size(); ++i) {
        const QString& arg = args[i];
        auto value = [&]() -> std::optional<QString> {
            if (i + 1 >= args.size()) return std::nullopt;
            return args[++i];
        };
        if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) {
            std::fputs(qPrintable(HelpText()), stdout);
            return 0;
        } else if (arg == QLatin1String("--version")) {
            std::printf("quillmere-sheet %s\n", QUILL_VERSION);
            return 0;
        } else if (arg == QLatin1String("--defaults")) {
            options.defaults = true;
        } else if (arg == QLatin1String("-o") || arg == QLatin1String("--picture") ||
                   arg == QLatin1String("--synthetic") || arg == QLatin1String("--format") ||
                   arg == QLatin1String("--categories") ||
                   arg == QLatin1String("--export-categories") ||
                   arg == QLatin1String("--currency") || arg == QLatin1String("--paper") ||
                   arg.startsWith(QLatin1String("--income"))) {
            const auto v = value();
            if (!v || v->isEmpty())
                return UsageError(
                    QCoreApplication::translate("Companion", "%1 needs a value").arg(arg));
            if (arg == QLatin1String("-o")) {
                options.workbookOut = *v;
            } else if (arg == QLatin1String("--format")) {
                options.format = bridge::ParseFormatName(*v);
                if (!options.format)
                    return UsageError(QCoreApplication::translate(
                        "Companion", "--format wants xls, xlsx or pdf"));
            } else if (arg == QLatin1String("--picture")) {
                options.pictureOut = *v;
            } else if (arg == QLatin1String("--categories")) {
                options.categoriesIn = *v;
            } else if (arg == QLatin1String("--export-categories")) {
                options.categoriesExport = *v;
            } else if (arg == QLatin1String("--currency")) {
                options.currency = model::FindCurrency(*v);
                if (!options.currency) return UsageError(CurrencyUsage(*v));
            } else if (arg == QLatin1String("--paper")) {
                options.paper = PaperNamed(*v);
                if (!options.paper)
                    return UsageError(
                        QCoreApplication::translate("Companion", "--paper wants a4 or letter"));
            } else if (arg == QLatin1String("--synthetic")) {
                options.synthetic = ParseSynthetic(*v);
                if (!options.synthetic)
                    return UsageError(QCoreApplication::translate(
                        "Companion", "--synthetic wants GROUPSxITEMS, such as 200x50"));
                // Refused before anything is built: a table far too large for a sheet
                // would exhaust the memory before the sheet's own checks are reached.
                if (const QString refusal = sheet::SyntheticTableRefusal(options.synthetic->first,
                                                                         options.synthetic->second);
                    !refusal.isEmpty())
                    return UsageError(QCoreApplication::translate("Companion", "--synthetic %1: %2")
                                          .arg(*v, refusal));
            } else {
                const QString index = arg.mid(8);
                if (index.size() != 1 || index[0] < QLatin1Char('0') || index[0] > QLatin1Char('3'))
                    return UsageError(
                        QCoreApplication::translate("Companion", "unknown option %1").arg(arg));
                // Read once the currency is known.
                options.incomes[static_cast<std::size_t>(index.toInt())] = *v;
            }
        } else {
            return UsageError(
                QCoreApplication::translate("Companion", "unknown option %1").arg(arg));
        }
    }
    if (!options.categoriesIn.isEmpty() && (options.defaults || options.synthetic))
        return UsageError(QCoreApplication::translate(
            "Companion",
            "--categories, --defaults and --synthetic each choose the categories; give one"));
    if (!options.categoriesExport.isEmpty()) {
        if (!options.workbookOut.isEmpty() || !options.pictureOut.isEmpty())
            return UsageError(QCoreApplication::translate(
                "Companion", "--export-categories writes no workbook; leave out -o and --picture"));
        return std::nullopt;
    }
    if (options.workbookOut.isEmpty() && options.pictureOut.isEmpty())
        return UsageError(QCoreApplication::translate(
            "Companion",
            "nothing to write: give -o FILE and/or --picture FILE, or --export-categories FILE"));
    return std::nullopt;
}

std::vector<std::pair<QString, QString>> FileTargets(const CommandLine& options) {
    std::vector<std::pair<QString, QString>> files;
    if (!options.workbookOut.isEmpty() && options.workbookOut != kStandardOutput)
        files.emplace_back(QStringLiteral("-o"), options.workbookOut);
    if (!options.pictureOut.isEmpty() && options.pictureOut != kStandardOutput)
        files.emplace_back(QStringLiteral("--picture"), options.pictureOut);
    if (!options.categoriesExport.isEmpty() && options.categoriesExport != kStandardOutput)
        files.emplace_back(QStringLiteral("--export-categories"), options.categoriesExport);
    return files;
}

bridge::SaveFormat OutputFormat(const CommandLine& options) {
    return options.format.value_or(bridge::FormatOfFileName(options.workbookOut));
}

}  // namespace quill::companion
