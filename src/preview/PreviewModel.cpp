#include "preview/PreviewModel.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <stdexcept>
#include <string>

namespace quill::preview {

namespace {

// Rounds to the nearest integer, ties to even, and checks that the result fits `Int`.
template <class Int>
Int RoundChecked(double value) {
    // nearbyint rounds in the default mode, to nearest with ties to even, and raises nothing.
    const double rounded = std::nearbyint(value);
    if (!std::isfinite(rounded) || rounded < static_cast<double>(std::numeric_limits<Int>::min()) ||
        rounded > static_cast<double>(std::numeric_limits<Int>::max())) {
        throw std::overflow_error("the value " + std::to_string(value) + " does not fit in " +
                                  std::to_string(8 * sizeof(Int)) + " bits");
    }
    return static_cast<Int>(rounded);
}

}  // namespace

std::int32_t RoundToInt32(double value) {
    return RoundChecked<std::int32_t>(value);
}

std::int16_t RoundToInt16(double value) {
    return RoundChecked<std::int16_t>(value);
}

std::int16_t ToInt16(std::int32_t value) {
    return RoundChecked<std::int16_t>(value);
}

namespace {

std::int32_t Along(TwipSize size, Axis axis) {
    return axis == Axis::Horizontal ? size.width : size.height;
}

// Overhangs up to this many twips scroll one twip per bar unit, larger ones ten.
constexpr std::int32_t kFineScrollLimit = 100;
constexpr std::int16_t kFineStep = 1;
constexpr std::int16_t kCoarseStep = 10;

}  // namespace

PreviewModel::PreviewModel(Prompt& prompt, Geometry geometry)
    : prompt_(prompt), geometry_(geometry) {}

TwipSize PreviewModel::ViewportInner() const {
    const std::int32_t border = 2 * geometry_.viewportBorder;
    return {geometry_.viewport.width - border, geometry_.viewport.height - border};
}

void PreviewModel::HandOver(TwipSize pictureOuter) {
    picture_ = pictureOuter;
}

void PreviewModel::CopyPictureToHolder() {
    holder_ = picture_;
}

void PreviewModel::Prepare(Trace& activation) {
    activation.Step(104, [&] { zoomFactor_ = 1.0f; });
    activation.Step(106, [&] { ReadUnscaledFromHolder(); });
    activation.Step(108, [&] { scaled_ = ScaledAt(1.0f); });
    activation.Step(110, [&] { RedrawImage(); });
    activation.Step(112, [&] { SetupScrollbars(); });
}

// The unscaled size is the holder's inner size less two twips.
void PreviewModel::ReadUnscaledFromHolder() {
    const double border = 2.0 * geometry_.holderBorder;
    unscaled_ = {RoundToInt32(holder_.width - border - 2.0),
                 RoundToInt32(holder_.height - border - 2.0)};
}

// floor(unscaled × factor), the product formed in double precision.
TwipSize PreviewModel::ScaledAt(float factor) const {
    const double f = factor;
    return {RoundToInt32(std::floor(unscaled_.width * f)),
            RoundToInt32(std::floor(unscaled_.height * f))};
}

void PreviewModel::RedrawImage() {
    Trace trace(prompt_, QStringLiteral("Form3.RedrawImage"));
    bool withinLimit = true;
    trace.Step(100, [&] { scaled_ = ScaledAt(zoomFactor_); });
    trace.Step(102, [&] {
        if (scaled_.width >= kWidthLimit || scaled_.height >= kHeightLimit) {
            withinLimit = false;
            zoomFactor_ = 1.0f;
            ReadUnscaledFromHolder();
            scaled_ = ScaledAt(1.0f);
        }
    });
    if (!withinLimit) return;
    trace.Step(104, [&] {
        picture_ = scaled_;
        if (repaint) repaint();
    });
    trace.Step(106, [&] {
        if (showArrow) showArrow();
    });
    trace.Step(108, [&] { SetScrollValue(Axis::Horizontal, 0); });
    trace.Step(110, [&] { SetScrollValue(Axis::Vertical, 0); });
    trace.Step(112, [&] {
        const TwipSize inner = ViewportInner();
        hScroll_.enabled = inner.width < scaled_.width;
        vScroll_.enabled = inner.height < scaled_.height;
    });
}

void PreviewModel::SetupScrollbars() {
    top_ = 0;
    left_ = 0;
    SetupScrollbar(Axis::Horizontal);
    SetupScrollbar(Axis::Vertical);
}

void PreviewModel::SetupScrollbar(Axis axis) {
    ScrollBarState& bar = Bar(axis);
    const std::int32_t pictureOuter = Along(picture_, axis);
    const std::int32_t viewportOuter = Along(geometry_.viewport, axis);
    if (pictureOuter <= viewportOuter) {
        bar.enabled = false;
        bar.step = 0;
        return;
    }
    const std::int32_t overhang = pictureOuter - viewportOuter;
    const bool fine = overhang <= kFineScrollLimit;
    std::int16_t max = 0;
    try {
        max = fine ? RoundToInt16(overhang) : RoundToInt16(overhang / 10.0);
    } catch (...) {
        // A range the bar cannot hold: rather than a bar that scrolls a stale range, none.
        bar.enabled = false;
        bar.step = 0;
        throw;
    }
    bar.enabled = true;
    bar.max = max;
    bar.step = fine ? kFineStep : kCoarseStep;
    SetScrollValue(axis, 0);
}

float PreviewModel::NextZoom(ZoomDirection direction) const {
    // The steps are the multiples of 0.25; a factor within a hair of one counts as on it.
    constexpr double kHair = 1e-4;
    const double steps = static_cast<double>(zoomFactor_) / kZoomStep;
    const double next = direction == ZoomDirection::In ? std::floor(steps + kHair) + 1
                                                       : std::ceil(steps - kHair) - 1;
    return static_cast<float>(next * kZoomStep);
}

void PreviewModel::StepZoom(ZoomDirection direction) {
    ApplyZoom(NextZoom(direction));
}

bool PreviewModel::CanStepZoom(ZoomDirection direction) const {
    const float next = NextZoom(direction);
    if (next < kMinZoom || next > kMaxZoom) return false;
    const TwipSize size = ScaledAt(next);
    return size.width < kWidthLimit && size.height < kHeightLimit;
}

void PreviewModel::StepZoomAbout(ZoomDirection direction, double x, double y) {
    if (!CanStepZoom(direction)) return;
    const double before = zoomFactor_;
    // The picture's point under (x, y), at factor 1.
    const double pointX = (x - left_) / before;
    const double pointY = (y - top_) / before;
    StepZoom(direction);
    const double after = zoomFactor_;
    ScrollToOffset(pointX * after - x, pointY * after - y);
}

void PreviewModel::FitWidth() {
    if (unscaled_.width <= 0) return;
    const double fit = static_cast<double>(ViewportInner().width) / unscaled_.width;
    // Held a hair below the exact fit so that floor() never makes the picture wider.
    const auto factor =
        static_cast<float>(std::clamp(fit - 1e-6, double{kMinZoom}, double{kMaxZoom}));
    ApplyZoom(factor);
}

void PreviewModel::SetViewport(TwipSize outer) {
    if (outer == geometry_.viewport) return;
    const double offsetX = -left_;
    const double offsetY = -top_;
    geometry_.viewport = outer;
    const TwipSize inner = ViewportInner();
    hScroll_.enabled = inner.width < picture_.width;
    vScroll_.enabled = inner.height < picture_.height;
    hScroll_.value = 0;
    vScroll_.value = 0;
    try {
        SetupScrollbars();
    } catch (const std::overflow_error&) {
        // Reported when the picture was prepared; the bar that cannot hold its range stays
        // disabled as it was.
    }
    ScrollToOffset(offsetX, offsetY);
}

void PreviewModel::ScrollToOffset(double offsetX, double offsetY) {
    const auto to = [this](Axis axis, double offset) {
        const ScrollBarState& bar = Bar(axis);
        if (!bar.enabled || bar.step == 0) return;
        const double units = std::clamp(offset / bar.step, 0.0, static_cast<double>(bar.max));
        SetScrollValue(axis, static_cast<int>(std::lround(units)));
    };
    to(Axis::Horizontal, offsetX);
    to(Axis::Vertical, offsetY);
}

void PreviewModel::ApplyZoom(float factor) {
    if (factor < kMinZoom || factor > kMaxZoom) return;
    zoomFactor_ = factor;
    RedrawImage();
    SetupScrollbars();
}

void PreviewModel::SetScrollValue(Axis axis, int value) {
    ScrollBarState& bar = Bar(axis);
    const int kept = std::clamp(value, 0, static_cast<int>(bar.max));
    if (kept == bar.value) return;
    bar.value = static_cast<std::int16_t>(kept);
    // The product is formed in 32 bits: 10 × 3300 is 33000 twips, not an overflow.
    Position(axis) = -(static_cast<std::int32_t>(bar.step) * static_cast<std::int32_t>(kept));
}

void PreviewModel::SetHScrollbarByPercent(std::int16_t percent) {
    SetScrollbarByPercent(Axis::Horizontal, percent);
}

void PreviewModel::SetVScrollbarByPercent(std::int16_t percent) {
    SetScrollbarByPercent(Axis::Vertical, percent);
}

void PreviewModel::SetScrollbarByPercent(Axis axis, std::int16_t percent) {
    if (percent < 0) return;
    const ScrollBarState& bar = Bar(axis);
    // A drop against a bordered viewport's far edge gives slightly more than 100 percent;
    // the bar then goes to its Max rather than out of its range.
    const double wanted = std::min(percent / 100.0 * bar.max, static_cast<double>(bar.max));
    SetScrollValue(axis, RoundToInt16(wanted));
}

void PreviewModel::MouseDown(float x, float y) {
    dragStartX_ = x;
    dragStartY_ = y;
}

// Keeps the picture's top-left corner at or left of (above) the viewport's and its far edge
// at or beyond the viewport's inner far edge. A picture smaller than the viewport therefore
// lands against the far edge.
float PreviewModel::LimitDrag(Axis axis, float position) const {
    if (position > 0) return 0;
    const auto lowest = static_cast<float>(Along(ViewportInner(), axis) - Along(picture_, axis));
    return lowest > position ? lowest : position;
}

void PreviewModel::MouseMove(float x, float y) {
    // The mouse position is measured in the box that moves, so the grabbed point stays under
    // the pointer without moving the start point.
    const float newLeft = LimitDrag(Axis::Horizontal, static_cast<float>(left_) - dragStartX_ + x);
    const float newTop = LimitDrag(Axis::Vertical, static_cast<float>(top_) - dragStartY_ + y);
    left_ = newLeft;
    top_ = newTop;
}

std::optional<std::int32_t> PreviewModel::ReleasePercent(Axis axis) const {
    const std::int32_t divisor = Along(picture_, axis) - Along(geometry_.viewport, axis);
    if (divisor == 0) return std::nullopt;
    const double position = axis == Axis::Horizontal ? left_ : top_;
    return RoundToInt32(std::abs(position) / divisor * 100.0);
}

void PreviewModel::MouseUp(Trace& handler) {
    std::optional<std::int32_t> percentX;
    std::optional<std::int32_t> percentY;
    handler.Step(100, [&] { percentX = ReleasePercent(Axis::Horizontal); });
    handler.Step(102, [&] { percentY = ReleasePercent(Axis::Vertical); });
    handler.Step(104, [&] {
        if (percentX) SetHScrollbarByPercent(ToInt16(*percentX));
    });
    handler.Step(106, [&] {
        if (percentY) SetVScrollbarByPercent(ToInt16(*percentY));
    });
}

}  // namespace quill::preview
