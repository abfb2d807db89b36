#include "preview/SheetPreviewWindow.h"

#include <algorithm>
#include <array>
#include <optional>
#include <utility>

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSettings>
#include <QShortcut>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <QUrl>
#include <QVBoxLayout>
#include <QWheelEvent>

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

namespace {

// The save dialog's entries, and the format each one saves in; the first is the default.
// The entries are shown in the program's language; the ending a file gets is read from the
// English one.
struct SaveEntry {
    const char* filter;
    bridge::SaveFormat format;
};
constexpr std::array<SaveEntry, 3> kSaveEntries = {{
    {QT_TRANSLATE_NOOP("quill::preview::SheetPreviewWindow", "Excel Files (*.xls)"),
     bridge::SaveFormat::Xls},
    {QT_TRANSLATE_NOOP("quill::preview::SheetPreviewWindow", "Excel Workbook (*.xlsx)"),
     bridge::SaveFormat::Xlsx},
    {QT_TRANSLATE_NOOP("quill::preview::SheetPreviewWindow", "PDF Files (*.pdf)"),
     bridge::SaveFormat::Pdf},
}};

QString SaveFilters() {
    QStringList filters;
    for (const SaveEntry& entry : kSaveEntries)
        filters << QCoreApplication::translate("quill::preview::SheetPreviewWindow", entry.filter);
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
    return QCoreApplication::translate("quill::preview::SheetPreviewWindow",
                                       "%1 Nothing was written.")
        .arg(text);
}

// The zoom level as the window shows it, as in "150%".
QString ZoomLevelText(int percent) {
    return QCoreApplication::translate("quill::preview::SheetPreviewWindow", "%1%").arg(percent);
}

// The viewport and picture sizes the model works with; the viewport's frame is drawn with
// the same border.
const PreviewModel::Geometry kGeometry{};

// The smallest viewport the window shrinks to.
constexpr QSize kViewportMinimum(160, 120);
// An arrow key, a bar's arrow and a notch of the wheel's line move the picture this much.
constexpr int kNudgeTwips = 20 * kTwipsPerPixel;

// The viewport with its designed size as the size it asks the layout for.
class Viewport : public QFrame {
  public:
    using QFrame::QFrame;
    QSize sizeHint() const override {
        return {Pixels(kGeometry.viewport.width), Pixels(kGeometry.viewport.height)};
    }
};

void ShowBar(QScrollBar& bar, const ScrollBarState& state, std::int32_t viewTwips) {
    // The widget follows the model; its own change signal is for the user's moves only.
    const QSignalBlocker blocker(bar);
    bar.setRange(0, state.max);
    bar.setValue(state.value);
    bar.setEnabled(state.enabled);
    // A bar's arrow moves the picture by an arrow key's nudge, a click beside the handle
    // by the view less that much; the handle's length is the view's share of the picture.
    const int step = std::max<int>(1, state.step);
    bar.setSingleStep(std::max(1, kNudgeTwips / step));
    bar.setPageStep(std::max(1, (viewTwips - kNudgeTwips) / step));
}

// Where the save dialog opens and which format it offers: the folder and format of the
// last save, kept apart from the settings other programs read.
QString PreferencesPath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/quillmere/preview.ini");
}
constexpr const char* kFolderKey = "Save/Folder";
constexpr const char* kFormatKey = "Save/Format";

int EntryOf(bridge::SaveFormat format) {
    for (std::size_t i = 0; i < kSaveEntries.size(); ++i)
        if (kSaveEntries[i].format == format) return static_cast<int>(i);
    return 0;
}

// The ending a file of the entry's format gets.
QString EndingOf(int entry) {
    const QString filter = QLatin1String(kSaveEntries[static_cast<std::size_t>(entry)].filter);
    const qsizetype star = filter.indexOf(QLatin1String("*."));
    return filter.mid(star + 1, filter.indexOf(QLatin1Char(')')) - star - 1);
}

}  // namespace

SheetPreviewWindow::SheetPreviewWindow(Prompt& prompt, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      prompt_(prompt),
      model_(prompt, kGeometry),
      openUrl_([](const QUrl& url) { QDesktopServices::openUrl(url); }) {
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

    // The viewport takes whatever room the window has beyond the controls; at the
    // designed size it is 622 × 495 pixels, the controls below it in their rows.
    auto* viewport = new Viewport(this);
    viewport->setObjectName(QStringLiteral("Picture2"));
    viewport->setFrameStyle(QFrame::Box | QFrame::Plain);
    viewport->setLineWidth(Pixels(kGeometry.viewportBorder));
    // The surface around the picture follows the desktop's palette (white in a light one);
    // the picture itself is the sheet on white paper.
    viewport->setBackgroundRole(QPalette::Base);
    viewport->setAutoFillBackground(true);
    viewport->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    viewport->setMinimumSize(kViewportMinimum);
    viewport_ = viewport;

    // Children paint over their parent's border, so the picture moves inside a plain widget
    // that covers exactly the viewport's inner area.
    clip_ = new QWidget(viewport);
    clip_->setGeometry(viewport->contentsRect());

    picture_ = new PictureBox(clip_);
    picture_->setObjectName(QStringLiteral("Picture1"));
    picture_->setGeometry(0, 0, 0, 0);
    picture_->installEventFilter(this);
    picture_->SetDrawer(
        [this](QPainter& painter, const QRect& area) { return drawer_.Draw(painter, area); });

    verticalBar_ = new QScrollBar(Qt::Vertical, this);
    verticalBar_->setObjectName(QStringLiteral("VScroll1"));
    horizontalBar_ = new QScrollBar(Qt::Horizontal, this);
    horizontalBar_->setObjectName(QStringLiteral("HScroll1"));
    for (QScrollBar* bar : {horizontalBar_, verticalBar_}) {
        bar->setRange(0, 0);
        bar->setEnabled(false);
    }

    zoomFrame_ = new QGroupBox(tr("Zoom:"), this);
    zoomFrame_->setObjectName(QStringLiteral("Frame1"));
    const auto button = [](const char* name, const QString& text, QWidget* parent) {
        QPushButton* made = MakeButton(name, text, parent, QRect());
        // 405 twips high at the designed font, taller where a larger font needs it.
        made->setMinimumHeight(Pixels(405));
        made->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        return made;
    };
    // The "&" marks each command's Alt key (Alt+I, Alt+O, Alt+B, Alt+S); the captions and the
    // names screen readers hear read as before.
    zoomInButton_ = button("PushButton1", tr("Zoom &In"), zoomFrame_);
    zoomOutButton_ = button("PushButton2", tr("Zoom &Out"), zoomFrame_);
    zoomLevel_ = new QLabel(zoomFrame_);
    zoomLevel_->setObjectName(QStringLiteral("ZoomLevel"));
    zoomLevel_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    // Room for the widest level, so the buttons do not move as it changes.
    zoomLevel_->setMinimumWidth(zoomLevel_->fontMetrics().horizontalAdvance(ZoomLevelText(150)) +
                                zoomLevel_->fontMetrics().averageCharWidth());
    backButton_ = button("PushButton8", tr("< &Back"), this);
    saveButton_ = button("PushButton6", tr("&Save Results To Excel File"), this);

    auto* zoomRow = new QHBoxLayout(zoomFrame_);
    zoomRow->setContentsMargins(Pixels(120), Pixels(60), Pixels(120), Pixels(120));
    zoomRow->setSpacing(Pixels(120));
    zoomRow->addWidget(zoomInButton_, 1);
    zoomRow->addWidget(zoomOutButton_, 1);
    zoomRow->addWidget(zoomLevel_);

    auto* pictureArea = new QGridLayout;
    pictureArea->setSpacing(0);
    pictureArea->addWidget(viewport_, 0, 0);
    pictureArea->addWidget(verticalBar_, 0, 1);
    pictureArea->addWidget(horizontalBar_, 1, 0);
    pictureArea->setRowStretch(0, 1);
    pictureArea->setColumnStretch(0, 1);

    auto* commands = new QHBoxLayout;
    commands->setSpacing(Pixels(120));
    commands->addWidget(backButton_, 1);
    commands->addWidget(saveButton_, 1);

    auto* window = new QVBoxLayout(this);
    window->setContentsMargins(Pixels(120), Pixels(120), Pixels(120), Pixels(90));
    window->setSpacing(Pixels(60));
    window->addLayout(pictureArea, 1);
    window->addWidget(zoomFrame_);
    window->addSpacing(Pixels(75));
    window->addLayout(commands);

    // The holder of the unscaled picture is never shown and takes no part in the layout.
    unscaledPicture_ = new PictureBox(this);
    unscaledPicture_->setObjectName(QStringLiteral("Zoom_Ori"));
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

    FitOnScreen();
}

void SheetPreviewWindow::FitOnScreen() {
    const QScreen* screen =
        this->screen() != nullptr ? this->screen() : QGuiApplication::primaryScreen();
    FitOnScreen(screen != nullptr ? screen->availableGeometry() : QRect(0, 0, 1024, 768));
}

void SheetPreviewWindow::FitOnScreen(const QRect& available) {
    // The designed size where the screen has room for it, else as much as the screen's
    // free area holds (less a margin for the window's frame), never below what the
    // controls need; centred in that area.
    layout()->activate();
    const QSize frame(Pixels(240), Pixels(600));
    const QSize room = (available.size() - frame).expandedTo(minimumSizeHint());
    resize(sizeHint().boundedTo(room).expandedTo(minimumSizeHint()));
    move(available.center() - rect().center());
}

void SheetPreviewWindow::DescribeControls() {
    // Both windows carry the title "Quillmere"; the accessible names tell them apart.
    setAccessibleName(tr("Quillmere sheet preview"));
    setAccessibleDescription(
        tr("The picture of the generated budget sheet, with zoom, saving and the way back."));
    // The viewport is the picture as a listener meets it: one image, named, with the
    // sheet's key figures and the zoom in its description; the box that moves inside it
    // is drawing detail. It takes the focus so that the keys can pan the picture.
    ui::SetAccessibleRole(*viewport_, QAccessible::Graphic, true);
    viewport_->setAccessibleName(tr("Budget sheet picture"));
    viewport_->setToolTip(
        tr("Drag, the wheel, arrows, Page Up/Down, Home and End move the "
           "picture; Ctrl+wheel zooms, Ctrl+0 fits the page width"));
    viewport_->setFocusPolicy(Qt::StrongFocus);
    viewport_->installEventFilter(this);
    horizontalBar_->setAccessibleName(tr("Horizontal position of the picture"));
    verticalBar_->setAccessibleName(tr("Vertical position of the picture"));
    for (QScrollBar* bar : {horizontalBar_, verticalBar_}) bar->setFocusPolicy(Qt::StrongFocus);
    zoomInButton_->setToolTip(tr("Zoom In (Ctrl++)"));
    zoomOutButton_->setToolTip(tr("Zoom Out (Ctrl+-)"));
    backButton_->setToolTip(tr("< Back (Escape, Alt+Left or Ctrl+W)"));
    saveButton_->setToolTip(tr("Save Results To Excel File (Ctrl+S)"));
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
    press({QKeySequence(Qt::Key_Escape), QKeySequence(Qt::ALT | Qt::Key_Left),
           QKeySequence(QKeySequence::Close)},
          backButton_);
    auto* fit = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_0), this);
    connect(fit, &QShortcut::activated, this, [this] { FitWidth(); });
}

void SheetPreviewWindow::SetSheetSummary(const QString& summary) {
    sheetSummary_ = summary;
    DescribePicture();
}

void SheetPreviewWindow::DescribePicture() {
    QString description = tr("Zoom %1%.").arg(qRound(model_.ZoomFactor() * 100));
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
    if (pixmap.isNull()) throw Failure(tr("The preview picture is empty"));
    // Picture1 sizes itself to the picture; the model keeps that size in twips.
    picture_->SetPicture(pixmap);
    picture_->SetScale(1.0);
    picture_->resize(pixmap.size());
    drawer_.Reset(workbookPath_, pixmap.size());
    model_.HandOver({pixmap.width() * kTwipsPerPixel, pixmap.height() * kTwipsPerPixel});
    // A new hand-over is prepared at the next activation; a window already on screen gets
    // no further activation, so it is prepared now.
    firstActivation_ = true;
    if (isVisible()) Activate();
}

void SheetPreviewWindow::SetWorkbookPath(const QString& path) {
    workbookPath_ = path;
    // The picture is drawn afresh from this workbook when zoomed or on a dense screen.
    drawer_.Reset(path, unscaledPicture_->Picture().isNull() ? picture_->Picture().size()
                                                             : unscaledPicture_->Picture().size());
    picture_->update();
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
    // Picture1 takes the scaled size and draws what the viewport shows of it, afresh from
    // the workbook at the zoom and the screen's pixel ratio (see PictureBox).
    const TwipSize scaled = model_.Scaled();
    const QSize size(std::max(0, Pixels(scaled.width)), std::max(0, Pixels(scaled.height)));
    picture_->SetPicture(unscaledPicture_->Picture());
    picture_->SetScale(model_.ZoomFactor());
    picture_->resize(size);
}

void SheetPreviewWindow::ShowModel() {
    const TwipSize size = model_.PictureSize();
    picture_->setGeometry(Pixels(model_.PictureLeft()), Pixels(model_.PictureTop()),
                          std::max(0, Pixels(size.width)), std::max(0, Pixels(size.height)));
    const TwipSize inner = model_.ViewportInner();
    ShowBar(*horizontalBar_, model_.HScroll(), inner.width);
    ShowBar(*verticalBar_, model_.VScroll(), inner.height);
    zoomLevel_->setText(ZoomLevelText(qRound(model_.ZoomFactor() * 100)));
    // A button at its end of the range is disabled; the focus, if it was there, moves to
    // the picture rather than out of the window.
    const auto enable = [this](QPushButton* button, bool enabled) {
        if (!enabled && button->hasFocus()) viewport_->setFocus();
        button->setEnabled(enabled);
    };
    enable(zoomInButton_, model_.CanStepZoom(ZoomDirection::In));
    enable(zoomOutButton_, model_.CanStepZoom(ZoomDirection::Out));
    DescribePicture();
}

void SheetPreviewWindow::FitWidth() {
    Trace trace(prompt_, QStringLiteral("Form3.FitWidth"));
    trace.Step(100, [&] { model_.FitWidth(); });
    ShowModel();
}

void SheetPreviewWindow::ZoomAbout(ZoomDirection direction, QPointF at) {
    const QPointF inside = (at - QPointF(clip_->pos())) * kTwipsPerPixel;
    Trace trace(prompt_, QStringLiteral("Form3.ZoomAbout"));
    trace.Step(100, [&] { model_.StepZoomAbout(direction, inside.x(), inside.y()); });
    ShowModel();
}

bool SheetPreviewWindow::Wheel(const QWheelEvent& wheel) {
    // The wheel scrolls (with Shift, or a sideways wheel, across); with Ctrl it zooms
    // about the pointer, a step a notch.
    const QPoint angle = wheel.angleDelta();
    if (wheel.modifiers() & Qt::ControlModifier) {
        wheelAngle_ += angle.y();
        const QPointF at = viewport_->mapFrom(this, mapFromGlobal(wheel.globalPosition()));
        while (std::abs(wheelAngle_) >= QWheelEvent::DefaultDeltasPerStep) {
            const bool in = wheelAngle_ > 0;
            wheelAngle_ -=
                in ? QWheelEvent::DefaultDeltasPerStep : -QWheelEvent::DefaultDeltasPerStep;
            ZoomAbout(in ? ZoomDirection::In : ZoomDirection::Out, at);
        }
        return true;
    }
    wheelAngle_ = 0;
    QPointF pixels = wheel.pixelDelta();
    if (pixels.isNull()) {
        const double lines = QApplication::wheelScrollLines();
        pixels = QPointF(angle) / QWheelEvent::DefaultDeltasPerStep * lines * kNudgeTwips /
                 kTwipsPerPixel;
    }
    if (wheel.modifiers() & Qt::ShiftModifier) pixels = QPointF(pixels.y(), pixels.x());
    const auto by = [this](Axis axis, double twips) {
        const ScrollBarState& bar = axis == Axis::Horizontal ? model_.HScroll() : model_.VScroll();
        if (!bar.enabled || bar.step == 0 || twips == 0) return;
        const int units = static_cast<int>(std::lround(twips / bar.step));
        model_.SetScrollValue(axis, bar.value + (units != 0 ? units : (twips > 0 ? 1 : -1)));
    };
    by(Axis::Horizontal, -pixels.x() * kTwipsPerPixel);
    by(Axis::Vertical, -pixels.y() * kTwipsPerPixel);
    ShowModel();
    return true;
}

void SheetPreviewWindow::ViewportResized() {
    clip_->setGeometry(viewport_->contentsRect());
    model_.SetViewport({viewport_->width() * kTwipsPerPixel, viewport_->height() * kTwipsPerPixel});
    ShowModel();
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
    if (watched == viewport_ || watched == picture_) {
        if (event->type() == QEvent::Wheel) return Wheel(*static_cast<QWheelEvent*>(event));
    }
    if (watched == viewport_) {
        switch (event->type()) {
            case QEvent::Resize:
                ViewportResized();
                break;
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
    bridge::SaveFormat format = bridge::SaveFormat::Xls;
    trace.Step(100, [&] {
        // The dialog opens where the last file was saved (else in Documents) with the last
        // format's entry and the name "Personal Finance" in that format.
        QSettings preferences(PreferencesPath(), QSettings::IniFormat);
        entry = std::clamp(preferences.value(QLatin1String(kFormatKey), 0).toInt(), 0,
                           static_cast<int>(kSaveEntries.size()) - 1);
        QString folder = preferences.value(QLatin1String(kFolderKey)).toString();
        if (folder.isEmpty() || !QFileInfo(folder).isDir()) {
            folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
            if (folder.isEmpty() || !QFileInfo(folder).isDir()) folder = QDir::homePath();
        }
        const QString start = QDir(folder).filePath(tr("Personal Finance") + EndingOf(entry));
        name = prompt_.SaveFileNameAt(tr("Save File"), SaveFilters(), start, entry);
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
                    prompt_.AskYesNo(tr("Are you sure you wish to overwrite %1 ?").arg(name),
                                     shell::AppTitle());
    });
    // The new file replaces an existing one only once it is complete, so a failed save
    // leaves the user's file as it was. The name is used exactly as given.
    trace.Step(104, [&] {
        if (!overwrite) return;
        format = SaveFormatOf(name, entry);
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
    if (written) trace.Step(106, [&] { TellSaved(name, format); });
}

void SheetPreviewWindow::TellSaved(const QString& name, bridge::SaveFormat format) {
    const QFileInfo saved(name);
    {
        QSettings preferences(PreferencesPath(), QSettings::IniFormat);
        preferences.setValue(QLatin1String(kFolderKey), saved.absolutePath());
        preferences.setValue(QLatin1String(kFormatKey), EntryOf(format));
    }
    const QString detail =
        tr("Saved as %1 in %2.")
            .arg(saved.fileName(), QDir::toNativeSeparators(saved.absolutePath()));
    switch (prompt_.SavedNotice(tr("Done."), detail, shell::AppTitle())) {
        case SavedFileAction::OpenFile:
            openUrl_(QUrl::fromLocalFile(saved.absoluteFilePath()));
            break;
        case SavedFileAction::ShowFolder:
            openUrl_(QUrl::fromLocalFile(saved.absolutePath()));
            break;
        case SavedFileAction::Close:
            break;
    }
}

void SheetPreviewWindow::SetOpenUrl(std::function<void(const QUrl&)> openUrl) {
    openUrl_ = std::move(openUrl);
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
                throw Failure(tr("The printer cannot be started"));
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
        throw FileFailure(tr("Cannot write %1: no temporary file can be made in %2 (%3)")
                              .arg(target, folder, pages.errorString()));
    }
    printer.setOutputFileName(pages.fileName());
    const bool printed = spreadsheet::PrintSheet(printer, book, *book.ShownSheet());
    // The printer reports no failed writes; a PDF that was written in full ends with its
    // end-of-file marker.
    pages.seek(std::max<qint64>(0, pages.size() - 16));
    if (!printed || !pages.readAll().trimmed().endsWith("%%EOF")) {
        throw FileFailure(
            tr("Cannot write %1: the printed pages could not be written in full to the "
               "temporary folder %2")
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
