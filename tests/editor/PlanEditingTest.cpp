// The plan in the window: planned amounts typed in the tree, Undo and Redo of every edit,
// and the categories imported from and exported to CSV.
#include <functional>
#include <optional>
#include <vector>

#include <QComboBox>
#include <QFile>
#include <QKeyEvent>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QUndoStack>

#include "EditorFixture.h"
#include "editor/PlanCommands.h"
#include "editor/TreeAdapter.h"
#include "model/CategoryCsv.h"
#include "model/DefaultCategorySet.h"
#include "support/ScopedSettings.h"

namespace quill::test {
namespace {

using model::Amount;

class PlanEditingTest : public EditorFixture {
  protected:
    struct Snapshot {
        CategoryTable table;
        std::vector<QString> incomes;
        QStringList shown;  // every node's text and planned text, depth first
        friend bool operator==(const Snapshot&, const Snapshot&) = default;
    };

    Snapshot Now() const {
        Snapshot now{state.categories, {}, {}};
        for (int i = 0; i < 4; ++i) now.incomes.push_back(Income(i).text());
        const std::function<void(QTreeWidgetItem*)> walk = [&](QTreeWidgetItem* node) {
            for (int i = 0; i < node->childCount(); ++i) {
                now.shown << node->child(i)->text(0) + '|' + node->child(i)->text(1);
                walk(node->child(i));
            }
        };
        walk(Tree().invisibleRootItem());
        return now;
    }

    // Edits a cell of the tree in place and ends the edit with `key`.
    void EditCell(const QString& node, int column, const QString& text,
                  Qt::Key key = Qt::Key_Return) {
        Tree().editItem(Node(node), column);
        auto* editor = Tree().viewport()->findChild<QLineEdit*>();
        ASSERT_NE(editor, nullptr) << node.toStdString();
        editor->setText(text);
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(editor, &press);
        QApplication::processEvents();  // Enter commits through a queued call
        QApplication::processEvents();  // which may queue a notice
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    std::optional<Amount> PlannedOf(const QString& name) const {
        for (const CategoryRow& row : state.categories)
            if (row.RowText == name) return row.Planned;
        return std::nullopt;
    }

    editor::PlanCommands& Commands() const { return form->PlanCommandRow(); }
    QString SelectedText() const {
        return Tree().currentItem() ? Tree().currentItem()->text(0) : QString();
    }
};

TEST_F(PlanEditingTest, PlannedAmountsAreTypedInPlaceGroupsShowTheirSumAndRefusalsKeepTheAmount) {
    const ScopedDefaultLocale english(QLocale(QLocale::English, QLocale::UnitedStates));
    Start();
    ShowActive();
    EXPECT_EQ(Tree().headerItem()->text(1), "Planned");

    EditCell("Mortgage or rent", 1, "1,200.50");
    EditCell("Phone", 1, "$45");
    EXPECT_EQ(PlannedOf("Mortgage or rent"), Amount::FromCents(120050));
    EXPECT_EQ(Node("Mortgage or rent")->text(1), "$1,200.50");
    EXPECT_EQ(Node("HOUSING")->text(1), "$1,245.50");
    EXPECT_EQ(Node("TRANSPORTATION")->text(1), "");  // nothing planned there

    // Refused text: the amount stays, and the user is told why once the editor closed.
    EditCell("Phone", 1, "12abc");
    EXPECT_EQ(PlannedOf("Phone"), Amount::FromCents(4500));
    EXPECT_EQ(Node("Phone")->text(1), "$45");
    ASSERT_EQ(prompt.Notices().size(), 1u);
    EXPECT_TRUE(prompt.Notices()[0].contains("Letters such as \"a\"")) << prompt.Notices()[0];
    EXPECT_TRUE(prompt.Notices()[0].contains("stays $45")) << prompt.Notices()[0];

    // Escape drops the edit; an empty text means not planned; a group's cell takes no edit.
    EditCell("Phone", 1, "99", Qt::Key_Escape);
    EXPECT_EQ(PlannedOf("Phone"), Amount::FromCents(4500));
    EditCell("Phone", 1, "");
    EXPECT_EQ(PlannedOf("Phone"), std::nullopt);
    EXPECT_EQ(Node("HOUSING")->text(1), "$1,200.50");
    Tree().editItem(Node("HOUSING"), 1);
    EXPECT_EQ(Tree().viewport()->findChild<QLineEdit*>(), nullptr);

    // Stored at close and shown again at the next start.
    Restart();
    EXPECT_EQ(PlannedOf("Mortgage or rent"), Amount::FromCents(120050));
    EXPECT_EQ(Node("HOUSING")->text(1), "$1,200.50");
}

// Every edit is one undoable step that puts back exactly what was there, selects the row it
// changed, and redoes to the same state; a deleted group comes back with its keys, amounts
// and place also after an insert elsewhere.
TEST_F(PlanEditingTest, EveryEditUndoesAndRedoesExactly) {
    const ScopedDefaultLocale english(QLocale(QLocale::English, QLocale::UnitedStates));
    Start();
    ShowActive();
    EXPECT_FALSE(Commands().UndoButton().isEnabled());
    EditCell("Fuel", 1, "80");  // TRANSPORTATION's amounts come back with the group
    EXPECT_TRUE(Commands().UndoButton().isEnabled());
    form->UndoStack().clear();  // the history below starts here
    EXPECT_FALSE(Commands().UndoButton().isEnabled());
    EXPECT_FALSE(Commands().RedoButton().isEnabled());

    QTemporaryDir dir;
    const QString csv = dir.filePath("plan.csv");
    {
        QFile file(csv);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("Group,Category,Planned\nHOME,,\nHOME,Rent,900\n");
    }

    const struct {
        const char* name;
        std::function<void()> edit;
        const char* selectedAfterUndo;
    } edits[] = {
        {"planned amount", [&] { EditCell("Phone", 1, "45"); }, "Phone"},
        {"insert",
         [&] {
             Select("Phone");
             nextRowName = "Internet";
             Click("PushButton2");
         },
         "Phone"},
        {"delete a group",
         [&] {
             Select("TRANSPORTATION");
             prompt.yesNo.push_back(true);
             Click("PushButton1");
         },
         "TRANSPORTATION"},
        {"rename in the dialog",
         [&] {
             Select("Gas");
             prompt.inputs.push_back("Heating gas");
             prompt.yesNo.push_back(true);
             Click("PushButton4");
         },
         "Gas"},
        {"rename in place", [&] { EditCell("Water and sewer", 0, "Water"); }, "Water and sewer"},
        {"income",
         [&] {
             Income(0).setFocus(Qt::TabFocusReason);
             Income(0).setText("4,100");
             Income(1).setFocus(Qt::TabFocusReason);
         },
         nullptr},
        {"restore default",
         [&] {
             prompt.yesNo.push_back(true);
             Click("PushButton3");
         },
         nullptr},
        {"import",
         [&] {
             prompt.openNames.push_back(csv);
             Commands().ImportButton().click();
         },
         nullptr},
    };
    // Each edit is made on top of the ones before; undo steps back one at a time.
    std::vector<Snapshot> states = {Now()};
    for (const auto& e : edits) {
        SCOPED_TRACE(e.name);
        e.edit();
        states.push_back(Now());
        EXPECT_NE(states.back(), states[states.size() - 2]);
        EXPECT_TRUE(Commands().UndoButton().isEnabled());
        Commands().UndoButton().click();
        EXPECT_EQ(Now(), states[states.size() - 2]);
        if (e.selectedAfterUndo) {
            EXPECT_EQ(SelectedText(), e.selectedAfterUndo);
        }
        EXPECT_TRUE(Commands().RedoButton().isEnabled());
        Commands().RedoButton().click();
        EXPECT_EQ(Now(), states.back());
        EXPECT_FALSE(Commands().RedoButton().isEnabled());
    }
    EXPECT_EQ(state.categories,
              model::ReadCategoryCsv("Group,Category,Planned\nHOME,,\nHOME,Rent,900\n"));

    // All the way back, then forward again: every state in turn.
    for (std::size_t i = states.size() - 1; i > 0; --i) {
        form->UndoStack().undo();
        EXPECT_EQ(Now(), states[i - 1]) << "undo to state " << i - 1;
    }
    EXPECT_FALSE(Commands().UndoButton().isEnabled());
    for (std::size_t i = 1; i < states.size(); ++i) {
        form->UndoStack().redo();
        EXPECT_EQ(Now(), states[i]) << "redo to state " << i;
    }

    // Insert (state 2) then group delete (state 3): undoing the delete brings the group
    // back with its keys, its amount and its place, and keeps the inserted row.
    while (form->UndoStack().index() > 3) form->UndoStack().undo();
    EXPECT_EQ(Now(), states[3]);
    form->UndoStack().undo();
    EXPECT_EQ(Now(), states[2]);
    EXPECT_EQ(PlannedOf("Fuel"), Amount::FromCents(8000));
    EXPECT_EQ(Node("Internet")->parent()->text(0), "HOUSING");
    EXPECT_EQ(Tree().indexOfTopLevelItem(Node("TRANSPORTATION")), 1);
    EXPECT_EQ(SelectedText(), "TRANSPORTATION");

    // Ctrl+Z and Ctrl+Y reach the same history from the tree.
    Tree().setFocus();
    QTest::keyClick(&Tree(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Now(), states[1]);
    QTest::keyClick(&Tree(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(Now(), states[2]);
    QTest::keyClick(&Tree(), Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(&Tree(), Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(Now(), states[2]);
    EXPECT_TRUE(prompt.Errors().empty());
}

TEST_F(PlanEditingTest, ImportRefusesABadFileWholeAndExportWritesWhatImportReads) {
    Start();
    QTemporaryDir dir;
    const QString bad = dir.filePath("bad.csv");
    {
        QFile file(bad);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("Group,Category,Planned\nHOME,,\nHOME,Rent,-5\n");
    }
    const Snapshot before = Now();
    prompt.openNames.push_back(bad);
    Commands().ImportButton().click();
    EXPECT_EQ(Now(), before);
    EXPECT_FALSE(form->UndoStack().canUndo());
    ASSERT_EQ(prompt.Notices().size(), 1u);
    EXPECT_TRUE(prompt.Notices()[0].contains("Line 3: ")) << prompt.Notices()[0];

    state.categories[1].Planned = Amount::FromCents(99);
    const QString out = dir.filePath("out.csv");
    prompt.saveNames.push_back(out);
    Commands().ExportButton().click();
    QFile written(out);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(model::ReadCategoryCsv(written.readAll()), state.categories);
}

// The currency changes how the boxes and the Planned column show amounts, never the amounts:
// one undoable step, stored only when it is not USD, and the stored amounts read the same in
// the next run under another locale. The paper is stored only when it is Letter.
TEST_F(PlanEditingTest, TheCurrencyChangesHowAmountsShowAndIsStoredOnlyWhenNotUsd) {
    std::optional<ScopedDefaultLocale> locale(std::in_place, QLocale(QStringLiteral("de_DE")));
    Start();
    ShowActive();
    const auto choose = [&](const char* name, const char* value) {
        auto& choice = *form->findChild<QComboBox*>(QLatin1String(name));
        const int index = choice.findData(QLatin1String(value));
        ASSERT_GE(index, 0) << value;
        choice.setCurrentIndex(index);
        emit choice.activated(index);
    };
    const auto shown = [](const char* utf8) { return QString::fromUtf8(utf8); };
    EXPECT_EQ(form->findChild<QComboBox*>(QStringLiteral("PaperChoice")), nullptr);  // A4 land

    Income(0).setFocus(Qt::TabFocusReason);
    Income(0).setText(QStringLiteral("1.234,56"));
    Income(1).setFocus(Qt::TabFocusReason);
    EXPECT_EQ(Income(0).text(), shown("1.234,56\u00A0$"));
    EditCell("Mortgage or rent", 1, "1.200");
    EditCell("Phone", 1, "0,5");
    EXPECT_EQ(Node("HOUSING")->text(1), shown("1.200,50\u00A0$"));

    choose("CurrencyChoice", "EUR");
    const Snapshot euros = Now();
    EXPECT_EQ(Income(0).text(), shown("1.234,56\u00A0\u20AC"));
    EXPECT_EQ(Income(3).text(), shown("2.720\u00A0\u20AC"));
    EXPECT_EQ(Node("HOUSING")->text(1), shown("1.200,50\u00A0\u20AC"));
    EXPECT_EQ(Node("Phone")->text(1), shown("0,50\u00A0\u20AC"));
    // Typed in the new currency, the box keeps its amount.
    Income(0).setFocus(Qt::TabFocusReason);
    Income(0).setText(shown("1.234,56 EUR"));
    Income(1).setFocus(Qt::TabFocusReason);
    EXPECT_EQ(Now(), euros);
    form->UndoStack().undo();
    EXPECT_EQ(Income(0).text(), shown("1.234,56\u00A0$"));
    EXPECT_EQ(form->findChild<QComboBox*>(QStringLiteral("CurrencyChoice"))->currentData(), "USD");
    form->UndoStack().redo();
    EXPECT_EQ(Now(), euros);

    // The next run, in English: the same amounts, in euros.
    locale.emplace(QLocale(QStringLiteral("en_US")));
    Restart();
    {
        const QSettings ini = Ini();
        EXPECT_EQ(ini.value("Quillmere/Currency").toString(), "EUR");
        EXPECT_EQ(ini.value("Quillmere/0 Income").toString(), "$1234.56");
        EXPECT_FALSE(ini.contains("Quillmere/Paper"));
    }
    EXPECT_EQ(Income(0).text(), shown("\u20AC1,234.56"));
    EXPECT_EQ(Node("HOUSING")->text(1), shown("\u20AC1,200.50"));
    EXPECT_EQ(PlannedOf("Mortgage or rent"), Amount::FromCents(120000));

    // Back to USD and A4: no key is left. Letter is a choice in a Letter locale.
    choose("PaperChoice", "Letter");
    Restart();
    EXPECT_EQ(Ini().value("Quillmere/Paper").toString(), "Letter");
    EXPECT_EQ(state.paper, Paper::Letter);
    choose("CurrencyChoice", "USD");
    choose("PaperChoice", "A4");
    Restart();
    EXPECT_FALSE(Ini().contains("Quillmere/Currency"));
    EXPECT_FALSE(Ini().contains("Quillmere/Paper"));
    EXPECT_EQ(Income(0).text(), "$1,234.56");

    // A code this version does not know shows dollars.
    Ini().setValue("Quillmere/Currency", "XYZ");
    Start();
    EXPECT_EQ(state.currency.code, "USD");
    EXPECT_EQ(Income(0).text(), "$1,234.56");
}

}  // namespace
}  // namespace quill::test
