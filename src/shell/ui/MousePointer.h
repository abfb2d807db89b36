// The pointer shape of a window: the arrow, the hourglass or the hand.
//
// Moving over a push button shows the hand, moving over any other tracked surface the
// arrow; while the hourglass shows, neither changes it.
#pragma once

#include <initializer_list>

#include <QCursor>
#include <QObject>

#include "shell/PointerShape.h"

class QWidget;

namespace quill {

class MousePointer : public QObject {
    Q_OBJECT
  public:
    // `window` is the widget whose cursor shows the shape. The hand is the cursor file
    // when it can be loaded, else the platform's pointing hand.
    explicit MousePointer(QWidget& window);

    // Loads the hand from a cursor file (HAND-M.CUR); false when it cannot be read.
    bool LoadHand(const QString& path);
    // Loads the program's optional hand file when it is there; without it the platform's
    // pointing hand stands in. Throws quill::Failure when the file cannot be read.
    void LoadOptionalHand();

    PointerShape Value() const { return value_; }
    void Set(PointerShape value);

    // Movement over a push button (hand) or another surface (arrow) of the window.
    void TrackButton(QWidget& button);
    void TrackButtons(std::initializer_list<QWidget*> buttons);
    void TrackSurface(QWidget& surface);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QWidget& window_;
    QCursor hand_;
    PointerShape value_ = PointerShape::Arrow;
};

}  // namespace quill
