#include "sheet/ReportDriver.h"

#include <algorithm>
#include <memory>

#ifdef __GLIBC__
#include <malloc.h>
#endif

#include <QCoreApplication>
#include <QDir>
#include <QSet>

#include "bridge/Connection.h"
#include "bridge/PictureFile.h"
#include "bridge/SheetPicture.h"
#include "sheet/BudgetSheet.h"
#include "sheet/SectionPlan.h"
#include "shell/CommonServices.h"
#include "shell/ErrorTrap.h"
#include "shell/Failure.h"
#include "shell/PointerShape.h"
#include "spreadsheet/objectmodel/ObjectModel.h"
#include "spreadsheet/xls/XlsContainer.h"

namespace quill::sheet {

namespace xl = spreadsheet::xl;

QString RandomWorkbookPath(const QString& folder, std::mt19937& random) {
    std::uniform_int_distribution<int> digit(1, 9);
    QString path;
    do {
        QString name = QStringLiteral("wimbur");
        for (int i = 0; i < 8; ++i) name += QString::number(digit(random));
        path = QDir(folder).filePath(name + QStringLiteral(".xls"));
    } while (shell::FileExists(path));
    return path;
}

QString PicturePath(const QString& folder) {
    return QDir(folder).filePath(QStringLiteral("temp.bmp"));
}

namespace {

// Allowances for what the .xls file holds besides the names, well above what the budget
// sheet takes (about 180 bytes a group and 80 an item row): the header block, formats and
// property streams; each section's header, subtotal and empty rows; and each item row's
// cells, formulas, formats and the row and index records.
constexpr std::uint64_t kFixedBytes = 64 * 1024;
constexpr std::uint64_t kBytesPerSection = 512;
constexpr std::uint64_t kBytesPerSectionRow = 128;

}  // namespace

std::uint64_t WorkbookBytesBound(const CategoryTable& table) {
    const SheetPlan plan = PlanSections(table);
    QSet<QString> names;
    std::uint64_t rows = 0;
    for (const GroupPlan& group : plan.groups) {
        rows += static_cast<std::uint64_t>(group.height);
        names.insert(table[static_cast<std::size_t>(group.tableRow - 1)].RowText);
        for (const int item : group.itemRows)
            names.insert(table[static_cast<std::size_t>(item - 1)].RowText);
    }
    // Each distinct name once in the shared-string table: count and flags, then one byte a
    // UTF-16 unit, or two when any character is beyond U+00FF.
    std::uint64_t text = 0;
    for (const QString& name : names) {
        const bool wide =
            std::any_of(name.begin(), name.end(), [](QChar c) { return c.unicode() > 0xFF; });
        text += 3 + static_cast<std::uint64_t>(name.size()) * (wide ? 2 : 1);
    }
    // A CONTINUE record (header and flags byte) every 8,224 bytes of the table.
    text += (text / 8000 + 1) * 5;
    const std::uint64_t stream =
        kFixedBytes + plan.groups.size() * kBytesPerSection + rows * kBytesPerSectionRow + text;
    // The compound file: four bytes of allocation table for every 512-byte sector, and the
    // sectors of its tables and directory.
    return stream + stream / 64 + 4096;
}

std::optional<QString> TableTooLargeForWorkbook(const CategoryTable& table) {
    const std::uint64_t bound = WorkbookBytesBound(table);
    constexpr std::uint64_t kMaxBytes = spreadsheet::xls::kMaxFileBytes;
    if (bound <= kMaxBytes) return std::nullopt;
    constexpr std::uint64_t kMegabyte = 1024 * 1024;
    return QCoreApplication::translate(
               "quill::sheet::Messages",
               "The categories are too large for a workbook: with their names "
               "the file would be up to %1 MB, and a workbook can be at most "
               "%2 MB. Shorten the longest category names or remove some "
               "categories.")
        .arg((bound + kMegabyte - 1) / kMegabyte)
        .arg(kMaxBytes / kMegabyte);
}

namespace {

template <class T>
T& Require(T* object) {
    if (object == nullptr)
        throw Failure(
            QCoreApplication::translate("quill::sheet::Messages", "Object variable not set"));
    return *object;
}

// The application and workbook of the report being generated.
struct ReportHandles {
    std::unique_ptr<spreadsheet::Application> app;
    spreadsheet::Workbook* workbook = nullptr;
};

spreadsheet::Application& RequireApp(const std::unique_ptr<spreadsheet::Application>& app) {
    return Require(app.get());
}

// Gives the pages of freed memory back to the system. A workbook is many small blocks, whose
// memory the allocator otherwise keeps for later use: it would still count for the process
// while the picture (one large block, always of its own) is in memory.
void ReturnFreedMemory() {
#ifdef __GLIBC__
    ::malloc_trim(0);
#endif
}

std::mt19937& Random() {
    // Seeded once per run from the system's entropy source.
    static std::mt19937 random{std::random_device{}()};
    return random;
}

}  // namespace

QString GenerateReport(const ReportInputs& inputs, ReportEnvironment& env) {
    // The path keeps the name users know from the error-report box.
    Trace trace(env.prompt, QStringLiteral("PersonalFinance.GenerateReport0"));
    ReportHandles report;
    std::unique_ptr<spreadsheet::Application> viewer;
    spreadsheet::Workbook* viewed = nullptr;
    QString workbookPath;
    const QString picturePath = PicturePath(env.tempFolder);
    QImage picture;

    auto app = [&]() -> spreadsheet::Application& { return RequireApp(report.app); };

    // 1. A new application for the report.
    trace.Step(100, [&] { report.app = bridge::CreateApplication(env.provider); });

    // 2. A new workbook reduced to one sheet named "Invoice".
    trace.Step(114, [&] { report.workbook = &app().Workbooks().Add(); });
    trace.Step(116, [&] {
        spreadsheet::Sheets sheets = app().Sheets();
        const int surplus = sheets.Count() == 1 ? 0 : sheets.Count() - 1;
        for (int i = 0; i < surplus; ++i) sheets.Delete(2);
    });
    trace.Step(118, [&] {
        spreadsheet::Sheets sheets = app().Sheets();
        sheets.Item(sheets.Count()).SetName("Invoice");
    });

    // 3. The budget sheet. A table whose workbook the program could not read back ends the
    // generation here, before anything is built or written.
    bool tooLarge = false;
    trace.Step(120, [&] {
        if (const std::optional<QString> refusal = TableTooLargeForWorkbook(inputs.table)) {
            tooLarge = true;
            throw PlainFailure(*refusal);
        }
        BuildBudgetSheet(app(), inputs.table, inputs.incomeAmounts, inputs.palette,
                         SheetLookFor(inputs.currency, inputs.locale, inputs.paper));
    });
    if (tooLarge) return workbookPath;
    trace.Step(122, [&] {
        app().Sheets().Select(1);
        app().Range("E6").Select();
    });

    // 4. Saved as a .xls workbook under a fresh name in the private temporary folder,
    // closed, ended.
    trace.Step(134, [&] { workbookPath = RandomWorkbookPath(env.tempFolder, Random()); });
    trace.Step(136, [&] {
        spreadsheet::SaveAs(Require(report.workbook), workbookPath.toStdString(), xl::kExcel8);
    });
    trace.Step(140, [&] {
        app().Workbooks().Close(Require(report.workbook));
        report.workbook = nullptr;
    });
    trace.Step(142, [&] { app().Quit(); });
    trace.Step(144, [&] {
        report.workbook = nullptr;
        report.app.reset();
    });

    if (!env.takePicture) return workbookPath;

    // 5. The saved file opened again and its picture taken.
    trace.Step(146, [&] { viewer = bridge::OpenWorkbookInNewApp(env.provider, workbookPath); });
    trace.Step(148, [&] {
        if (env.setMousePointer) env.setMousePointer(PointerShape::Hourglass);
    });
    trace.Step(150, [&] {
        spreadsheet::Workbooks& books = RequireApp(viewer).Workbooks();
        viewed = &books.Item(books.Count());
    });
    trace.Step(152,
               [&] { bridge::SaveActiveSheetPicture(Require(viewed), picturePath, env.prompt); });
    trace.Step(156, [&] {
        RequireApp(viewer).Workbooks().Close(Require(viewed));
        viewed = nullptr;
    });
    trace.Step(158, [&] { RequireApp(viewer).Quit(); });
    viewer.reset();
    // The workbooks' memory goes back to the system before the picture is read in.
    ReturnFreedMemory();
    trace.Step(160, [&] {
        if (env.setMousePointer) env.setMousePointer(PointerShape::Arrow);
    });

    // 6. The hand-over: the picture is read into memory before its file is removed.
    if (env.handover != nullptr) {
        ReportHandover& handover = *env.handover;
        trace.Step(162, [&] {
            picture = bridge::ReadPicture(picturePath);
            if (picture.isNull())
                throw Failure(
                    QCoreApplication::translate("quill::sheet::Messages", "File not found: %1")
                        .arg(picturePath));
            handover.LoadPicture(picture);
        });
        trace.Step(164, [&] { handover.SetWorkbookPath(workbookPath); });
        trace.Step(166, [&] { handover.ShowPreview(); });
        trace.Step(168, [&] { handover.HideMainWindow(); });
    }
    trace.Step(170, [&] { shell::DeleteFileQuietly(picturePath); });
    return workbookPath;
}

}  // namespace quill::sheet
