#include "editor/CategoryEditorWindow.h"

#include <algorithm>
#include <exception>

#include <QAccessible>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QShortcut>
#include <QSignalBlocker>
#include <QTreeWidget>
#include <QUndoStack>
#include <QVBoxLayout>

#include "bridge/Connection.h"
#include "editor/HelpWindow.h"
#include "editor/PlanCommands.h"
#include "editor/RowNameDialog.h"
#include "editor/TreeAdapter.h"
#include "model/Amounts.h"
#include "model/CategoryCsv.h"
#include "model/CategoryState.h"
#include "model/SettingsStore.h"
#include "preview/SheetPreviewWindow.h"
#include "sheet/BudgetSheet.h"
#include "shell/CommonServices.h"
#include "shell/Config.h"
#include "shell/ErrorTrap.h"
#include "shell/Failure.h"
#include "shell/ReadFile.h"
#include "shell/SafeReplace.h"
#include "shell/TempFolder.h"
#include "shell/ui/AccessibleRole.h"
#include "shell/ui/FormLayout.h"
#include "shell/ui/FormStyle.h"
#include "shell/ui/MousePointer.h"
#include "spreadsheet/xls/XlsFile.h"

namespace quill::editor {

using preview::SheetPreviewWindow;

namespace {

// The window's English texts read as written, odd spellings included ("buttom", "want
// delete"): users and their notes know them so. The translations read naturally.

// A text of the tables below in the window's language.
QString Tr(const char* text) {
    return QCoreApplication::translate("quill::editor::CategoryEditorWindow", text);
}

// "Question (node text)" over two lines, as the delete and rename questions read.
QString QuestionNaming(const QString& question, const QString& nodeText) {
    return question + QStringLiteral("\r\n(") + nodeText + QLatin1Char(')');
}

// Where each income field sits: its frame and its row there. Index i is the field's number
// everywhere (settings key, amount, sheet); "Actual Income" holds index 3 above index 2.
struct IncomeFieldPlace {
    int frame;
    const char* caption;
    int row;
};
constexpr std::array<IncomeFieldPlace, 4> kIncomeFields = {{
    {0, QT_TRANSLATE_NOOP("quill::editor::CategoryEditorWindow", "Income:"), 0},
    {0, QT_TRANSLATE_NOOP("quill::editor::CategoryEditorWindow", "Extra income:"), 1},
    {1, QT_TRANSLATE_NOOP("quill::editor::CategoryEditorWindow", "Extra income:"), 1},
    {1, QT_TRANSLATE_NOOP("quill::editor::CategoryEditorWindow", "Income:"), 0},
}};
// Each income field by its own name: the captions alone would give "Income:" twice.
constexpr std::array<const char*, 4> kIncomeNames = {
    QT_TRANSLATE_NOOP("quill::editor::CategoryEditorWindow", "Projected income"),
    QT_TRANSLATE_NOOP("quill::editor::CategoryEditorWindow", "Projected extra income"),
    QT_TRANSLATE_NOOP("quill::editor::CategoryEditorWindow", "Actual extra income"),
    QT_TRANSLATE_NOOP("quill::editor::CategoryEditorWindow", "Actual income")};

// The window's design size in twips at 96 dpi: what it opens with when the screen has room.
// It includes the line under the income frames that says why a typed income was not taken,
// which keeps room for two lines of the window font.
constexpr QSize kDesignSize(8040, 8130);
// The design's spacing in twips: the window's margin, the gap between the commands and
// frames, the gap between the rows of a frame's commands, and the push buttons' height.
constexpr int kMargin = 120;
constexpr int kGap = 105;
constexpr int kRowGap = 90;
constexpr int kButtonHeight = 405;
// How far a frame's controls sit inside its border.
constexpr int kInset = 195;

// Focus that a field gets from anything but the return from its own context menu; on
// that return the user's selection is kept.
bool EntersField(Qt::FocusReason reason) {
    return reason != Qt::PopupFocusReason;
}

// Focus that moves on to another control, as opposed to the whole window losing its
// activation (another window, a message box, the field's context menu): only leaving a
// field for another control of the window rewrites it.
bool LeavesField(Qt::FocusReason reason) {
    return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
}

QString IndexedName(const char* name, int index) {
    return QLatin1String(name) + QLatin1Char('_') + QString::number(index);
}

// Whether the locale's users print on Letter paper rather than A4.
bool PrintsOnLetter(const QLocale& locale) {
    return locale.territory() == QLocale::UnitedStates || locale.territory() == QLocale::Canada;
}

}  // namespace

CategoryEditorWindow::CategoryEditorWindow(const CategoryEditorServices& services, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint),
      state_(services.state),
      prompt_(services.prompt),
      store_(services.store),
      provider_(services.provider),
      tempFolder_(services.tempFolder),
      askRowName_([this](QString& newRowName) {
          RowNameDialog dialog(prompt_, newRowName, this);
          dialog.exec();
      }) {
    CreateControls();
}

CategoryEditorWindow::~CategoryEditorWindow() {
    // The tree outlives this object's members while the window's children are deleted;
    // its signals must not reach handlers that use them.
    categoryTree_->disconnect(this);
    // The undo history is cleared as it goes, after the command buttons (the frame's
    // children) are gone; it must not ask them to show its state.
    if (undoStack_ != nullptr) undoStack_->disconnect();
}

void CategoryEditorWindow::SetRowNameDialog(AskRowName dialog) {
    askRowName_ = std::move(dialog);
}

void CategoryEditorWindow::SetEndProgram(std::function<void()> endProgram) {
    endProgram_.Replace(std::move(endProgram));
}

PointerShape CategoryEditorWindow::MousePointerValue() const {
    return pointer_->Value();
}

// ---------------------------------------------------------------------------------------
// Controls

void CategoryEditorWindow::CreateControls() {
    // The object names ("Form1", "PushButton22", "Text1_0", ...) are the ones the optional
    // skin style sheet can address by name: they stay as they are, whatever the members
    // are called.
    setObjectName(QStringLiteral("Form1"));
    // Before anything asks for the window's accessible interface.
    ui::SetAccessibleRole(*this, QAccessible::Window);
    setFont(ui::BoldArial(9));
    ui::PaintSurface(*this);

    auto* layout = new QVBoxLayout(this);
    const int margin = ui::ScaledPixels(*this, kMargin);
    layout->setContentsMargins(margin, margin, margin, margin);
    layout->setSpacing(ui::ScaledPixels(*this, kGap));
    // The "&" marks each command's Alt key; the captions read as before.
    startCreatingButton_ =
        ui::MakeButton("PushButton22", tr("&Start Creating Template"), this, kButtonHeight);
    helpButton_ = ui::MakeButton("PushButton6", tr("&Help"), this, kButtonHeight);
    layout->addWidget(startCreatingButton_);
    layout->addWidget(helpButton_);
    CreateIncomeFields(*layout);
    CreateTreeFrame(*layout);
    SetTabOrder();
    TrackPointer();
    ConnectHandlers();
    DescribeControls();
    CreateShortcuts();
    CreatePlanCommands();
    ui::FitToScreen(*this, kDesignSize);
}

void CategoryEditorWindow::CreateIncomeFields(QVBoxLayout& layout) {
    const std::array<QString, 2> titles = {tr("Projected Income"), tr("Actual Income")};
    auto* frames = new QHBoxLayout;
    frames->setSpacing(ui::ScaledPixels(*this, kMargin));
    std::array<QGridLayout*, 2> grids{};
    const int inset = ui::ScaledPixels(*this, kInset);
    for (int f = 0; f < 2; ++f) {
        auto* frame = new QGroupBox(titles[f], this);
        frame->setObjectName(IndexedName("Frame1", f));
        grids[f] = new QGridLayout(frame);
        // The fields sit right under the frame's title, as designed.
        grids[f]->setContentsMargins(inset, 0, inset, ui::ScaledPixels(*this, kRowGap));
        grids[f]->setHorizontalSpacing(ui::ScaledPixels(*this, kMargin));
        grids[f]->setVerticalSpacing(ui::ScaledPixels(*this, kRowGap));
        grids[f]->setColumnStretch(1, 1);
        frames->addWidget(frame, 1);
        incomeFrames_[f] = frame;
    }
    for (int i = 0; i < 4; ++i) {
        const IncomeFieldPlace& place = kIncomeFields[i];
        QGroupBox* frame = incomeFrames_[place.frame];
        auto* label = new QLabel(Tr(place.caption), frame);
        label->setObjectName(IndexedName("Label4", i));
        incomeLabels_[i] = label;

        auto* text = new QLineEdit(frame);
        text->setObjectName(IndexedName("Text1", i));
        // Room for a seven-figure amount with cents at the current font.
        text->setMinimumWidth(
            text->fontMetrics().horizontalAdvance(QStringLiteral("$0,000,000.00")) +
            ui::ScaledPixels(*this, 150));
        text->installEventFilter(this);
        incomeBoxes_[i] = text;
        grids[place.frame]->addWidget(label, place.row, 0);
        grids[place.frame]->addWidget(text, place.row, 1);
    }
    layout.addLayout(frames);
    CreateChoices(layout);

    incomeMessage_ = new QLabel(this);
    incomeMessage_->setObjectName(QStringLiteral("IncomeMessage"));
    incomeMessage_->setWordWrap(true);
    incomeMessage_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // Two lines are kept free, so that a message does not move the controls below.
    incomeMessage_->setMinimumHeight(2 * incomeMessage_->fontMetrics().lineSpacing());
    QPalette palette = incomeMessage_->palette();
    palette.setColor(QPalette::WindowText, ui::WarningTextColor(palette));
    incomeMessage_->setPalette(palette);
    layout.addWidget(incomeMessage_);
}

void CategoryEditorWindow::CreateChoices(QVBoxLayout& layout) {
    choiceRow_ = new QHBoxLayout;
    choiceRow_->setSpacing(ui::ScaledPixels(*this, kMargin));
    const int inset = ui::ScaledPixels(*this, kInset);
    choiceRow_->setContentsMargins(inset, 0, inset, 0);
    currencyLabel_ = new QLabel(tr("Currency:"), this);
    currencyLabel_->setObjectName(QStringLiteral("CurrencyLabel"));
    currencyChoice_ = new QComboBox(this);
    currencyChoice_->setObjectName(QStringLiteral("CurrencyChoice"));
    for (const model::Currency& currency : model::Currencies())
        currencyChoice_->addItem(
            QStringLiteral("%1 (%2)").arg(currency.code, currency.Symbol(QLocale())),
            currency.code);
    choiceRow_->addWidget(currencyLabel_);
    choiceRow_->addWidget(currencyChoice_);
    choiceRow_->addStretch(1);
    layout.addLayout(choiceRow_);
}

void CategoryEditorWindow::OfferPaperChoice() {
    if (paperChoice_ != nullptr) return;
    paperLabel_ = new QLabel(tr("Paper:"), this);
    paperLabel_->setObjectName(QStringLiteral("PaperLabel"));
    paperChoice_ = new QComboBox(this);
    paperChoice_->setObjectName(QStringLiteral("PaperChoice"));
    paperChoice_->addItem(tr("A4"), PaperName(Paper::A4));
    paperChoice_->addItem(tr("Letter"), PaperName(Paper::Letter));
    paperLabel_->setBuddy(paperChoice_);
    paperChoice_->setAccessibleName(tr("Paper"));
    paperChoice_->setToolTip(tr("The paper the sheet is printed on"));
    choiceRow_->addWidget(paperLabel_);
    choiceRow_->addWidget(paperChoice_);
    // After the currency in the tab order, before the tree.
    setTabOrder(currencyChoice_, paperChoice_);
    setTabOrder(paperChoice_, categoryTree_);
    pointer_->TrackSurface(*paperLabel_);
    pointer_->TrackSurface(*paperChoice_);
    connect(paperChoice_, &QComboBox::activated, this, [this] { OnPaperChosen(); });
}

void CategoryEditorWindow::CreateTreeFrame(QVBoxLayout& layout) {
    categoryFrame_ = new QGroupBox(tr("Personal budget data:"), this);
    categoryFrame_->setObjectName(QStringLiteral("Frame2"));
    auto* frameLayout = new QVBoxLayout(categoryFrame_);
    frameLayout->setSpacing(ui::ScaledPixels(*this, kRowGap));
    const int inset = ui::ScaledPixels(*this, kInset);
    frameLayout->setContentsMargins(inset, ui::ScaledPixels(*this, 30), inset, inset);

    insertButton_ =
        ui::MakeButton("PushButton2", tr("&Insert Below"), categoryFrame_, kButtonHeight);
    deleteButton_ =
        ui::MakeButton("PushButton1", tr("&Delete Selected"), categoryFrame_, kButtonHeight);
    renameButton_ =
        ui::MakeButton("PushButton4", tr("&Rename Selected"), categoryFrame_, kButtonHeight);
    restoreButton_ =
        ui::MakeButton("PushButton3", tr("Res&tore Default"), categoryFrame_, kButtonHeight);
    auto* commands = new QGridLayout;
    commands->setHorizontalSpacing(ui::ScaledPixels(*this, kMargin));
    commands->setVerticalSpacing(ui::ScaledPixels(*this, kRowGap));
    commands->addWidget(insertButton_, 0, 0);
    commands->addWidget(deleteButton_, 0, 1);
    commands->addWidget(renameButton_, 1, 0);
    commands->addWidget(restoreButton_, 1, 1);
    frameLayout->addLayout(commands);
    // Further edit commands come in a row of their own; empty, it takes no room.
    moreCommands_ = new QHBoxLayout;
    moreCommands_->setSpacing(ui::ScaledPixels(*this, kMargin));
    frameLayout->addLayout(moreCommands_);

    categoryTree_ = new QTreeWidget(categoryFrame_);
    categoryTree_->setObjectName(QStringLiteral("TreeView1"));
    categoryTree_->setToolTip(tr("Left-click and hold left mouse buttom to edit"));
    frameLayout->addWidget(categoryTree_, 1);
    tree_ = std::make_unique<TreeAdapter>(*categoryTree_);
    // The list takes the room that the window gains.
    layout.addWidget(categoryFrame_, 1);
}

void CategoryEditorWindow::AddEditCommand(QPushButton& button) {
    button.setParent(categoryFrame_);
    button.setFont(ui::BoldArial(11.25));
    button.setMinimumHeight(
        std::max(button.sizeHint().height(), ui::ScaledPixels(button, kButtonHeight)));
    button.setAutoDefault(true);
    pointer_->TrackButton(button);
    moreCommands_->addWidget(&button);
}

void CategoryEditorWindow::SetTabOrder() {
    // Projected income, projected extra income, actual income, actual extra income, the
    // tree, then the commands. Frames and labels take no focus.
    const std::array<QWidget*, 11> order = {incomeBoxes_[0], incomeBoxes_[1], incomeBoxes_[3],
                                            incomeBoxes_[2], categoryTree_,   startCreatingButton_,
                                            insertButton_,   restoreButton_,  deleteButton_,
                                            renameButton_,   helpButton_};
    for (std::size_t i = 1; i < order.size(); ++i) setTabOrder(order[i - 1], order[i]);
    // The currency follows the income fields.
    setTabOrder(incomeBoxes_[2], currencyChoice_);
    setTabOrder(currencyChoice_, categoryTree_);
    // The first of them has the focus when the window opens.
    incomeBoxes_[0]->setFocus();
}

void CategoryEditorWindow::DescribeControls() {
    // Both windows carry the title "Quillmere"; the accessible names tell them apart.
    setAccessibleName(tr("Quillmere budget editor"));
    setAccessibleDescription(
        tr("Income figures and budget categories; Start Creating Template "
           "builds the budget sheet from them."));
    for (int i = 0; i < 4; ++i) {
        incomeLabels_[i]->setBuddy(incomeBoxes_[i]);
        incomeBoxes_[i]->setAccessibleName(Tr(kIncomeNames[i]));
    }
    currencyLabel_->setBuddy(currencyChoice_);
    currencyChoice_->setAccessibleName(tr("Currency"));
    currencyChoice_->setToolTip(tr("The currency the amounts are shown in, here and on the sheet"));
    categoryTree_->setAccessibleName(tr("Personal budget data"));
    categoryTree_->setAccessibleDescription(
        tr("Groups and their rows. Insert adds a row below the selected one, Delete removes it, "
           "F2 renames it in place."));
    insertButton_->setToolTip(tr("Insert Below (Insert)"));
    deleteButton_->setToolTip(tr("Delete Selected (Delete, in the list)"));
    renameButton_->setToolTip(tr("Rename Selected (F2 renames in place, in the list)"));
}

void CategoryEditorWindow::CreateShortcuts() {
    // Enter presses the focused button, as Space does; outside dialogs Qt leaves Enter to
    // buttons that are marked to take it.
    for (QPushButton* button : {startCreatingButton_, helpButton_, insertButton_, deleteButton_,
                                renameButton_, restoreButton_})
        button->setAutoDefault(true);
    // F1 is the Help command; Ctrl+Q closes the window as its close box does, which saves.
    auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(help, &QShortcut::activated, helpButton_, &QPushButton::click);
    auto* quit = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q), this);
    connect(quit, &QShortcut::activated, this, &QWidget::close);
    auto* insert = new QShortcut(QKeySequence(Qt::Key_Insert), this);
    connect(insert, &QShortcut::activated, insertButton_, &QPushButton::click);
    // Delete belongs to the text boxes elsewhere; in the list it deletes the selected row.
    auto* remove = new QShortcut(QKeySequence(QKeySequence::Delete), categoryTree_, nullptr,
                                 nullptr, Qt::WidgetShortcut);
    connect(remove, &QShortcut::activated, deleteButton_, &QPushButton::click);
}

void CategoryEditorWindow::TrackPointer() {
    // Buttons show the hand and keep their movement from the surfaces behind them, which
    // would turn the pointer back into the arrow.
    pointer_ = new MousePointer(*this);
    pointer_->TrackButtons({startCreatingButton_, helpButton_, insertButton_, deleteButton_,
                            renameButton_, restoreButton_});
    pointer_->TrackSurface(*this);
    for (QWidget* frame : {incomeFrames_[0], incomeFrames_[1], categoryFrame_})
        pointer_->TrackSurface(*frame);
    for (int i = 0; i < 4; ++i) {
        pointer_->TrackSurface(*incomeLabels_[i]);
        pointer_->TrackSurface(*incomeBoxes_[i]);
    }
    pointer_->TrackSurface(*incomeMessage_);
    pointer_->TrackSurface(*currencyLabel_);
    pointer_->TrackSurface(*currencyChoice_);
    pointer_->TrackSurface(*categoryTree_);
    pointer_->TrackSurface(*categoryTree_->viewport());
}

void CategoryEditorWindow::ConnectHandlers() {
    connect(insertButton_, &QPushButton::clicked, this, [this] { OnInsertBelow(); });
    connect(deleteButton_, &QPushButton::clicked, this, [this] { OnDeleteSelected(); });
    connect(renameButton_, &QPushButton::clicked, this, [this] { OnRenameSelected(); });
    connect(restoreButton_, &QPushButton::clicked, this, [this] { OnRestoreDefault(); });
    connect(startCreatingButton_, &QPushButton::clicked, this, [this] { OnStartCreating(); });
    connect(helpButton_, &QPushButton::clicked, this, [this] { OnHelp(); });
    // Only the user's own choice is an edit; the window's own changes emit nothing.
    connect(currencyChoice_, &QComboBox::activated, this, [this] { OnCurrencyChosen(); });

    // A click, and also a move of the selection with the keyboard, takes the selection,
    // so that the selected row text always names the selected node. The adapter's own
    // changes emit nothing.
    connect(categoryTree_, &QTreeWidget::itemClicked, this, [this] { OnTreeSelection(); });
    connect(categoryTree_, &QTreeWidget::currentItemChanged, this, [this] { OnTreeSelection(); });
    tree_->SetLabelEditHandlers(
        [this] { OnBeforeRenameInPlace(); },
        [this](const QString& key, const QString& text) { OnRenamedInPlace(key, text); });
}

// ---------------------------------------------------------------------------------------
// Start-up and shutdown

bool CategoryEditorWindow::Load() {
    Trace trace(prompt_, QStringLiteral("Form1.Form_Load"));
    bool engineFound = true;
    trace.Step(100, [&] { shell::ApplySkin(*this); });
    trace.Step(102, [&] {
        setWindowTitle(QString::fromLatin1(config::kProductName));
        setWindowIcon(QApplication::windowIcon());
    });
    trace.Step(104, [&] { shell::SetAppTitle(); });
    trace.Step(106, [&] { SuspendPainting(); });
    trace.Step(108, [&] { pointer_->LoadOptionalHand(); });
    trace.Step(110, [&] { LoadState(model::CategorySource::Stored); });
    trace.Step(112, [&] { ResumePainting(); });
    trace.Step(114, [&] { update(); });
    // Last, so that everything is prepared when it runs; without an engine the program
    // ends here, before any value of this run is written.
    trace.Step(116, [&] { engineFound = bridge::CheckEngineAvailable(provider_, prompt_); });
    if (!engineFound) ended_ = true;
    return engineFound;
}

void CategoryEditorWindow::closeEvent(QCloseEvent* event) {
    if (!ended_) SaveState();
    event->accept();
    EndProgram();
}

void CategoryEditorWindow::SaveState() {
    Trace trace(prompt_, QStringLiteral("Form1.Form_QueryUnload"));
    model::SaveCategoryState(state_, IncomeTextsOfBoxes(), store_, trace);
}

void CategoryEditorWindow::EndProgram() {
    ended_ = true;
    endProgram_();
}

// ---------------------------------------------------------------------------------------
// The category tree

void CategoryEditorWindow::OnTreeSelection() {
    currentNode_ = tree_->SelectedKey();
    if (!currentNode_) return;  // nothing selected, nothing to take
    if (const CategoryRow* row = FindRow(*currentNode_)) state_.SelectedRowText = row->RowText;
}

void CategoryEditorWindow::OnBeforeRenameInPlace() {
    // The hint is needed only until the user has found out how to edit.
    categoryTree_->setToolTip(QString());
}

void CategoryEditorWindow::OnRenamedInPlace(const QString& key, const QString& newString) {
    currentNode_ = key;
    if (CategoryRow* row = FindRow(key); row != nullptr && row->RowText != newString) {
        const CategoryRow before = *row;
        row->RowText = newString;
        Record(new RowCommand(*this, tr("Rename"), before, *row));
    }
    // The selected row text names the selected node, so a rename that follows offers the
    // name the user has just given it.
    if (tree_->SelectedKey() == key) state_.SelectedRowText = newString;
}

// ---------------------------------------------------------------------------------------
// The income fields

bool CategoryEditorWindow::eventFilter(QObject* watched, QEvent* event) {
    if (const int index = IncomeIndexOf(watched); index >= 0) {
        switch (event->type()) {
            case QEvent::FocusIn: {
                const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
                if (reason == Qt::MouseFocusReason) selectOnMouseRelease_ = index;
                if (EntersField(reason)) SelectIncomeText(index);
                break;
            }
            case QEvent::MouseButtonRelease:
                // The click that entered the field has moved the cursor and so dropped the
                // selection; select the whole text again unless the user dragged a part.
                if (selectOnMouseRelease_ == index && !incomeBoxes_[index]->hasSelectedText())
                    SelectIncomeText(index);
                selectOnMouseRelease_ = -1;
                break;
            case QEvent::FocusOut:
                if (LeavesField(static_cast<QFocusEvent*>(event)->reason())) ValidateIncome(index);
                break;
            default:
                break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void CategoryEditorWindow::SelectIncomeText(int index) {
    QLineEdit& text = *incomeBoxes_[index];
    text.setSelection(0, static_cast<int>(text.text().size()));
}

void CategoryEditorWindow::ValidateIncome(int index) {
    QLineEdit& text = *incomeBoxes_[index];
    const QString typed = text.text();
    // A box left as shown keeps its amount: also one that the currency shows with cents it
    // would not take as typed.
    if (typed == Shown(acceptedIncomes_[index])) return;
    const model::ParsedAmount amount = model::ParseAmount(typed, QLocale(), state_.currency);
    if (!amount) {
        // The field keeps its last amount; the focus moves on all the same.
        text.setText(Shown(acceptedIncomes_[index]));
        ShowIncomeMessage(index, tr("%1: %2 The box keeps %3.")
                                     .arg(Tr(kIncomeNames[index]), amount.Reason(),
                                          Shown(acceptedIncomes_[index])));
        return;
    }
    const model::Amount previous = acceptedIncomes_[index];
    acceptedIncomes_[index] = amount.Value();
    text.setText(Shown(acceptedIncomes_[index]));
    if (messageField_ == index) ClearIncomeMessage();
    // The history keeps the amounts in the plain form, which reads the same in any locale.
    if (previous != acceptedIncomes_[index])
        Record(new IncomeCommand(*this, index, previous.Text(), acceptedIncomes_[index].Text()));
}

void CategoryEditorWindow::ShowIncomeMessage(int index, const QString& message) {
    messageField_ = index;
    incomeMessage_->setText(message);
    // Read where the focus goes next, and by the field itself when it comes back to it.
    incomeBoxes_[index]->setAccessibleDescription(message);
    QAccessibleEvent named(incomeMessage_, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&named);
    QAccessibleEvent described(incomeBoxes_[index], QAccessible::DescriptionChanged);
    QAccessible::updateAccessibility(&described);
    QAccessibleEvent alert(incomeMessage_, QAccessible::Alert);
    QAccessible::updateAccessibility(&alert);
}

void CategoryEditorWindow::ClearIncomeMessage() {
    if (messageField_ < 0) return;
    incomeBoxes_[messageField_]->setAccessibleDescription(QString());
    messageField_ = -1;
    incomeMessage_->clear();
    QAccessibleEvent named(incomeMessage_, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&named);
}

// ---------------------------------------------------------------------------------------
// The commands

void CategoryEditorWindow::OnInsertBelow() {
    Trace trace(prompt_, QStringLiteral("Form1.PushButton2_Click"));
    bool selected = false;
    QString parentKey;
    QString newKey;
    trace.Step(100, [&] { selected = TakeSelection(); });
    if (!selected) return;
    trace.Step(102, [&] {
        const QString& key = CurrentKey();
        if (const auto groupKey = tree_->ParentKey(key)) {
            // A row: the new row follows it in the same group.
            parentKey = RowOfNode(*groupKey).RowKey;
        } else {
            // A group: a new group after it, or the first row of a group without rows.
            const QString& anchorKey = RowOfNode(key).RowKey;
            parentKey = model::HasNoChildren(state_.categories, key) ? anchorKey : model::kRootKey;
        }
    });
    trace.Step(104, [&] { state_.NewRowName.clear(); });
    trace.Step(106, [&] { askRowName_(state_.NewRowName); });
    if (state_.NewRowName.isEmpty()) return;  // cancelled: nothing has changed
    const EditedState before = CurrentState();
    const QString selectBefore = currentNode_.value_or(QString());
    trace.Step(108, [&] { SuspendPainting(); });
    trace.Step(110, [&] {
        if (parentKey.isEmpty()) throw Failure(tr("The place of the new row is unknown"));
        model::InsertRowBelow(state_.categories, parentKey, CurrentKey(), state_.NewRowName);
        newKey = state_.categories.back().RowKey;
    });
    trace.Step(112, [&] { model::FillCategoryTree(state_.categories, *tree_); });
    trace.Step(114, [&] { tree_->Select(newKey); });
    trace.Step(116, [&] { ResumePainting(); });
    trace.Step(118, [&] {
        tree_->Select(newKey);
        categoryTree_->setFocus();
    });
    trace.Step(120, [&] { RefreshSelection(); });
    if (newKey.isEmpty()) return;
    tree_->ShowPlanned(state_.categories);
    Record(new StateCommand(*this, tr("Insert"), before, selectBefore, CurrentState(), newKey));
}

void CategoryEditorWindow::OnDeleteSelected() {
    Trace trace(prompt_, QStringLiteral("Form1.PushButton1_Click"));
    bool selected = false;
    bool yes = false;
    trace.Step(100, [&] { selected = TakeSelection(); });
    if (!selected) return;
    trace.Step(102, [&] {
        yes = prompt_.AskYesNo(
            QuestionNaming(tr("Do you really want delete this row ?"), tree_->Text(CurrentKey())),
            tr("Question"));
    });
    if (!yes) return;
    trace.Step(104, [&] { currentNode_ = tree_->SelectedKey(); });
    const EditedState before = CurrentState();
    const QString deletedKey = currentNode_.value_or(QString());
    trace.Step(106, [&] { SuspendPainting(); });
    bool kept = false;
    trace.Step(108, [&] {
        const std::size_t before = state_.categories.size();
        model::DeleteRowAndChildren(state_.categories, CurrentKey());
        // The table never becomes empty: a deletion that would remove every row changes
        // nothing, and then the tree keeps the node too instead of showing a list that the
        // sheet and the stored state would not match.
        kept = state_.categories.size() == before &&
               model::FindRowByKey(state_.categories, CurrentKey()).has_value();
    });
    if (kept) {
        ResumePainting();
        prompt_.Notice(tr("The list must keep at least one row, so this row stays."),
                       shell::AppTitle());
        return;
    }
    trace.Step(110, [&] { tree_->Remove(CurrentKey()); });
    trace.Step(112, [&] { ResumePainting(); });
    trace.Step(114, [&] { prompt_.Notice(tr("Row deleted."), shell::AppTitle()); });
    trace.Step(116, [&] { RefreshSelection(); });
    if (state_.categories == before.table) return;
    tree_->ShowPlanned(state_.categories);
    Record(new StateCommand(*this, tr("Delete"), before, deletedKey, CurrentState(),
                            currentNode_.value_or(QString())));
}

void CategoryEditorWindow::OnRenameSelected() {
    Trace trace(prompt_, QStringLiteral("Form1.PushButton4_Click"));
    bool selected = false;
    bool yes = false;
    QString answer;
    trace.Step(100, [&] { selected = TakeSelection(); });
    if (!selected) return;
    trace.Step(102, [&] {
        answer = prompt_.InputBox(tr("Rename selected to: "), tr("Rename Selected Row"),
                                  state_.SelectedRowText);
    });
    // Cancel, or nothing but blanks: the command ends with nothing changed and no question.
    if (answer.trimmed().isEmpty()) return;
    state_.SelectedRowText = answer;
    trace.Step(104, [&] {
        yes = prompt_.AskYesNo(
            QuestionNaming(tr("Do you really want rename this row ?"), tree_->Text(CurrentKey())),
            tr("Question"));
    });
    if (yes) {
        const CategoryRow* row = currentNode_ ? FindRow(*currentNode_) : nullptr;
        const std::optional<CategoryRow> before =
            row ? std::optional<CategoryRow>(*row) : std::nullopt;
        trace.Step(106, [&] { RowOfNode(CurrentKey()).RowText = state_.SelectedRowText; });
        trace.Step(108, [&] { tree_->SetText(CurrentKey(), state_.SelectedRowText); });
        if (const CategoryRow* after = before ? FindRow(before->RowKey) : nullptr;
            after != nullptr && *after != *before)
            Record(new RowCommand(*this, tr("Rename"), *before, *after));
    }
    // After No this puts the unchanged name back.
    trace.Step(110, [&] { RefreshSelection(); });
}

void CategoryEditorWindow::OnRestoreDefault() {
    Trace trace(prompt_, QStringLiteral("Form1.PushButton3_Click"));
    bool yes = false;
    trace.Step(100, [&] {
        yes = prompt_.AskYesNo(tr("Do you really want restore default settings ?"), tr("Question"));
    });
    if (!yes) return;
    const EditedState before = CurrentState();
    const QString selectBefore = currentNode_.value_or(QString());
    trace.Step(102, [&] { SuspendPainting(); });
    trace.Step(104, [&] { LoadState(model::CategorySource::Defaults); });
    trace.Step(106, [&] { ResumePainting(); });
    const EditedState after = CurrentState();
    if (after.table != before.table || after.incomes != before.incomes)
        Record(
            new StateCommand(*this, tr("Restore Default"), before, selectBefore, after, QString()));
}

void CategoryEditorWindow::OnStartCreating() {
    Trace trace(prompt_, QStringLiteral("Form1.PushButton22_Click"));
    trace.Step(100, [&] { SuspendPainting(); });
    trace.Step(104, [&] { pointer_->Set(PointerShape::Hourglass); });
    trace.Step(106, [&] { GenerateReport(); });
    trace.Step(108, [&] { pointer_->Set(PointerShape::Arrow); });
    trace.Step(110, [&] { ResumePainting(); });
}

void CategoryEditorWindow::OnHelp() {
    Trace trace(prompt_, QStringLiteral("Form1.PushButton6_Click"));
    trace.Step(100, [&] {
        prompt_.Notice(tr("Questions? Please contact Team Tarnwick at %1")
                           .arg(QString::fromLatin1(config::kContactPage)),
                       shell::AppTitle());
    });
    // The Help window, with the keys, the settings file and the About box, follows the message.
    if (helpWindow_ == nullptr) helpWindow_ = new HelpWindow(prompt_, store_.FilePath(), this);
    helpWindow_->show();
    helpWindow_->raise();
    helpWindow_->activateWindow();
}

// ---------------------------------------------------------------------------------------
// The report hand-over and the preview

void CategoryEditorWindow::GenerateReport() {
    const std::array<model::Amount, 4> amounts = model::AllIncomeAmounts(IncomeTextsOfBoxes());
    const sheet::ReportInputs inputs{state_.categories, amounts,   state_.WorkbookPalette,
                                     state_.currency,   QLocale(), state_.paper};
    sheet::ReportEnvironment env{provider_, prompt_, tempFolder_.Path(), this,
                                 [this](PointerShape shape) { pointer_->Set(shape); }};
    sheet::GenerateReport(inputs, env);
}

void CategoryEditorWindow::LoadPicture(const QImage& picture) {
    if (!preview_) {
        preview_ = std::make_unique<SheetPreviewWindow>(prompt_);
        connect(preview_.get(), &SheetPreviewWindow::backRequested, this, [this] { ShowAgain(); });
        connect(preview_.get(), &SheetPreviewWindow::closing, this,
                [this] { SaveOnPreviewClosing(); });
    }
    preview_->LoadPicture(picture);
}

void CategoryEditorWindow::SetWorkbookPath(const QString& path) {
    RequirePreview().SetWorkbookPath(path);
    RequirePreview().SetSheetSummary(
        SheetSummaryOf(path, sheet::AmountFormatFor(state_.currency, QLocale())));
}

QString CategoryEditorWindow::SheetSummaryOf(const QString& workbookPath,
                                             const std::string& amountFormat) {
    // The summary only adds to the picture: a workbook that cannot be read gives none.
    try {
        const spreadsheet::Workbook book = spreadsheet::LoadXls(workbookPath.toStdString());
        const spreadsheet::Worksheet* sheet = book.ShownSheet();
        if (sheet == nullptr) return {};
        return QString::fromStdString(sheet::KeyFiguresSummary(*sheet, amountFormat));
    } catch (const std::exception&) {
        return {};
    }
}

void CategoryEditorWindow::ShowPreview() {
    SheetPreviewWindow& preview = RequirePreview();
    preview.show();
    preview.raise();
    preview.activateWindow();
}

void CategoryEditorWindow::HideMainWindow() {
    hide();
}

SheetPreviewWindow& CategoryEditorWindow::RequirePreview() {
    if (!preview_) throw Failure(tr("The preview window has not been loaded"));
    return *preview_;
}

void CategoryEditorWindow::ShowAgain() {
    show();
    raise();
    activateWindow();
}

void CategoryEditorWindow::SaveOnPreviewClosing() {
    // The program ends right after the preview closes and this window's own close request
    // never comes, so the edits of this run are saved now, by the same steps.
    if (ended_) return;
    SaveState();
    ended_ = true;
}

// ---------------------------------------------------------------------------------------
// The plan: undo history, planned amounts, categories as CSV

void CategoryEditorWindow::CreatePlanCommands() {
    undoStack_ = new QUndoStack(this);
    planCommands_ = new PlanCommands(*undoStack_, *this, this);
    // The four buttons join the row under the edit commands, looking like them; the widget
    // itself only keeps their logic and takes no room.
    for (QPushButton* button : {&planCommands_->UndoButton(), &planCommands_->RedoButton(),
                                &planCommands_->ImportButton(), &planCommands_->ExportButton()})
        AddEditCommand(*button);
    planCommands_->hide();
    setTabOrder(helpButton_, &planCommands_->UndoButton());
    setTabOrder(&planCommands_->UndoButton(), &planCommands_->RedoButton());
    setTabOrder(&planCommands_->RedoButton(), &planCommands_->ImportButton());
    setTabOrder(&planCommands_->ImportButton(), &planCommands_->ExportButton());
    connect(planCommands_, &PlanCommands::importRequested, this, [this] { OnImportCategories(); });
    connect(planCommands_, &PlanCommands::exportRequested, this, [this] { OnExportCategories(); });
    tree_->SetAmountEditHandler(
        [this](const QString& key, const QString& text) { OnPlannedEdited(key, text); });
}

void CategoryEditorWindow::Record(QUndoCommand* command) {
    // The change is made; pushing runs the command's first redo, which changes nothing.
    undoStack_->push(command);
}

EditedState CategoryEditorWindow::CurrentState() const {
    return {state_.categories, IncomeTextsOfBoxes()};
}

void CategoryEditorWindow::RestoreState(const EditedState& state, const QString& selectKey) {
    // Called from the Undo and Redo commands: a failure is told, never thrown into Qt.
    try {
        SuspendPainting();
        const auto resume = qScopeGuard([&] { ResumePainting(); });
        state_.categories = state.table;
        model::FillCategoryTree(state_.categories, *tree_);
        tree_->ShowPlanned(state_.categories);
        if (!selectKey.isEmpty() && tree_->Item(selectKey) != nullptr)
            tree_->Select(selectKey);
        else if (tree_->Count() > 0)
            tree_->SelectFirstNode();
        ShowIncomes(state.incomes);
        RefreshSelection();
    } catch (const std::exception& e) {
        prompt_.ReportError(QString::fromUtf8(e.what()));
    }
}

void CategoryEditorWindow::RestoreRow(const CategoryRow& row) {
    CategoryRow* found = FindRow(row.RowKey);
    if (found == nullptr || tree_->Item(row.RowKey) == nullptr) return;
    *found = row;
    tree_->SetText(row.RowKey, row.RowText);
    tree_->ShowPlanned(state_.categories);
    tree_->Select(row.RowKey);
    RefreshSelection();
}

void CategoryEditorWindow::RestoreIncome(int index, const QString& text) {
    // The history's plain form.
    const model::ParsedAmount amount = model::ParseAmount(text, QLocale::c());
    acceptedIncomes_[index] = amount ? amount.Value() : model::Amount();
    incomeBoxes_[index]->setText(Shown(acceptedIncomes_[index]));
    if (messageField_ == index) ClearIncomeMessage();
}

void CategoryEditorWindow::RestoreChoice(Choice choice, const QString& value) {
    if (choice == Choice::Currency)
        ApplyCurrency(value);
    else
        ApplyPaper(PaperNamed(value).value_or(Paper::A4));
}

void CategoryEditorWindow::OnCurrencyChosen() {
    const QString before = state_.currency.code;
    const QString after = currencyChoice_->currentData().toString();
    if (after == before) return;
    ApplyCurrency(after);
    Record(new ChoiceCommand(*this, tr("Change Currency"), Choice::Currency, before, after));
}

void CategoryEditorWindow::OnPaperChosen() {
    const QString before = PaperName(state_.paper);
    const QString after = paperChoice_->currentData().toString();
    if (after == before) return;
    ApplyPaper(PaperNamed(after).value_or(Paper::A4));
    Record(new ChoiceCommand(*this, tr("Change Paper"), Choice::Paper, before, after));
}

void CategoryEditorWindow::ApplyCurrency(const QString& code) {
    // The boxes' amounts, read while they still show the former currency.
    const IncomeTexts incomes = IncomeTextsOfBoxes();
    state_.currency = model::CurrencyOrUsd(code);
    tree_->SetCurrency(state_.currency);
    ShowChoices();
    ShowIncomes(incomes);
    tree_->ShowPlanned(state_.categories);
}

void CategoryEditorWindow::ApplyPaper(Paper paper) {
    state_.paper = paper;
    ShowChoices();
}

void CategoryEditorWindow::ShowChoices() {
    const QSignalBlocker quietCurrency(currencyChoice_);
    currencyChoice_->setCurrentIndex(std::max(0, currencyChoice_->findData(state_.currency.code)));
    if (PrintsOnLetter(QLocale()) || state_.paper == Paper::Letter) OfferPaperChoice();
    if (paperChoice_ == nullptr) return;
    const QSignalBlocker quietPaper(paperChoice_);
    paperChoice_->setCurrentIndex(std::max(0, paperChoice_->findData(PaperName(state_.paper))));
}

QString CategoryEditorWindow::Shown(const model::Amount& amount) const {
    return model::AmountDisplay(amount.Cents(), state_.currency, QLocale());
}

void CategoryEditorWindow::OnPlannedEdited(const QString& key, const QString& text) {
    CategoryRow* row = FindRow(key);
    if (row == nullptr) return;
    std::optional<model::Amount> amount;  // empty text: not planned
    if (!text.trimmed().isEmpty()) {
        const model::ParsedAmount parsed = model::ParseAmount(text, QLocale(), state_.currency);
        if (!parsed) {
            const QString kept = row->Planned ? Shown(*row->Planned) : tr("not planned");
            const QString message =
                tr("%1: %2 The planned amount stays %3.").arg(row->RowText, parsed.Reason(), kept);
            // Told once the editor has closed: a box that took the focus from the editor
            // would commit it again.
            QMetaObject::invokeMethod(
                this, [this, message] { prompt_.Notice(message, shell::AppTitle()); },
                Qt::QueuedConnection);
            tree_->ShowPlanned(state_.categories);
            return;
        }
        amount = parsed.Value();
    }
    if (row->Planned == amount) return;
    const CategoryRow before = *row;
    row->Planned = amount;
    tree_->ShowPlanned(state_.categories);
    Record(new RowCommand(*this, tr("Planned Amount"), before, *row));
}

void CategoryEditorWindow::OnImportCategories() {
    const QString path =
        prompt_.OpenFileName(tr("Import Categories"), tr("CSV files (*.csv);;All files (*)"));
    if (path.isEmpty()) return;
    QByteArray bytes;
    try {
        // Never a named pipe or a device, which would hang the window or fill the memory.
        bytes = shell::ReadRegularFile(path, model::kMaxCategoryCsvBytes);
    } catch (const FileFailure& failure) {
        prompt_.Notice(tr("%1. Nothing was imported.").arg(QString::fromUtf8(failure.what())),
                       shell::AppTitle());
        return;
    }
    CategoryTable table;
    try {
        table = model::ReadCategoryCsv(bytes);
    } catch (const model::CategoryCsvError& refused) {
        prompt_.Notice(tr("%1 was not imported. %2").arg(path, QString::fromUtf8(refused.what())),
                       shell::AppTitle());
        return;
    }
    const EditedState before = CurrentState();
    const QString selectBefore = currentNode_.value_or(QString());
    const EditedState after{std::move(table), before.incomes};
    RestoreState(after, QString());
    Record(new StateCommand(*this, tr("Import"), before, selectBefore, after, QString()));
}

void CategoryEditorWindow::OnExportCategories() {
    const QString path = prompt_.SaveFileName(tr("Export Categories"), tr("CSV files (*.csv)"));
    if (path.isEmpty()) return;
    try {
        const QByteArray bytes = model::WriteCategoryCsv(state_.categories);
        if (QFileInfo::exists(path) &&
            !prompt_.AskYesNo(tr("%1 already exists. Replace it?").arg(path), tr("Question")))
            return;
        SafeReplace::WriteFile(path, bytes);
    } catch (const Failure& failure) {
        prompt_.Notice(QString::fromUtf8(failure.what()), shell::AppTitle());
    }
}

// ---------------------------------------------------------------------------------------
// Helpers

bool CategoryEditorWindow::TakeSelection() {
    currentNode_ = tree_->SelectedKey();
    if (currentNode_) return true;
    prompt_.Notice(tree_->Count() == 0
                       ? tr("The list has no rows. Use Restore Default to bring back the default "
                            "categories.")
                       : tr("No row is selected. Please select a row in the list first."),
                   shell::AppTitle());
    return false;
}

const QString& CategoryEditorWindow::CurrentKey() const {
    if (!currentNode_) throw Failure(tr("No row is selected"));
    return *currentNode_;
}

void CategoryEditorWindow::RefreshSelection() {
    currentNode_ = tree_->SelectedKey();
    state_.SelectedRowText = currentNode_ ? RowOfNode(*currentNode_).RowText : QString();
}

CategoryRow* CategoryEditorWindow::FindRow(const QString& key) {
    const std::optional<std::size_t> row = model::FindRowByKey(state_.categories, key);
    return row ? &state_.categories[*row] : nullptr;
}

CategoryRow& CategoryEditorWindow::RowOfNode(const QString& key) {
    CategoryRow* row = FindRow(key);
    if (row == nullptr)
        throw Failure(tr("Subscript out of range: no row has the key \"%1\"").arg(key));
    return *row;
}

void CategoryEditorWindow::LoadState(model::CategorySource source) {
    IncomeTexts incomes = IncomeTextsOfBoxes();
    // The load reports an unusable store only after it has finished with the defaults;
    // the fields show what it read in either case.
    const auto showIncomes = qScopeGuard([&] {
        tree_->SetCurrency(state_.currency);
        ShowChoices();
        ShowIncomes(incomes);
        tree_->ShowPlanned(state_.categories);
    });
    model::LoadCategoryState(state_, *tree_, incomes, store_, source);
}

void CategoryEditorWindow::SuspendPainting() {
    setUpdatesEnabled(false);
}

void CategoryEditorWindow::ResumePainting() {
    setUpdatesEnabled(true);
}

IncomeTexts CategoryEditorWindow::IncomeTextsOfBoxes() const {
    IncomeTexts incomes;
    for (int i = 0; i < 4; ++i) {
        const model::ParsedAmount amount =
            model::ParseAmount(incomeBoxes_[i]->text(), QLocale(), state_.currency);
        incomes[i] = amount ? amount.Value().Text() : acceptedIncomes_[i].Text();
    }
    return incomes;
}

void CategoryEditorWindow::ShowIncomes(const IncomeTexts& incomes) {
    ClearIncomeMessage();
    for (int i = 0; i < 4; ++i) {
        const model::ParsedAmount amount = model::ParseAmount(incomes[i]);
        acceptedIncomes_[i] = amount ? amount.Value() : model::Amount();
        incomeBoxes_[i]->setText(Shown(acceptedIncomes_[i]));
        if (!amount && messageField_ < 0)
            ShowIncomeMessage(
                i, tr("%1: the saved \"%2\" is not an amount, so the box shows %3.")
                       .arg(Tr(kIncomeNames[i]), incomes[i], Shown(acceptedIncomes_[i])));
    }
}

int CategoryEditorWindow::IncomeIndexOf(const QObject* object) const {
    for (int i = 0; i < 4; ++i)
        if (incomeBoxes_[i] == object) return i;
    return -1;
}

}  // namespace quill::editor
