// The preview's zoom, scroll and pan, in twips and without widgets.
//
// All geometry is in twips (1440 to the inch, 15 to a pixel at 96 dots per inch), so the
// mouse position inside the picture, the picture's position inside the viewport and the
// picture sizes add up directly. The names follow the preview window's controls:
// `Picture2` is the clipping viewport, `Picture1` the image box inside it, `Zoom_Ori` the
// hidden holder of the unscaled picture, `HScroll1`/`VScroll1` the two bars.
//
// The window owns the pixels; the model tells it when to repaint through `repaint` and
// when to show the arrow through `showArrow`, and the window copies positions, sizes and
// bar settings from the model after each event.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>

#include "shell/ErrorTrap.h"
#include "shell/Prompt.h"

namespace quill::preview {

// Conversions with the rounding of the window's arithmetic: to the nearest integer, ties to
// even. A value that does not fit the target type (or is not a number) is an overflow and
// throws std::overflow_error, which the error trap reports.
std::int32_t RoundToInt32(double value);
std::int16_t RoundToInt16(double value);
std::int16_t ToInt16(std::int32_t value);

struct TwipSize {
    std::int32_t width = 0;
    std::int32_t height = 0;
    friend bool operator==(const TwipSize&, const TwipSize&) = default;
};

enum class Axis { Horizontal, Vertical };

// The direction of a zoom step: 0 "Zoom In", 1 "Zoom Out".
enum class ZoomDirection : std::int16_t { In = 0, Out = 1 };

// A scrollbar with Min 0. `step` is the number of twips one unit moves the picture:
// 0 while the bar is disabled by the set-up, else 1 or 10.
struct ScrollBarState {
    bool enabled = false;
    std::int16_t max = 0;
    std::int16_t value = 0;
    std::int16_t step = 0;
};

// The fixed boxes of the preview window.
struct PreviewGeometry {
    TwipSize viewport{9330, 7425};     // outer size of Picture2
    std::int32_t viewportBorder = 15;  // Picture2's border on each side
    std::int32_t holderBorder = 0;     // Zoom_Ori's border on each side
};

class PreviewModel {
  public:
    using Geometry = PreviewGeometry;

    // A repaint at a size this wide or high, or more, is refused. The picture is drawn only
    // where the viewport shows it, so the limit bounds the widget, not an image buffer:
    // 16,000 pixels a side, which the whole zoom range of a budget sheet stays within and
    // whose bar ranges (at 10 twips a unit) still fit 16 bits.
    static constexpr std::int32_t kWidthLimit = 16000 * 15;
    static constexpr std::int32_t kHeightLimit = 16000 * 15;
    static constexpr float kZoomStep = 0.25f;
    static constexpr float kMinZoom = 0.25f;
    static constexpr float kMaxZoom = 1.5f;

    // `prompt` receives the error-report boxes of RedrawImage, the one procedure here with
    // a trap of its own.
    explicit PreviewModel(Prompt& prompt, Geometry geometry = {});

    // Called by RedrawImage after Picture1 has taken the size Scaled(): paint the holder's
    // picture, source (0, 0, Unscaled()) stretched onto (0, 0, Scaled()).
    std::function<void()> repaint;
    // Called by RedrawImage after the repaint: the window's pointer becomes the arrow.
    std::function<void()> showArrow;

    // A new picture was handed over: Picture1 sizes itself to it (outer size in twips).
    void HandOver(TwipSize pictureOuter);

    // Preparation, the size part of its second statement: the holder takes Picture1's outer
    // size (the window copies the picture itself).
    void CopyPictureToHolder();

    // The rest of the preparation, each statement a step of the activation's trap: zoom 1.0,
    // the unscaled and scaled sizes, RedrawImage, SetupScrollbars.
    void Prepare(Trace& activation);

    // Repaint at the current zoom, under the trap "Form3.RedrawImage". A size at or over the
    // limit is not drawn: the zoom goes back to 1.0 and picture, bars and pointer stay.
    void RedrawImage();

    // Picture1 back to 0, 0 and each bar disabled or enabled with step 1 (overhang of at most
    // 100 twips, Max the overhang) or step 10 (Max the overhang / 10). A Max that does not fit
    // 16 bits leaves that bar disabled and throws; the vertical bar is then not set up.
    void SetupScrollbars();

    // One zoom step of 0.25 and ApplyZoom with the result. A factor between the steps (after
    // FitWidth) goes to the next step in that direction.
    void StepZoom(ZoomDirection direction);
    // Whether a step in that direction would be taken (within 0.25 to 1.5 and the limit).
    bool CanStepZoom(ZoomDirection direction) const;
    // A zoom step that keeps the picture's point under (x, y) of the viewport's inner area,
    // in twips, where it was, as far as the bars reach.
    void StepZoomAbout(ZoomDirection direction, double x, double y);
    // The factor at which the picture is as wide as the viewport's inner area, held to the
    // zoom range.
    void FitWidth();
    // The viewport took a new outer size (the window was resized): the bars are set up
    // again and the picture keeps the part it showed at its top left corner.
    void SetViewport(TwipSize outer);
    // Outside 0.25 to 1.5 nothing happens; else the factor is taken, repainted and the bars
    // set up again.
    void ApplyZoom(float factor);

    // A bar's value changes (by the user or by the code): the value is kept within 0..Max,
    // and when it differs from the old one the picture moves to -(step × value).
    void SetScrollValue(Axis axis, int value);

    // A negative percentage does nothing; else the value becomes percent / 100 × Max, rounded
    // (ties to even) and never above Max.
    void SetHScrollbarByPercent(std::int16_t percent);
    void SetVScrollbarByPercent(std::int16_t percent);

    // Drag to pan; positions are in Picture1's own coordinates. MouseMove is only called
    // while a button is held.
    void MouseDown(float x, float y);
    void MouseMove(float x, float y);
    // Release: the percentages of the position become the bars' values, each statement a
    // step of the handler's trap. When picture and viewport have the same outer size along
    // an axis the percentage is undefined and that bar is left as it is.
    void MouseUp(Trace& handler);

    float ZoomFactor() const { return zoomFactor_; }
    TwipSize Unscaled() const { return unscaled_; }
    TwipSize Scaled() const { return scaled_; }
    // Picture1: its outer size and its position inside the viewport's inner area.
    TwipSize PictureSize() const { return picture_; }
    double PictureLeft() const { return left_; }
    double PictureTop() const { return top_; }
    TwipSize HolderSize() const { return holder_; }
    const ScrollBarState& HScroll() const { return hScroll_; }
    const ScrollBarState& VScroll() const { return vScroll_; }
    TwipSize ViewportOuter() const { return geometry_.viewport; }
    TwipSize ViewportInner() const;

  private:
    float NextZoom(ZoomDirection direction) const;
    // Moves the bars so that the picture's top left shows `offset` twips of the picture.
    void ScrollToOffset(double offsetX, double offsetY);
    ScrollBarState& Bar(Axis axis) { return axis == Axis::Horizontal ? hScroll_ : vScroll_; }
    double& Position(Axis axis) { return axis == Axis::Horizontal ? left_ : top_; }
    void ReadUnscaledFromHolder();
    TwipSize ScaledAt(float factor) const;
    void SetupScrollbar(Axis axis);
    void SetScrollbarByPercent(Axis axis, std::int16_t percent);
    std::optional<std::int32_t> ReleasePercent(Axis axis) const;
    float LimitDrag(Axis axis, float position) const;

    Prompt& prompt_;
    Geometry geometry_;
    float zoomFactor_ = 1.0f;
    TwipSize unscaled_;
    TwipSize scaled_;
    TwipSize picture_;
    TwipSize holder_;
    double left_ = 0;
    double top_ = 0;
    ScrollBarState hScroll_;
    ScrollBarState vScroll_;
    float dragStartX_ = 0;
    float dragStartY_ = 0;
};

}  // namespace quill::preview
