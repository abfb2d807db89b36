#include "preview/SheetPreviewWindow.h"

#include <algorithm>
#include <array>
#include <optional>
#include <utility>

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFileInfo>
#include <QFont>
#include <QFrame>
#include <QGroupBox>
#include <QGuiApplication>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScrollBar>
#include <QShortcut>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QTemporaryFile>

#include "bridge/WorkbookExport.h"
#include "preview/PictureBox.h"
#include "shell/CommonServices.h"
#include "shell/Config.h"
#include "shell/ErrorTrap.h"
#include "shell/Failure.h"
#include "shell/SafeReplace.h"
#include "shell/ui/AccessibleRole.h"
#include "shell/ui/FormLayout.h"
#include "shell/ui/FormStyle.h"
#include "shell/ui/MousePointer.h"
#include "spreadsheet/render/SheetPages.h"
#include "spreadsheet/xls/XlsFile.h"

namespace quill::preview {

using ui::BoldArial;
using ui::kTwipsPerPixel;
using ui::MakeButton;
using ui::Pixels;
using ui::TwipRect;

namespace {

// The save dialog's entries, and the format each one saves in; the first is the default.
struct SaveEntry {
    const char* filter;
    bridge::SaveFormat format;
};
constexpr std::array<SaveEntry, 3> kSaveEntries = {{
    {"Excel Files (*.xls)", bridge::SaveFormat::Xls},
    {"Excel Workbook (*.xlsx)", bridge::SaveFormat::Xlsx},
    {"PDF Files (*.pdf)", bridge::SaveFormat::Pdf},
}};

QString SaveFilters() {
    QStringList filters;
    for (const SaveEntry& entry : kSaveEntries) filters << QLatin1String(entry.filter);
    return filters.join(QStringLiteral(";;"));
}

// The format of a saved file: the one its name's ending asks for (.xls, .xlsx or .pdf, in
// any case), else the one of the dialog's entry that was chosen.
bridge::SaveFormat SaveFormatOf(const QString& name, int entry) {
    if (name.endsWith(QStringLiteral(".xlsx"), Qt::CaseInsensitive))
        return bridge::SaveFormat::Xlsx;
    if (name.endsWith(QStringLiteral(".xls"), Qt::CaseInsensitive)) return bridge::SaveFormat::Xls;
    if (name.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive)) return bridge::SaveFormat::Pdf;
    if (entry < 0 || entry >= static_cast<int>(kSaveEntries.size())) return kSaveEntries[0].format;
    return kSaveEntries[static_cast<std::size_t>(entry)].format;
}

// The notice for a file that could not be written: the failure names the file and the
// system's reason; the user's file, if there was one, is as it was.
QString NotWrittenNotice(const FileFailure& failure) {
    QString text = QString::fromUtf8(failure.what());
    if (!text.endsWith(QLatin1Char('.'))) text += QLatin1Char('.');
    return text + QStringLiteral(" Nothing was written.");
}

// The viewport and picture sizes the model works with; the viewport's frame is drawn with
// the same border.
const PreviewModel::Geometry kGeometry{};

void ShowBar(QScrollBar& bar, const ScrollBarState& state) {
    // The widget follows the model; its own change signal is for the user's moves only.
    const QSignalBlocker blocker(bar);
    bar.setRange(0, state.max);
    bar.setValue(state.value);
    bar.setEnabled(state.enabled);
}

}  // namespace

SheetPreviewWindow::SheetPreviewWindow(Prompt& prompt, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      prompt_(prompt),
      model_(prompt, kGeometry) {
    CreateControls();
    DescribeControls();
    CreateShortcuts();
    model_.repaint = [this] { PaintPicture(); };
    model_.showArrow = [this] { pointer_->Set(PointerShape::Arrow); };
    Load();
}

SheetPreviewWindow::~SheetPreviewWindow() = default;

void SheetPreviewWindow::CreateControls() {
    // The object names ("Form3", "Picture1", "PushButton6", ...) are the ones the optional
    // skin style sheet can address by name: they stay as they are, whatever the members
    // are called.
    setObjectName(QStringLiteral("Form3"));
    // Before anything asks for the window's accessible interface.
    ui::SetAccessibleRole(*this, QAccessible::Window);
    setFont(BoldArial(9));
    setFixedSize(Pixels(9840), Pixels(9345));

    auto* viewport = new QFrame(this);
    viewport->setObjectName(QStringLiteral("Picture2"));
    viewport->setFrameStyle(QFrame::Box | QFrame::Plain);
    viewport->setLineWidth(Pixels(kGeometry.viewportBorder));
    viewport->setGeometry(TwipRect(120, 120, kGeometry.viewport.width, kGeometry.viewport.height));
    ui::PaintWhite(*viewport);
    viewport_ = viewport;

    // Children paint over their parent's border, so the picture moves inside a plain widget
    // that covers exactly the viewport's inner area.
    clip_ = new QWidget(viewport);
    clip_->setGeometry(viewport->contentsRect());

    picture_ = new PictureBox(clip_);
    picture_->setObjectName(QStringLiteral("Picture1"));
    picture_->setGeometry(0, 0, 0, 0);
    picture_->installEventFilter(this);

    verticalBar_ = new QScrollBar(Qt::Vertical, this);
    verticalBar_->setObjectName(QStringLiteral("VScroll1"));
    verticalBar_->setGeometry(TwipRect(9450, 120, 255, 7425));
    horizontalBar_ = new QScrollBar(Qt::Horizontal, this);
    horizontalBar_->setObjectName(QStringLiteral("HScroll1"));
    horizontalBar_->setGeometry(TwipRect(120, 7545, 9330, 255));
    for (QScrollBar* bar : {horizontalBar_, verticalBar_}) {
        bar->setRange(0, 0);
        bar->setEnabled(false);
    }

    zoomFrame_ = new QGroupBox(QStringLiteral("Zoom:"), this);
    zoomFrame_->setObjectName(QStringLiteral("Frame1"));
    zoomFrame_->setGeometry(TwipRect(120, 7860, 9600, 855));

    zoomInButton_ = MakeButton("PushButton1", QStringLiteral("Zoom In"), zoomFrame_,
                               TwipRect(240, 300, 4440, 405));
    zoomOutButton_ = MakeButton("PushButton2", QStringLiteral("Zoom Out"), zoomFrame_,
                                TwipRect(4800, 300, 4560, 405));
    backButton_ =
        MakeButton("PushButton8", QStringLiteral("< Back"), this, TwipRect(120, 8850, 4680, 405));
    saveButton_ = MakeButton("PushButton6", QStringLiteral("Save Results To Excel File"), this,
                             TwipRect(4920, 8850, 4800, 405));

    // The holder of the unscaled picture lies outside the client area and is never shown.
    unscaledPicture_ = new PictureBox(this);
    unscaledPicture_->setObjectName(QStringLiteral("Zoom_Ori"));
    unscaledPicture_->move(Pixels(10320), Pixels(480));
    unscaledPicture_->setVisible(false);

    // Buttons show the hand, the background and the zoom frame the arrow. Movement over the
    // buttons, the viewport and the bars stops there instead of reaching the surfaces
    // behind them, which would turn the pointer back into the arrow.
    pointer_ = new MousePointer(*this);
    pointer_->TrackButtons({zoomInButton_, zoomOutButton_, saveButton_, backButton_});
    pointer_->TrackSurface(*this);
    pointer_->TrackSurface(*zoomFrame_);
    for (QWidget* widget :
         {viewport_, static_cast<QWidget*>(horizontalBar_), static_cast<QWidget*>(verticalBar_)}) {
        widget->setAttribute(Qt::WA_NoMousePropagation);
    }

    connect(zoomInButton_, &QPushButton::clicked, this, [this] { OnZoomIn(); });
    connect(zoomOutButton_, &QPushButton::clicked, this, [this] { OnZoomOut(); });
    connect(saveButton_, &QPushButton::clicked, this, [this] { OnSaveResults(); });
    connect(backButton_, &QPushButton::clicked, this, [this] { OnBack(); });
    auto* print = new QShortcut(QKeySequence::Print, this);
    connect(print, &QShortcut::activated, this, [this] { PrintWorkbook(); });
    connect(horizontalBar_, &QScrollBar::valueChanged, this,
            [this](int value) { ScrollChanged(Axis::Horizontal, value); });
    connect(verticalBar_, &QScrollBar::valueChanged, this,
            [this](int value) { ScrollChanged(Axis::Vertical, value); });

    ui::CentreOnScreen(*this);
}

void SheetPreviewWindow::DescribeControls() {
    // Both windows carry the title "Quillmere"; the accessible names tell them apart.
    setAccessibleName(QStringLiteral("Quillmere sheet preview"));
    setAccessibleDescription(QStringLiteral(
        "The picture of the generated budget sheet, with zoom, saving and the way back."));
    // The viewport is the picture as a listener meets it: one image, named, with the
    // sheet's key figures and the zoom in its description; the box that moves inside it
    // is drawing detail. It takes the focus so that the keys can pan the picture.
    ui::SetAccessibleRole(*viewport_, QAccessible::Graphic, true);
    viewport_->setAccessibleName(QStringLiteral("Budget sheet picture"));
    viewport_->setToolTip(QStringLiteral("Arrows, Page Up/Down, Home and End pan the picture"));
    viewport_->setFocusPolicy(Qt::StrongFocus);
    viewport_->installEventFilter(this);
    horizontalBar_->setAccessibleName(QStringLiteral("Horizontal position of the picture"));
    verticalBar_->setAccessibleName(QStringLiteral("Vertical position of the picture"));
    for (QScrollBar* bar : {horizontalBar_, verticalBar_}) bar->setFocusPolicy(Qt::StrongFocus);
    zoomInButton_->setToolTip(QStringLiteral("Zoom In (Ctrl++)"));
    zoomOutButton_->setToolTip(QStringLiteral("Zoom Out (Ctrl+-)"));
    backButton_->setToolTip(QStringLiteral("< Back (Escape or Alt+Left)"));
    saveButton_->setToolTip(QStringLiteral("Save Results To Excel File (Ctrl+S)"));
    // The zoom buttons, then the picture area and its bars, then the two commands.
    const std::array<QWidget*, 7> order = {zoomInButton_,  zoomOutButton_, viewport_,
                                           horizontalBar_, verticalBar_,   backButton_,
                                           saveButton_};
    for (std::size_t i = 1; i < order.size(); ++i) setTabOrder(order[i - 1], order[i]);
    DescribePicture();
}

void SheetPreviewWindow::CreateShortcuts() {
    // Enter presses the focused button, as Space does; outside dialogs Qt leaves Enter to
    // buttons that are marked to take it.
    for (QPushButton* button : {zoomInButton_, zoomOutButton_, saveButton_, backButton_})
        button->setAutoDefault(true);
    const auto press = [this](QList<QKeySequence> keys, QPushButton* button) {
        auto* shortcut = new QShortcut(this);
        shortcut->setKeys(keys);
        connect(shortcut, &QShortcut::activated, button, &QPushButton::click);
    };
    // Ctrl++ is typed with Shift on most layouts; Ctrl+= is the same key without it.
    press(QKeySequence::keyBindings(QKeySequence::ZoomIn) << QKeySequence(Qt::CTRL | Qt::Key_Equal),
          zoomInButton_);
    press(QKeySequence::keyBindings(QKeySequence::ZoomOut), zoomOutButton_);
    press({QKeySequence(QKeySequence::Save)}, saveButton_);
    press({QKeySequence(Qt::Key_Escape), QKeySequence(Qt::ALT | Qt::Key_Left)}, backButton_);
}

void SheetPreviewWindow::SetSheetSummary(const QString& summary) {
    sheetSummary_ = summary;
    DescribePicture();
}

void SheetPreviewWindow::DescribePicture() {
    QString description = QStringLiteral("Zoom %1%.").arg(qRound(model_.ZoomFactor() * 100));
    if (!sheetSummary_.isEmpty()) description += QLatin1Char(' ') + sheetSummary_;
    if (viewport_->accessibleDescription() != description)
        viewport_->setAccessibleDescription(description);
}

bool SheetPreviewWindow::PanByKey(const QKeyEvent& key) {
    // An arrow moves the picture by twenty pixels, a page by the viewport less that much.
    constexpr int kNudge = 20 * kTwipsPerPixel;
    const TwipSize inner = model_.ViewportInner();
    const auto by = [this](Axis axis, int twips) {
        const ScrollBarState& bar = axis == Axis::Horizontal ? model_.HScroll() : model_.VScroll();
        if (!bar.enabled || bar.step == 0) return;
        model_.SetScrollValue(axis, bar.value + twips / bar.step);
    };
    const auto toEnd = [this](bool end) {
        model_.SetScrollValue(Axis::Horizontal, end ? model_.HScroll().max : 0);
        model_.SetScrollValue(Axis::Vertical, end ? model_.VScroll().max : 0);
    };
    switch (key.key()) {
        case Qt::Key_Left:
            by(Axis::Horizontal, -kNudge);
            break;
        case Qt::Key_Right:
            by(Axis::Horizontal, kNudge);
            break;
        case Qt::Key_Up:
            by(Axis::Vertical, -kNudge);
            break;
        case Qt::Key_Down:
            by(Axis::Vertical, kNudge);
            break;
        case Qt::Key_PageUp:
            by(Axis::Vertical, kNudge - inner.height);
            break;
        case Qt::Key_PageDown:
            by(Axis::Vertical, inner.height - kNudge);
            break;
        case Qt::Key_Home:
            toEnd(false);
            break;
        case Qt::Key_End:
            toEnd(true);
            break;
        default:
            return false;
    }
    ShowModel();
    return true;
}

void SheetPreviewWindow::ShowPictureFocus(bool focused) {
    // The viewport's border takes the highlight colour while the keys pan the picture.
    QPalette palette = viewport_->palette();
    palette.setColor(QPalette::WindowText, focused ? palette.color(QPalette::Highlight)
                                                   : this->palette().color(QPalette::WindowText));
    viewport_->setPalette(palette);
}

void SheetPreviewWindow::Load() {
    Trace trace(prompt_, QStringLiteral("Form3.Form_Load"));
    trace.Step(100, [&] { firstActivation_ = true; });
    trace.Step(102, [&] { shell::SetFormColors(*this); });
    trace.Step(104, [&] {
        setWindowTitle(QString::fromLatin1(config::kProductName));
        setWindowIcon(QApplication::windowIcon());
    });
    trace.Step(106, [&] { pointer_->LoadOptionalHand(); });
}

void SheetPreviewWindow::SetEndProgram(std::function<void()> endProgram) {
    endProgram_.Replace(std::move(endProgram));
}

void SheetPreviewWindow::LoadPicture(const QImage& picture) {
    const QPixmap pixmap = QPixmap::fromImage(picture);
    if (pixmap.isNull()) throw Failure(QStringLiteral("The preview picture is empty"));
    // Picture1 sizes itself to the picture; the model keeps that size in twips.
    picture_->SetPicture(pixmap);
    picture_->resize(pixmap.size());
    model_.HandOver({pixmap.width() * kTwipsPerPixel, pixmap.height() * kTwipsPerPixel});
    // A new hand-over is prepared at the next activation; a window already on screen gets
    // no further activation, so it is prepared now.
    firstActivation_ = true;
    if (isVisible()) Activate();
}

void SheetPreviewWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    Activate();
}

void SheetPreviewWindow::Activate() {
    Trace trace(prompt_, QStringLiteral("Form3.Form_Activate"));
    if (firstActivation_) {
        trace.Step(100, [&] { picture_->resize(picture_->Picture().size()); });
        trace.Step(102, [&] {
            unscaledPicture_->SetPicture(picture_->Picture());
            unscaledPicture_->resize(picture_->size());
            model_.CopyPictureToHolder();
        });
        model_.Prepare(trace);
    }
    trace.Step(114, [&] { firstActivation_ = false; });
    ShowModel();
}

void SheetPreviewWindow::PaintPicture() {
    const TwipSize scaled = model_.Scaled();
    const TwipSize unscaled = model_.Unscaled();
    const QSize size(std::max(0, Pixels(scaled.width)), std::max(0, Pixels(scaled.height)));
    const QPixmap& original = unscaledPicture_->Picture();
    QPixmap canvas;
    if (!size.isEmpty() && size == original.size() && !original.hasAlphaChannel() &&
        scaled.width == unscaled.width && scaled.height == unscaled.height) {
        // At its own size an opaque picture paints over the white canvas exactly as it is:
        // Picture1 shares the holder's pixels instead of drawing a copy of them.
        canvas = original;
    } else if (!size.isEmpty()) {
        canvas = QPixmap(size);
        if (canvas.isNull()) throw Failure(QStringLiteral("Out of memory"));
        canvas.fill(Qt::white);
        QPainter painter(&canvas);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        const double perPixel = kTwipsPerPixel;
        painter.drawPixmap(QRectF(0, 0, scaled.width / perPixel, scaled.height / perPixel),
                           original,
                           QRectF(0, 0, unscaled.width / perPixel, unscaled.height / perPixel));
    }
    picture_->SetPicture(canvas);
    picture_->resize(size);
}

void SheetPreviewWindow::ShowModel() {
    const TwipSize size = model_.PictureSize();
    picture_->setGeometry(Pixels(model_.PictureLeft()), Pixels(model_.PictureTop()),
                          std::max(0, Pixels(size.width)), std::max(0, Pixels(size.height)));
    ShowBar(*horizontalBar_, model_.HScroll());
    ShowBar(*verticalBar_, model_.VScroll());
    DescribePicture();
}

void SheetPreviewWindow::OnZoomIn() {
    Trace trace(prompt_, QStringLiteral("Form3.PushButton1_Click"));
    trace.Step(100, [&] { model_.StepZoom(ZoomDirection::In); });
    ShowModel();
}

void SheetPreviewWindow::OnZoomOut() {
    Trace trace(prompt_, QStringLiteral("Form3.PushButton2_Click"));
    trace.Step(100, [&] { model_.StepZoom(ZoomDirection::Out); });
    ShowModel();
}

void SheetPreviewWindow::ScrollChanged(Axis axis, int value) {
    model_.SetScrollValue(axis, value);
    ShowModel();
}

bool SheetPreviewWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == picture_) {
        switch (event->type()) {
            case QEvent::MouseButtonPress: {
                const QPointF at = static_cast<QMouseEvent*>(event)->position() * kTwipsPerPixel;
                OnPictureMouseDown(static_cast<float>(at.x()), static_cast<float>(at.y()));
                return true;
            }
            case QEvent::MouseMove: {
                const auto* mouse = static_cast<QMouseEvent*>(event);
                if (mouse->buttons() != Qt::NoButton) {
                    const QPointF at = mouse->position() * kTwipsPerPixel;
                    OnPictureMouseMove(static_cast<float>(at.x()), static_cast<float>(at.y()));
                }
                return true;
            }
            case QEvent::MouseButtonRelease:
                OnPictureMouseUp();
                return true;
            default:
                break;
        }
    }
    if (watched == viewport_) {
        switch (event->type()) {
            case QEvent::KeyPress:
                if (PanByKey(*static_cast<QKeyEvent*>(event))) return true;
                break;
            case QEvent::FocusIn:
            case QEvent::FocusOut:
                ShowPictureFocus(event->type() == QEvent::FocusIn);
                break;
            default:
                break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void SheetPreviewWindow::OnPictureMouseDown(float x, float y) {
    Trace trace(prompt_, QStringLiteral("Form3.Picture1_MouseDown"));
    trace.Step(100, [&] { model_.MouseDown(x, y); });
}

void SheetPreviewWindow::OnPictureMouseMove(float x, float y) {
    Trace trace(prompt_, QStringLiteral("Form3.Picture1_MouseMove"));
    trace.Step(100, [&] { model_.MouseMove(x, y); });
    ShowModel();
}

void SheetPreviewWindow::OnPictureMouseUp() {
    Trace trace(prompt_, QStringLiteral("Form3.Picture1_MouseUp"));
    model_.MouseUp(trace);
    ShowModel();
}

void SheetPreviewWindow::OnSaveResults() {
    Trace trace(prompt_, QStringLiteral("Form3.PushButton6_Click"));
    QString name;
    bool overwrite = false;
    int entry = 0;
    bool written = false;
    trace.Step(100, [&] {
        name = prompt_.SaveFileNameFrom(QStringLiteral("Save File"), SaveFilters(), entry);
    });
    // Cancelled: nothing to save and nothing to tell.
    if (name.isEmpty()) return;
    // A file that cannot be written is an ordinary event, told plainly in a notice; the
    // error-report box is left to faults of the program.
    trace.Step(102, [&] {
        try {
            // A file that cannot be replaced is named before the user is asked to replace it.
            if (const QString refusal = SafeReplace::Refusal(name); !refusal.isEmpty()) {
                prompt_.Notice(refusal, shell::AppTitle());
                return;
            }
        } catch (const FileFailure& failure) {
            prompt_.Notice(NotWrittenNotice(failure), shell::AppTitle());
            return;
        }
        overwrite = !shell::FileExists(name) ||
                    prompt_.AskYesNo(QStringLiteral("Are you sure you wish to overwrite ") + name +
                                         QStringLiteral(" ?"),
                                     shell::AppTitle());
    });
    // The new file replaces an existing one only once it is complete, so a failed save
    // leaves the user's file as it was. The name is used exactly as given.
    trace.Step(104, [&] {
        if (!overwrite) return;
        const bridge::SaveFormat format = SaveFormatOf(name, entry);
        try {
            if (format == bridge::SaveFormat::Xls) {
                SafeReplace::CopyFile(workbookPath_, name);
            } else {
                // A target that cannot be written is found before the workbook is converted.
                SafeReplace::Replacement out(name);
                out.Write(bridge::ExportWorkbook(workbookPath_, format));
                out.Commit();
            }
            written = true;
        } catch (const FileFailure& failure) {
            prompt_.Notice(NotWrittenNotice(failure), shell::AppTitle());
        }
    });
    // Only a file that was written is reported as saved.
    if (written)
        trace.Step(106, [&] { prompt_.Notice(QStringLiteral("Done."), shell::AppTitle()); });
}

void SheetPreviewWindow::SetPrintDialog(std::function<bool(QPrinter&)> printDialog) {
    printDialog_ = std::move(printDialog);
}

void SheetPreviewWindow::PrintWorkbook() {
    Trace trace(prompt_, QStringLiteral("Form3.PrintWorkbook"));
    std::optional<spreadsheet::Workbook> book;
    trace.Step(100, [&] { book = spreadsheet::LoadXls(workbookPath_.toStdString()); });
    if (!book || book->ShownSheet() == nullptr) return;
    const spreadsheet::Worksheet& sheet = *book->ShownSheet();
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageLayout(spreadsheet::LayOutPages(sheet).page);
    bool accepted = false;
    trace.Step(102, [&] {
        accepted = printDialog_ ? printDialog_(printer)
                                : QPrintDialog(&printer, this).exec() == QDialog::Accepted;
    });
    if (!accepted) return;
    const QString target = printer.outputFileName();
    if (target.isEmpty()) {
        trace.Step(104, [&] {
            if (!spreadsheet::PrintSheet(printer, *book, sheet))
                throw Failure("The printer cannot be started");
        });
        return;
    }
    // The other way the pages go: the same line as printing them.
    trace.Step(104, [&] {
        try {
            PrintToFile(printer, *book, target);
        } catch (const FileFailure& failure) {
            prompt_.Notice(NotWrittenNotice(failure), shell::AppTitle());
        }
    });
}

void SheetPreviewWindow::PrintToFile(QPrinter& printer, const spreadsheet::Workbook& book,
                                     const QString& target) {
    // Printing to a file is saving a file: the same refusals, and the pages reach the
    // target only once they are complete. The printer writes them to a private file in the
    // run's temporary folder first, which SafeReplace then copies into place.
    if (const QString refusal = SafeReplace::Refusal(target); !refusal.isEmpty()) {
        prompt_.Notice(refusal, shell::AppTitle());
        return;
    }
    const QString folder = QFileInfo(workbookPath_).absolutePath();
    QTemporaryFile pages(folder + QStringLiteral("/printed-XXXXXX.pdf"));
    if (!pages.open()) {
        throw FileFailure(
            QStringLiteral("Cannot write %1: no temporary file can be made in %2 (%3)")
                .arg(target, folder, pages.errorString()));
    }
    printer.setOutputFileName(pages.fileName());
    const bool printed = spreadsheet::PrintSheet(printer, book, *book.ShownSheet());
    // The printer reports no failed writes; a PDF that was written in full ends with its
    // end-of-file marker.
    pages.seek(std::max<qint64>(0, pages.size() - 16));
    if (!printed || !pages.readAll().trimmed().endsWith("%%EOF")) {
        throw FileFailure(
            QStringLiteral("Cannot write %1: the printed pages could not be written in full to "
                           "the temporary folder %2")
                .arg(target, folder));
    }
    SafeReplace::CopyFile(pages.fileName(), target);
}

void SheetPreviewWindow::OnBack() {
    Trace trace(prompt_, QStringLiteral("Form3.PushButton8_Click"));
    trace.Step(100, [&] { shell::DeleteFileQuietly(workbookPath_); });
    trace.Step(102, [&] { emit backRequested(); });
    trace.Step(104, [&] { hide(); });
}

void SheetPreviewWindow::closeEvent(QCloseEvent* event) {
    DeleteWorkbook();
    event->accept();
    EndProgram();
}

void SheetPreviewWindow::DeleteWorkbook() {
    Trace trace(prompt_, QStringLiteral("Form3.Form_QueryUnload"));
    trace.Step(100, [&] { shell::DeleteFileQuietly(workbookPath_); });
    trace.Step(102, [] { QCoreApplication::processEvents(); });
    trace.Step(104, [] { QCoreApplication::processEvents(); });
}

void SheetPreviewWindow::EndProgram() {
    // The main window saves its state on this signal; its own closing steps do not run.
    emit closing();
    endProgram_();
}

}  // namespace quill::preview
