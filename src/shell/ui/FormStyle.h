// Window colours shared by the windows, and the optional skin of the main window.
#pragma once

class QWidget;

namespace quill::shell {

// The window and its labels, frames, check boxes and option buttons take the style's
// button colour, with the button text colour for their captions; text boxes, buttons, pictures,
// trees and scrollbars keep theirs.
void SetFormColors(QWidget& window);

// When the skin file x/o.cjs exists beside the executable, gives the main window the
// button colours of SetFormColors and applies the file as a Qt style sheet to it.
// Without the file nothing changes. A skin file that cannot be read throws.
void ApplySkin(QWidget& mainWindow);

}  // namespace quill::shell
