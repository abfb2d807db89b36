#include "shell/ui/FormLayout.h"

#include <algorithm>
#include <cmath>

#include <QGuiApplication>
#include <QPalette>
#include <QPushButton>
#include <QScreen>
#include <QWidget>

namespace quill::ui {

namespace {

// The relative luminance of an sRGB colour.
double Luminance(const QColor& colour) {
    const auto linear = [](double c) {
        return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    const QColor rgb = colour.toRgb();
    return 0.2126 * linear(rgb.redF()) + 0.7152 * linear(rgb.greenF()) +
           0.0722 * linear(rgb.blueF());
}

QRect AvailableArea(const QWidget& window) {
    const QScreen* screen = window.screen();
    if (screen == nullptr) screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->availableGeometry() : QRect();
}

}  // namespace

int ScaledPixels(const QWidget& widget, double twips) {
    return qRound(twips / kTwipsPerPixel * std::max(96, widget.logicalDpiY()) / 96.0);
}

QFont BoldArial(double points) {
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(points);
    font.setBold(true);
    return font;
}

QPushButton* MakeButton(const char* name, const QString& text, QWidget* parent,
                        const QRect& geometry) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QLatin1String(name));
    button->setFont(BoldArial(11.25));
    button->setGeometry(geometry);
    return button;
}

QPushButton* MakeButton(const char* name, const QString& text, QWidget* parent, int heightTwips) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QLatin1String(name));
    button->setFont(BoldArial(11.25));
    button->setMinimumHeight(
        std::max(button->sizeHint().height(), ScaledPixels(*button, heightTwips)));
    return button;
}

void PaintWhite(QWidget& window) {
    QPalette palette = window.palette();
    palette.setColor(QPalette::Window, Qt::white);
    window.setPalette(palette);
    window.setAutoFillBackground(true);
}

void PaintRoles(QWidget& widget, const QPalette& source, QPalette::ColorRole surface,
                QPalette::ColorRole text) {
    QPalette palette = widget.palette();
    for (const QPalette::ColorGroup group :
         {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        palette.setColor(group, QPalette::Window, source.color(group, surface));
        palette.setColor(group, QPalette::WindowText, source.color(group, text));
    }
    widget.setPalette(palette);
    widget.setAutoFillBackground(true);
}

void PaintSurface(QWidget& window) {
    PaintRoles(window, window.palette(), QPalette::Base, QPalette::Text);
}

QColor WarningTextColor(const QPalette& palette) {
    const QColor base = palette.color(QPalette::Base);
    const QColor dark(0xA0, 0x00, 0x00);
    const QColor light(0xFF, 0x9C, 0x9C);
    return ContrastRatio(dark, base) >= ContrastRatio(light, base) ? dark : light;
}

double ContrastRatio(const QColor& a, const QColor& b) {
    const double la = Luminance(a);
    const double lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QString Unbroken(const QString& text) {
    QString joined;
    joined.reserve(text.size() * 2);
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (i > 0) joined += QChar(0x2060);
        joined += text[i];
    }
    return joined;
}

void FitToScreen(QWidget& window, QSize designTwips) {
    const QRect area = AvailableArea(window);
    const QSize needed = window.minimumSizeHint();
    QSize size =
        QSize(ScaledPixels(window, designTwips.width()), ScaledPixels(window, designTwips.height()))
            .expandedTo(needed);
    if (area.isValid()) {
        // A screen too small for the content gets a squeezed window rather than controls
        // out of reach; otherwise the layout keeps the content's own minimum.
        if (needed.boundedTo(area.size()) != needed)
            window.setMinimumSize(needed.boundedTo(area.size()));
        size = size.boundedTo(area.size());
    }
    window.resize(size);
    if (area.isValid()) window.move(area.center() - QRect(QPoint(), size).center());
}

}  // namespace quill::ui
