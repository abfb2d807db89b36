// Draws the preview's picture afresh from the saved workbook, so that a zoomed view and a
// screen of high pixel density show sharp lines and texts rather than a stretched bitmap.
#pragma once

#include <memory>

#include <QRect>
#include <QSize>
#include <QString>

class QPainter;

namespace quill::preview {

class WorkbookDrawer {
  public:
    WorkbookDrawer();
    ~WorkbookDrawer();
    WorkbookDrawer(const WorkbookDrawer&) = delete;
    WorkbookDrawer& operator=(const WorkbookDrawer&) = delete;

    // The workbook whose active sheet's used range the handed-over picture (of `picture`
    // pixels) shows. It is read at the first Draw, not before: at 100 % on an ordinary
    // screen the handed-over picture is shown as it is and the workbook is never read.
    void Reset(const QString& workbookPath, QSize picture);

    // Draws the picture's `area` (pixels at 100 %) onto `painter`, in the picture's
    // coordinates. False when the workbook cannot be read or its picture would not be the
    // handed-over one (another size); the caller then stretches the bitmap.
    bool Draw(QPainter& painter, const QRect& area);

  private:
    struct Sheet;
    QString path_;
    QSize picture_;
    bool read_ = false;
    std::unique_ptr<Sheet> sheet_;
};

}  // namespace quill::preview
