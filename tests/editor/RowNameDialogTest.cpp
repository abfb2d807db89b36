#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>

#include "editor/RowNameDialog.h"
#include "shell/CommonServices.h"
#include "support/RecordingPrompt.h"

namespace quill::editor {
namespace {

class RowNameDialogTest : public ::testing::Test {
  protected:
    RowNameDialogTest() { dialog.show(); }
    QLineEdit& NameBox() { return *dialog.findChild<QLineEdit*>(QStringLiteral("Text1_0")); }
    QPushButton& Button(const char* name) {
        return *dialog.findChild<QPushButton*>(QLatin1String(name));
    }

    test::RecordingPrompt prompt;
    QString newRowName;
    RowNameDialog dialog{prompt, newRowName};
};

TEST_F(RowNameDialogTest, OkStoresTheTrimmedName) {
    EXPECT_EQ(dialog.windowTitle(), "Enter new row name");
    EXPECT_EQ(dialog.focusWidget(), &NameBox());
    NameBox().setText(QStringLiteral("   Toys  "));
    Button("PushButton2").click();
    EXPECT_EQ(newRowName, "Toys");
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_FALSE(dialog.isVisible());
}

TEST_F(RowNameDialogTest, BlankNameIsRefusedAndCancelThenLeavesItEmpty) {
    NameBox().setText(QStringLiteral("   "));
    Button("PushButton2").setFocus();
    Button("PushButton2").click();
    ASSERT_EQ(prompt.Notices(), std::vector<QString>({"Please, enter name of the row."}));
    EXPECT_EQ(prompt.shown[0].title, shell::AppTitle());
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.focusWidget(), &NameBox());

    Button("PushButton1").click();
    EXPECT_TRUE(newRowName.isEmpty());
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_FALSE(dialog.isVisible());
}

TEST_F(RowNameDialogTest, CloseBoxWorksLikeCancel) {
    NameBox().setText(QStringLiteral("Toys"));
    dialog.close();
    EXPECT_TRUE(newRowName.isEmpty());
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_TRUE(prompt.shown.empty());
}

}  // namespace
}  // namespace quill::editor
