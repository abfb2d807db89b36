#include <gtest/gtest.h>

#include <vector>

#include "shell/ErrorTrap.h"
#include "shell/Failure.h"
#include "support/RecordingPrompt.h"

namespace quill {
namespace {

TEST(ErrorTrap, ReportsTheFailingLineAndGoesOnWithTheNextStep) {
    test::RecordingPrompt prompt;
    Trace trace(prompt, QStringLiteral("Form3.RedrawImage"));
    std::vector<int> ran;
    trace.Step(100, [&] { ran.push_back(1); });
    trace.Step(102, [&] { ran.push_back(2); });
    trace.Step(104, [&] { throw Failure("Division by zero"); });
    trace.Step(106, [&] { ran.push_back(4); });

    EXPECT_EQ(ran, (std::vector<int>{1, 2, 4}));
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_EQ(prompt.shown[0].title, QStringLiteral("Application Error"));
    EXPECT_EQ(prompt.shown[0].text,
              QStringLiteral("Division by zero\r\nin Fenbrook2021/08/31.Form3.RedrawImage at line "
                             "104\r\rPlease email screenshot of this message to "
                             "support@quillmere.example"));
}

TEST(ErrorTrap, EveryFailingStepShowsItsOwnBox) {
    test::RecordingPrompt prompt;
    Trace trace(prompt, QStringLiteral("PersonalFinance.GenerateReport0"));
    trace.Step(100, [] { throw std::overflow_error("value too large"); });
    trace.Step(102, [] { throw 42; });
    trace.Step(104, [] {});
    ASSERT_EQ(prompt.Errors().size(), 2u);
    EXPECT_TRUE(prompt.Errors()[0].startsWith(QStringLiteral("Overflow: value too large\r\n")));
    EXPECT_TRUE(prompt.Errors()[0].contains(QStringLiteral("GenerateReport0 at line 100\r\r")));
    EXPECT_TRUE(prompt.Errors()[1].contains(QStringLiteral("at line 102")));
    EXPECT_EQ(trace.Line(), 104);
}

}  // namespace
}  // namespace quill
