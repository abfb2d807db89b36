#include "companion/CommandLine.h"

#include <cstdio>

#include "companion/Messages.h"
#include "model/Currency.h"
#include "sheet/SyntheticTable.h"

namespace quill::companion {

namespace {

const char* const kHelp =
    "Usage: quillmere-sheet [options] -o FILE\n"
    "Generates the Personal Finance budget workbook without windows.\n"
    "\n"
    "  -o FILE               write the workbook to FILE (- for standard output): an .xlsx\n"
    "                        workbook when FILE ends in .xlsx, the printed pages as PDF when\n"
    "                        it ends in .pdf, else an .xls workbook (also with no ending)\n"
    "  --format FORMAT       xls, xlsx or pdf: write FILE in that format, whatever its ending\n"
    "  --picture FILE        write the sheet's picture to FILE (PNG for .png, else BMP;\n"
    "                        - for standard output, as BMP)\n"
    "  --defaults            use the default categories and incomes, not the settings store\n"
    "  --synthetic GxI       use G groups of I items each (for size tests and benchmarks;\n"
    "                        at most 200 groups, and as many items as one sheet holds)\n"
    "  --categories FILE     use the categories and planned amounts of the CSV file FILE\n"
    "                        (- for standard input), not the settings store\n"
    "  --export-categories FILE\n"
    "                        write the categories the run would use to FILE as CSV\n"
    "                        (- for standard output) instead of a workbook\n"
    "  --income0 N           projected income       --income1 N   projected extra income\n"
    "  --income2 N           actual extra income    --income3 N   actual income\n"
    "                        (in the locale's form or the plain one, such as 1234.56)\n"
    "  --currency CODE       show the amounts in the currency CODE (USD, EUR, GBP, CHF,\n"
    "                        JPY, CAD, AUD, SEK, NOK, DKK, PLN, CZK or the locale's own);\n"
    "                        else the settings store's, or USD without it\n"
    "  --paper PAPER         a4 or letter: the paper the sheet is printed on (else the\n"
    "                        settings store's, or A4 without it)\n"
    "  --help                show this text\n"
    "  --version             show the version\n";

QString CurrencyUsage(const QString& code) {
    QStringList codes;
    for (const model::Currency& currency : model::Currencies()) codes << currency.code;
    return QStringLiteral("--currency \"%1\" is not a currency this program knows; give one of %2")
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
            std::fputs(kHelp, stdout);
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
            if (!v || v->isEmpty()) return UsageError(arg + QStringLiteral(" needs a value"));
            if (arg == QLatin1String("-o")) {
                options.workbookOut = *v;
            } else if (arg == QLatin1String("--format")) {
                options.format = bridge::ParseFormatName(*v);
                if (!options.format)
                    return UsageError(QStringLiteral("--format wants xls, xlsx or pdf"));
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
                if (v->compare(QLatin1String("a4"), Qt::CaseInsensitive) == 0)
                    options.paper = Paper::A4;
                else if (v->compare(QLatin1String("letter"), Qt::CaseInsensitive) == 0)
                    options.paper = Paper::Letter;
                else
                    return UsageError(QStringLiteral("--paper wants a4 or letter"));
            } else if (arg == QLatin1String("--synthetic")) {
                options.synthetic = ParseSynthetic(*v);
                if (!options.synthetic)
                    return UsageError(
                        QStringLiteral("--synthetic wants GROUPSxITEMS, such as 200x50"));
                // Refused before anything is built: a table far too large for a sheet
                // would exhaust the memory before the sheet's own checks are reached.
                if (const QString refusal = sheet::SyntheticTableRefusal(options.synthetic->first,
                                                                         options.synthetic->second);
                    !refusal.isEmpty())
                    return UsageError(QStringLiteral("--synthetic %1: %2").arg(*v, refusal));
            } else {
                const QString index = arg.mid(8);
                if (index.size() != 1 || index[0] < QLatin1Char('0') || index[0] > QLatin1Char('3'))
                    return UsageError(QStringLiteral("unknown option ") + arg);
                // Read once the currency is known.
                options.incomes[static_cast<std::size_t>(index.toInt())] = *v;
            }
        } else {
            return UsageError(QStringLiteral("unknown option ") + arg);
        }
    }
    if (!options.categoriesIn.isEmpty() && (options.defaults || options.synthetic))
        return UsageError(QStringLiteral(
            "--categories, --defaults and --synthetic each choose the categories; give one"));
    if (!options.categoriesExport.isEmpty()) {
        if (!options.workbookOut.isEmpty() || !options.pictureOut.isEmpty())
            return UsageError(QStringLiteral(
                "--export-categories writes no workbook; leave out -o and --picture"));
        return std::nullopt;
    }
    if (options.workbookOut.isEmpty() && options.pictureOut.isEmpty())
        return UsageError(QStringLiteral(
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
