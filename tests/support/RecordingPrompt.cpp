#include "support/RecordingPrompt.h"

namespace quill::test {

void RecordingPrompt::Notice(const QString& text, const QString& title) {
    shown.push_back({Shown::Notice, text, title});
}

bool RecordingPrompt::AskYesNo(const QString& text, const QString& title) {
    shown.push_back({Shown::Question, text, title});
    if (yesNo.empty()) return false;
    const bool answer = yesNo.front();
    yesNo.pop_front();
    return answer;
}

void RecordingPrompt::ReportError(const QString& text) {
    shown.push_back({Shown::Error, text, QStringLiteral("Application Error")});
}

QString RecordingPrompt::InputBox(const QString& prompt, const QString& title,
                                  const QString& offered) {
    shown.push_back({Shown::Input, prompt, title});
    lastOffered = offered;
    if (inputs.empty()) return QString();
    QString answer = inputs.front();
    inputs.pop_front();
    return answer;
}

QString RecordingPrompt::SaveFileNameFrom(const QString& title, const QString& filters,
                                          int& entry) {
    entry = 0;
    if (!saveEntries.empty()) {
        entry = saveEntries.front();
        saveEntries.pop_front();
    }
    return SaveFileName(title, filters);
}

QString RecordingPrompt::SaveFileNameAt(const QString& title, const QString& filters,
                                        const QString& start, int& entry) {
    lastStart = start;
    lastOfferedEntry = entry;
    return SaveFileNameFrom(title, filters, entry);
}

SavedFileAction RecordingPrompt::SavedNotice(const QString& text, const QString& detail,
                                             const QString& title) {
    shown.push_back({Shown::Notice, text, title});
    lastDetail = detail;
    if (savedActions.empty()) return SavedFileAction::Close;
    const SavedFileAction answer = savedActions.front();
    savedActions.pop_front();
    return answer;
}

QString RecordingPrompt::SaveFileName(const QString& title, const QString& filter) {
    shown.push_back({Shown::Save, QString(), title});
    lastFilter = filter;
    if (saveNames.empty()) return QString();
    QString answer = saveNames.front();
    saveNames.pop_front();
    return answer;
}

QString RecordingPrompt::OpenFileName(const QString& /*title*/, const QString& filter) {
    lastFilter = filter;
    if (openNames.empty()) return QString();
    QString answer = openNames.front();
    openNames.pop_front();
    return answer;
}

namespace {
std::vector<QString> TextsOf(const std::vector<Shown>& all, Shown::Kind kind) {
    std::vector<QString> texts;
    for (const Shown& s : all)
        if (s.kind == kind) texts.push_back(s.text);
    return texts;
}
}  // namespace

std::vector<QString> RecordingPrompt::Errors() const {
    return TextsOf(shown, Shown::Error);
}
std::vector<QString> RecordingPrompt::Notices() const {
    return TextsOf(shown, Shown::Notice);
}
std::vector<QString> RecordingPrompt::Questions() const {
    return TextsOf(shown, Shown::Question);
}

}  // namespace quill::test
