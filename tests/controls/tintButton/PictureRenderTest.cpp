#include "RenderHarness.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using Pixels = std::vector<COLORREF>;

constexpr COLORREF kBack = RGB(30, 60, 90);
constexpr COLORREF kMask = 0xC0C0C0;
constexpr COLORREF kSilhouette = RGB(1, 2, 3);
constexpr std::int32_t kNone = qm::TintButton::kNoColor;

// A bitmap picture of the given rows of colors.
qm::PicturePtr Bitmap(int width, const Pixels& colors)
{
    std::vector<std::uint32_t> bits;
    for (const COLORREF c : colors)
        bits.push_back((GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c));
    const int height = static_cast<int>(colors.size()) / width;
    qm::UniqueBitmap bitmap(CreateBitmap(width, height, 1, 32, bits.data()));
    return qm::Picture::FromBitmap(bitmap.get());
}

// A plain button whose face is kBack, to draw pictures on.
std::unique_ptr<qm::TintButton> Canvas(const tinttest::HostWindow& host)
{
    auto button = tinttest::NewButton(host, 20, 4);
    button->SetButtonType(qm::TypePlain);
    button->SetColorScheme(qm::SchemeCustom);
    button->SetBackColor(kBack);
    return button;
}

// Draws the picture at (x, y) on a fresh face and reads back the picture's own area at (0, 0).
Pixels Render(qm::TintButton& canvas, const qm::PicturePtr& picture, std::int32_t color, bool darkOnly = false,
              bool greyscale = false, bool faded = false, int x = 0, int y = 0, int width = -1)
{
    canvas.Redraw(qm::StateUp, true);
    canvas.RenderPicture(canvas.Surface(), x, y, width, -1, picture, kMask, color, darkOnly, greyscale, faded);
    const tinttest::SurfacePixels px(canvas.Surface());
    Pixels out;
    for (int row = 0; row < picture->Height(); ++row)
        for (int col = 0; col < picture->Width(); ++col)
            out.push_back(px.At(col, row));
    return out;
}

TEST(TintButtonRenderPicture, EveryModeOfABitmap)
{
    // The mask colour, channel sums 384 and 385, and values whose grey needs both roundings
    // half to even.
    const Pixels own = {kMask, RGB(128, 128, 128), RGB(129, 128, 128), RGB(15, 0, 0), RGB(5, 0, 50), RGB(0, 0, 150),
                        RGB(100, 200, 30)};
    tinttest::HostWindow host;
    auto canvas = Canvas(host);
    const auto picture = Bitmap(7, own);
    ASSERT_TRUE(picture);
    const COLORREF S = kSilhouette;
    struct Case {
        const char* what;
        Pixels actual;
        Pixels expected;
    } const cases[] = {
        {"own colors", Render(*canvas, picture, kNone), {kBack, own[1], own[2], own[3], own[4], own[5], own[6]}},
        {"silhouette", Render(*canvas, picture, static_cast<std::int32_t>(S)), {kBack, S, S, S, S, S, S}},
        {"black silhouette", Render(*canvas, picture, 0), {kBack, 0, 0, 0, 0, 0, 0}},
        {"dark only", Render(*canvas, picture, static_cast<std::int32_t>(S), true), {kBack, S, kBack, S, S, S, S}},
        {"greyscale", Render(*canvas, picture, kNone, false, true),
         {kBack, RGB(128, 128, 128), RGB(129, 129, 129), RGB(4, 4, 4), RGB(8, 8, 8), RGB(16, 16, 16),
          RGB(151, 151, 151)}},
        {"faded", Render(*canvas, picture, kNone, false, false, true),
         {kBack, RGB(95, 105, 115), RGB(96, 105, 115), RGB(20, 20, 30), RGB(13, 20, 63), RGB(10, 20, 130),
          RGB(76, 153, 50)}},
        {"width 0", Render(*canvas, picture, kNone, false, false, false, 0, 0, 0), Pixels(7, kBack)},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.actual, c.expected) << c.what;

    canvas->SetUseMaskColor(false);
    EXPECT_EQ(Render(*canvas, picture, kNone), own) << "mask color off";
    EXPECT_EQ(Render(*canvas, picture, static_cast<std::int32_t>(S)), Pixels(7, S)) << "full silhouette";
}

TEST(TintButtonRenderPicture, IconOverTheMaskColor)
{
    tinttest::HostWindow host;
    auto canvas = Canvas(host);
    auto icon = [](std::vector<std::uint32_t> argb) {
        return qm::Picture::FromData(
            {qm::PictureData::Type::Icon, qm::PictureData::Origin::Bytes, 0, tinttest::MakeIcoPixels(2, argb)});
    };
    // Transparent, red; green, blue.
    const auto mixed = icon({0x00000000, 0xFFFF0000, 0xFF00FF00, 0xFF0000FF});
    const auto grey = icon({0xFF090909, 0xFF090909, 0xFF090909, 0xFF090909});
    ASSERT_TRUE(mixed && grey);
    const COLORREF red = RGB(255, 0, 0), green = RGB(0, 255, 0), blue = RGB(0, 0, 255);
    EXPECT_EQ(Render(*canvas, mixed, kNone), (Pixels{kBack, red, green, blue}));
    EXPECT_EQ(Render(*canvas, grey, kNone), Pixels(4, RGB(9, 9, 9))) << "another icon of the same size";
    EXPECT_EQ(Render(*canvas, mixed, kNone, false, false, false, -1, -1), (Pixels{blue, kBack, kBack, kBack}))
        << "partly above and left of the surface";
    EXPECT_EQ(Render(*canvas, mixed, kNone, false, false, false, 1, 0), (Pixels{kBack, kBack, kBack, green}));
    canvas->SetUseMaskColor(false);
    EXPECT_EQ(Render(*canvas, mixed, kNone), (Pixels{kMask, red, green, blue})) << "mask color off";
}

// A dark pixel at (0, 0), a bright one at (1, 1), the mask color elsewhere, drawn at (28, 10)
// on a 60 x 24 button with no caption; the three pixels read are those at (0, 0), (1, 1) and
// (2, 2) of the picture.
Pixels DiagonalOf(std::int32_t type, bool enabled, bool over)
{
    Pixels colors(16, kMask);
    colors[0] = RGB(32, 32, 32);
    colors[5] = RGB(240, 240, 240);
    tinttest::HostWindow host;
    auto button = tinttest::NewButton(host, 60, 24);
    button->SetCaption(L"");
    button->SetColorScheme(qm::SchemeClassic);
    button->SetButtonType(type);
    button->SetPictureNormal(Bitmap(4, colors));
    button->SetEnabled(enabled);
    qm::TintButtonProbe::SetOver(*button, over);
    button->Redraw(qm::StateUp, true);
    const tinttest::SurfacePixels px(button->Surface());
    return {px.At(27, 9), px.At(28, 10), px.At(29, 11), px.At(30, 12)};
}

TEST(TintButtonRenderPicture, DisabledHoverAndRestingPictures)
{
    // Classic colours: face C0C0C0, highlight FFFFFF, shadow 808080; TypeGradient's disabled
    // face is its light face F0F0F0 shifted by -24, blue in proportion.
    const COLORREF face = 0xC0C0C0, hi = 0xFFFFFF, shadow = 0x808080, gradient = 0xD2D8D8;
    const COLORREF dark = RGB(32, 32, 32), bright = RGB(240, 240, 240);
    struct Case {
        std::int32_t type;
        bool enabled;
        bool over;
        Pixels expected;
    } const cases[] = {
        {2, false, false, {face, shadow, hi, face}},            // highlight under shadow
        {3, false, false, {gradient, gradient, dark, bright}},  // greyscale, one pixel down
        {5, false, false, {face, shadow, face, face}},
        {6, false, false, {face, shadow, face, face}},
        {9, false, false, {face, 0x8D8D8D, face, face}},        // shadow shifted by 13
        {9, true, false, {face, RGB(85, 85, 85), RGB(224, 224, 224), face}}, // faded a third toward the face
        {9, true, true, {dark, bright, shadow, shadow}},         // lifted over its silhouette
    };
    for (const auto& c : cases)
        EXPECT_EQ(DiagonalOf(c.type, c.enabled, c.over), c.expected)
            << "type " << c.type << (c.enabled ? "" : " disabled") << (c.over ? " over" : "");
}

} // namespace
