#include "preview/PictureBox.h"

#include <QPainter>

#include "shell/ui/FormLayout.h"

namespace quill::preview {

PictureBox::PictureBox(QWidget* parent) : QWidget(parent) {
    ui::PaintWhite(*this);
}

void PictureBox::SetPicture(const QPixmap& picture) {
    picture_ = picture;
    update();
}

void PictureBox::paintEvent(QPaintEvent* /*event*/) {
    if (picture_.isNull()) return;
    QPainter painter(this);
    painter.drawPixmap(0, 0, picture_);
}

}  // namespace quill::preview
