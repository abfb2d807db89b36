// A box that shows a picture at its top-left corner on a white background. The preview's
// Picture1 (the image box) and Zoom_Ori (the hidden holder) are picture boxes.
#pragma once

#include <QPixmap>
#include <QWidget>

namespace quill::preview {

class PictureBox : public QWidget {
    Q_OBJECT
  public:
    explicit PictureBox(QWidget* parent = nullptr);

    // The box keeps its own copy of the picture; its size is left to the caller.
    void SetPicture(const QPixmap& picture);
    const QPixmap& Picture() const { return picture_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QPixmap picture_;
};

}  // namespace quill::preview
