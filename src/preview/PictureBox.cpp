#include "preview/PictureBox.h"

#include <cmath>

#include <QPaintEvent>
#include <QPainter>
#include <QResizeEvent>

#include "shell/ui/FormLayout.h"

namespace quill::preview {

PictureBox::PictureBox(QWidget* parent) : QWidget(parent) {
    ui::PaintWhite(*this);
}

void PictureBox::SetPicture(const QPixmap& picture) {
    // The window hands over the same picture on every repaint; what is drawn of it stays.
    if (picture.cacheKey() == picture_.cacheKey()) return;
    picture_ = picture;
    Forget();
}

void PictureBox::SetScale(double scale) {
    if (scale == scale_) return;
    scale_ = scale;
    Forget();
}

void PictureBox::SetDrawer(Drawer drawer) {
    drawer_ = std::move(drawer);
    Forget();
}

void PictureBox::Forget() {
    drawn_ = QPixmap();
    drawnArea_ = QRect();
    update();
}

void PictureBox::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Forget();
}

QPixmap PictureBox::Render(const QRect& area, qreal ratio) const {
    if (area.isEmpty()) return {};
    const bool asHandedOver = scale_ == 1.0 && ratio == 1.0;
    if (asHandedOver && QRect(QPoint(0, 0), picture_.size()).contains(area))
        return picture_.copy(area);

    const QSize pixels(static_cast<int>(std::ceil(area.width() * ratio)),
                       static_cast<int>(std::ceil(area.height() * ratio)));
    QPixmap canvas(pixels);
    if (canvas.isNull()) return {};
    canvas.setDevicePixelRatio(ratio);
    canvas.fill(Qt::white);
    QPainter painter(&canvas);
    painter.translate(-area.topLeft());
    painter.scale(scale_, scale_);
    // The picture's pixels that the area shows, with a pixel's margin for partial ones.
    const QRect wanted =
        QRectF(area.x() / scale_, area.y() / scale_, area.width() / scale_, area.height() / scale_)
            .toAlignedRect()
            .adjusted(-1, -1, 1, 1);
    if (!asHandedOver && drawer_ && drawer_(painter, wanted)) return canvas;
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(0, 0, picture_);
    return canvas;
}

void PictureBox::paintEvent(QPaintEvent* event) {
    if (picture_.isNull()) return;
    const qreal ratio = devicePixelRatioF();
    const QRect asked = event->rect();
    if (!drawnArea_.contains(asked) || drawn_.devicePixelRatio() != ratio) {
        // Drawn with half a view's margin around the shown part, so that panning and
        // scrolling nearby repaint from memory.
        const QRect shown = visibleRegion().boundingRect().united(asked);
        const int marginX = shown.width() / 2;
        const int marginY = shown.height() / 2;
        drawnArea_ = shown.adjusted(-marginX, -marginY, marginX, marginY).intersected(rect());
        drawn_ = Render(drawnArea_, ratio);
    }
    if (drawn_.isNull()) return;
    QPainter painter(this);
    painter.drawPixmap(drawnArea_.topLeft(), drawn_);
}

}  // namespace quill::preview
