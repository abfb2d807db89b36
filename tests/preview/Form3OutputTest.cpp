// The preview's other outputs: saving the workbook as .xlsx or PDF through the save dialog's
// later entries, with the same steps as the .xls copy, and printing with Ctrl+P.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPrinter>
#include <QPushButton>
#include <QShortcut>
#include <QTemporaryDir>

#include <memory>

#include "preview/Form3.h"
#include "spreadsheet/formula/Formula.h"
#include "spreadsheet/xls/XlsFile.h"
#include "support/FileBytes.h"
#include "support/RecordingPrompt.h"

namespace quill {
namespace {

namespace ss = spreadsheet;
using test::ReadAll;

constexpr const char* kXlsMagic = "\xD0\xCF\x11\xE0";

class Form3OutputTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(temp.isValid());
        ASSERT_TRUE(QDir(temp.path()).mkdir(QStringLiteral("out")));
        // A small real workbook: the other formats are written from what it holds.
        ss::Workbook book;
        ss::Worksheet& sheet = book.AddSheet("Invoice");
        sheet.At({1, 1}).content = std::string("Personal Finance");
        sheet.At({2, 1}).content = 3000.0;
        sheet.At({3, 1}).content = ss::ParseFormulaR1C1("=R[-1]C+100");
        sheet.printArea = ss::ParseA1Range("A1:C4");
        sheet.pageSetup.fitToPages = true;
        ss::Recalculate(book);
        workbook = temp.filePath(QStringLiteral("wimbur12345678.xls"));
        ss::SaveXls(book, workbook.toStdString());
        xlsBytes = ReadAll(workbook);

        form = std::make_unique<Form3>(prompt);
        form->SetEndProgram([] {});
        QImage picture(300, 200, QImage::Format_RGB32);
        picture.fill(Qt::white);
        form->LoadPicture(picture);
        form->mExcelFile = workbook;
        form->show();
    }

    void TearDown() override { EXPECT_TRUE(prompt.Errors().empty() || expectErrors); }

    void Save() { form->findChild<QPushButton*>(QStringLiteral("PushButton6"))->click(); }
    QString OutPath(const char* name) const { return temp.filePath(QStringLiteral("out/") + name); }
    QStringList OutFolder() const {
        return QDir(temp.filePath(QStringLiteral("out")))
            .entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
    }
    QShortcut* PrintShortcut() const {
        for (QShortcut* s : form->findChildren<QShortcut*>())
            if (s->key() == QKeySequence(QKeySequence::Print)) return s;
        return nullptr;
    }

    QTemporaryDir temp;
    QString workbook;
    QByteArray xlsBytes;
    test::RecordingPrompt prompt;
    std::unique_ptr<Form3> form;
    bool expectErrors = false;
};

TEST_F(Form3OutputTest, TheChosenEntryDecidesTheFormatAndTheNameIsUsedAsTyped) {
    prompt.saveNames = {OutPath("budget"), OutPath("budget.pdf"), OutPath("copy.pdf")};
    prompt.saveEntries = {1, 2, 0};
    Save();
    Save();
    Save();

    EXPECT_TRUE(prompt.Questions().empty());
    EXPECT_EQ(prompt.Notices(), (std::vector<QString>{"Done.", "Done.", "Done."}));
    EXPECT_EQ(OutFolder(), (QStringList{"budget", "budget.pdf", "copy.pdf"}));
    const QByteArray xlsx = ReadAll(OutPath("budget"));
    EXPECT_TRUE(xlsx.startsWith("PK\x03\x04"));
    EXPECT_TRUE(xlsx.contains("xl/worksheets/sheet1.xml"));
    const QByteArray pdf = ReadAll(OutPath("budget.pdf"));
    EXPECT_TRUE(pdf.startsWith("%PDF-"));
    EXPECT_EQ(test::PdfPageCount(pdf), 1);
    // The first entry copies the .xls byte for byte, whatever the name's ending.
    EXPECT_EQ(ReadAll(OutPath("copy.pdf")), xlsBytes);
    EXPECT_EQ(ReadAll(workbook), xlsBytes) << "the temporary workbook stays as it is";
}

TEST_F(Form3OutputTest, OverwriteQuestionAndFailuresAreTheSameForEveryFormat) {
    const QString target = OutPath("budget.xlsx");
    ASSERT_TRUE(test::WriteAll(target, "old"));
    prompt.saveNames = {target, target};
    prompt.saveEntries = {1, 1};
    prompt.yesNo = {false, true};
    Save();
    EXPECT_EQ(ReadAll(target), "old");
    Save();
    EXPECT_TRUE(ReadAll(target).startsWith("PK\x03\x04"));
    ASSERT_EQ(prompt.Questions().size(), 2u);
    EXPECT_EQ(prompt.Questions()[0], QStringLiteral("Are you sure you wish to overwrite ") +
                                         target + QStringLiteral(" ?"));

    // A temporary workbook that cannot be read as a workbook: reported, no "Done.", and the
    // existing file stays whole.
    expectErrors = true;
    ASSERT_TRUE(test::WriteAll(workbook, QByteArray(kXlsMagic) + "not a workbook"));
    ASSERT_TRUE(test::WriteAll(target, "old"));
    prompt.saveNames = {target};
    prompt.saveEntries = {2};
    prompt.yesNo = {true};
    Save();
    ASSERT_EQ(prompt.Errors().size(), 1u);
    EXPECT_TRUE(prompt.Errors()[0].contains(QStringLiteral("Form3.PushButton6_Click at line 104")));
    EXPECT_EQ(prompt.shown.back().kind, test::Shown::Error);
    EXPECT_EQ(ReadAll(target), "old");
    EXPECT_EQ(OutFolder(), QStringList{"budget.xlsx"});
}

TEST_F(Form3OutputTest, CtrlPPrintsTheWorkbooksPagesAfterThePrintDialog) {
    QShortcut* shortcut = PrintShortcut();
    ASSERT_NE(shortcut, nullptr);
    int dialogs = 0;
    bool accept = false;
    const QString printed = OutPath("printed.pdf");
    form->SetPrintDialog([&](QPrinter& printer) {
        ++dialogs;
        // The dialog is offered the sheet's paper.
        EXPECT_EQ(printer.pageLayout().pageSize().id(), QPageSize::A4);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(printed);
        return accept;
    });
    emit shortcut->activated();  // cancelled: nothing printed
    EXPECT_EQ(dialogs, 1);
    EXPECT_FALSE(QFile::exists(printed));

    accept = true;
    emit shortcut->activated();
    EXPECT_EQ(dialogs, 2);
    const QByteArray pdf = ReadAll(printed);
    EXPECT_TRUE(pdf.startsWith("%PDF-"));
    EXPECT_EQ(test::PdfPageCount(pdf), 1);
    EXPECT_TRUE(pdf.contains("/MediaBox [0 0 595")) << "A4 portrait";
    EXPECT_TRUE(prompt.shown.empty()) << "printing asks and tells nothing else";
}

}  // namespace
}  // namespace quill
