// The Help window: what the program does, its keys, where the settings live and whom to ask,
// with the About box one button away. It is a plain window beside the editor, not a dialog:
// the user can keep it open while working.
//
//     auto* help = new HelpWindow(prompt, store.FilePath(), editor);  // owned by the editor
//     help->show();
#pragma once

#include <QString>
#include <QWidget>

class QPushButton;
class QTextBrowser;

namespace quill {
class Prompt;
}

namespace quill::editor {

class HelpWindow : public QWidget {
    Q_OBJECT
  public:
    // `settingsPath` is the settings file the help names; the About box goes through `prompt`.
    HelpWindow(Prompt& prompt, const QString& settingsPath, QWidget* parent = nullptr);

    // The About box's text: version, licence and links, as rich text.
    static QString AboutText();

  private:
    // The help's text: what the program does, its keys, the settings file and the contacts.
    static QString HelpText(const QString& settingsPath);
    void ShowAbout();

    Prompt& prompt_;
    QTextBrowser* text_ = nullptr;
    QPushButton* aboutButton_ = nullptr;
    QPushButton* closeButton_ = nullptr;
};

}  // namespace quill::editor
