// The main window: the category editor. It shows the command that generates the budget
// sheet, Help, the four income fields and the category tree with its edit commands.
//
// Start-up and shutdown:
//     CategoryEditorWindow editor(services);
//     if (!editor.Load()) return 0;  // no spreadsheet engine: nothing shown or saved
//     editor.show();
//     return app.exec();                 // closing the window saves the state and ends
//
// The window is also the report driver's hand-over: the preview window SheetPreviewWindow is
// created when the first picture arrives, and the main window hides while the preview shows.
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include <QString>
#include <QWidget>

#include "editor/TableCommands.h"
#include "model/Amount.h"
#include "model/AppState.h"
#include "model/CategoryState.h"
#include "sheet/ReportDriver.h"
#include "shell/PointerShape.h"
#include "shell/ui/ProgramEnd.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;
class QHBoxLayout;
class QUndoStack;
class QVBoxLayout;

namespace quill {
class MousePointer;
class Prompt;
class SettingsStore;
class SpreadsheetProvider;
class TempFolder;
struct CategoryRow;
}  // namespace quill

namespace quill::preview {
class SheetPreviewWindow;
}

namespace quill::editor {

class HelpWindow;
class PlanCommands;
class TreeAdapter;

// What the main window works on and with; everything is owned by the program's main.
struct CategoryEditorServices {
    AppState& state;
    Prompt& prompt;
    SettingsStore& store;
    SpreadsheetProvider& provider;
    TempFolder& tempFolder;
};

class CategoryEditorWindow : public QWidget, public sheet::ReportHandover, private TableEditor {
    Q_OBJECT
  public:
    explicit CategoryEditorWindow(const CategoryEditorServices& services,
                                  QWidget* parent = nullptr);
    ~CategoryEditorWindow() override;

    // The start-up: skin, caption, title, pointer picture, the category state and the
    // engine check, in that order. False when the program must end at once (no engine):
    // the window is then never shown and nothing is saved.
    bool Load();

    // Asks for the name of a new row: stores it in the given text, or leaves that empty
    // when the user cancels. By default the row-name dialog RowNameDialog, shown modally.
    using AskRowName = std::function<void(QString& newRowName)>;
    void SetRowNameDialog(AskRowName dialog);

    // How the program ends after the close request. By default QCoreApplication::exit(0).
    void SetEndProgram(std::function<void()> endProgram);

    // CurrentNode: the key of the node that a handler last took as the selected one;
    // nothing until the first click on the tree or the first edit command.
    const std::optional<QString>& CurrentNode() const { return currentNode_; }

    // The pointer shape the window shows.
    PointerShape MousePointerValue() const;

    const TreeAdapter& Tree() const { return *tree_; }

    // Every edit of the table and the incomes of this run, for Undo and Redo.
    QUndoStack& UndoStack() const { return *undoStack_; }
    // The Undo, Redo, Import and Export commands.
    PlanCommands& PlanCommandRow() const { return *planCommands_; }

    // The preview window, once a generation has created it.
    preview::SheetPreviewWindow* Preview() const { return preview_.get(); }

    // The report driver's hand-over.
    void LoadPicture(const QImage& picture) override;
    void SetWorkbookPath(const QString& path) override;
    void ShowPreview() override;
    void HideMainWindow() override;

  protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // TableEditor: what Undo and Redo put back.
    EditedState CurrentState() const override;
    void RestoreState(const EditedState& state, const QString& selectKey) override;
    void RestoreRow(const CategoryRow& row) override;
    void RestoreIncome(int index, const QString& text) override;
    void RestoreChoice(Choice choice, const QString& value) override;

    // The plan's commands: the undo history, a planned amount typed in the tree, import and
    // export of the categories as CSV.
    void CreatePlanCommands();
    void Record(QUndoCommand* command);
    void OnPlannedEdited(const QString& key, const QString& text);
    void OnImportCategories();
    void OnExportCategories();

    void CreateControls();
    void CreateIncomeFields(QVBoxLayout& layout);
    // The currency choice, in a row under the income frames; the paper choice joins it
    // once it is offered.
    void CreateChoices(QVBoxLayout& layout);
    void OfferPaperChoice();
    void CreateTreeFrame(QVBoxLayout& layout);
    // Puts a further edit command into the row under the four edit commands, with their
    // font, height, Enter key and hand pointer; the window takes it over.
    void AddEditCommand(QPushButton& button);
    void SetTabOrder();
    void TrackPointer();
    void ConnectHandlers();
    void DescribeControls();
    void CreateShortcuts();

    // Start-up and shutdown.
    void SaveState();
    void EndProgram();

    // The category tree.
    void OnTreeSelection();
    void OnBeforeRenameInPlace();
    void OnRenamedInPlace(const QString& key, const QString& newString);

    // The income fields (index 0 to 3). Leaving a field with an amount shows it in the
    // locale's form with the currency; leaving it with a text that is not one puts back the
    // field's last amount and says why beside the fields.
    void SelectIncomeText(int index);
    void ValidateIncome(int index);
    void ShowIncomeMessage(int index, const QString& message);
    void ClearIncomeMessage();
    // An amount as the window shows it: the default locale's form with the currency.
    QString Shown(const model::Amount& amount) const;

    // The currency and paper choices: the user's choice is an undoable edit; Apply puts a
    // value in place and shows what depends on it.
    void OnCurrencyChosen();
    void OnPaperChosen();
    void ApplyCurrency(const QString& code);
    void ApplyPaper(Paper paper);
    // Shows the state's currency and paper in the choices; the paper only where it is a
    // choice (a locale that prints on Letter, or Letter chosen before).
    void ShowChoices();

    // The commands.
    void OnInsertBelow();     // Insert Below
    void OnDeleteSelected();  // Delete Selected
    void OnRenameSelected();  // Rename Selected
    void OnRestoreDefault();  // Restore Default
    void OnStartCreating();   // Start Creating Template
    void OnHelp();            // Help

    // The preview's signals.
    void ShowAgain();
    void SaveOnPreviewClosing();

    // Helpers of the commands.
    bool TakeSelection();
    const QString& CurrentKey() const;
    void RefreshSelection();
    CategoryRow* FindRow(const QString& key);
    CategoryRow& RowOfNode(const QString& key);
    void LoadState(model::CategorySource source);
    void GenerateReport();
    void SuspendPainting();
    void ResumePainting();
    // The amounts of the fields in the plain form: a field's text when it is an amount,
    // else the field's last amount. Nothing is stored or generated from other texts.
    IncomeTexts IncomeTextsOfBoxes() const;
    // Shows loaded incomes; a text that is not an amount shows as $0, and the message says so.
    void ShowIncomes(const IncomeTexts& incomes);
    int IncomeIndexOf(const QObject* object) const;
    preview::SheetPreviewWindow& RequirePreview();
    // The key figures of the saved workbook's sheet in words; empty when it cannot be read.
    static QString SheetSummaryOf(const QString& workbookPath, const std::string& amountFormat);

    AppState& state_;
    Prompt& prompt_;
    SettingsStore& store_;
    SpreadsheetProvider& provider_;
    TempFolder& tempFolder_;

    std::optional<QString> currentNode_;
    AskRowName askRowName_;
    ui::ProgramEnd endProgram_;
    bool ended_ = false;             // the state is saved (or must not be): never again
    int selectOnMouseRelease_ = -1;  // the field that a click has just entered
    std::array<model::Amount, 4> acceptedIncomes_{};  // each field's last amount
    int messageField_ = -1;                           // the field the income message is about

    // Controls, owned by the window.
    QPushButton* startCreatingButton_ = nullptr;
    QPushButton* helpButton_ = nullptr;
    std::array<QGroupBox*, 2> incomeFrames_{};
    std::array<QLabel*, 4> incomeLabels_{};
    std::array<QLineEdit*, 4> incomeBoxes_{};
    QLabel* incomeMessage_ = nullptr;  // why a typed income was not taken
    QLabel* currencyLabel_ = nullptr;
    QComboBox* currencyChoice_ = nullptr;
    QHBoxLayout* choiceRow_ = nullptr;
    QLabel* paperLabel_ = nullptr;  // both only once the paper is a choice
    QComboBox* paperChoice_ = nullptr;
    QGroupBox* categoryFrame_ = nullptr;
    QPushButton* insertButton_ = nullptr;
    QPushButton* deleteButton_ = nullptr;
    QPushButton* renameButton_ = nullptr;
    QPushButton* restoreButton_ = nullptr;
    QHBoxLayout* moreCommands_ = nullptr;  // the row of further edit commands
    QTreeWidget* categoryTree_ = nullptr;
    MousePointer* pointer_ = nullptr;
    HelpWindow* helpWindow_ = nullptr;  // once Help has been asked for

    QUndoStack* undoStack_ = nullptr;
    PlanCommands* planCommands_ = nullptr;

    std::unique_ptr<TreeAdapter> tree_;
    std::unique_ptr<preview::SheetPreviewWindow> preview_;
};

}  // namespace quill::editor
