#pragma once

// One drawing of one button, shared by the painter's sources and by nothing else.

#include "controls/tintButton/TintButtonPainter.h"

#include <array>
#include <cstdint>
#include <vector>

namespace qm {

struct TintButtonPainter::Memory {
    std::uint8_t captionLook = 0;
    // The last picture's pixels as the blending reads them (24-bit rows, icons over their fill
    // color): pictures never change, and making the block costs more than the rest of a
    // drawing. Holds bytes only, no drawing object.
    struct PictureCache {
        PicturePtr picture;
        int width = 0;
        int height = 0;
        Color fill = 0;
        std::vector<std::uint8_t> pixels;
    } picture;
};

class TintButtonPainter::Drawing {
public:
    Drawing(const TintButtonModel& model, const TintButtonState& state, TintButtonSurface& surface,
            const TintButtonSurface* background, Memory& memory);
    Drawing(const Drawing&) = delete;
    Drawing& operator=(const Drawing&) = delete;

    void Paint();

private:
    enum class Look { Up, Down, Disabled };

    // Primitives.
    void DrawBox(int x, int y, int width, int height, Color color, bool frameOnly);
    void DrawOval(int x, int y, int width, int height, Color penColor, Color brushColor);
    void DrawLine(int x1, int y1, int x2, int y2, Color color);
    void DrawBevel(Color c1, Color c2, Color c3, Color c4, std::int16_t inset, bool outerOnly);
    void SelectBevelPen(Color color);
    void PlotPixel(int x, int y, Color color);
    void DrawFocus();
    void DrawCorners(Color color);
    void DrawGradient(Color base, int k, bool proportionalBlue, bool darkestAtTop);
    Color ShiftColor(Color color, int delta, bool proportionalBlue = false) const
    {
        return model_.ShiftColor(color, delta, proportionalBlue);
    }

    // The looks of the styles.
    void DrawStyle(Look look);
    void DrawCaptionUp() { DrawCaption(state_.over ? 1 : 0); }
    void DrawFramed(Look look);
    void DrawStandard(Look look);
    void DrawGradientStyle(Look look);
    void DrawGradientRing(const std::array<Color, 6>& colors);
    void DrawRoundedBevel(Look look);
    void DrawRoundedBevelUp();
    void DrawOutlined(Look look);
    void DrawCaptionFocusFrame();
    void DrawLightBevel(Look look);
    void DrawThin(Look look, bool hotOnly);
    void DrawHotFlat(Look look);
    void DrawTransparent(Look look);
    void DrawHotRaised(Look look);
    void DrawOvalStyle(Look look);
    void DrawShaded(Look look);
    void DrawShadedFrame();
    void DrawBoldDefaultCaption();

    // Caption and picture. Caption looks 0 to 7: up, up under the pointer, down, disabled
    // embossed, disabled flat, disabled on a gradient, disabled engraved, down shaded. Picture
    // modes 0 up, 1 down, 2 disabled.
    void DrawCaption(std::uint8_t look);
    void DrawCaptionText(const RECT& rect);
    void DrawCaptionEffect(const RECT& rect);
    void DrawPicture(std::uint8_t mode);
    void DrawPictureEffect(int offset, const PicturePtr& picture);

    // Paints picture at (x, y), w x h, passing pixels of the mask color through. A color
    // paints a silhouette in it (with darkOnly, only of pixels whose channels sum to at most
    // 384); with kNoColor the picture is drawn in its colors, in grey, or faded a third toward
    // what lies under it.
    static constexpr std::int32_t kNoColor = -1;
    void RenderPicture(int x, int y, int w, int h, const PicturePtr& picture, Color mask, std::int32_t color,
                       bool darkOnly, bool greyscale, bool faded);
    [[nodiscard]] const std::uint8_t* PictureBlock(const PicturePtr& picture, int w, int h, Color fill);

    const TintButtonModel& model_;
    const TintButtonState state_;
    TintButtonSurface& surface_;
    const TintButtonSurface* background_;
    Memory& memory_;
    const HDC dc_;
    const int width_;
    const int height_;
    // The drawing's own colors: the hover face under the custom scheme, and a pressed
    // TypeRoundedBevel lends its face to its caption's effect.
    WorkingColors colors_;
    // Where the caption goes; a default TypeShaded's bold caption is placed for itself.
    const TintButtonModel::Placement* placement_;
};

} // namespace qm
