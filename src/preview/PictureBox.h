// A box that shows a picture at its top-left corner on a white background. The preview's
// Picture1 (the image box) and Zoom_Ori (the hidden holder) are picture boxes.
//
// The box may be far larger than the screen (the zoomed picture): it draws only the part
// that is shown, at the screen's device pixel ratio, and keeps what it drew around the
// shown part so that scrolling and panning repaint from memory.
#pragma once

#include <functional>

#include <QPixmap>
#include <QRect>
#include <QWidget>

class QPainter;

namespace quill::preview {

class PictureBox : public QWidget {
    Q_OBJECT
  public:
    // Draws the part `area` (pixels of the picture at 100 %) onto a painter whose
    // coordinates are the picture's at 100 %; false when it cannot, and the picture is then
    // stretched instead.
    using Drawer = std::function<bool(QPainter& painter, const QRect& area)>;

    explicit PictureBox(QWidget* parent = nullptr);

    // The picture at 100 %; the box keeps its own copy. Its size is left to the caller.
    void SetPicture(const QPixmap& picture);
    const QPixmap& Picture() const { return picture_; }
    // How many of the box's pixels a pixel of the picture takes (the zoom factor).
    void SetScale(double scale);
    double Scale() const { return scale_; }
    // Where the picture is drawn afresh at other scales and pixel ratios; none stretches it.
    void SetDrawer(Drawer drawer);

    // The box's part `area` (its own coordinates) as it is shown on a device with `ratio`
    // device pixels to a pixel: the picture as it is at scale 1 and ratio 1, else drawn
    // afresh (or stretched without a drawer). The pixmap carries the ratio.
    QPixmap Render(const QRect& area, qreal ratio) const;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void Forget();

    QPixmap picture_;
    double scale_ = 1.0;
    Drawer drawer_;
    // What was drawn last, and where in the box.
    QPixmap drawn_;
    QRect drawnArea_;
};

}  // namespace quill::preview
