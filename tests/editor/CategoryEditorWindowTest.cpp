#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include <QAccessible>
#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMouseEvent>
#include <QPushButton>
#include <QSettings>
#include <QTreeWidget>

#include "bridge/Connection.h"
#include "editor/EditorFixture.h"
#include "editor/TreeAdapter.h"
#include "preview/PictureBox.h"
#include "preview/SheetPreviewWindow.h"
#include "support/ScopedSettings.h"

namespace quill::editor {
namespace {

using preview::PictureBox;
using preview::SheetPreviewWindow;

class CategoryEditorWindowTest : public test::EditorFixture {};

using test::ScopedDefaultLocale;

TEST_F(CategoryEditorWindowTest, InsertBelowPlacesTheRowByTheSelectedNode) {
    Start();
    ShowActive();
    // On a group with rows: a new group right after it.
    Select(QStringLiteral("HOUSING"));
    nextRowName = QStringLiteral("Savings");
    Click("PushButton2");
    EXPECT_EQ(Children(nullptr).mid(0, 3), QStringList({"HOUSING", "Savings", "TRANSPORTATION"}));
    EXPECT_EQ(Children(Node("HOUSING")).size(), 10);
    EXPECT_EQ(Tree().currentItem(), Node("Savings"));
    EXPECT_TRUE(Node("Savings")->isSelected());
    EXPECT_EQ(QApplication::focusWidget(), &Tree());
    EXPECT_EQ(form->CurrentNode(), TreeAdapter::KeyOf(*Node("Savings")));
    EXPECT_EQ(state.SelectedRowText, "Savings");

    // On a group without rows: its first row.
    nextRowName = QStringLiteral("Bonds");
    Click("PushButton2");
    EXPECT_EQ(Children(Node("Savings")), QStringList({"Bonds"}));

    // On a row: the next row of the same group.
    Select(QStringLiteral("Gas"));
    nextRowName = QStringLiteral("Toys");
    Click("PushButton2");
    EXPECT_EQ(Children(Node("HOUSING")).mid(3, 3), QStringList({"Gas", "Toys", "Water and sewer"}));
    EXPECT_EQ(state.categories.size(), 80u);

    // Cancelled: neither the table nor the tree changes (the tree is not even rebuilt).
    QTreeWidgetItem* housing = Node("HOUSING");
    nextRowName.clear();
    Click("PushButton2");
    EXPECT_EQ(state.categories.size(), 80u);
    EXPECT_EQ(Node("HOUSING"), housing);
    EXPECT_TRUE(prompt.Errors().empty());
}

TEST_F(CategoryEditorWindowTest, DeleteAsksOnceNamingTheNodeAndRemovesTheGroupWithItsRows) {
    Start();
    Select(QStringLiteral("HOUSING"));
    Click("PushButton1");  // answered No
    EXPECT_EQ(state.categories.size(), 77u);
    ASSERT_NE(Node("HOUSING"), nullptr);

    prompt.yesNo = {true};
    Click("PushButton1");
    ASSERT_EQ(prompt.Questions().size(), 2u);
    EXPECT_EQ(prompt.Questions()[1], "Do you really want delete this row ?\r\n(HOUSING)");
    EXPECT_EQ(prompt.shown[1].title, "Question");
    EXPECT_EQ(prompt.Notices(), std::vector<QString>({"Row deleted."}));
    EXPECT_EQ(state.categories.size(), 66u);
    EXPECT_EQ(Node("HOUSING"), nullptr);
    EXPECT_EQ(Node("Mortgage or rent"), nullptr);
    // The tree has chosen another node, and the editor state names it.
    ASSERT_EQ(Tree().selectedItems().size(), 1);
    EXPECT_EQ(state.SelectedRowText, Tree().selectedItems()[0]->text(0));
}

TEST_F(CategoryEditorWindowTest, RenameOffersTheRowNameAndStoresOnlyARealNewName) {
    Start();
    Select(QStringLiteral("Phone"));
    prompt.inputs = {QStringLiteral("Mobile")};
    Click("PushButton4");  // No: nothing changes, the old name comes back
    EXPECT_EQ(prompt.lastOffered, "Phone");
    EXPECT_EQ(RowTextOf("3_"), "Phone");
    EXPECT_EQ(state.SelectedRowText, "Phone");

    // Cancel, and an answer of blanks only, end the command without a question.
    const std::size_t asked = prompt.Questions().size();
    prompt.yesNo = {true, true};
    Click("PushButton4");
    prompt.inputs = {QStringLiteral("  \t ")};
    Click("PushButton4");
    EXPECT_EQ(prompt.Questions().size(), asked);
    EXPECT_EQ(RowTextOf("3_"), "Phone");
    EXPECT_EQ(Tree().currentItem()->text(0), "Phone");
    EXPECT_EQ(state.SelectedRowText, "Phone");

    // A real name goes through the question, which names the old one.
    prompt.yesNo = {true};
    prompt.inputs = {QStringLiteral("Mobile")};
    Click("PushButton4");
    EXPECT_EQ(prompt.Questions().back(), "Do you really want rename this row ?\r\n(Phone)");
    EXPECT_EQ(RowTextOf("3_"), "Mobile");
    EXPECT_EQ(Tree().currentItem()->text(0), "Mobile");
    EXPECT_EQ(state.SelectedRowText, "Mobile");
    EXPECT_TRUE(prompt.Errors().empty());
}

TEST_F(CategoryEditorWindowTest, RestoreDefaultBringsBackTheRowsAndTheStoredIncomes) {
    Start();
    Income(0).setText(QStringLiteral("$5000"));
    Restart();
    EXPECT_EQ(Income(0).text(), "$5000");
    Select(QStringLiteral("HOUSING"));
    prompt.yesNo = {true, false, true};
    Click("PushButton1");
    Income(0).setText(QStringLiteral("$1"));
    Click("PushButton3");  // No
    EXPECT_EQ(state.categories.size(), 66u);
    Click("PushButton3");
    EXPECT_EQ(state.categories.size(), 77u);
    EXPECT_EQ(Children(nullptr).first(), "HOUSING");
    EXPECT_EQ(state.SelectedRowText, "HOUSING");
    EXPECT_EQ(Income(0).text(), "$5000");
    EXPECT_EQ(Income(3).text(), "$2720");
}

TEST_F(CategoryEditorWindowTest, IncomeFieldsSelectAllOnEntryAndNormaliseOnLeaving) {
    const ScopedDefaultLocale english(QLocale(QLocale::English, QLocale::UnitedStates));
    Start();
    ShowActive();  // the first field has the focus when the window opens
    EXPECT_EQ(QApplication::focusWidget(), &Income(0));
    EXPECT_EQ(Income(0).selectedText(), "$3,000");

    const std::vector<std::pair<QString, QString>> typed = {
        {"1,250.75", "$1,250.75"}, {"", "$0"}, {"3 000 USD", "$3,000"}, {"12,5", "$12.50"}};
    for (const auto& [text, shown] : typed) {
        Income(0).setText(text);
        Income(1).setFocus(Qt::TabFocusReason);
        EXPECT_EQ(Income(0).text(), shown) << text.toStdString();
        Income(0).setFocus(Qt::BacktabFocusReason);
    }

    // Entering with a click: the whole text is selected once the click is done.
    Income(1).setFocus(Qt::MouseFocusReason);
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent click(
            type, QPointF(20, 5), Income(1).mapToGlobal(QPointF(20, 5)), Qt::LeftButton,
            type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(&Income(1), &click);
    }
    EXPECT_EQ(Income(1).selectedText(), "$100");
}

// A text that is not an amount never replaces the field's amount: the field puts its last
// amount back, the message beside the fields (and the field's description) says why, and
// neither the settings nor the sheet ever see the text.
TEST_F(CategoryEditorWindowTest, RefusedIncomeKeepsTheLastAmountAndSaysWhy) {
    const ScopedDefaultLocale english(QLocale(QLocale::English, QLocale::UnitedStates));
    Ini().setValue("Quillmere/3 Income", "-2720");  // a text stored by an earlier version
    Start();
    ShowActive();
    QLabel& message = *form->findChild<QLabel*>(QStringLiteral("IncomeMessage"));
    EXPECT_EQ(Income(3).text(), "$0");
    EXPECT_EQ(message.text(),
              "Actual income: the saved \"-2720\" is not an amount, so the box "
              "shows $0.");
    Income(0).setText(QStringLiteral("1,234.56"));
    Income(1).setFocus(Qt::TabFocusReason);
    EXPECT_EQ(Income(0).text(), "$1,234.56");

    for (const char* typed : {"-200", "1e308", "12 dollars", "1234567890123"}) {
        SCOPED_TRACE(typed);
        Income(0).setFocus(Qt::BacktabFocusReason);
        Income(0).setText(QLatin1String(typed));
        Income(1).setFocus(Qt::TabFocusReason);
        EXPECT_EQ(QApplication::focusWidget(), &Income(1));  // the move is not refused
        EXPECT_EQ(Income(0).text(), "$1,234.56");
        EXPECT_TRUE(message.text().startsWith("Projected income: "))
            << message.text().toStdString();
        EXPECT_TRUE(message.text().endsWith("The box keeps $1,234.56."))
            << message.text().toStdString();
        EXPECT_EQ(Income(0).accessibleDescription(), message.text());
        EXPECT_EQ(QAccessible::queryAccessibleInterface(&message)->text(QAccessible::Name),
                  message.text());
    }
    EXPECT_TRUE(message.text().contains("at most 12 digits")) << message.text().toStdString();

    // A refused text still in a field when the window closes is not stored either.
    Income(2).setText(QStringLiteral("-5"));
    Restart();
    QSettings ini = Ini();
    EXPECT_EQ(ini.value("Quillmere/0 Income").toString(), "$1234.56");
    EXPECT_EQ(ini.value("Quillmere/2 Extra income").toString(), "$100");

    // A good amount clears the message.
    ShowActive();
    QLabel& next = *form->findChild<QLabel*>(QStringLiteral("IncomeMessage"));
    Income(3).setFocus(Qt::TabFocusReason);
    Income(3).setText(QStringLiteral("abc"));
    Income(2).setFocus(Qt::TabFocusReason);
    EXPECT_TRUE(next.text().contains("Letters")) << next.text().toStdString();
    Income(3).setFocus(Qt::BacktabFocusReason);
    Income(3).setText(QStringLiteral("2,800"));
    Income(2).setFocus(Qt::TabFocusReason);
    EXPECT_EQ(Income(3).text(), "$2,800");
    EXPECT_EQ(next.text(), "");
    EXPECT_EQ(Income(3).accessibleDescription(), "");
}

TEST_F(CategoryEditorWindowTest, TabOrderRunsThroughTheIncomesTheTreeAndTheCommands) {
    // A locale that prints on Letter: the paper is a choice.
    const ScopedDefaultLocale english(QLocale(QLocale::English, QLocale::UnitedStates));
    Start();
    QStringList order;
    QWidget* widget = &Income(1);
    for (int guard = 0; order.size() < 15 && guard < 200; ++guard) {
        if ((widget->focusPolicy() & Qt::TabFocus) && !widget->objectName().isEmpty())
            order << widget->objectName();
        widget = widget->nextInFocusChain();
    }
    EXPECT_EQ(order, QStringList({"Text1_1", "Text1_3", "Text1_2", "CurrencyChoice", "PaperChoice",
                                  "TreeView1", "PushButton22", "PushButton2", "PushButton3",
                                  "PushButton1", "PushButton4", "PushButton6", "UndoButton",
                                  "RedoButton", "ImportButton"}));
}

// Edits a node's label in place and ends the edit with `key` (Enter commits, Escape drops).
void EditLabel(QTreeWidget& tree, QTreeWidgetItem* item, const QString& text, Qt::Key key) {
    tree.editItem(item);
    auto* editor = tree.viewport()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    editor->setText(text);
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(editor, &press);
    QApplication::processEvents();  // Enter commits through a queued call
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

TEST_F(CategoryEditorWindowTest,
       InPlaceEditStoresTheNameDropsTheToolTipAndAbandonedEditsKeepTheName) {
    Start();
    ShowActive();
    EXPECT_EQ(Tree().toolTip(), "Left-click and hold left mouse buttom to edit");
    EditLabel(Tree(), Node("HOUSING"), QStringLiteral("HOME"), Qt::Key_Return);
    EXPECT_EQ(RowTextOf("1_"), "HOME");
    EXPECT_EQ(Tree().topLevelItem(0)->text(0), "HOME");
    EXPECT_TRUE(Tree().toolTip().isEmpty());

    EditLabel(Tree(), Node("TAXES"), QStringLiteral("LEVIES"), Qt::Key_Escape);
    EXPECT_EQ(RowTextOf("60_"), "TAXES");
    EXPECT_NE(Node("TAXES"), nullptr);
}

TEST_F(CategoryEditorWindowTest, RenameAfterAnInPlaceEditOffersTheNewName) {
    Start();
    ShowActive();
    Select(QStringLiteral("TRANSPORTATION"));
    QKeyEvent f2(QEvent::KeyPress, Qt::Key_F2, Qt::NoModifier);
    QApplication::sendEvent(&Tree(), &f2);
    auto* editor = Tree().viewport()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    editor->setText(QStringLiteral("TRAVEL"));
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(editor, &enter);
    QApplication::processEvents();
    EXPECT_EQ(RowTextOf("12_"), "TRAVEL");
    EXPECT_EQ(state.SelectedRowText, "TRAVEL");

    Click("PushButton4");  // cancelled
    EXPECT_EQ(prompt.lastOffered, "TRAVEL");
}

TEST_F(CategoryEditorWindowTest, GenerationKeepsTheHourglassOverButtonsAndEndsWithTheArrow) {
    Start();
    QWidget& button = *form->findChild<QPushButton*>(QStringLiteral("PushButton2"));
    std::vector<PointerShape> pointers;
    prompt.onError = [&] {
        MoveMouseOver(button);
        pointers.push_back(form->MousePointerValue());
    };
    provider.missing = true;  // every step of the driver fails and is reported
    Click("PushButton22");
    ASSERT_FALSE(pointers.empty());
    EXPECT_EQ(pointers.front(), PointerShape::Hourglass);
    EXPECT_EQ(form->MousePointerValue(), PointerShape::Arrow);
    EXPECT_TRUE(form->updatesEnabled());
    MoveMouseOver(button);
    EXPECT_EQ(form->MousePointerValue(), PointerShape::Hand);
}

TEST_F(CategoryEditorWindowTest, FirstStartClosingWritesTheWholeState) {
    Start();
    ASSERT_TRUE(loaded);
    form->close();
    EXPECT_EQ(ends, 1);
    QSettings ini = Ini();
    ini.beginGroup(QStringLiteral("Quillmere"));
    EXPECT_EQ(ini.allKeys().size(), 315);
    EXPECT_EQ(ini.value("0 Income").toString(), "$3000");
    EXPECT_EQ(ini.value("Field4_77").toString(), "LEGAL\\Other");
    EXPECT_EQ(ini.value("System Value - Saved").toString(), "True");
}

TEST_F(CategoryEditorWindowTest, StartWithoutEngineShowsTheMessageAndWritesNothing) {
    provider.missing = true;
    Start();
    EXPECT_FALSE(loaded);
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(prompt.Notices(), std::vector<QString>({bridge::NotInstalledMessage()}));
    form->close();
    EXPECT_FALSE(QFile::exists(config.IniPath()));
}

TEST_F(CategoryEditorWindowTest, UnreadableStoreIsReportedOnceAndStartUpGoesOn) {
    {
        QSettings ini = Ini();
        ini.setValue("Quillmere/System Value - Saved", "True");
        ini.setValue("Quillmere/System Value - Rows", "many");
    }
    Start();
    EXPECT_TRUE(loaded);
    ASSERT_EQ(prompt.Errors().size(), 1u);
    EXPECT_TRUE(prompt.Errors()[0].contains("Form1.Form_Load at line 110"));
    EXPECT_EQ(Tree().topLevelItemCount(), 12);
    EXPECT_EQ(Income(3).text(), "$2720");
    EXPECT_TRUE(form->updatesEnabled());
}

TEST_F(CategoryEditorWindowTest, TheLastGroupStaysInTheListAndInTheTree) {
    Start();
    while (Tree().topLevelItemCount() > 1) {
        Tree().setCurrentItem(Tree().topLevelItem(0));
        prompt.yesNo = {true};
        Click("PushButton1");
    }
    ASSERT_EQ(state.categories.size(), 5u);  // LEGAL and its four rows
    prompt.shown.clear();
    Tree().setCurrentItem(Tree().topLevelItem(0));
    prompt.yesNo = {true};
    Click("PushButton1");
    EXPECT_EQ(Tree().topLevelItemCount(), 1);
    EXPECT_EQ(state.categories.size(), 5u);
    ASSERT_EQ(prompt.Notices().size(), 1u);
    EXPECT_EQ(prompt.Notices()[0], "The list must keep at least one row, so this row stays.");
    EXPECT_TRUE(prompt.Errors().empty());
}

TEST_F(CategoryEditorWindowTest, PreviewBackShowsTheEditorAndClosingThePreviewSavesTheEdits) {
    Start();
    ShowActive();
    Select(QStringLiteral("HOUSING"));
    prompt.yesNo = {true};
    Click("PushButton1");

    // The hand-over as the report driver makes it.
    QImage picture(40, 30, QImage::Format_RGB32);
    picture.fill(Qt::gray);
    form->LoadPicture(picture);
    SheetPreviewWindow& preview = *form->Preview();
    int previewEnds = 0;
    preview.SetEndProgram([&] { ++previewEnds; });
    form->SetWorkbookPath(temp.Path() + QStringLiteral("/wimbur11111111.xls"));
    form->ShowPreview();
    form->HideMainWindow();
    EXPECT_FALSE(form->isVisible());

    emit preview.backRequested();
    EXPECT_TRUE(form->isVisible());

    form->HideMainWindow();
    preview.show();
    preview.close();
    EXPECT_EQ(previewEnds, 1);
    EXPECT_EQ(Ini().value("Quillmere/System Value - Rows").toString(), "66");
    EXPECT_TRUE(prompt.Errors().empty());
}

TEST_F(CategoryEditorWindowTest, StartCreatingTemplateHandsTheSheetToThePreview) {
    Start();
    ShowActive();
    Income(0).setText(QStringLiteral("$4200"));
    Click("PushButton22");
    EXPECT_TRUE(prompt.Errors().empty()) << prompt.Errors()[0].toStdString();
    EXPECT_FALSE(form->isVisible());
    SheetPreviewWindow* preview = form->Preview();
    ASSERT_NE(preview, nullptr);
    EXPECT_TRUE(preview->isVisible());
    EXPECT_FALSE(preview->findChild<PictureBox*>(QStringLiteral("Picture1"))->Picture().isNull());
    EXPECT_TRUE(QFile::exists(preview->WorkbookPath()));
    EXPECT_TRUE(preview->WorkbookPath().startsWith(temp.Path()));
    EXPECT_FALSE(QFile::exists(sheet::PicturePath(temp.Path())));
    EXPECT_EQ(form->MousePointerValue(), PointerShape::Arrow);
    preview->SetEndProgram([] {});
}

}  // namespace
}  // namespace quill::editor
