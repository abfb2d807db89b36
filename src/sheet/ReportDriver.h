// One generation of the budget workbook, from a new hidden application to the hand-over
// of the picture and the saved workbook.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <random>

#include <QImage>
#include <QLocale>
#include <QString>

#include "bridge/SpreadsheetProvider.h"
#include "model/Amounts.h"
#include "model/AppState.h"
#include "shell/PointerShape.h"
#include "shell/Prompt.h"

namespace quill::sheet {

// Receives the finished report: the windowed program shows it in the preview, the
// command-line companion writes it out. Each call is one step of the driver.
class ReportHandover {
  public:
    virtual ~ReportHandover() = default;
    virtual void LoadPicture(const QImage& picture) = 0;
    virtual void SetWorkbookPath(const QString& path) = 0;
    virtual void ShowPreview() = 0;
    virtual void HideMainWindow() = 0;
};

// What one generation reads and where it reports.
struct ReportInputs {
    const CategoryTable& table;
    std::array<model::Amount, 4> incomeAmounts;  // by income box index 0..3
    const Palette& palette;
    // How the amounts look: the currency, its symbol placed as `locale` places it.
    model::Currency currency = model::CurrencyOrUsd({});
    QLocale locale = QLocale::c();
    Paper paper = Paper::A4;
};

struct ReportEnvironment {
    SpreadsheetProvider& provider;
    Prompt& prompt;
    QString tempFolder;                                 // the private folder of this run
    ReportHandover* handover = nullptr;                 // none: generation ends after the picture
    std::function<void(PointerShape)> setMousePointer;  // the main window's pointer
    // Without a picture (the command-line companion writing only the workbook) the saved
    // file is not opened again and no picture is drawn.
    bool takePicture = true;
};

// "wimbur" and eight random digits 1 to 9, with ".xls", in `folder`; drawn again while a
// file of that name exists.
QString RandomWorkbookPath(const QString& folder, std::mt19937& random);

// The path of the picture file in the temporary folder.
QString PicturePath(const QString& folder);

// At least the size in bytes of the .xls file that the budget sheet of `table` is saved to:
// its shared strings (every distinct name once) exactly, its rows and the file around them
// by a generous allowance. Throws quill::Failure as PlanSections does.
std::uint64_t WorkbookBytesBound(const CategoryTable& table);

// The refusal, in words about the categories, of a table whose .xls file could be larger
// than the program reads back (the picture, the .xlsx and the PDF are all made from the
// saved file), or none when the table fits. Throws quill::Failure as PlanSections does.
std::optional<QString> TableTooLargeForWorkbook(const CategoryTable& table);

// Runs the generation. Every step is guarded by the error trap under the path
// "PersonalFinance.GenerateReport0" (the name users know from the error-report box): a failing step
// is reported and the next step runs, except that a table too large for a workbook
// (TableTooLargeForWorkbook, in the step that builds the sheet) is reported and ends the generation
// there, before anything is written. Returns the path of the saved workbook (empty when the name
// was never chosen).
QString GenerateReport(const ReportInputs& inputs, ReportEnvironment& env);

}  // namespace quill::sheet
