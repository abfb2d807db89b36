#include "editor/Form1.h"

#include <algorithm>
#include <exception>

#include <QAccessible>
#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFocusEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QShortcut>
#include <QTreeWidget>

#include "bridge/Connection.h"
#include "editor/Form2.h"
#include "editor/TreeAdapter.h"
#include "model/Amounts.h"
#include "model/CategoryState.h"
#include "model/SettingsStore.h"
#include "preview/Form3.h"
#include "sheet/BudgetSheet.h"
#include "shell/CommonServices.h"
#include "shell/Config.h"
#include "shell/ErrorTrap.h"
#include "shell/Failure.h"
#include "shell/TempFolder.h"
#include "shell/ui/AccessibleRole.h"
#include "shell/ui/FormLayout.h"
#include "shell/ui/FormStyle.h"
#include "shell/ui/MousePointer.h"
#include "spreadsheet/xls/XlsFile.h"

namespace quill {

using ui::TwipRect;

namespace {

const QString kQuestionTitle = QStringLiteral("Question");
const QString kTreeToolTip = QStringLiteral("Left-click and hold left mouse buttom to edit");
const QString kNothingSelected =
    QStringLiteral("No row is selected. Please select a row in the list first.");
const QString kListEmpty = QStringLiteral(
    "The list has no rows. Use Restore Default to bring back the default categories.");

// "Question (node text)" over two lines, as the delete and rename questions read.
QString QuestionNaming(const char* question, const QString& nodeText) {
    return QLatin1String(question) + QStringLiteral("\r\n(") + nodeText + QLatin1Char(')');
}

// Where each income field sits. Index i is the field's number everywhere (settings key,
// amount, sheet); "Actual Income" holds index 3 above index 2.
struct IncomeFieldPlace {
    int frame;
    const char* caption;
    int labelTop;
    int labelWidth;
    int textTop;
};
constexpr std::array<IncomeFieldPlace, 4> kIncomeFields = {{
    {0, "Income:", 345, 675, 300},
    {0, "Extra income:", 795, 1170, 720},
    {1, "Extra income:", 795, 1170, 750},
    {1, "Income:", 345, 675, 300},
}};
// Each income field by its own name: the captions alone would give "Income:" twice.
constexpr std::array<const char*, 4> kIncomeNames = {"Projected income", "Projected extra income",
                                                     "Actual extra income", "Actual income"};

// The line under the income frames that says why a typed income was not taken: room for two
// lines of the window font. The category frame and the window are that much lower.
constexpr int kIncomeMessageTop = 2310;
constexpr int kIncomeMessageHeight = 480;
constexpr int kBelowIncomes = kIncomeMessageHeight;

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

}  // namespace

Form1::Form1(const Form1Services& services, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint),
      state_(services.state),
      prompt_(services.prompt),
      store_(services.store),
      provider_(services.provider),
      tempFolder_(services.tempFolder),
      rowNameDialog_([this](QString& newRowName) {
          Form2 dialog(prompt_, newRowName, this);
          dialog.exec();
      }),
      endProgram_([] { QCoreApplication::exit(0); }) {
    CreateControls();
}

Form1::~Form1() {
    // The tree outlives this object's members while the window's children are deleted;
    // its signals must not reach handlers that use them.
    treeView1_->disconnect(this);
}

void Form1::SetRowNameDialog(RowNameDialog dialog) {
    rowNameDialog_ = std::move(dialog);
}

void Form1::SetEndProgram(std::function<void()> endProgram) {
    endProgram_ = std::move(endProgram);
}

int Form1::MousePointerValue() const {
    return pointer_->Value();
}

// ---------------------------------------------------------------------------------------
// Controls

void Form1::CreateControls() {
    setObjectName(QStringLiteral("Form1"));
    // Before anything asks for the window's accessible interface.
    ui::SetAccessibleRole(*this, QAccessible::Window);
    setFont(ui::BoldArial(9));
    setFixedSize(ui::Pixels(8040), ui::Pixels(7650 + kBelowIncomes));
    ui::PaintWhite(*this);

    pushButton22_ = ui::MakeButton("PushButton22", QStringLiteral("Start Creating Template"), this,
                                   TwipRect(120, 120, 7800, 405));
    pushButton6_ =
        ui::MakeButton("PushButton6", QStringLiteral("Help"), this, TwipRect(120, 630, 7800, 405));
    CreateIncomeFields();
    CreateTreeFrame();
    SetTabOrder();
    TrackPointer();
    ConnectHandlers();
    DescribeControls();
    CreateShortcuts();
    ui::CentreOnScreen(*this);
}

void Form1::CreateIncomeFields() {
    const std::array<QString, 2> titles = {QStringLiteral("Projected Income"),
                                           QStringLiteral("Actual Income")};
    const std::array<QRect, 2> places = {TwipRect(120, 1080, 3840, 1215),
                                         TwipRect(4080, 1080, 3840, 1215)};
    for (int f = 0; f < 2; ++f) {
        auto* frame = new QGroupBox(titles[f], this);
        frame->setObjectName(IndexedName("Frame1", f));
        frame->setGeometry(places[f]);
        frame1_[f] = frame;
    }
    for (int i = 0; i < 4; ++i) {
        const IncomeFieldPlace& place = kIncomeFields[i];
        QGroupBox* frame = frame1_[place.frame];
        auto* label = new QLabel(QLatin1String(place.caption), frame);
        label->setObjectName(IndexedName("Label4", i));
        label->setGeometry(TwipRect(240, place.labelTop, place.labelWidth, 225));
        label4_[i] = label;

        auto* text = new QLineEdit(frame);
        text->setObjectName(IndexedName("Text1", i));
        text->setGeometry(TwipRect(1560, place.textTop, 2055, 330));
        text->installEventFilter(this);
        text1_[i] = text;
    }
    incomeMessage_ = new QLabel(this);
    incomeMessage_->setObjectName(QStringLiteral("IncomeMessage"));
    incomeMessage_->setGeometry(TwipRect(120, kIncomeMessageTop, 7800, kIncomeMessageHeight));
    incomeMessage_->setWordWrap(true);
    incomeMessage_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QPalette palette = incomeMessage_->palette();
    palette.setColor(QPalette::WindowText, QColor(0xA0, 0x00, 0x00));  // dark red on white
    incomeMessage_->setPalette(palette);
}

void Form1::CreateTreeFrame() {
    frame2_ = new QGroupBox(QStringLiteral("Personal budget data:"), this);
    frame2_->setObjectName(QStringLiteral("Frame2"));
    frame2_->setGeometry(TwipRect(120, 2340 + kBelowIncomes, 7800, 5175));

    pushButton2_ = ui::MakeButton("PushButton2", QStringLiteral("Insert Below"), frame2_,
                                  TwipRect(240, 300, 3600, 405));
    pushButton1_ = ui::MakeButton("PushButton1", QStringLiteral("Delete Selected"), frame2_,
                                  TwipRect(3960, 300, 3600, 405));
    pushButton4_ = ui::MakeButton("PushButton4", QStringLiteral("Rename Selected"), frame2_,
                                  TwipRect(240, 795, 3600, 405));
    pushButton3_ = ui::MakeButton("PushButton3", QStringLiteral("Restore Default"), frame2_,
                                  TwipRect(3960, 795, 3600, 405));

    treeView1_ = new QTreeWidget(frame2_);
    treeView1_->setObjectName(QStringLiteral("TreeView1"));
    treeView1_->setGeometry(TwipRect(240, 1300, 7335, 3690));
    treeView1_->setToolTip(kTreeToolTip);
    tree_ = std::make_unique<TreeAdapter>(*treeView1_);
}

void Form1::SetTabOrder() {
    // Projected income, projected extra income, actual income, actual extra income, the
    // tree, then the commands. Frames and labels take no focus.
    const std::array<QWidget*, 11> order = {text1_[0],    text1_[1],     text1_[3],    text1_[2],
                                            treeView1_,   pushButton22_, pushButton2_, pushButton3_,
                                            pushButton1_, pushButton4_,  pushButton6_};
    for (std::size_t i = 1; i < order.size(); ++i) setTabOrder(order[i - 1], order[i]);
    // The first of them has the focus when the window opens.
    text1_[0]->setFocus();
}

void Form1::DescribeControls() {
    // Both windows carry the title "Quillmere"; the accessible names tell them apart.
    setAccessibleName(QStringLiteral("Quillmere budget editor"));
    setAccessibleDescription(
        QStringLiteral("Income figures and budget categories; Start Creating Template builds "
                       "the budget sheet from them."));
    for (int i = 0; i < 4; ++i) {
        label4_[i]->setBuddy(text1_[i]);
        text1_[i]->setAccessibleName(QLatin1String(kIncomeNames[i]));
    }
    treeView1_->setAccessibleName(QStringLiteral("Personal budget data"));
    treeView1_->setAccessibleDescription(
        QStringLiteral("Groups and their rows. Insert adds a row below the selected one, Delete "
                       "removes it, F2 renames it in place."));
    pushButton2_->setToolTip(QStringLiteral("Insert Below (Insert)"));
    pushButton1_->setToolTip(QStringLiteral("Delete Selected (Delete, in the list)"));
    pushButton4_->setToolTip(QStringLiteral("Rename Selected (F2 renames in place, in the list)"));
}

void Form1::CreateShortcuts() {
    // Enter presses the focused button, as Space does; outside dialogs Qt leaves Enter to
    // buttons that are marked to take it.
    for (QPushButton* button :
         {pushButton22_, pushButton6_, pushButton2_, pushButton1_, pushButton4_, pushButton3_})
        button->setAutoDefault(true);
    auto* insert = new QShortcut(QKeySequence(Qt::Key_Insert), this);
    connect(insert, &QShortcut::activated, pushButton2_, &QPushButton::click);
    // Delete belongs to the text boxes elsewhere; in the list it deletes the selected row.
    auto* remove = new QShortcut(QKeySequence(QKeySequence::Delete), treeView1_, nullptr, nullptr,
                                 Qt::WidgetShortcut);
    connect(remove, &QShortcut::activated, pushButton1_, &QPushButton::click);
}

void Form1::TrackPointer() {
    // Buttons show the hand and keep their movement from the surfaces behind them, which
    // would turn the pointer back into the arrow.
    pointer_ = new MousePointer(*this);
    for (QPushButton* button :
         {pushButton22_, pushButton6_, pushButton2_, pushButton1_, pushButton4_, pushButton3_}) {
        pointer_->TrackButton(*button);
        button->setAttribute(Qt::WA_NoMousePropagation);
    }
    pointer_->TrackSurface(*this);
    for (QWidget* frame : {frame1_[0], frame1_[1], frame2_}) pointer_->TrackSurface(*frame);
    for (int i = 0; i < 4; ++i) {
        pointer_->TrackSurface(*label4_[i]);
        pointer_->TrackSurface(*text1_[i]);
    }
    pointer_->TrackSurface(*incomeMessage_);
    pointer_->TrackSurface(*treeView1_);
    pointer_->TrackSurface(*treeView1_->viewport());
}

void Form1::ConnectHandlers() {
    connect(pushButton2_, &QPushButton::clicked, this, [this] { PushButton2_Click(); });
    connect(pushButton1_, &QPushButton::clicked, this, [this] { PushButton1_Click(); });
    connect(pushButton4_, &QPushButton::clicked, this, [this] { PushButton4_Click(); });
    connect(pushButton3_, &QPushButton::clicked, this, [this] { PushButton3_Click(); });
    connect(pushButton22_, &QPushButton::clicked, this, [this] { PushButton22_Click(); });
    connect(pushButton6_, &QPushButton::clicked, this, [this] { PushButton6_Click(); });

    // A click, and also a move of the selection with the keyboard, takes the selection,
    // so that the selected row text always names the selected node. The adapter's own
    // changes emit nothing.
    connect(treeView1_, &QTreeWidget::itemClicked, this, [this] { TreeView1_Click(); });
    connect(treeView1_, &QTreeWidget::currentItemChanged, this, [this] { TreeView1_Click(); });
    tree_->SetLabelEditHandlers(
        [this] { TreeView1_BeforeLabelEdit(); },
        [this](const QString& key, const QString& text) { TreeView1_AfterLabelEdit(key, text); });
}

// ---------------------------------------------------------------------------------------
// Start-up and shutdown

bool Form1::Form_Load() {
    Trace trace(prompt_, QStringLiteral("Form1.Form_Load"));
    bool engineFound = true;
    trace.Step([&] { Main::ApplySkin(*this); });
    trace.Step([&] {
        setWindowTitle(QString::fromLatin1(config::kProductName));
        setWindowIcon(QApplication::windowIcon());
    });
    trace.Step([&] { Main::SetAppTitle(); });
    trace.Step([&] { SuspendPainting(); });
    trace.Step([&] {
        // Without the file the platform's pointing hand stands in for pointer 99.
        const QString hand = Main::HandCursorFile();
        if (Main::FileExists(hand) && !pointer_->LoadHand(hand))
            throw Failure(QStringLiteral("Cannot load the pointer picture ") + hand);
    });
    trace.Step([&] { LoadState(false); });
    trace.Step([&] { ResumePainting(); });
    trace.Step([&] { update(); });
    // Last, so that everything is prepared when it runs; without an engine the program
    // ends here, before any value of this run is written.
    trace.Step([&] { engineFound = IsInstalled::CheckExcelInstalled(provider_, prompt_); });
    if (!engineFound) ended_ = true;
    return engineFound;
}

void Form1::closeEvent(QCloseEvent* event) {
    if (!ended_) Form_QueryUnload();
    event->accept();
    Form_Unload();
}

void Form1::Form_QueryUnload() {
    Trace trace(prompt_, QStringLiteral("Form1.Form_QueryUnload"));
    Options::SaveCategoryState(state_, IncomeTextsOfBoxes(), store_, trace);
}

void Form1::Form_Unload() {
    ended_ = true;
    if (endProgram_) endProgram_();
}

// ---------------------------------------------------------------------------------------
// The category tree

void Form1::TreeView1_Click() {
    currentNode_ = tree_->SelectedKey();
    if (!currentNode_) return;  // nothing selected, nothing to take
    if (const CategoryRow* row = FindRow(*currentNode_)) state_.SelectedRowText = row->RowText;
}

void Form1::TreeView1_BeforeLabelEdit() {
    // The hint is needed only until the user has found out how to edit.
    treeView1_->setToolTip(QString());
}

void Form1::TreeView1_AfterLabelEdit(const QString& key, const QString& newString) {
    currentNode_ = key;
    if (CategoryRow* row = FindRow(key)) row->RowText = newString;
    // The selected row text names the selected node, so a rename that follows offers the
    // name the user has just given it.
    if (tree_->SelectedKey() == key) state_.SelectedRowText = newString;
}

// ---------------------------------------------------------------------------------------
// The income fields

bool Form1::eventFilter(QObject* watched, QEvent* event) {
    if (const int index = IncomeIndexOf(watched); index >= 0) {
        switch (event->type()) {
            case QEvent::FocusIn: {
                const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
                if (reason == Qt::MouseFocusReason) selectOnMouseRelease_ = index;
                if (EntersField(reason)) Text1_GotFocus(index);
                break;
            }
            case QEvent::MouseButtonRelease:
                // The click that entered the field has moved the cursor and so dropped the
                // selection; select the whole text again unless the user dragged a part.
                if (selectOnMouseRelease_ == index && !text1_[index]->hasSelectedText())
                    Text1_GotFocus(index);
                selectOnMouseRelease_ = -1;
                break;
            case QEvent::FocusOut:
                if (LeavesField(static_cast<QFocusEvent*>(event)->reason())) Text1_Validate(index);
                break;
            default:
                break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void Form1::Text1_GotFocus(int index) {
    QLineEdit& text = *text1_[index];
    text.setSelection(0, static_cast<int>(text.text().size()));
}

void Form1::Text1_Validate(int index) {
    QLineEdit& text = *text1_[index];
    const QString typed = text.text();
    const Options::ParsedAmount amount = Options::ParseAmount(typed);
    if (!amount) {
        // The field keeps its last amount; the focus moves on all the same.
        text.setText(acceptedIncomes_[index]);
        ShowIncomeMessage(index, QStringLiteral("%1: %2 The box keeps %3.")
                                     .arg(QLatin1String(kIncomeNames[index]), amount.Reason(),
                                          acceptedIncomes_[index]));
        return;
    }
    acceptedIncomes_[index] = amount.Value().Text();
    text.setText(acceptedIncomes_[index]);
    if (messageField_ == index) ClearIncomeMessage();
}

void Form1::ShowIncomeMessage(int index, const QString& message) {
    messageField_ = index;
    incomeMessage_->setText(message);
    // Read where the focus goes next, and by the field itself when it comes back to it.
    text1_[index]->setAccessibleDescription(message);
    QAccessibleEvent named(incomeMessage_, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&named);
    QAccessibleEvent described(text1_[index], QAccessible::DescriptionChanged);
    QAccessible::updateAccessibility(&described);
    QAccessibleEvent alert(incomeMessage_, QAccessible::Alert);
    QAccessible::updateAccessibility(&alert);
}

void Form1::ClearIncomeMessage() {
    if (messageField_ < 0) return;
    text1_[messageField_]->setAccessibleDescription(QString());
    messageField_ = -1;
    incomeMessage_->clear();
    QAccessibleEvent named(incomeMessage_, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&named);
}

// ---------------------------------------------------------------------------------------
// The commands

void Form1::PushButton2_Click() {
    Trace trace(prompt_, QStringLiteral("Form1.PushButton2_Click"));
    bool selected = false;
    QString parentKey;
    QString newKey;
    trace.Step([&] { selected = TakeSelection(); });
    if (!selected) return;
    trace.Step([&] {
        const QString& key = CurrentKey();
        if (const auto groupKey = tree_->ParentKey(key)) {
            // A row: the new row follows it in the same group.
            parentKey = RowOfNode(*groupKey).RowKey;
        } else {
            // A group: a new group after it, or the first row of a group without rows.
            const QString& anchorKey = RowOfNode(key).RowKey;
            parentKey =
                Options::HasNoChildren(state_.CategoryTable, key) ? anchorKey : Options::kRootKey;
        }
    });
    trace.Step([&] { state_.NewRowName.clear(); });
    trace.Step([&] { rowNameDialog_(state_.NewRowName); });
    if (state_.NewRowName.isEmpty()) return;  // cancelled: nothing has changed
    trace.Step([&] { SuspendPainting(); });
    trace.Step([&] {
        if (parentKey.isEmpty()) throw Failure("The place of the new row is unknown");
        Options::InsertRowBelow(state_.CategoryTable, parentKey, CurrentKey(), state_.NewRowName);
        newKey = state_.CategoryTable.back().RowKey;
    });
    trace.Step([&] { Options::FillCategoryTree(state_.CategoryTable, *tree_); });
    trace.Step([&] { tree_->Select(newKey); });
    trace.Step([&] { ResumePainting(); });
    trace.Step([&] {
        tree_->Select(newKey);
        treeView1_->setFocus();
    });
    trace.Step([&] { RefreshSelection(); });
}

void Form1::PushButton1_Click() {
    Trace trace(prompt_, QStringLiteral("Form1.PushButton1_Click"));
    bool selected = false;
    bool yes = false;
    trace.Step([&] { selected = TakeSelection(); });
    if (!selected) return;
    trace.Step([&] {
        yes = prompt_.AskYesNo(
            QuestionNaming("Do you really want delete this row ?", tree_->Text(CurrentKey())),
            kQuestionTitle);
    });
    if (!yes) return;
    trace.Step([&] { currentNode_ = tree_->SelectedKey(); });
    trace.Step([&] { SuspendPainting(); });
    bool kept = false;
    trace.Step([&] {
        const std::size_t before = state_.CategoryTable.size();
        Options::DeleteRowAndChildren(state_.CategoryTable, CurrentKey());
        // The table never becomes empty: a deletion that would remove every row changes
        // nothing, and then the tree keeps the node too instead of showing a list that the
        // sheet and the stored state would not match.
        kept = state_.CategoryTable.size() == before &&
               Options::FindRowByKey(state_.CategoryTable, CurrentKey()) != 0;
    });
    if (kept) {
        ResumePainting();
        prompt_.Notice(QStringLiteral("The list must keep at least one row, so this row stays."),
                       Main::AppTitle());
        return;
    }
    trace.Step([&] { tree_->Remove(CurrentKey()); });
    trace.Step([&] { ResumePainting(); });
    trace.Step([&] { prompt_.Notice(QStringLiteral("Row deleted."), Main::AppTitle()); });
    trace.Step([&] { RefreshSelection(); });
}

void Form1::PushButton4_Click() {
    Trace trace(prompt_, QStringLiteral("Form1.PushButton4_Click"));
    bool selected = false;
    bool yes = false;
    QString answer;
    trace.Step([&] { selected = TakeSelection(); });
    if (!selected) return;
    trace.Step([&] {
        answer = prompt_.InputBox(QStringLiteral("Rename selected to: "),
                                  QStringLiteral("Rename Selected Row"), state_.SelectedRowText);
    });
    // Cancel, or nothing but blanks: the command ends with nothing changed and no question.
    if (answer.trimmed().isEmpty()) return;
    state_.SelectedRowText = answer;
    trace.Step([&] {
        yes = prompt_.AskYesNo(
            QuestionNaming("Do you really want rename this row ?", tree_->Text(CurrentKey())),
            kQuestionTitle);
    });
    if (yes) {
        trace.Step([&] { RowOfNode(CurrentKey()).RowText = state_.SelectedRowText; });
        trace.Step([&] { tree_->SetText(CurrentKey(), state_.SelectedRowText); });
    } else {
        trace.Skip();
        trace.Skip();
    }
    // After No this puts the unchanged name back.
    trace.Step([&] { RefreshSelection(); });
}

void Form1::PushButton3_Click() {
    Trace trace(prompt_, QStringLiteral("Form1.PushButton3_Click"));
    bool yes = false;
    trace.Step([&] {
        yes = prompt_.AskYesNo(QStringLiteral("Do you really want restore default settings ?"),
                               kQuestionTitle);
    });
    if (!yes) return;
    trace.Step([&] { SuspendPainting(); });
    trace.Step([&] { LoadState(true); });
    trace.Step([&] { ResumePainting(); });
}

void Form1::PushButton22_Click() {
    Trace trace(prompt_, QStringLiteral("Form1.PushButton22_Click"));
    bool stop = false;
    trace.Step([&] { SuspendPainting(); });
    trace.Step([&] { stop = Excel1::ConfirmExcelClosed(provider_, prompt_); });
    if (stop) {
        trace.Skip();
        trace.Skip();
        trace.Skip();
    } else {
        trace.Step([&] { pointer_->Set(MousePointer::kHourglass); });
        trace.Step([&] { GenerateReport(); });
        trace.Step([&] { pointer_->Set(MousePointer::kArrow); });
    }
    trace.Step([&] { ResumePainting(); });
}

void Form1::PushButton6_Click() {
    Trace trace(prompt_, QStringLiteral("Form1.PushButton6_Click"));
    trace.Step([&] {
        prompt_.Notice(QStringLiteral("Questions? Please contact Team Tarnwick at ") +
                           QString::fromLatin1(config::kContactPage),
                       Main::AppTitle());
    });
}

// ---------------------------------------------------------------------------------------
// The report hand-over and the preview

void Form1::GenerateReport() {
    const std::array<Options::Amount, 4> amounts = Options::AllIncomeAmounts(IncomeTextsOfBoxes());
    const PersonalFinance::ReportInputs inputs{state_.CategoryTable, amounts,
                                               state_.WorkbookPalette};
    PersonalFinance::ReportEnvironment env{provider_, prompt_, tempFolder_.Path(), this,
                                           [this](int value) { pointer_->Set(value); }};
    PersonalFinance::GenerateReport0(1, inputs, env);
}

void Form1::LoadPicture(const QImage& picture) {
    if (!form3_) {
        form3_ = std::make_unique<Form3>(prompt_);
        connect(form3_.get(), &Form3::backRequested, this, [this] { ShowAgain(); });
        connect(form3_.get(), &Form3::closing, this, [this] { SaveOnPreviewClosing(); });
    }
    form3_->LoadPicture(picture);
}

void Form1::SetWorkbookPath(const QString& path) {
    RequirePreview().mExcelFile = path;
    RequirePreview().SetSheetSummary(SheetSummaryOf(path));
}

QString Form1::SheetSummaryOf(const QString& workbookPath) {
    // The summary only adds to the picture: a workbook that cannot be read gives none.
    try {
        const spreadsheet::Workbook book = spreadsheet::LoadXls(workbookPath.toStdString());
        const spreadsheet::Worksheet* sheet = book.ShownSheet();
        if (sheet == nullptr) return {};
        return QString::fromStdString(PersonalFinance::KeyFiguresSummary(*sheet));
    } catch (const std::exception&) {
        return {};
    }
}

void Form1::ShowPreview() {
    Form3& preview = RequirePreview();
    preview.show();
    preview.raise();
    preview.activateWindow();
}

void Form1::HideMainWindow() {
    hide();
}

Form3& Form1::RequirePreview() {
    if (!form3_) throw Failure("The preview window has not been loaded");
    return *form3_;
}

void Form1::ShowAgain() {
    show();
    raise();
    activateWindow();
}

void Form1::SaveOnPreviewClosing() {
    // The program ends right after the preview closes and this window's own close request
    // never comes, so the edits of this run are saved now, by the same steps.
    if (ended_) return;
    Form_QueryUnload();
    ended_ = true;
}

// ---------------------------------------------------------------------------------------
// Helpers

bool Form1::TakeSelection() {
    currentNode_ = tree_->SelectedKey();
    if (currentNode_) return true;
    prompt_.Notice(tree_->Count() == 0 ? kListEmpty : kNothingSelected, Main::AppTitle());
    return false;
}

const QString& Form1::CurrentKey() const {
    if (!currentNode_) throw Failure("No row is selected");
    return *currentNode_;
}

void Form1::RefreshSelection() {
    currentNode_ = tree_->SelectedKey();
    state_.SelectedRowText = currentNode_ ? RowOfNode(*currentNode_).RowText : QString();
}

CategoryRow* Form1::FindRow(const QString& key) {
    const int row = Options::FindRowByKey(state_.CategoryTable, key);
    return row == 0 ? nullptr : &state_.CategoryTable[static_cast<std::size_t>(row - 1)];
}

CategoryRow& Form1::RowOfNode(const QString& key) {
    CategoryRow* row = FindRow(key);
    if (row == nullptr)
        throw Failure(QStringLiteral("Subscript out of range: no row has the key \"%1\"").arg(key));
    return *row;
}

void Form1::LoadState(bool restoreDefaults) {
    IncomeTexts incomes = IncomeTextsOfBoxes();
    // The load reports an unusable store only after it has finished with the defaults;
    // the fields show what it read in either case.
    const auto showIncomes = qScopeGuard([&] { ShowIncomes(incomes); });
    Options::LoadCategoryState(state_, *tree_, incomes, store_, restoreDefaults);
}

void Form1::SuspendPainting() {
    setUpdatesEnabled(false);
}

void Form1::ResumePainting() {
    setUpdatesEnabled(true);
}

IncomeTexts Form1::IncomeTextsOfBoxes() const {
    IncomeTexts incomes;
    for (int i = 0; i < 4; ++i) {
        const Options::ParsedAmount amount = Options::ParseAmount(text1_[i]->text());
        incomes[i] = amount ? amount.Value().Text() : acceptedIncomes_[i];
    }
    return incomes;
}

void Form1::ShowIncomes(const IncomeTexts& incomes) {
    ClearIncomeMessage();
    for (int i = 0; i < 4; ++i) {
        const Options::ParsedAmount amount = Options::ParseAmount(incomes[i]);
        acceptedIncomes_[i] = amount ? amount.Value().Text() : Options::Amount().Text();
        text1_[i]->setText(acceptedIncomes_[i]);
        if (!amount && messageField_ < 0)
            ShowIncomeMessage(
                i, QStringLiteral("%1: the saved \"%2\" is not an amount, so the "
                                  "box shows %3.")
                       .arg(QLatin1String(kIncomeNames[i]), incomes[i], acceptedIncomes_[i]));
    }
}

int Form1::IncomeIndexOf(const QObject* object) const {
    for (int i = 0; i < 4; ++i)
        if (text1_[i] == object) return i;
    return -1;
}

}  // namespace quill
