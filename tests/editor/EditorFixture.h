// The main window under test: a fake engine, a recording prompt, a scratch settings folder
// and helpers that drive the window's controls. Each test starts the program itself.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <string>

#include <QApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QSettings>
#include <QTreeWidget>

#include "bridge/SpreadsheetProvider.h"
#include "editor/CategoryEditorWindow.h"
#include "model/SettingsStore.h"
#include "preview/SheetPreviewWindow.h"
#include "shell/Failure.h"
#include "shell/TempFolder.h"
#include "support/FakeProvider.h"
#include "support/QtPrinting.h"
#include "support/RecordingPrompt.h"
#include "support/ScratchConfig.h"

namespace quill::test {

// A prompt that can act while an error box would be open.
class ProbingPrompt : public RecordingPrompt {
  public:
    std::function<void()> onError;
    void ReportError(const QString& text) override {
        RecordingPrompt::ReportError(text);
        if (onError) onError();
    }
};

class EditorFixture : public ::testing::Test {
  protected:
    // One program run: a fresh store and window over the same settings folder.
    void Start() {
        form.reset();
        store = std::make_unique<SettingsStore>();
        form = std::make_unique<editor::CategoryEditorWindow>(
            editor::CategoryEditorServices{state, prompt, *store, provider, temp});
        form->SetEndProgram([this] { ++ends; });
        form->SetRowNameDialog([this](QString& name) { name = nextRowName; });
        loaded = form->Load();
    }
    void Restart() {
        form->close();
        Start();
    }

    QTreeWidget& Tree() const {
        return *form->findChild<QTreeWidget*>(QStringLiteral("TreeView1"));
    }
    QTreeWidgetItem* Node(const QString& text) const {
        return Tree().findItems(text, Qt::MatchExactly | Qt::MatchRecursive).value(0);
    }
    QLineEdit& Income(int index) const {
        return *form->findChild<QLineEdit*>(QStringLiteral("Text1_%1").arg(index));
    }
    void Click(const char* button) const {
        form->findChild<QPushButton*>(QLatin1String(button))->click();
    }
    void Select(const QString& text) const { Tree().setCurrentItem(Node(text)); }

    // The texts of a node's children; of the groups without a node.
    QStringList Children(QTreeWidgetItem* node) const {
        if (node == nullptr) node = Tree().invisibleRootItem();
        QStringList texts;
        for (int i = 0; i < node->childCount(); ++i) texts << node->child(i)->text(0);
        return texts;
    }
    QString RowTextOf(const QString& key) const {
        for (const CategoryRow& row : state.categories)
            if (row.RowKey == key) return row.RowText;
        return QStringLiteral("<none>");
    }
    QSettings Ini() const { return QSettings(config.IniPath(), QSettings::IniFormat); }

    void ShowActive() {
        form->show();
        form->activateWindow();
        QApplication::processEvents();
    }
    // The preview that a generation has opened; its end of the program goes to a recorder.
    preview::SheetPreviewWindow& TakePreview() {
        preview::SheetPreviewWindow* preview = form->Preview();
        if (preview == nullptr) throw Failure("No preview after the generation");
        preview->SetEndProgram([this] { ++previewEnds; });
        return *preview;
    }
    // "Start Creating Template" on a shown editor.
    preview::SheetPreviewWindow& Generate() {
        Click("PushButton22");
        return TakePreview();
    }
    void MoveMouseOver(QWidget& widget) {
        QMouseEvent move(QEvent::MouseMove, QPointF(3, 3), widget.mapToGlobal(QPointF(3, 3)),
                         Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(&widget, &move);
    }

    ScratchConfig config;
    ProbingPrompt prompt;
    FakeProvider provider;
    TempFolder temp;
    AppState state;
    std::unique_ptr<SettingsStore> store;
    std::unique_ptr<editor::CategoryEditorWindow> form;
    QString nextRowName;
    bool loaded = false;
    int ends = 0;
    int previewEnds = 0;
};

}  // namespace quill::test
