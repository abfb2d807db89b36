// What assistive technology reads from the windows through Qt's accessibility interfaces,
// and the whole round driven by keys alone: no click on any control.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSettings>
#include <QTest>
#include <QTimer>

#include "editor/EditorFixture.h"
#include "editor/RowNameDialog.h"
#include "editor/TreeAdapter.h"
#include "preview/PictureBox.h"
#include "preview/SheetPreviewWindow.h"

namespace quill::editor {
namespace {

using preview::PictureBox;
using preview::SheetPreviewWindow;

QAccessibleInterface* Accessible(QObject* object) {
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(object);
    if (iface == nullptr) throw Failure("No accessible interface");
    return iface;
}

QString Name(QObject* object) {
    return Accessible(object)->text(QAccessible::Name);
}

QString Description(QObject* object) {
    return Accessible(object)->text(QAccessible::Description);
}

class AccessibilityTest : public test::EditorFixture {
  protected:
    // As with a screen reader attached: Qt then keeps its accessible objects up to date.
    void SetUp() override { QAccessible::setActive(true); }

    void ShowActive() {
        EditorFixture::ShowActive();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }

    template <class T = QWidget>
    static T& Child(QWidget& window, const char* name) {
        T* child = window.findChild<T*>(QLatin1String(name));
        if (child == nullptr) throw Failure(QStringLiteral("No control ") + QLatin1String(name));
        return *child;
    }

    // The tree's accessible row that shows `text` (rows of collapsed groups are not shown).
    QAccessibleInterface* Row(const QString& text) const {
        QApplication::processEvents();  // the tree lays its rows out afresh
        QAccessibleInterface* tree = Accessible(&Tree());
        for (int i = 0; i < tree->childCount(); ++i) {
            QAccessibleInterface* row = tree->child(i);
            if (row->role() == QAccessible::TreeItem && row->text(QAccessible::Name) == text)
                return row;
        }
        QStringList shown;
        for (int i = 0; i < tree->childCount(); ++i)
            shown << tree->child(i)->text(QAccessible::Name);
        throw Failure(QStringLiteral("No shown row ") + text + " in " + shown.join(","));
    }

    void TearDown() override {
        EXPECT_TRUE(prompt.Errors().empty()) << prompt.Errors().front().toStdString();
    }
};

TEST_F(AccessibilityTest, MainWindowAndItsControlsHaveRolesAndNamesOfTheirOwn) {
    Start();
    ShowActive();
    QAccessibleInterface* window = Accessible(form.get());
    EXPECT_EQ(window->role(), QAccessible::Window);
    EXPECT_EQ(window->text(QAccessible::Name), "Quillmere budget editor");
    EXPECT_EQ(form->windowTitle(), "Quillmere");

    const char* incomeNames[] = {"Projected income", "Projected extra income",
                                 "Actual extra income", "Actual income"};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(Name(&Income(i)), incomeNames[i]);
        EXPECT_EQ(Accessible(&Income(i))->role(), QAccessible::EditableText);
        // The caption is tied to its box.
        EXPECT_EQ(Child<QLabel>(*form, QStringLiteral("Label4_%1").arg(i).toLatin1()).buddy(),
                  &Income(i));
    }

    QAccessibleInterface* tree = Accessible(&Tree());
    EXPECT_EQ(tree->role(), QAccessible::Tree);
    EXPECT_EQ(tree->text(QAccessible::Name), "Personal budget data");
    EXPECT_TRUE(tree->text(QAccessible::Description).contains("F2"));
    EXPECT_EQ(tree->child(0)->role(), QAccessible::ColumnHeader);
    EXPECT_EQ(tree->child(0)->text(QAccessible::Name), "Category");

    // The keys show in the tool tips, which assistive technology reads as descriptions.
    EXPECT_EQ(Description(&Child(*form, "PushButton2")), "Insert Below (Insert)");
    EXPECT_TRUE(Description(&Child(*form, "PushButton1")).contains("Delete"));
    EXPECT_TRUE(Description(&Child(*form, "PushButton4")).contains("F2"));
    // The captions and the tab order stay as they were.
    EXPECT_EQ(Name(&Child(*form, "PushButton2")), "Insert Below");
    EXPECT_EQ(Income(1).nextInFocusChain(), &Income(3));
}

TEST_F(AccessibilityTest, TreeRowsTellGroupOrRowAndGroupsTheirState) {
    Start();
    ShowActive();
    QAccessibleInterface* housing = Row(QStringLiteral("HOUSING"));
    EXPECT_EQ(housing->role(), QAccessible::TreeItem);
    EXPECT_EQ(housing->text(QAccessible::Description), "Group of 10 rows, collapsed");
    EXPECT_TRUE(housing->state().expandable);
    EXPECT_FALSE(housing->state().expanded);

    Node(QStringLiteral("HOUSING"))->setExpanded(true);
    housing = Row(QStringLiteral("HOUSING"));
    EXPECT_EQ(housing->text(QAccessible::Description), "Group of 10 rows, expanded");
    EXPECT_TRUE(housing->state().expanded);
    EXPECT_EQ(Row(QStringLiteral("Phone"))->text(QAccessible::Description),
              "Row 2 of 10 in group HOUSING");

    // The descriptions follow renames and deletions.
    Node(QStringLiteral("HOUSING"))->setText(0, QStringLiteral("HOME"));
    Select(QStringLiteral("Phone"));
    prompt.yesNo = {true};
    Click("PushButton1");
    EXPECT_EQ(Row(QStringLiteral("HOME"))->text(QAccessible::Description),
              "Group of 9 rows, expanded");
    EXPECT_EQ(Row(QStringLiteral("Electricity"))->text(QAccessible::Description),
              "Row 2 of 9 in group HOME");
}

TEST_F(AccessibilityTest, ToggleActionOnARowOfAnOpenGroupSelectsThatRow) {
    Start();
    ShowActive();
    // Two open groups, so that a row's place in its group differs from its place in the
    // tree; Qt's row-wise selection would take the fifth shown row ("Gas") here.
    Node(QStringLiteral("HOUSING"))->setExpanded(true);
    Node(QStringLiteral("TRANSPORTATION"))->setExpanded(true);
    QAccessibleInterface* fuel = Row(QStringLiteral("Fuel"));
    ASSERT_NE(fuel->actionInterface(), nullptr);
    fuel->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());

    const QList<QTreeWidgetItem*> selected = Tree().selectedItems();
    ASSERT_EQ(selected.size(), 1);
    EXPECT_EQ(selected.first()->text(0), "Fuel");
    EXPECT_TRUE(Row(QStringLiteral("Fuel"))->state().selected);
    // The keyboard and the commands continue from there.
    EXPECT_EQ(Tree().currentItem(), selected.first());
    EXPECT_EQ(state.SelectedRowText, "Fuel");
}

TEST_F(AccessibilityTest, InPlaceEditorIsAnEditableTextNamedForTheRow) {
    Start();
    ShowActive();
    Select(QStringLiteral("HOUSING"));
    Tree().setFocus();
    QTest::keyClick(&Tree(), Qt::Key_F2);
    auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    ASSERT_NE(editor, nullptr);
    QAccessibleInterface* iface = Accessible(editor);
    EXPECT_EQ(iface->role(), QAccessible::EditableText);
    EXPECT_EQ(iface->text(QAccessible::Name), "Rename HOUSING");
    EXPECT_TRUE(iface->state().focused);
    QTest::keyClick(editor, Qt::Key_Escape);
}

TEST_F(AccessibilityTest, RowNameDialogNamesItsTextBox) {
    QString name;
    RowNameDialog dialog(prompt, name);
    QLineEdit& box = Child<QLineEdit>(dialog, "Text1_0");
    EXPECT_EQ(Name(&box), "Name of the new row");
    EXPECT_EQ(Child<QLabel>(dialog, "Label4_0").buddy(), &box);
    EXPECT_EQ(Accessible(&dialog)->role(), QAccessible::Dialog);
}

TEST_F(AccessibilityTest, PreviewPictureCarriesTheKeyFiguresAndTheZoom) {
    Start();
    ShowActive();
    SheetPreviewWindow& preview = Generate();
    QAccessibleInterface* window = Accessible(&preview);
    EXPECT_EQ(window->role(), QAccessible::Window);
    EXPECT_EQ(window->text(QAccessible::Name), "Quillmere sheet preview");
    EXPECT_NE(window->text(QAccessible::Name), Name(form.get()));

    QWidget& picture = Child(preview, "Picture2");
    QAccessibleInterface* image = Accessible(&picture);
    EXPECT_EQ(image->role(), QAccessible::Graphic);
    EXPECT_EQ(image->text(QAccessible::Name), "Budget sheet picture");
    EXPECT_EQ(image->childCount(), 0);
    EXPECT_TRUE(image->state().focusable);
    EXPECT_EQ(image->text(QAccessible::Description),
              "Zoom 100%. Projected balance $3,100, actual balance $2,820, difference -$280, "
              "total projected cost $0, total actual cost $0.");
    Child<QPushButton>(preview, "PushButton2").click();
    EXPECT_TRUE(image->text(QAccessible::Description).startsWith("Zoom 75%. Projected"));
    Child<QPushButton>(preview, "PushButton2").click();
    Child<QPushButton>(preview, "PushButton1").click();
    Child<QPushButton>(preview, "PushButton1").click();
    EXPECT_TRUE(image->text(QAccessible::Description).startsWith("Zoom 100%."));
    // At the end of the range Zoom In is disabled and the zoom stays where it was.
    Child<QPushButton>(preview, "PushButton1").click();
    Child<QPushButton>(preview, "PushButton1").click();
    EXPECT_FALSE(Child<QPushButton>(preview, "PushButton1").isEnabled());
    Child<QPushButton>(preview, "PushButton1").click();
    EXPECT_FLOAT_EQ(preview.Model().ZoomFactor(), 1.5f);
    EXPECT_TRUE(image->text(QAccessible::Description).startsWith("Zoom 150%. Projected"));

    for (const char* bar : {"HScroll1", "VScroll1"}) {
        QAccessibleInterface* iface = Accessible(&Child(preview, bar));
        EXPECT_EQ(iface->role(), QAccessible::ScrollBar);
        EXPECT_TRUE(iface->text(QAccessible::Name).contains("position of the picture"));
        EXPECT_NE(Child(preview, bar).focusPolicy(), Qt::NoFocus);
    }
    EXPECT_EQ(Description(&Child(preview, "PushButton1")), "Zoom In (Ctrl++)");
    EXPECT_EQ(Description(&Child(preview, "PushButton8")), "< Back (Escape, Alt+Left or Ctrl+W)");
    EXPECT_EQ(Description(&Child(preview, "PushButton6")), "Save Results To Excel File (Ctrl+S)");
}

// Each preview command answers its Alt letter; the "&" that marks it stays out of the
// caption a reader hears. "< Back" comes last: it hides the preview.
TEST_F(AccessibilityTest, PreviewCommandsAnswerTheirAltLettersUnderTheirOwnNames) {
    Start();
    ShowActive();
    SheetPreviewWindow& preview = Generate();
    preview.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&preview));
    struct Case {
        Qt::Key letter;
        const char* button;
        const char* name;
    };
    for (const Case& c :
         {Case{Qt::Key_I, "PushButton1", "Zoom In"}, Case{Qt::Key_O, "PushButton2", "Zoom Out"},
          Case{Qt::Key_S, "PushButton6", "Save Results To Excel File"},
          Case{Qt::Key_B, "PushButton8", "< Back"}}) {
        SCOPED_TRACE(c.name);
        auto& button = Child<QPushButton>(preview, c.button);
        EXPECT_EQ(Name(&button), c.name);
        EXPECT_EQ(QString(button.text()).remove(QLatin1Char('&')), c.name);
        int pressed = 0;
        const QMetaObject::Connection counted =
            QObject::connect(&button, &QPushButton::clicked, [&pressed] { ++pressed; });
        QTest::keyClick(QApplication::focusWidget(), c.letter, Qt::AltModifier);
        // A mnemonic presses its button visibly: the click follows a moment later.
        EXPECT_TRUE(QTest::qWaitFor([&pressed] { return pressed > 0; }, 2000));
        QObject::disconnect(counted);
        EXPECT_EQ(pressed, 1);
    }
    EXPECT_FLOAT_EQ(preview.Model().ZoomFactor(), 1.0f);  // in, then out again
    ASSERT_FALSE(prompt.shown.empty());
    EXPECT_EQ(prompt.shown.back().kind, test::Shown::Save);  // cancelled: nothing reported
    EXPECT_FALSE(preview.isVisible());
    EXPECT_TRUE(form->isVisible());
}

// Keys only, from the first income box to the closed program.
TEST_F(AccessibilityTest, KeyboardAloneInsertsRenamesGeneratesZoomsPansAndGoesBack) {
    Start();
    form->SetRowNameDialog([this](QString& newRowName) {
        // The real dialog, answered by keys once its modal loop runs.
        RowNameDialog dialog(prompt, newRowName, form.get());
        QTimer::singleShot(0, &dialog, [&dialog] {
            QWidget* box = dialog.focusWidget();
            QTest::keyClicks(box, QStringLiteral("Toys"));
            QTest::keyClick(box, Qt::Key_Return);
        });
        dialog.exec();
    });
    ShowActive();
    const auto key = [](int code, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(QApplication::focusWidget(), static_cast<Qt::Key>(code), modifiers);
    };
    ASSERT_EQ(QApplication::focusWidget(), &Income(0));

    // Tab through the four income boxes and the choices under them to the tree; Down onto
    // the first row of HOUSING.
    for (int i = 0; i < 4; ++i) key(Qt::Key_Tab);
    while (qobject_cast<QComboBox*>(QApplication::focusWidget()) != nullptr) key(Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), &Tree());
    key(Qt::Key_Right);  // opens HOUSING
    key(Qt::Key_Down);
    ASSERT_EQ(Tree().currentItem()->text(0), "Mortgage or rent");

    // Insert: the row-name dialog; the new row follows the selected one.
    key(Qt::Key_Insert);
    // The window manager gives the activation back when the dialog closes.
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    QTreeWidgetItem* toys = Node(QStringLiteral("Toys"));
    ASSERT_NE(toys, nullptr);
    EXPECT_EQ(Children(Node(QStringLiteral("HOUSING"))).at(1), "Toys");
    EXPECT_EQ(Tree().currentItem(), toys);
    ASSERT_EQ(QApplication::focusWidget(), &Tree());

    // F2 renames it in place.
    key(Qt::Key_F2);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("Games"));
    key(Qt::Key_Return);
    QApplication::processEvents();  // the tree commits the edit after the key's handling
    EXPECT_EQ(toys->text(0), "Games");
    EXPECT_EQ(RowTextOf(TreeAdapter::KeyOf(*toys)), "Games");

    // Delete in the tree asks about the selected row; No keeps it.
    key(Qt::Key_Delete);
    EXPECT_EQ(prompt.Questions().size(), 1u);
    EXPECT_NE(Node(QStringLiteral("Games")), nullptr);

    // Tab to "Start Creating Template" and Enter.
    key(Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), &Child(*form, "PushButton22"));
    key(Qt::Key_Return);
    SheetPreviewWindow* preview = &TakePreview();
    ASSERT_TRUE(preview->isVisible());
    ASSERT_TRUE(QTest::qWaitForWindowActive(preview));

    // Ctrl+- and Ctrl++ zoom; Ctrl+= is Ctrl++ typed without Shift.
    Child(*preview, "PushButton2").setFocus();
    key(Qt::Key_Minus, Qt::ControlModifier);
    key(Qt::Key_Minus, Qt::ControlModifier);
    EXPECT_FLOAT_EQ(preview->Model().ZoomFactor(), 0.5f);
    key(Qt::Key_Plus, Qt::ControlModifier);
    EXPECT_FLOAT_EQ(preview->Model().ZoomFactor(), 0.75f);
    key(Qt::Key_Equal, Qt::ControlModifier);
    EXPECT_FLOAT_EQ(preview->Model().ZoomFactor(), 1.0f);
    // Enter on the focused "Zoom Out" presses it.
    key(Qt::Key_Return);
    EXPECT_FLOAT_EQ(preview->Model().ZoomFactor(), 0.75f);

    // The picture takes the focus after the zoom buttons; there the keys pan it.
    key(Qt::Key_Tab);
    QWidget& picture = Child(*preview, "Picture2");
    ASSERT_EQ(QApplication::focusWidget(), &picture);
    // Its border shows where the focus is.
    EXPECT_EQ(picture.palette().color(QPalette::WindowText),
              picture.palette().color(QPalette::Highlight));
    QWidget& image = Child(*preview, "Picture1");
    ASSERT_TRUE(preview->Model().VScroll().enabled);
    key(Qt::Key_Down);
    EXPECT_EQ(image.y(), -20);
    key(Qt::Key_PageDown);
    EXPECT_LT(image.y(), -400);
    key(Qt::Key_End);
    EXPECT_EQ(preview->Model().VScroll().value, preview->Model().VScroll().max);
    EXPECT_EQ(preview->Model().HScroll().value, preview->Model().HScroll().max);
    key(Qt::Key_Home);
    EXPECT_EQ(image.pos(), QPoint(0, 0));
    EXPECT_EQ(Child<QScrollBar>(*preview, "VScroll1").value(), 0);
    key(Qt::Key_Up);  // already at the top
    EXPECT_EQ(image.pos(), QPoint(0, 0));

    // Ctrl+S opens the save dialog (cancelled here, so nothing is reported), Escape goes back.
    const size_t shownBeforeSave = prompt.shown.size();
    key(Qt::Key_S, Qt::ControlModifier);
    ASSERT_EQ(prompt.shown.size(), shownBeforeSave + 1);
    EXPECT_EQ(prompt.shown.back().kind, test::Shown::Save);
    key(Qt::Key_Escape);
    EXPECT_FALSE(preview->isVisible());
    EXPECT_TRUE(form->isVisible());

    // Again from the focused "Start Creating Template"; Alt+Left goes back as well.
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    ASSERT_EQ(QApplication::focusWidget(), &Child(*form, "PushButton22"));
    key(Qt::Key_Return);
    ASSERT_TRUE(QTest::qWaitForWindowActive(preview));
    key(Qt::Key_Left, Qt::AltModifier);
    EXPECT_FALSE(preview->isVisible());
    EXPECT_TRUE(form->isVisible());

    // Closing the main window stores the renamed row.
    form->close();
    EXPECT_EQ(ends, 1);
    bool stored = false;
    QSettings ini = Ini();
    for (const QString& key : ini.allKeys())
        stored = stored || ini.value(key).toString() == QStringLiteral("Games");
    EXPECT_TRUE(stored);
    EXPECT_EQ(previewEnds, 0);
}

}  // namespace
}  // namespace quill::editor
