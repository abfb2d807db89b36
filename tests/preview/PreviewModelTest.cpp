#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <stdexcept>
#include <utility>

#include "preview/PreviewModel.h"
#include "shell/Failure.h"
#include "support/RecordingPrompt.h"

namespace quill::preview {
namespace {

// The default viewport: 9330 × 7425 twips outside, 9300 × 7395 inside.
constexpr std::int32_t kViewportWidth = 9330;
constexpr std::int32_t kViewportHeight = 7425;

class PreviewModelTest : public ::testing::Test {
  protected:
    void SetUp() override {
        model.repaint = [this] { ++repaints; };
        model.showArrow = [this] { ++arrows; };
    }

    // Hands over a picture whose unscaled size is `width` × `height` twips (the holder's
    // inner size less two) and runs the preparation of the activation.
    void Prepare(std::int32_t width, std::int32_t height) {
        model.HandOver({width + 2, height + 2});
        model.CopyPictureToHolder();
        Trace activation(prompt, QStringLiteral("Form3.Form_Activate"));
        model.Prepare(activation);
    }

    void Drag(float fromX, float fromY, float toX, float toY) {
        model.MouseDown(fromX, fromY);
        model.MouseMove(toX, toY);
    }

    void Release() {
        Trace up(prompt, QStringLiteral("Form3.Picture1_MouseUp"));
        model.MouseUp(up);
    }

    void TearDown() override { EXPECT_TRUE(prompt.Errors().empty() || expectErrors); }

    test::RecordingPrompt prompt;
    PreviewModel model{prompt};
    int repaints = 0;
    int arrows = 0;
    bool expectErrors = false;
};

TEST_F(PreviewModelTest, ZoomStepsStayBetweenAQuarterAndOneAndAHalf) {
    Prepare(4000, 3000);
    for (float expected : {0.75f, 0.5f, 0.25f}) {
        model.StepZoom(ZoomDirection::Out);
        EXPECT_EQ(model.ZoomFactor(), expected);
    }
    model.StepZoom(ZoomDirection::Out);  // refused
    EXPECT_EQ(model.ZoomFactor(), 0.25f);
    EXPECT_EQ(model.PictureSize(), (TwipSize{1000, 750}));

    for (float expected : {0.5f, 0.75f, 1.0f, 1.25f, 1.5f}) {
        model.StepZoom(ZoomDirection::In);
        EXPECT_EQ(model.ZoomFactor(), expected);
    }
    model.StepZoom(ZoomDirection::In);  // refused
    EXPECT_EQ(model.ZoomFactor(), 1.5f);
    EXPECT_EQ(model.PictureSize(), (TwipSize{6000, 4500}));
    EXPECT_EQ(repaints, 9);
}

TEST_F(PreviewModelTest, SizeLimitKeepsThePictureAsItIs) {
    // The limit is 16,000 pixels (240,000 twips) a side.
    Prepare(240000, 3000);  // at the limit already at 1.0: stays as handed over
    EXPECT_EQ(repaints, 0);
    EXPECT_EQ(model.PictureSize(), (TwipSize{240002, 3002}));
    EXPECT_FALSE(model.CanStepZoom(ZoomDirection::In));
    model.StepZoom(ZoomDirection::In);
    EXPECT_EQ(model.ZoomFactor(), 1.0f);
    EXPECT_EQ(repaints, 0);
    model.StepZoom(ZoomDirection::Out);  // below the limit: drawn
    EXPECT_EQ(model.PictureSize(), (TwipSize{180000, 2250}));

    Prepare(3000, 240000);
    EXPECT_EQ(repaints, 1);
    Prepare(239999, 239999);
    EXPECT_EQ(repaints, 2);

    // A step over the limit falls back to 1.0 while the picture keeps the previous factor.
    Prepare(180000, 3000);
    model.StepZoom(ZoomDirection::In);
    EXPECT_FALSE(model.CanStepZoom(ZoomDirection::In));
    model.StepZoom(ZoomDirection::In);  // 270000
    EXPECT_EQ(model.ZoomFactor(), 1.0f);
    EXPECT_EQ(model.PictureSize().width, 225000);
    model.StepZoom(ZoomDirection::In);
    EXPECT_EQ(model.ZoomFactor(), 1.25f);
}

// A budget sheet's picture (about 1030 × 1500 pixels) zooms over the whole range from the
// first view, and the ends of the range are known before a step is refused.
TEST_F(PreviewModelTest, TheWholeZoomRangeWorksFromTheFirstView) {
    Prepare(15448, 22498);
    struct Step {
        ZoomDirection direction;
        float zoom;
        bool canIn;
        bool canOut;
    };
    const Step steps[] = {
        {ZoomDirection::In, 1.25f, true, true},   {ZoomDirection::In, 1.5f, false, true},
        {ZoomDirection::In, 1.5f, false, true},   {ZoomDirection::Out, 1.25f, true, true},
        {ZoomDirection::Out, 1.0f, true, true},   {ZoomDirection::Out, 0.75f, true, true},
        {ZoomDirection::Out, 0.5f, true, true},   {ZoomDirection::Out, 0.25f, true, false},
        {ZoomDirection::Out, 0.25f, true, false},
    };
    for (const Step& step : steps) {
        model.StepZoom(step.direction);
        EXPECT_EQ(model.ZoomFactor(), step.zoom);
        EXPECT_EQ(model.PictureSize().width, static_cast<std::int32_t>(15448 * step.zoom));
        EXPECT_EQ(model.CanStepZoom(ZoomDirection::In), step.canIn) << step.zoom;
        EXPECT_EQ(model.CanStepZoom(ZoomDirection::Out), step.canOut) << step.zoom;
    }
    // Fitting the width leaves the steps; the next step goes to the nearest one.
    model.FitWidth();
    EXPECT_LE(model.PictureSize().width, model.ViewportInner().width);
    EXPECT_GE(model.PictureSize().width, model.ViewportInner().width - 1);
    model.StepZoom(ZoomDirection::In);
    EXPECT_EQ(model.ZoomFactor(), 0.75f);
    model.FitWidth();
    model.StepZoom(ZoomDirection::Out);
    EXPECT_EQ(model.ZoomFactor(), 0.5f);
}

// Zooming about a point keeps the picture's point under it (to a bar unit), wherever the
// bars allow; and a resized viewport keeps the part of the picture shown at its corner.
TEST_F(PreviewModelTest, ZoomAboutAPointKeepsThatPointAndResizingKeepsTheCorner) {
    Prepare(15448, 22498);
    model.SetScrollValue(Axis::Horizontal, 300);
    model.SetScrollValue(Axis::Vertical, 700);
    struct Case {
        ZoomDirection direction;
        double x, y;  // in the viewport
    };
    const Case cases[] = {{ZoomDirection::In, 4000, 3000},
                          {ZoomDirection::In, 9000, 7000},
                          {ZoomDirection::Out, 100, 100},
                          {ZoomDirection::Out, 4650, 3700}};
    for (const Case& c : cases) {
        const double before = model.ZoomFactor();
        const double pointX = (c.x - model.PictureLeft()) / before;
        const double pointY = (c.y - model.PictureTop()) / before;
        model.StepZoomAbout(c.direction, c.x, c.y);
        const double after = model.ZoomFactor();
        ASSERT_NE(before, after);
        EXPECT_NEAR(model.PictureLeft() + pointX * after, c.x, 10) << c.x;
        EXPECT_NEAR(model.PictureTop() + pointY * after, c.y, 10) << c.y;
    }

    const double left = model.PictureLeft();
    const double top = model.PictureTop();
    model.SetViewport({6000, 5000});
    EXPECT_EQ(model.ViewportOuter(), (TwipSize{6000, 5000}));
    EXPECT_EQ(model.PictureLeft(), left);
    EXPECT_EQ(model.PictureTop(), top);
    EXPECT_EQ(model.HScroll().max, (model.PictureSize().width - 6000 + 5) / 10);
    // Larger than the picture: no bars, the picture back at the corner.
    model.SetViewport({40000, 40000});
    EXPECT_FALSE(model.HScroll().enabled);
    EXPECT_FALSE(model.VScroll().enabled);
    EXPECT_EQ(model.PictureLeft(), 0);
    EXPECT_EQ(model.PictureTop(), 0);
}

TEST_F(PreviewModelTest, ScrollbarSetUpChoosesStepOneOrTenByTheOverhang) {
    struct Case {
        std::int32_t overhang;
        bool enabled;
        std::int16_t step;
        std::int16_t max;
    };
    const Case cases[] = {
        {-500, false, 0, 0},   {0, false, 0, 0},    {1, true, 1, 1},
        {100, true, 1, 100},   {101, true, 10, 10}, {105, true, 10, 10},  // 10.5: ties to even
        {115, true, 10, 12},                                              // 11.5
        {6118, true, 10, 612},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.overhang);
        PreviewModel m(prompt);
        m.HandOver({kViewportWidth + c.overhang + 2, kViewportHeight + c.overhang + 2});
        m.CopyPictureToHolder();
        Trace activation(prompt, QStringLiteral("Form3.Form_Activate"));
        m.Prepare(activation);
        for (const ScrollBarState& bar : {m.HScroll(), m.VScroll()}) {
            EXPECT_EQ(bar.enabled, c.enabled);
            EXPECT_EQ(bar.step, c.step);
            if (c.enabled) {
                EXPECT_EQ(bar.max, c.max);
            }
            EXPECT_EQ(bar.value, 0);
        }
    }
}

TEST_F(PreviewModelTest, ScrollingMovesByTheFullProductAndStaysInRange) {
    Prepare(4000, 45000);  // overhang 37575: step 10, Max 3758
    ASSERT_EQ(model.VScroll().max, 3758);
    model.SetScrollValue(Axis::Vertical, 3300);
    EXPECT_EQ(model.PictureTop(), -33000);
    model.SetScrollValue(Axis::Vertical, 5000);
    EXPECT_EQ(model.PictureTop(), -37580);
}

TEST_F(PreviewModelTest, DragStopsAtTheCornersAndReleaseSettlesOnTheBarValue) {
    Prepare(15448, 22498);  // bars: step 10, Max 612 and 1507
    Drag(1000, 1000, 5000, 5000);
    EXPECT_EQ(model.PictureLeft(), 0);
    EXPECT_EQ(model.PictureTop(), 0);
    model.MouseMove(-100000, -100000);
    EXPECT_EQ(model.PictureLeft(), 9300 - 15448);
    EXPECT_EQ(model.PictureTop(), 7395 - 22498);
    Release();  // 100.49 and 100.2 percent
    EXPECT_EQ(model.PictureLeft(), -6120);
    EXPECT_EQ(model.PictureTop(), -15070);
}

TEST_F(PreviewModelTest, ReleasePercentagesRoundTiesToEvenAndStayInRange) {
    // H: overhang 200, step 10, Max 20; V: overhang 50, step 1, Max 50.
    Prepare(kViewportWidth + 200, kViewportHeight + 50);
    Drag(100, 0, 75, 0);  // left -25: 12.5 percent is 12, and 2.4 units are 2
    Release();
    EXPECT_EQ(model.HScroll().value, 2);
    EXPECT_EQ(model.PictureLeft(), -20);
    const std::pair<std::int16_t, std::int16_t> byPercent[] = {
        {5, 2}, {9, 4}, {13, 6}, {-1, 6}, {32767, 50}};  // 2.5, 4.5, 6.5 units; negative; Max
    for (auto [percent, value] : byPercent) {
        model.SetVScrollbarByPercent(percent);
        EXPECT_EQ(model.VScroll().value, value) << percent;
    }

    // Dropped against the bordered viewport's far edge: 250 percent, the bar goes to Max.
    Prepare(kViewportWidth + 20, kViewportHeight + 1000);  // H: step 1, Max 20
    Drag(500, 500, 0, 500);
    EXPECT_EQ(model.PictureLeft(), -50);
    Release();
    EXPECT_EQ(model.HScroll().value, 20);
    EXPECT_EQ(model.PictureLeft(), -20);

    // As wide as the viewport: no percentage, the bar and the picture stay.
    Prepare(kViewportWidth, kViewportHeight + 1000);
    model.SetScrollValue(Axis::Vertical, 50);
    Drag(100, 100, 0, 100);
    Release();
    EXPECT_EQ(model.PictureLeft(), -30);
    EXPECT_EQ(model.HScroll().value, 0);
    EXPECT_EQ(model.VScroll().value, 50);  // 500 of 1000 twips
}

TEST_F(PreviewModelTest, NarrowPictureHasNoBarAndLandsAgainstTheFarEdgeWhenDragged) {
    Prepare(5000, 3000);
    EXPECT_FALSE(model.HScroll().enabled);
    EXPECT_EQ(model.HScroll().step, 0);
    EXPECT_FALSE(model.VScroll().enabled);
    Drag(1000, 1000, 900, 1000);
    EXPECT_EQ(model.PictureLeft(), 9300 - 5000);
    EXPECT_EQ(model.PictureTop(), 7395 - 3000);
    Release();  // negative percentages leave bar and picture alone
    EXPECT_EQ(model.HScroll().value, 0);
    EXPECT_EQ(model.PictureLeft(), 9300 - 5000);
    model.MouseMove(1100, 1100);  // would be positive
    EXPECT_EQ(model.PictureLeft(), 0);
}

TEST_F(PreviewModelTest, BarRangeBeyondSixteenBitsIsReportedAndLeavesTheBarDisabled) {
    // Too high to be drawn, so the bar is set up for the picture as handed over.
    expectErrors = true;
    Prepare(15000, 400000);
    EXPECT_EQ(repaints, 0);
    ASSERT_EQ(prompt.Errors().size(), 1u);
    EXPECT_TRUE(prompt.Errors()[0].startsWith(QStringLiteral("Overflow: ")));
    EXPECT_TRUE(prompt.Errors()[0].contains(QStringLiteral("Form3.Form_Activate at line 112")));
    EXPECT_FALSE(model.VScroll().enabled);
    EXPECT_EQ(model.VScroll().step, 0);
    EXPECT_TRUE(model.HScroll().enabled);
}

TEST_F(PreviewModelTest, RedrawImageReportsItsOwnFailuresAndGoesOn) {
    expectErrors = true;
    Prepare(15448, 22498);
    model.SetScrollValue(Axis::Horizontal, 10);
    model.repaint = [] { throw Failure("Out of memory"); };
    const int arrowsBefore = arrows;
    model.StepZoom(ZoomDirection::Out);
    ASSERT_EQ(prompt.Errors().size(), 1u);
    EXPECT_TRUE(prompt.Errors()[0].startsWith(QStringLiteral("Out of memory\r\nin ")));
    EXPECT_TRUE(prompt.Errors()[0].contains(QStringLiteral("Form3.RedrawImage at line 104")));
    EXPECT_EQ(arrows, arrowsBefore + 1);
    EXPECT_EQ(model.HScroll().value, 0);
    EXPECT_EQ(model.HScroll().max, 226);  // set up again for 11586 twips
}

TEST(PreviewConversions, RoundTiesToEvenAndReportOverflow) {
    using namespace preview;
    EXPECT_EQ(RoundToInt16(2.5), 2);
    EXPECT_EQ(RoundToInt16(-3.5), -4);
    EXPECT_EQ(RoundToInt16(-32768.5), -32768);
    EXPECT_THROW(RoundToInt16(32767.5), std::overflow_error);
    EXPECT_THROW(RoundToInt16(std::nan("")), std::overflow_error);
    EXPECT_THROW(RoundToInt32(2147483647.5), std::overflow_error);
    EXPECT_THROW(ToInt16(32768), std::overflow_error);
}

}  // namespace
}  // namespace quill::preview
