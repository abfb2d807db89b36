// Roles that assistive technology (a screen reader over AT-SPI) should report for widgets
// whose class tells Qt too little: a plain QWidget window is reported as a "filler" client
// area, and a picture drawn by a widget of its own as an unnamed filler.
#pragma once

#include <QAccessible>

class QWidget;

namespace quill::ui {

// The widget reports `role` instead of the role Qt derives from its class; names and
// descriptions still come from the widget (setAccessibleName, setAccessibleDescription,
// else the window title or the tool tip). With `leaf`, the widget is presented as one
// object without children: what it holds is drawing detail, not separate controls.
//
// Call it before anything asks for the widget's accessible interface (before the widget
// is first shown): Qt keeps the first interface it made for a widget for its lifetime.
void SetAccessibleRole(QWidget& widget, QAccessible::Role role, bool leaf = false);

}  // namespace quill::ui
