// Layout helpers shared by the program's windows: geometry is designed in twips (1440 to the
// inch), which become pixels at 15 twips to a pixel (96 dots per inch).
#pragma once

#include <QFont>
#include <QRect>
#include <QString>
#include <QtNumeric>

class QPushButton;
class QWidget;

namespace quill::ui {

inline constexpr int kTwipsPerPixel = 15;

// Twips to whole pixels, to the nearest.
constexpr int Pixels(double twips) {
    return qRound(twips / kTwipsPerPixel);
}

// A rectangle given as left, top, width and height in twips.
constexpr QRect TwipRect(int left, int top, int width, int height) {
    return {Pixels(left), Pixels(top), Pixels(width), Pixels(height)};
}

// Arial in bold: 9 pt for windows, 11.25 pt for push buttons.
QFont BoldArial(double points);

// A push button with the buttons' font, named for lookup by objectName.
QPushButton* MakeButton(const char* name, const QString& text, QWidget* parent,
                        const QRect& geometry);

// A window's surface (and that of the children that show it through) in white.
void PaintWhite(QWidget& window);

// Places the window in the centre of the primary screen.
void CentreOnScreen(QWidget& window);

}  // namespace quill::ui
