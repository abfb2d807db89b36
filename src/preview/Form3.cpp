#include "preview/Form3.h"

#include <algorithm>
#include <utility>

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFont>
#include <QFrame>
#include <QGroupBox>
#include <QGuiApplication>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QShowEvent>
#include <QSignalBlocker>

#include "preview/PictureBox.h"
#include "preview/WorkbookCopy.h"
#include "shell/CommonServices.h"
#include "shell/Config.h"
#include "shell/ErrorTrap.h"
#include "shell/Failure.h"
#include "shell/ui/FormStyle.h"
#include "shell/ui/MousePointer.h"

namespace quill {

namespace {

// The viewport and picture sizes the model works with; the viewport's frame is drawn with
// the same border.
const PreviewModel::Geometry kGeometry{};

int Pixels(double twips) {
    return qRound(twips / kTwipsPerPixel);
}

// A rectangle of the window's layout, given in twips.
QRect TwipRect(int left, int top, int width, int height) {
    return {Pixels(left), Pixels(top), Pixels(width), Pixels(height)};
}

QFont BoldArial(double points) {
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(points);
    font.setBold(true);
    return font;
}

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
    model_.repaint = [this] { PaintPicture(); };
    model_.showArrow = [this] { pointer_->Set(MousePointer::kArrow); };
    Form_Load();
}

Form3::~Form3() = default;

void Form3::CreateControls() {
    setObjectName(QStringLiteral("Form3"));
    setFont(BoldArial(9));
    setFixedSize(Pixels(9840), Pixels(9345));

    auto* viewport = new QFrame(this);
    viewport->setObjectName(QStringLiteral("Picture2"));
    viewport->setFrameStyle(QFrame::Box | QFrame::Plain);
    viewport->setLineWidth(Pixels(kGeometry.viewportBorder));
    viewport->setGeometry(TwipRect(120, 120, kGeometry.viewport.width, kGeometry.viewport.height));
    QPalette white = viewport->palette();
    white.setColor(QPalette::Window, Qt::white);
    viewport->setPalette(white);
    viewport->setAutoFillBackground(true);
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

    const auto makeButton = [](const char* name, const QString& text, QWidget* parent,
                               QRect geometry) {
        auto* button = new QPushButton(text, parent);
        button->setObjectName(QLatin1String(name));
        button->setFont(BoldArial(11.25));
        button->setGeometry(geometry);
        return button;
    };
    pushButton1_ = makeButton("PushButton1", QStringLiteral("Zoom In"), frame1_,
                              TwipRect(240, 300, 4440, 405));
    pushButton2_ = makeButton("PushButton2", QStringLiteral("Zoom Out"), frame1_,
                              TwipRect(4800, 300, 4560, 405));
    pushButton8_ =
        makeButton("PushButton8", QStringLiteral("< Back"), this, TwipRect(120, 8850, 4680, 405));
    pushButton6_ = makeButton("PushButton6", QStringLiteral("Save Results To Excel File"), this,
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
    connect(hScroll1_, &QScrollBar::valueChanged, this,
            [this](int value) { ScrollChanged(Axis::Horizontal, value); });
    connect(vScroll1_, &QScrollBar::valueChanged, this,
            [this](int value) { ScrollChanged(Axis::Vertical, value); });

    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->availableGeometry().center() - rect().center());
    }
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
    trace.Step([&] {
        name = prompt_.SaveFileName(QStringLiteral("Save File"),
                                    QStringLiteral("Excel Files (*.xls)"));
    });
    if (name.isEmpty()) {
        trace.Skip();
        trace.Skip();
    } else {
        trace.Step([&] {
            overwrite = !Main::FileExists(name) ||
                        prompt_.AskYesNo(QStringLiteral("Are you sure you wish to overwrite ") +
                                             name + QStringLiteral(" ?"),
                                         Main::AppTitle());
        });
        // The copy replaces an existing file only once it is complete, so a failed copy
        // leaves the user's file as it was.
        trace.Step([&] {
            if (overwrite) preview::CopyWorkbook(mExcelFile, name);
        });
    }
    trace.Step([&] { prompt_.Notice(QStringLiteral("Done."), Main::AppTitle()); });
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
