// The preview's other outputs: saving the workbook as .xlsx or PDF through the save dialog's
// later entries, with the same steps as the .xls copy, and printing with Ctrl+P.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <thread>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPrinter>
#include <QPushButton>
#include <QShortcut>
#include <QTemporaryDir>
#include <QUrl>

#include <memory>

#include "preview/PictureBox.h"
#include "preview/SheetPreviewWindow.h"
#include "spreadsheet/formula/Formula.h"
#include "spreadsheet/render/SheetRenderer.h"
#include "spreadsheet/xls/XlsFile.h"
#include "support/FileBytes.h"
#include "support/NonRegularFiles.h"
#include "support/RecordingPrompt.h"
#include "support/ScratchConfig.h"
#include "support/SmallFileSystem.h"

namespace quill::preview {
namespace {

namespace ss = spreadsheet;
using test::ReadAll;

constexpr const char* kXlsMagic = "\xD0\xCF\x11\xE0";

// While it lives, a writer that opens the named pipe at `path` and waits longer than a
// second for a reader is released: the guard reads the pipe and throws the bytes away, so
// that a test of a hang fails instead of hanging. Fired() tells whether that was needed.
class PipeReaderGuard {
  public:
    explicit PipeReaderGuard(const QString& path) : path_(QFile::encodeName(path)) {
        thread_ = std::thread([this] {
            const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(1);
            int fd = -1;
            while (!stop_) {
                if (fd < 0 && std::chrono::steady_clock::now() >= deadline)
                    fd = ::open(path_.constData(), O_RDONLY | O_NONBLOCK);
                char buffer[65536];
                if (fd >= 0 && ::read(fd, buffer, sizeof buffer) > 0) fired_ = true;
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            }
            if (fd >= 0) ::close(fd);
        });
    }
    ~PipeReaderGuard() {
        stop_ = true;
        thread_.join();
    }
    PipeReaderGuard(const PipeReaderGuard&) = delete;
    PipeReaderGuard& operator=(const PipeReaderGuard&) = delete;
    bool Fired() const { return fired_; }

  private:
    QByteArray path_;
    std::atomic<bool> stop_{false};
    std::atomic<bool> fired_{false};
    std::thread thread_;
};

class SheetPreviewOutputTest : public ::testing::Test {
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

        form = std::make_unique<SheetPreviewWindow>(prompt);
        form->SetEndProgram([] {});
        QImage picture(300, 200, QImage::Format_RGB32);
        picture.fill(Qt::white);
        form->LoadPicture(picture);
        form->SetWorkbookPath(workbook);
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

    // The save dialog's remembered folder and format go to a scratch configuration.
    test::ScratchConfig config;
    QTemporaryDir temp;
    QString workbook;
    QByteArray xlsBytes;
    test::RecordingPrompt prompt;
    std::unique_ptr<SheetPreviewWindow> form;
    bool expectErrors = false;
};

// The dialog starts in Documents with "Personal Finance.xls", then where the last file went
// in its format; "Done." names the saved file and opens it or its folder on request.
TEST_F(SheetPreviewOutputTest, SaveDialogStartsWhereAndAsTheLastSaveWent) {
    const QString documents = temp.filePath(QStringLiteral("Documents"));
    ASSERT_TRUE(QDir().mkpath(documents));
    ASSERT_TRUE(test::WriteAll(config.Folder() + QStringLiteral("/user-dirs.dirs"),
                               "XDG_DOCUMENTS_DIR=\"" + documents.toUtf8() + "\"\n"));
    std::vector<QUrl> opened;
    form->SetOpenUrl([&](const QUrl& url) { opened.push_back(url); });
    const QString out = temp.filePath(QStringLiteral("out"));

    struct Case {
        QString expectedStart;
        int expectedEntry;
        QString name;  // empty: cancelled
        int entry;
        SavedFileAction action;
        QString expectedUrl;
    };
    const Case cases[] = {
        {documents + QStringLiteral("/Personal Finance.xls"), 0, OutPath("a.xlsx"), 0,
         SavedFileAction::OpenFile, OutPath("a.xlsx")},
        {out + QStringLiteral("/Personal Finance.xlsx"), 1, OutPath("b"), 2,
         SavedFileAction::ShowFolder, out},
        {out + QStringLiteral("/Personal Finance.pdf"), 2, QString(), 0, SavedFileAction::Close,
         QString()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expectedStart.toStdString());
        prompt.shown.clear();
        opened.clear();
        if (!c.name.isEmpty()) prompt.saveNames = {c.name};
        prompt.saveEntries = {c.entry};
        prompt.savedActions = {c.action};
        Save();
        EXPECT_EQ(prompt.lastStart, c.expectedStart);
        EXPECT_EQ(prompt.lastOfferedEntry, c.expectedEntry);
        if (c.name.isEmpty()) {
            EXPECT_TRUE(prompt.Notices().empty());
            continue;
        }
        ASSERT_EQ(prompt.Notices(), std::vector<QString>{QStringLiteral("Done.")});
        EXPECT_TRUE(prompt.lastDetail.contains(QFileInfo(c.name).fileName()));
        EXPECT_TRUE(prompt.lastDetail.contains(out));
        ASSERT_EQ(opened.size(), 1u);
        EXPECT_EQ(opened[0], QUrl::fromLocalFile(c.expectedUrl));
    }
    // The remembered folder and format live apart from the settings file other programs read.
    EXPECT_FALSE(QFile::exists(config.IniPath()));
}

// Zoomed, and on a screen of two device pixels to a pixel, the picture is drawn afresh from
// the workbook: a one-pixel gridline becomes exactly two (or one and a half) device pixels
// beside pure white, where the stretched bitmap would blur it. At 100 % on an ordinary
// screen the handed-over picture is shown as it is.
TEST_F(SheetPreviewOutputTest, ZoomedAndDenseViewsAreDrawnSharpFromTheWorkbook) {
    const ss::Workbook book = ss::LoadXls(workbook.toStdString());
    const ss::Worksheet& sheet = *book.Sheets()[0];
    const QImage sheetPicture = ss::RenderRange(book, sheet, *sheet.UsedRange());
    ASSERT_FALSE(sheetPicture.isNull());
    form->LoadPicture(sheetPicture);
    form->SetWorkbookPath(workbook);
    auto* picture = form->findChild<PictureBox*>(QStringLiteral("Picture1"));
    // A gridline row in a white column of the picture.
    const QRgb grid = qRgb(208, 215, 229);
    const QRgb white = qRgb(255, 255, 255);
    int gridY = -1;
    const int x = 3;
    for (int y = 1; y + 1 < sheetPicture.height() && gridY < 0; ++y)
        if (sheetPicture.pixel(x, y) == grid && sheetPicture.pixel(x, y - 1) == white &&
            sheetPicture.pixel(x, y + 1) == white)
            gridY = y;
    ASSERT_GE(gridY, 0);

    struct Case {
        int zoomSteps;  // Zoom In clicks
        qreal ratio;
    };
    for (const Case c : {Case{0, 1.0}, Case{0, 2.0}, Case{2, 1.0}, Case{2, 2.0}}) {
        SCOPED_TRACE(c.zoomSteps * 10 + c.ratio);
        for (int i = 0; i < c.zoomSteps; ++i)
            form->findChild<QPushButton*>(QStringLiteral("PushButton1"))->click();
        const double zoom = form->Model().ZoomFactor();
        const QPixmap drawn = picture->Render(picture->rect(), c.ratio);
        EXPECT_EQ(drawn.devicePixelRatio(), c.ratio);
        EXPECT_EQ(drawn.size(), picture->size() * c.ratio);
        const QImage image = drawn.toImage();
        if (zoom == 1.0 && c.ratio == 1.0) {
            EXPECT_TRUE(image.convertToFormat(QImage::Format_RGB32) == sheetPicture);
            continue;
        }
        const double scale = zoom * c.ratio;
        const int column = static_cast<int>((x + 0.5) * scale);
        const int first = static_cast<int>(std::ceil(gridY * scale));
        const int end = static_cast<int>(std::floor((gridY + 1) * scale));
        ASSERT_LT(first, end);
        for (int at = first; at < end; ++at) EXPECT_EQ(image.pixel(column, at), grid) << at;
        // Beyond the device pixels the line partly covers, white.
        EXPECT_EQ(image.pixel(column, static_cast<int>(std::floor(gridY * scale)) - 1), white);
        EXPECT_EQ(image.pixel(column, static_cast<int>(std::ceil((gridY + 1) * scale))), white);
        for (int i = 0; i < c.zoomSteps; ++i)
            form->findChild<QPushButton*>(QStringLiteral("PushButton2"))->click();
    }
}

TEST_F(SheetPreviewOutputTest, TheChosenEntryDecidesTheFormatAndTheNameIsUsedAsTyped) {
    prompt.saveNames = {OutPath("budget"), OutPath("budget.pdf"), OutPath("copy.dat")};
    prompt.saveEntries = {1, 2, 0};
    Save();
    Save();
    Save();

    EXPECT_TRUE(prompt.Questions().empty());
    EXPECT_EQ(prompt.Notices(), (std::vector<QString>{"Done.", "Done.", "Done."}));
    EXPECT_EQ(OutFolder(), (QStringList{"budget", "budget.pdf", "copy.dat"}));
    const QByteArray xlsx = ReadAll(OutPath("budget"));
    EXPECT_TRUE(xlsx.startsWith("PK\x03\x04"));
    EXPECT_TRUE(xlsx.contains("xl/worksheets/sheet1.xml"));
    const QByteArray pdf = ReadAll(OutPath("budget.pdf"));
    EXPECT_TRUE(pdf.startsWith("%PDF-"));
    EXPECT_EQ(test::PdfPageCount(pdf), 1);
    // The first entry copies the .xls byte for byte when the name has no ending of its own.
    EXPECT_EQ(ReadAll(OutPath("copy.dat")), xlsBytes);
    EXPECT_EQ(ReadAll(workbook), xlsBytes) << "the temporary workbook stays as it is";
}

TEST_F(SheetPreviewOutputTest, ATypedEndingDecidesTheFormatWhateverTheChosenEntry) {
    struct Ending {
        const char* typed;  // in mixed case: the ending counts in any case
        QByteArray magic;
    };
    const Ending endings[] = {{".XLS", QByteArray(kXlsMagic)},
                              {".xlsX", QByteArray("PK\x03\x04")},
                              {".Pdf", QByteArray("%PDF-")}};
    QStringList names;
    for (int entry = 0; entry < 3; ++entry) {
        for (const Ending& ending : endings) {
            const QString name = QStringLiteral("entry%1%2").arg(entry).arg(ending.typed);
            SCOPED_TRACE(name.toStdString());
            names << name;
            prompt.saveNames = {temp.filePath(QStringLiteral("out/") + name)};
            prompt.saveEntries = {entry};
            Save();
            const QByteArray bytes = ReadAll(temp.filePath(QStringLiteral("out/") + name));
            EXPECT_TRUE(bytes.startsWith(ending.magic)) << bytes.left(8).toHex().toStdString();
            if (ending.magic == kXlsMagic) {
                EXPECT_EQ(bytes, xlsBytes);
            }
        }
    }
    names.sort(Qt::CaseInsensitive);
    EXPECT_EQ(OutFolder(), names) << "every name as typed, nothing added";
    EXPECT_EQ(prompt.Notices(), std::vector<QString>(9, QStringLiteral("Done.")));
}

TEST_F(SheetPreviewOutputTest, OverwriteQuestionAndFailuresAreTheSameForEveryFormat) {
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

TEST_F(SheetPreviewOutputTest, CtrlPPrintsTheWorkbooksPagesAfterThePrintDialog) {
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

TEST_F(SheetPreviewOutputTest, PrintingToAFileIsRefusedOrReportedAsASaveIs) {
    QShortcut* shortcut = PrintShortcut();
    ASSERT_NE(shortcut, nullptr);
    QString chosen;
    form->SetPrintDialog([&](QPrinter& printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(chosen);
        return true;
    });
    const QString pipe = OutPath("pipe.pdf");
    ASSERT_TRUE(test::MakeSpecialFile(test::SpecialFile::NamedPipe, pipe));
    ASSERT_TRUE(QDir().mkdir(OutPath("folder.pdf")));
    const test::SmallFileSystem disk("8k");  // 4 KiB free besides the old file
    const QString full = disk.FilePath(QStringLiteral("budget.pdf"));
    if (disk.Mounted()) {
        ASSERT_TRUE(test::WriteAll(full, "old"));
    }
    struct Failed {
        QString target;
        QString notice;
    };
    std::vector<Failed> cases = {
        {pipe, pipe + " is a named pipe, not a regular file; it was left as it is."},
        {QStringLiteral("/dev/full"), "/dev/full is a device, not a regular file;"},
        {OutPath("folder.pdf"), OutPath("folder.pdf") + " is a folder, not a regular file;"},
        {OutPath("missing/budget.pdf"), "Cannot write " + OutPath("missing/budget.pdf") +
                                            ": No such file or directory. Nothing was written."},
    };
    if (disk.Mounted())
        cases.push_back({full, "Cannot write " + full + ": No space left on device."});
    for (const Failed& failed : cases) {
        SCOPED_TRACE(failed.target.toStdString());
        prompt.shown.clear();
        chosen = failed.target;
        const PipeReaderGuard guard(pipe);
        const auto start = std::chrono::steady_clock::now();
        emit shortcut->activated();
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
        EXPECT_FALSE(guard.Fired()) << "the named pipe was written";
        ASSERT_EQ(prompt.shown.size(), 1u);
        EXPECT_EQ(prompt.shown[0].kind, test::Shown::Notice);
        EXPECT_TRUE(prompt.shown[0].text.startsWith(failed.notice))
            << prompt.shown[0].text.toStdString();
        EXPECT_EQ(prompt.shown[0].title, QStringLiteral("Quillmere"));
    }
    EXPECT_EQ(test::FileTypeAt(pipe), unsigned{S_IFIFO});
    EXPECT_EQ(QDir(temp.filePath(QStringLiteral("out")))
                  .entryList(QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot),
              (QStringList{"folder.pdf", "pipe.pdf"}));
    if (disk.Mounted()) {
        EXPECT_EQ(ReadAll(full), "old");
        EXPECT_EQ(QDir(disk.Path()).entryList(QDir::Files | QDir::Hidden),
                  QStringList{"budget.pdf"});
    }
    // The temporary folder holds the workbook alone again.
    EXPECT_EQ(QDir(temp.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList{"wimbur12345678.xls"});
}

}  // namespace
}  // namespace quill::preview
