// The currency and the paper as independent software sees them: xlrd reads the amount a
// German user typed and the euro format of the .xls; LibreOffice, set to German, prints that
// workbook with German separators and the euro sign; Letter paper reaches the .xls (as
// LibreOffice prints it), the .xlsx (as openpyxl reads it) and the PDF.
#include <gtest/gtest.h>

#include <QDir>
#include <QJsonArray>
#include <QJsonObject>
#include <QTemporaryDir>

#include "support/ExternalPrograms.h"
#include "support/ScratchConfig.h"

namespace quill::test {
namespace {

// The text of a PDF's pages with every no-break space made a plain one.
QString PdfText(const QString& pdf) {
    const ProcessResult text = RunProgram("/usr/bin/pdftotext", {"-layout", pdf, "-"});
    EXPECT_TRUE(text.ok) << text.err.toStdString();
    return QString::fromUtf8(text.out).replace(QChar(0x00A0), QLatin1Char(' '));
}

QString PdfInfo(const QString& pdf) {
    const ProcessResult info = RunProgram("/usr/bin/pdfinfo", {pdf});
    EXPECT_TRUE(info.ok) << info.err.toStdString();
    return QString::fromUtf8(info.out);
}

TEST(ExternalMoney, GermanEurosReadBackInXlrdAndPrintTheGermanWayInLibreOffice) {
    const ScratchConfig config;
    const QTemporaryDir dir;
    const QStringList euros = {"--defaults", "--income0", "1.234,56", "--currency", "eur"};
    for (const char* ending : {"xls", "pdf"}) {
        const ProcessResult run =
            RunProgramIn(InLocale(QStringLiteral("de_DE.UTF-8")), CompanionProgram(),
                         euros + QStringList{"-o", dir.filePath(QStringLiteral("euro.") + ending)});
        ASSERT_TRUE(run.ok) << ending << ": " << run.err.toStdString();
    }
    const QString xls = dir.filePath("euro.xls");

    // The engine's own print shows the symbol with the file format's separators.
    EXPECT_TRUE(PdfText(dir.filePath("euro.pdf")).contains(QString::fromUtf8("1,234.56 €")));

    if (HaveXlrd()) {
        const QJsonObject cells =
            XlrdDump(xls)["sheets"].toArray()[0].toObject()["cells"].toObject();
        const QJsonObject income = cells["E6"].toObject();
        EXPECT_EQ(income["value"].toDouble(), 1234.56);
        const QString format = income["xf"].toObject()["format"].toString();
        EXPECT_TRUE(format.contains(QString::fromUtf8("€"))) << format.toStdString();
        EXPECT_EQ(cells["J6"].toObject()["xf"].toObject()["format"].toString(), format);
    }
    if (HaveSoffice()) {
        UseLibreOfficeLocale(dir, QStringLiteral("de-DE"));
        const ProcessResult pdf =
            Soffice(dir, {"--convert-to", "pdf", "--outdir", dir.filePath("lo"), xls});
        ASSERT_TRUE(pdf.ok) << pdf.err.toStdString();
        const QString text = PdfText(dir.filePath("lo/euro.pdf"));
        for (const char* shown : {"1.234,56 €", "100,00 €", "2.720,00 €"})
            EXPECT_TRUE(text.contains(QString::fromUtf8(shown))) << shown << "\n"
                                                                 << text.toStdString();
    }
}

TEST(ExternalMoney, LetterPaperReachesTheXlsTheXlsxAndThePdf) {
    const ScratchConfig config;
    const QTemporaryDir dir;
    for (const char* ending : {"xls", "xlsx", "pdf"}) {
        const ProcessResult run = RunCompanion({"--defaults", "--paper", "Letter", "-o",
                                                dir.filePath(QStringLiteral("letter.") + ending)});
        ASSERT_TRUE(run.ok) << ending << ": " << run.err.toStdString();
    }
    const QString ours = PdfInfo(dir.filePath("letter.pdf"));
    EXPECT_TRUE(ours.contains("Pages:           1\n")) << ours.toStdString();
    EXPECT_TRUE(ours.contains("612 x 792 pts")) << ours.toStdString();
    if (HaveOpenpyxl()) {
        const QJsonObject sheet =
            OpenpyxlDump(dir.filePath("letter.xlsx"))["sheets"].toArray()[0].toObject();
        EXPECT_EQ(sheet["paper"].toInt(), 1);
        EXPECT_TRUE(sheet["fit_to_page"].toBool());
    }
    if (HaveSoffice()) {
        const ProcessResult pdf = Soffice(dir, {"--convert-to", "pdf", "--outdir",
                                                dir.filePath("lo"), dir.filePath("letter.xls")});
        ASSERT_TRUE(pdf.ok) << pdf.err.toStdString();
        const QString theirs = PdfInfo(dir.filePath("lo/letter.pdf"));
        EXPECT_TRUE(theirs.contains("Pages:           1\n")) << theirs.toStdString();
        EXPECT_TRUE(theirs.contains("612 x 792 pts")) << theirs.toStdString();
    }
    // Any other paper is a usage error that names the option.
    const ProcessResult refused =
        RunCompanion({"--defaults", "--paper", "a5", "-o", dir.filePath("a5.xls")});
    EXPECT_EQ(refused.exitCode, 2);
    EXPECT_TRUE(refused.err.contains("--paper")) << refused.err.toStdString();
}

}  // namespace
}  // namespace quill::test
