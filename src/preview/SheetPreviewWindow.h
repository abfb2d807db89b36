// The preview window: the picture of the finished sheet with zoom, scrollbars and
// drag-to-pan, the command that saves the workbook and the way back to the editor.
//
// The window only wires PreviewModel, which does all the arithmetic in twips, to its
// widgets at 15 twips to a pixel.
//
// Hand-over from the report driver:
//     preview.LoadPicture(picture);      // taken into memory; the file may go right after
//     form3.workbookPath_ = workbookPath;
//     preview.show();                    // showing prepares zoom and scrollbars
#pragma once

#include <functional>

#include <QPointF>
#include <QString>
#include <QWidget>

#include "bridge/WorkbookExport.h"
#include "preview/PreviewModel.h"
#include "preview/WorkbookDrawer.h"
#include "shell/Prompt.h"
#include "shell/ui/ProgramEnd.h"

class QGroupBox;
class QImage;
class QKeyEvent;
class QLabel;
class QUrl;
class QWheelEvent;
class QPrinter;
class QPushButton;
class QScrollBar;

namespace quill {
class MousePointer;
namespace spreadsheet {
class Workbook;
}
}  // namespace quill

namespace quill::preview {

class PictureBox;

class SheetPreviewWindow : public QWidget {
    Q_OBJECT
  public:
    // Every box the window shows goes through `prompt`.
    explicit SheetPreviewWindow(Prompt& prompt, QWidget* parent = nullptr);
    ~SheetPreviewWindow() override;

    // Sets the picture of Picture1 (the window takes a copy) and marks the window for
    // preparation when it is next shown; a window already shown is prepared at once.
    // An empty picture throws quill::Failure.
    void LoadPicture(const QImage& picture);

    // Full path of the temporary workbook, set before the window is shown. "Save Results
    // To Excel File" copies it; "< Back" and closing the window delete it.
    void SetWorkbookPath(const QString& path);
    const QString& WorkbookPath() const { return workbookPath_; }

    // The activation: prepares zoom and scrollbars when a hand-over is pending, else
    // nothing. Showing the window calls it.
    void Activate();

    // How the program ends when the window closes, after closing() was emitted. By default
    // QCoreApplication::exit(0); tests put a recorder here.
    void SetEndProgram(std::function<void()> endProgram);

    // The sheet's key figures as a sentence, read by assistive technology with the zoom as
    // the picture's description; set with each hand-over.
    void SetSheetSummary(const QString& summary);
    // Ctrl+P prints the workbook's pages after the print dialog, which is shown by this
    // function (true to print); by default Qt's print dialog. Tests put a stand-in here.
    void SetPrintDialog(std::function<bool(QPrinter&)> printDialog);

    // "Open File" and "Show Folder" in the notice after a save open this address; by
    // default through the desktop (QDesktopServices). Tests put a recorder here.
    void SetOpenUrl(std::function<void(const QUrl&)> openUrl);

    // Sizes the window for a screen whose free area is `available`: the designed size
    // where it fits, else the free area (never below what the controls need), centred.
    void FitOnScreen(const QRect& available);

    // The zoom, scroll and pan state the window shows.
    const PreviewModel& Model() const { return model_; }

  signals:
    // "< Back": the main window shows itself again (the preview then hides).
    void backRequested();
    // The preview is closing and the program ends right after this signal: the main window
    // saves its state now, as its own closing steps will not run.
    void closing();

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void CreateControls();
    void DescribeControls();
    void CreateShortcuts();
    void Load();
    void DeleteWorkbook();
    void EndProgram();
    void OnZoomIn();
    void OnZoomOut();
    void OnSaveResults();
    // "Done.", naming the saved file, with the offer to open it or show its folder; the
    // folder and format are remembered for the next save.
    void TellSaved(const QString& name, bridge::SaveFormat format);
    void FitOnScreen();
    // Ctrl+0: the page's width fills the viewport.
    void FitWidth();
    // A zoom step that keeps the picture's point under `at` (viewport pixels) in place.
    void ZoomAbout(ZoomDirection direction, QPointF at);
    bool Wheel(const QWheelEvent& wheel);
    void ViewportResized();
    void OnBack();
    // Ctrl+P: the temporary workbook's pages, through the print dialog.
    void PrintWorkbook();
    // The pages, when the dialog chose a file, printed to `target` as a save writes a file.
    // Throws quill::FileFailure.
    void PrintToFile(QPrinter& printer, const spreadsheet::Workbook& book, const QString& target);
    void OnPictureMouseDown(float x, float y);
    void OnPictureMouseMove(float x, float y);
    void OnPictureMouseUp();
    void ScrollChanged(Axis axis, int value);

    // Paints the holder's picture into Picture1 at the model's scaled size.
    void PaintPicture();
    // Copies position, size and bar settings from the model to the widgets.
    void ShowModel();
    // The picture's accessible description: the zoom and the sheet summary.
    void DescribePicture();
    // The keys that pan the picture while it has the focus; false for other keys.
    bool PanByKey(const QKeyEvent& key);
    void ShowPictureFocus(bool focused);

    Prompt& prompt_;
    PreviewModel model_;
    QString workbookPath_;
    bool firstActivation_ = true;
    ui::ProgramEnd endProgram_;
    QString sheetSummary_;
    std::function<bool(QPrinter&)> printDialog_;
    std::function<void(const QUrl&)> openUrl_;
    WorkbookDrawer drawer_;
    int wheelAngle_ = 0;  // Ctrl+wheel turns not yet a whole step

    // Controls, owned by the window.
    QWidget* viewport_ = nullptr;  // the viewport with its border
    QWidget* clip_ = nullptr;      // Picture2's inner area, which clips Picture1
    PictureBox* picture_ = nullptr;
    PictureBox* unscaledPicture_ = nullptr;
    QScrollBar* horizontalBar_ = nullptr;
    QScrollBar* verticalBar_ = nullptr;
    QGroupBox* zoomFrame_ = nullptr;
    QPushButton* zoomInButton_ = nullptr;
    QPushButton* zoomOutButton_ = nullptr;
    QLabel* zoomLevel_ = nullptr;
    QPushButton* saveButton_ = nullptr;
    QPushButton* backButton_ = nullptr;
    MousePointer* pointer_ = nullptr;
};

}  // namespace quill::preview
