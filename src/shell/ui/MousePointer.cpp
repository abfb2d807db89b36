#include "shell/ui/MousePointer.h"

#include <QCoreApplication>
#include <QEvent>
#include <QImage>
#include <QPixmap>
#include <QWidget>

#include "shell/CommonServices.h"
#include "shell/Failure.h"

namespace quill {

namespace {
const char* const kRoleProperty = "quillPointerRole";
}

MousePointer::MousePointer(QWidget& window)
    : QObject(&window), window_(window), hand_(Qt::PointingHandCursor) {}

bool MousePointer::LoadHand(const QString& path) {
    QImage image;
    if (!image.load(path)) return false;
    hand_ = QCursor(QPixmap::fromImage(image), 0, 0);
    return true;
}

void MousePointer::Set(PointerShape value) {
    value_ = value;
    switch (value) {
        case PointerShape::Hourglass:
            window_.setCursor(Qt::WaitCursor);
            break;
        case PointerShape::Hand:
            window_.setCursor(hand_);
            break;
        case PointerShape::Arrow:
            window_.setCursor(Qt::ArrowCursor);
            break;
    }
}

void MousePointer::LoadOptionalHand() {
    const QString hand = shell::HandCursorFile();
    if (shell::FileExists(hand) && !LoadHand(hand))
        throw Failure(
            QCoreApplication::translate("quill::MousePointer", "Cannot load the pointer picture %1")
                .arg(hand));
}

void MousePointer::TrackButtons(std::initializer_list<QWidget*> buttons) {
    for (QWidget* button : buttons) TrackButton(*button);
}

void MousePointer::TrackButton(QWidget& button) {
    button.setProperty(kRoleProperty, static_cast<int>(PointerShape::Hand));
    button.setMouseTracking(true);
    // A button passes unhandled moves on to the surface behind it, which would turn the
    // hand straight back into the arrow.
    button.setAttribute(Qt::WA_NoMousePropagation);
    button.installEventFilter(this);
}

void MousePointer::TrackSurface(QWidget& surface) {
    surface.setProperty(kRoleProperty, static_cast<int>(PointerShape::Arrow));
    surface.setMouseTracking(true);
    surface.installEventFilter(this);
}

bool MousePointer::eventFilter(QObject* watched, QEvent* event) {
    if ((event->type() == QEvent::MouseMove || event->type() == QEvent::Enter) &&
        value_ != PointerShape::Hourglass) {
        const QVariant role = watched->property(kRoleProperty);
        if (role.isValid()) {
            const auto wanted = static_cast<PointerShape>(role.toInt());
            if (wanted != value_) Set(wanted);
        }
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace quill
