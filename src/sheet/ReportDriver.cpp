#include "sheet/ReportDriver.h"

#include <memory>

#ifdef __GLIBC__
#include <malloc.h>
#endif

#include <QDir>

#include "bridge/Connection.h"
#include "bridge/PictureFile.h"
#include "bridge/SheetPicture.h"
#include "sheet/BudgetSheet.h"
#include "shell/CommonServices.h"
#include "shell/ErrorTrap.h"
#include "shell/Failure.h"
#include "shell/PointerShape.h"
#include "spreadsheet/objectmodel/ObjectModel.h"

namespace quill::PersonalFinance {

namespace xl = spreadsheet::xl;

QString RandomWorkbookPath(const QString& folder, std::mt19937& random) {
    std::uniform_int_distribution<int> digit(1, 9);
    QString path;
    do {
        QString name = QStringLiteral("wimbur");
        for (int i = 0; i < 8; ++i) name += QString::number(digit(random));
        path = QDir(folder).filePath(name + QStringLiteral(".xls"));
    } while (Main::FileExists(path));
    return path;
}

QString PicturePath(const QString& folder) {
    return QDir(folder).filePath(QStringLiteral("temp.bmp"));
}

namespace {

template <class T>
T& Require(T* object) {
    if (object == nullptr) throw Failure("Object variable not set");
    return *object;
}

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

QString GenerateReport0(int selector, const ReportInputs& inputs, ReportEnvironment& env) {
    (void)selector;  // passed on by the main window; the sheet has one layout
    Trace trace(env.prompt, QStringLiteral("PersonalFinance.GenerateReport0"));
    ReportHandles report;
    std::unique_ptr<spreadsheet::Application> viewer;
    spreadsheet::Workbook* viewed = nullptr;
    QString workbookPath;
    const QString picturePath = PicturePath(env.tempFolder);
    QImage picture;

    auto app = [&]() -> spreadsheet::Application& { return RequireApp(report.ReportApp); };

    // 1. A hidden application with its updates, alerts and events switched off.
    trace.Step([&] { OpenReportApp(report, env.provider); });
    trace.Step([&] { app().SetVisible(false); });
    trace.Step([&] { app().SetScreenUpdating(false); });
    trace.Step([&] { app().SetDisplayAlerts(false); });
    trace.Step([&] { app().SetEnableEvents(false); });
    trace.Step([&] { app().SetEnableCancelKey(spreadsheet::xl::kCancelKeyDisabled); });
    trace.Step([&] { app().SetCursor(xl::kCursorWait); });

    // 2. A new workbook reduced to one sheet named "Invoice".
    trace.Step([&] { report.ReportWorkbook = &app().Workbooks().Add(); });
    trace.Step([&] {
        spreadsheet::Sheets sheets = app().Sheets();
        const int surplus = sheets.Count() == 1 ? 0 : sheets.Count() - 1;
        for (int i = 0; i < surplus; ++i) sheets.Delete(2);
    });
    trace.Step([&] {
        spreadsheet::Sheets sheets = app().Sheets();
        sheets.Item(sheets.Count()).SetName("Invoice");
    });

    // 3. The budget sheet.
    trace.Step(
        [&] { BuildBudgetSheet(app(), inputs.table, inputs.incomeAmounts, inputs.palette); });
    trace.Step([&] {
        app().Sheets().Select(1);
        app().Range("E6").Select();
    });

    // 4. The application's settings back as they were.
    trace.Step([&] { app().SetCursor(xl::kCursorDefault); });
    trace.Step([&] { app().SetScreenUpdating(true); });
    trace.Step([&] { app().SetDisplayAlerts(true); });
    trace.Step([&] { app().SetEnableEvents(true); });
    trace.Step([&] { app().SetEnableCancelKey(spreadsheet::xl::kCancelKeyInterrupt); });

    // 5. Saved under a fresh name in the private temporary folder, closed, ended.
    trace.Step([&] { workbookPath = RandomWorkbookPath(env.tempFolder, Random()); });
    trace.Step([&] {
        const std::int32_t format = Excel1::FileFormatFor(env.provider, report.ReportApp.get());
        spreadsheet::SaveAs(Require(report.ReportWorkbook), workbookPath.toStdString(), format);
    });
    trace.Step([&] { app().SetDisplayAlerts(false); });
    trace.Step([&] {
        app().Workbooks().Close(Require(report.ReportWorkbook));
        report.ReportWorkbook = nullptr;
    });
    trace.Step([&] { app().Quit(); });
    trace.Step([&] { ReleaseReportApp(report); });

    if (!env.takePicture) return workbookPath;

    // 6. The saved file opened again and its picture taken.
    trace.Step([&] { viewer = Excel1::OpenWorkbookInNewApp(env.provider, workbookPath); });
    trace.Step([&] {
        if (env.setMousePointer) env.setMousePointer(pointer::kHourglass);
    });
    trace.Step([&] {
        spreadsheet::Workbooks& books = RequireApp(viewer).Workbooks();
        viewed = &books.Item(books.Count());
    });
    trace.Step([&] { Excel1::saveCellsActivesheet(Require(viewed), picturePath, env.prompt); });
    trace.Step([&] { RequireApp(viewer).SetDisplayAlerts(false); });
    trace.Step([&] {
        RequireApp(viewer).Workbooks().Close(Require(viewed));
        viewed = nullptr;
    });
    trace.Step([&] { RequireApp(viewer).Quit(); });
    viewer.reset();
    // The workbooks' memory goes back to the system before the picture is read in.
    ReturnFreedMemory();
    trace.Step([&] {
        if (env.setMousePointer) env.setMousePointer(pointer::kArrow);
    });

    // 7. The hand-over: the picture is read into memory before its file is removed.
    if (env.handover != nullptr) {
        ReportHandover& handover = *env.handover;
        trace.Step([&] {
            picture = Excel1::ReadPicture(picturePath);
            if (picture.isNull()) throw Failure("File not found: " + picturePath);
            handover.LoadPicture(picture);
        });
        trace.Step([&] { handover.SetWorkbookPath(workbookPath); });
        trace.Step([&] { handover.ShowPreview(); });
        trace.Step([&] { handover.HideMainWindow(); });
    }
    trace.Step([&] { Main::DeleteFileQuietly(picturePath); });
    return workbookPath;
}

}  // namespace quill::PersonalFinance
