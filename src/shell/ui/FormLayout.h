// Layout helpers shared by the program's windows. The windows are designed in twips (1440 to
// the inch) at 96 dots per inch, 15 twips to a pixel; in layouts those design sizes are the
// preferred sizes, grown with the font's DPI, and the content's own size hints come first.
#pragma once

#include <QColor>
#include <QFont>
#include <QPalette>
#include <QRect>
#include <QSize>
#include <QString>
#include <QtNumeric>

class QPalette;
class QPushButton;
class QWidget;

namespace quill::ui {

inline constexpr int kTwipsPerPixel = 15;

// Twips to whole pixels, to the nearest.
constexpr int Pixels(double twips) {
    return qRound(twips / kTwipsPerPixel);
}

// Twips to pixels at the widget's font DPI: the same as Pixels at 96 dpi, half as much again
// at 144 dpi, so that the design grows with the text.
int ScaledPixels(const QWidget& widget, double twips);

// Arial in bold: 9 pt for windows, 11.25 pt for push buttons. Point sizes follow the
// desktop's font DPI by themselves.
QFont BoldArial(double points);

// A push button with the buttons' font, named for lookup by objectName.
QPushButton* MakeButton(const char* name, const QString& text, QWidget* parent,
                        const QRect& geometry);

// The same for a layout: at least `heightTwips` high at the font's DPI, and as wide as its
// caption needs.
QPushButton* MakeButton(const char* name, const QString& text, QWidget* parent, int heightTwips);

// A window's surface (and that of the children that show it through) in white.
void PaintWhite(QWidget& window);

// A window's surface in the desktop palette's base colour (white in a light palette) and its
// captions in the palette's text colour, which the desktop keeps readable on it: a dark
// palette gives a dark surface with light captions instead of light captions on white.
void PaintSurface(QWidget& window);

// A widget's surface and captions in the colours `source` gives two roles that belong
// together (Base and Text, Button and ButtonText), in every colour group.
void PaintRoles(QWidget& widget, const QPalette& source, QPalette::ColorRole surface,
                QPalette::ColorRole text);

// A colour for warnings written on the palette's base colour: dark red on a light base,
// light red on a dark one, whichever reads better.
QColor WarningTextColor(const QPalette& palette);

// The contrast ratio of two colours as the web's accessibility guidelines define it, from 1
// (the same) to 21 (black on white).
double ContrastRatio(const QColor& a, const QColor& b);

// The text with word joiners (U+2060) between its characters, so that a web or mail
// address is never broken across lines where it fits on one: Qt would break it after "/".
QString Unbroken(const QString& text);

// Sizes a laid-out window for its screen: the design size (twips at the font's DPI) but at
// least what the layout needs at the current font, and never more than the screen's
// available area, on which it is then centred.
void FitToScreen(QWidget& window, QSize designTwips);

}  // namespace quill::ui
