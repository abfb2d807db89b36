#include "preview/Form3.h"

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

namespace quill {

using ui::BoldArial;
using ui::kTwipsPerPixel;
using ui::MakeButton;
using ui::Pixels;
using ui::TwipRect;

namespace {

// The save dialog's entries, and the format each one saves in.
const QString kSaveFilters =
    QStringLiteral("Excel Files (*.xls);;Excel Workbook (*.xlsx);;PDF Files (*.pdf)");
constexpr Excel1::SaveFormat kSaveFormats[] = {Excel1::SaveFormat::Xls, Excel1::SaveFormat::Xlsx,
                                               Excel1::SaveFormat::Pdf};

// The format of a saved file: the one its name's ending asks for (.xls, .xlsx or .pdf, in
// any case), else the one of the dialog's entry that was chosen.
Excel1::SaveFormat SaveFormatOf(const QString& name, int entry) {
    if (name.endsWith(QStringLiteral(".xlsx"), Qt::CaseInsensitive))
        return Excel1::SaveFormat::Xlsx;
    if (name.endsWith(QStringLiteral(".xls"), Qt::CaseInsensitive)) return Excel1::SaveFormat::Xls;
    if (name.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive)) return Excel1::SaveFormat::Pdf;
    return kSaveFormats[std::clamp(entry, 0, 2)];
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

Form3::Form3(Prompt& prompt, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      prompt_(prompt),
      model_(prompt, kGeometry),
      endProgram_([] { QCoreApplication::exit(0); }) {
    CreateControls();
    DescribeControls();
    CreateShortcuts();
    model_.repaint = [this] { PaintPicture(); };
    model_.showArrow = [this] { pointer_->Set(MousePointer::kArrow); };
    Form_Load();
}

Form3::~Form3() = default;

void Form3::CreateControls() {
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
    picture2_ = viewport;

    // Children paint over their parent's border, so the picture moves inside a plain widget
    // that covers exactly the viewport's inner area.
    clip_ = new QWidget(viewport);
    clip_->setGeometry(viewport->contentsRect());

    picture1_ = new PictureBox(clip_);
    picture1_->setObjectName(QStringLiteral("Picture1"));
    picture1_->setGeometry(0, 0, 0, 0);
    picture1_->installEventFilter(this);

    vScroll1_ = new QScrollBar(Qt::Vertical, this);
    vScroll1_->setObjectName(QStringLiteral("VScroll1"));
    vScroll1_->setGeometry(TwipRect(9450, 120, 255, 7425));
    hScroll1_ = new QScrollBar(Qt::Horizontal, this);
    hScroll1_->setObjectName(QStringLiteral("HScroll1"));
    hScroll1_->setGeometry(TwipRect(120, 7545, 9330, 255));
    for (QScrollBar* bar : {hScroll1_, vScroll1_}) {
        bar->setRange(0, 0);
        bar->setEnabled(false);
    }

    frame1_ = new QGroupBox(QStringLiteral("Zoom:"), this);
    frame1_->setObjectName(QStringLiteral("Frame1"));
    frame1_->setGeometry(TwipRect(120, 7860, 9600, 855));

    pushButton1_ = MakeButton("PushButton1", QStringLiteral("Zoom In"), frame1_,
                              TwipRect(240, 300, 4440, 405));
    pushButton2_ = MakeButton("PushButton2", QStringLiteral("Zoom Out"), frame1_,
                              TwipRect(4800, 300, 4560, 405));
    pushButton8_ =
        MakeButton("PushButton8", QStringLiteral("< Back"), this, TwipRect(120, 8850, 4680, 405));
    pushButton6_ = MakeButton("PushButton6", QStringLiteral("Save Results To Excel File"), this,
                              TwipRect(4920, 8850, 4800, 405));

    // The holder of the unscaled picture lies outside the client area and is never shown.
    zoomOri_ = new PictureBox(this);
    zoomOri_->setObjectName(QStringLiteral("Zoom_Ori"));
    zoomOri_->move(Pixels(10320), Pixels(480));
    zoomOri_->setVisible(false);

    // Buttons show the hand, the background and the zoom frame the arrow. Movement over the
    // buttons, the viewport and the bars stops there instead of reaching the surfaces
    // behind them, which would turn the pointer back into the arrow.
    pointer_ = new MousePointer(*this);
    for (QPushButton* button : {pushButton1_, pushButton2_, pushButton6_, pushButton8_}) {
        pointer_->TrackButton(*button);
        button->setAttribute(Qt::WA_NoMousePropagation);
    }
    pointer_->TrackSurface(*this);
    pointer_->TrackSurface(*frame1_);
    for (QWidget* widget :
         {picture2_, static_cast<QWidget*>(hScroll1_), static_cast<QWidget*>(vScroll1_)}) {
        widget->setAttribute(Qt::WA_NoMousePropagation);
    }

    connect(pushButton1_, &QPushButton::clicked, this, [this] { PushButton1_Click(); });
    connect(pushButton2_, &QPushButton::clicked, this, [this] { PushButton2_Click(); });
    connect(pushButton6_, &QPushButton::clicked, this, [this] { PushButton6_Click(); });
    connect(pushButton8_, &QPushButton::clicked, this, [this] { PushButton8_Click(); });
    auto* print = new QShortcut(QKeySequence::Print, this);
    connect(print, &QShortcut::activated, this, [this] { PrintWorkbook(); });
    connect(hScroll1_, &QScrollBar::valueChanged, this,
            [this](int value) { ScrollChanged(Axis::Horizontal, value); });
    connect(vScroll1_, &QScrollBar::valueChanged, this,
            [this](int value) { ScrollChanged(Axis::Vertical, value); });

    ui::CentreOnScreen(*this);
}

void Form3::DescribeControls() {
    // Both windows carry the title "Quillmere"; the accessible names tell them apart.
    setAccessibleName(QStringLiteral("Quillmere sheet preview"));
    setAccessibleDescription(QStringLiteral(
        "The picture of the generated budget sheet, with zoom, saving and the way back."));
    // The viewport is the picture as a listener meets it: one image, named, with the
    // sheet's key figures and the zoom in its description; the box that moves inside it
    // is drawing detail. It takes the focus so that the keys can pan the picture.
    ui::SetAccessibleRole(*picture2_, QAccessible::Graphic, true);
    picture2_->setAccessibleName(QStringLiteral("Budget sheet picture"));
    picture2_->setToolTip(QStringLiteral("Arrows, Page Up/Down, Home and End pan the picture"));
    picture2_->setFocusPolicy(Qt::StrongFocus);
    picture2_->installEventFilter(this);
    hScroll1_->setAccessibleName(QStringLiteral("Horizontal position of the picture"));
    vScroll1_->setAccessibleName(QStringLiteral("Vertical position of the picture"));
    for (QScrollBar* bar : {hScroll1_, vScroll1_}) bar->setFocusPolicy(Qt::StrongFocus);
    pushButton1_->setToolTip(QStringLiteral("Zoom In (Ctrl++)"));
    pushButton2_->setToolTip(QStringLiteral("Zoom Out (Ctrl+-)"));
    pushButton8_->setToolTip(QStringLiteral("< Back (Escape or Alt+Left)"));
    pushButton6_->setToolTip(QStringLiteral("Save Results To Excel File (Ctrl+S)"));
    // The zoom buttons, then the picture area and its bars, then the two commands.
    const std::array<QWidget*, 7> order = {pushButton1_, pushButton2_, picture2_,   hScroll1_,
                                           vScroll1_,    pushButton8_, pushButton6_};
    for (std::size_t i = 1; i < order.size(); ++i) setTabOrder(order[i - 1], order[i]);
    DescribePicture();
}

void Form3::CreateShortcuts() {
    // Enter presses the focused button, as Space does; outside dialogs Qt leaves Enter to
    // buttons that are marked to take it.
    for (QPushButton* button : {pushButton1_, pushButton2_, pushButton6_, pushButton8_})
        button->setAutoDefault(true);
    const auto press = [this](QList<QKeySequence> keys, QPushButton* button) {
        auto* shortcut = new QShortcut(this);
        shortcut->setKeys(keys);
        connect(shortcut, &QShortcut::activated, button, &QPushButton::click);
    };
    // Ctrl++ is typed with Shift on most layouts; Ctrl+= is the same key without it.
    press(QKeySequence::keyBindings(QKeySequence::ZoomIn) << QKeySequence(Qt::CTRL | Qt::Key_Equal),
          pushButton1_);
    press(QKeySequence::keyBindings(QKeySequence::ZoomOut), pushButton2_);
    press({QKeySequence(QKeySequence::Save)}, pushButton6_);
    press({QKeySequence(Qt::Key_Escape), QKeySequence(Qt::ALT | Qt::Key_Left)}, pushButton8_);
}

void Form3::SetSheetSummary(const QString& summary) {
    sheetSummary_ = summary;
    DescribePicture();
}

void Form3::DescribePicture() {
    QString description = QStringLiteral("Zoom %1%.").arg(qRound(model_.ZoomFactor() * 100));
    if (!sheetSummary_.isEmpty()) description += QLatin1Char(' ') + sheetSummary_;
    if (picture2_->accessibleDescription() != description)
        picture2_->setAccessibleDescription(description);
}

bool Form3::PanByKey(const QKeyEvent& key) {
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

void Form3::ShowPictureFocus(bool focused) {
    // The viewport's border takes the highlight colour while the keys pan the picture.
    QPalette palette = picture2_->palette();
    palette.setColor(QPalette::WindowText, focused ? palette.color(QPalette::Highlight)
                                                   : this->palette().color(QPalette::WindowText));
    picture2_->setPalette(palette);
}

void Form3::Form_Load() {
    Trace trace(prompt_, QStringLiteral("Form3.Form_Load"));
    trace.Step([&] { firstActivation_ = true; });
    trace.Step([&] { Main::SetFormColors(*this); });
    trace.Step([&] {
        setWindowTitle(QString::fromLatin1(config::kProductName));
        setWindowIcon(QApplication::windowIcon());
    });
    trace.Step([&] {
        // Without the file the pointer keeps the platform's pointing hand.
        const QString hand = Main::HandCursorFile();
        if (Main::FileExists(hand) && !pointer_->LoadHand(hand)) {
            throw Failure(QStringLiteral("Cannot load the pointer picture ") + hand);
        }
    });
}

void Form3::SetEndProgram(std::function<void()> endProgram) {
    endProgram_ = std::move(endProgram);
}

void Form3::LoadPicture(const QImage& picture) {
    const QPixmap pixmap = QPixmap::fromImage(picture);
    if (pixmap.isNull()) throw Failure(QStringLiteral("The preview picture is empty"));
    // Picture1 sizes itself to the picture; the model keeps that size in twips.
    picture1_->SetPicture(pixmap);
    picture1_->resize(pixmap.size());
    model_.HandOver({pixmap.width() * kTwipsPerPixel, pixmap.height() * kTwipsPerPixel});
    // A new hand-over is prepared at the next activation; a window already on screen gets
    // no further activation, so it is prepared now.
    firstActivation_ = true;
    if (isVisible()) Activate();
}

void Form3::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    Activate();
}

void Form3::Activate() {
    Trace trace(prompt_, QStringLiteral("Form3.Form_Activate"));
    if (firstActivation_) {
        trace.Step([&] { picture1_->resize(picture1_->Picture().size()); });
        trace.Step([&] {
            zoomOri_->SetPicture(picture1_->Picture());
            zoomOri_->resize(picture1_->size());
            model_.CopyPictureToHolder();
        });
        model_.Prepare(trace);
    }
    trace.Step([&] { firstActivation_ = false; });
    ShowModel();
}

void Form3::PaintPicture() {
    const TwipSize scaled = model_.Scaled();
    const TwipSize unscaled = model_.Unscaled();
    const QSize size(std::max(0, Pixels(scaled.width)), std::max(0, Pixels(scaled.height)));
    const QPixmap& original = zoomOri_->Picture();
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
    picture1_->SetPicture(canvas);
    picture1_->resize(size);
}

void Form3::ShowModel() {
    const TwipSize size = model_.PictureSize();
    picture1_->setGeometry(Pixels(model_.PictureLeft()), Pixels(model_.PictureTop()),
                           std::max(0, Pixels(size.width)), std::max(0, Pixels(size.height)));
    ShowBar(*hScroll1_, model_.HScroll());
    ShowBar(*vScroll1_, model_.VScroll());
    DescribePicture();
}

void Form3::PushButton1_Click() {
    Trace trace(prompt_, QStringLiteral("Form3.PushButton1_Click"));
    trace.Step([&] { model_.StepZoom(ZoomDirection::In); });
    ShowModel();
}

void Form3::PushButton2_Click() {
    Trace trace(prompt_, QStringLiteral("Form3.PushButton2_Click"));
    trace.Step([&] { model_.StepZoom(ZoomDirection::Out); });
    ShowModel();
}

void Form3::ScrollChanged(Axis axis, int value) {
    model_.SetScrollValue(axis, value);
    ShowModel();
}

bool Form3::eventFilter(QObject* watched, QEvent* event) {
    if (watched == picture1_) {
        switch (event->type()) {
            case QEvent::MouseButtonPress: {
                const QPointF at = static_cast<QMouseEvent*>(event)->position() * kTwipsPerPixel;
                Picture1_MouseDown(static_cast<float>(at.x()), static_cast<float>(at.y()));
                return true;
            }
            case QEvent::MouseMove: {
                const auto* mouse = static_cast<QMouseEvent*>(event);
                if (mouse->buttons() != Qt::NoButton) {
                    const QPointF at = mouse->position() * kTwipsPerPixel;
                    Picture1_MouseMove(static_cast<float>(at.x()), static_cast<float>(at.y()));
                }
                return true;
            }
            case QEvent::MouseButtonRelease:
                Picture1_MouseUp();
                return true;
            default:
                break;
        }
    }
    if (watched == picture2_) {
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

void Form3::Picture1_MouseDown(float x, float y) {
    Trace trace(prompt_, QStringLiteral("Form3.picture1_MouseDown"));
    trace.Step([&] { model_.MouseDown(x, y); });
}

void Form3::Picture1_MouseMove(float x, float y) {
    Trace trace(prompt_, QStringLiteral("Form3.picture1_MouseMove"));
    trace.Step([&] { model_.MouseMove(x, y); });
    ShowModel();
}

void Form3::Picture1_MouseUp() {
    Trace trace(prompt_, QStringLiteral("Form3.Picture1_MouseUp"));
    model_.MouseUp(trace);
    ShowModel();
}

void Form3::PushButton6_Click() {
    Trace trace(prompt_, QStringLiteral("Form3.PushButton6_Click"));
    QString name;
    bool overwrite = false;
    int entry = 0;
    bool written = false;
    trace.Step(
        [&] { name = prompt_.SaveFileNameFrom(QStringLiteral("Save File"), kSaveFilters, entry); });
    // Cancelled: nothing to save and nothing to tell.
    if (name.isEmpty()) return;
    // A file that cannot be written is an ordinary event, told plainly in a notice; the
    // error-report box is left to faults of the program.
    trace.Step([&] {
        try {
            // A file that cannot be replaced is named before the user is asked to replace it.
            if (const QString refusal = SafeReplace::Refusal(name); !refusal.isEmpty()) {
                prompt_.Notice(refusal, Main::AppTitle());
                return;
            }
        } catch (const FileFailure& failure) {
            prompt_.Notice(NotWrittenNotice(failure), Main::AppTitle());
            return;
        }
        overwrite = !Main::FileExists(name) ||
                    prompt_.AskYesNo(QStringLiteral("Are you sure you wish to overwrite ") + name +
                                         QStringLiteral(" ?"),
                                     Main::AppTitle());
    });
    // The new file replaces an existing one only once it is complete, so a failed save
    // leaves the user's file as it was. The name is used exactly as given.
    trace.Step([&] {
        if (!overwrite) return;
        const Excel1::SaveFormat format = SaveFormatOf(name, entry);
        try {
            if (format == Excel1::SaveFormat::Xls) {
                SafeReplace::CopyFile(mExcelFile, name);
            } else {
                // A target that cannot be written is found before the workbook is converted.
                SafeReplace::Replacement out(name);
                out.Write(Excel1::ExportWorkbook(mExcelFile, format));
                out.Commit();
            }
            written = true;
        } catch (const FileFailure& failure) {
            prompt_.Notice(NotWrittenNotice(failure), Main::AppTitle());
        }
    });
    // Only a file that was written is reported as saved.
    if (written) trace.Step([&] { prompt_.Notice(QStringLiteral("Done."), Main::AppTitle()); });
}

void Form3::SetPrintDialog(std::function<bool(QPrinter&)> printDialog) {
    printDialog_ = std::move(printDialog);
}

void Form3::PrintWorkbook() {
    Trace trace(prompt_, QStringLiteral("Form3.PrintWorkbook"));
    std::optional<spreadsheet::Workbook> book;
    trace.Step([&] { book = spreadsheet::LoadXls(mExcelFile.toStdString()); });
    if (!book || book->ShownSheet() == nullptr) return;
    const spreadsheet::Worksheet& sheet = *book->ShownSheet();
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageLayout(spreadsheet::LayOutPages(sheet).page);
    bool accepted = false;
    trace.Step([&] {
        accepted = printDialog_ ? printDialog_(printer)
                                : QPrintDialog(&printer, this).exec() == QDialog::Accepted;
    });
    if (!accepted) return;
    const QString target = printer.outputFileName();
    if (target.isEmpty()) {
        trace.Step([&] {
            if (!spreadsheet::PrintSheet(printer, *book, sheet))
                throw Failure("The printer cannot be started");
        });
        return;
    }
    trace.Step([&] {
        try {
            PrintToFile(printer, *book, target);
        } catch (const FileFailure& failure) {
            prompt_.Notice(NotWrittenNotice(failure), Main::AppTitle());
        }
    });
}

void Form3::PrintToFile(QPrinter& printer, const spreadsheet::Workbook& book,
                        const QString& target) {
    // Printing to a file is saving a file: the same refusals, and the pages reach the
    // target only once they are complete. The printer writes them to a private file in the
    // run's temporary folder first, which SafeReplace then copies into place.
    if (const QString refusal = SafeReplace::Refusal(target); !refusal.isEmpty()) {
        prompt_.Notice(refusal, Main::AppTitle());
        return;
    }
    const QString folder = QFileInfo(mExcelFile).absolutePath();
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

void Form3::PushButton8_Click() {
    Trace trace(prompt_, QStringLiteral("Form3.PushButton8_Click"));
    trace.Step([&] { Main::DeleteFileQuietly(mExcelFile); });
    trace.Step([&] { emit backRequested(); });
    trace.Step([&] { hide(); });
}

void Form3::closeEvent(QCloseEvent* event) {
    Form_QueryUnload();
    event->accept();
    Form_Unload();
}

void Form3::Form_QueryUnload() {
    Trace trace(prompt_, QStringLiteral("Form3.Form_QueryUnload"));
    trace.Step([&] { Main::DeleteFileQuietly(mExcelFile); });
    trace.Step([] { QCoreApplication::processEvents(); });
    trace.Step([] { QCoreApplication::processEvents(); });
}

void Form3::Form_Unload() {
    // The main window saves its state on this signal; its own closing steps do not run.
    emit closing();
    if (endProgram_) endProgram_();
}

}  // namespace quill
