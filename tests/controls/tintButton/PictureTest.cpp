#include "ButtonHarness.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

using Pixels = std::vector<COLORREF>;

constexpr COLORREF kBack = RGB(30, 60, 90);
constexpr COLORREF kMask = 0xC0C0C0;

// A bitmap picture of the given rows of colors.
qm::PicturePtr Bitmap(int width, const Pixels& colors)
{
    std::vector<std::uint32_t> bits;
    for (const COLORREF c : colors)
        bits.push_back((GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c));
    const int height = static_cast<int>(colors.size()) / width;
    const qm::UniqueBitmap bitmap(CreateBitmap(width, height, 1, 32, bits.data()));
    return qm::Picture::FromBitmap(bitmap.get());
}

// A plain captionless button whose face is kBack, with the picture in its middle.
std::unique_ptr<qm::TintButton> Canvas(const tinttest::HostWindow& host, int w, int h, const qm::PicturePtr& picture)
{
    auto button = tinttest::NewButton(host, w, h);
    qm::TintButtonModel& model = button->Model();
    model.SetCaption(L"");
    model.SetButtonType(qm::TypePlain);
    model.SetColorScheme(qm::SchemeCustom);
    model.SetBackColor(kBack);
    model.SetPictureNormal(picture);
    return button;
}

Pixels Row(const tinttest::SurfacePixels& px, int left, int y, int count)
{
    Pixels row;
    for (int x = left; x < left + count; ++x)
        row.push_back(px.At(x, y));
    return row;
}

TEST(TintButtonPicture, EveryBlendOfABitmap)
{
    // The mask color, channel sums 384 and 385, and values whose grey needs both roundings
    // half to even; drawn at (7, 2) of a 21 x 5 button.
    const Pixels own = {kMask, RGB(128, 128, 128), RGB(129, 128, 128), RGB(15, 0, 0), RGB(5, 0, 50), RGB(0, 0, 150),
                        RGB(100, 200, 30)};
    const COLORREF shadow = RGB(0, 0, 26); // kBack shifted by -64
    const COLORREF dark = RGB(0, 20, 50);  // kBack shifted by -40
    tinttest::HostWindow host;
    auto button = Canvas(host, 21, 5, Bitmap(7, own));
    qm::TintButtonModel& model = button->Model();
    struct Case {
        const char* what;
        std::function<void()> set;
        int row; // the effect's silhouette lies one row down
        Pixels expected;
    } const cases[] = {
        {"own colors", [] {}, 2,
         {kBack, own[1], own[2], own[3], own[4], own[5], own[6]}},
        {"greyscale", [&] { model.SetUseGreyscale(true); }, 2,
         {kBack, RGB(128, 128, 128), RGB(129, 129, 129), RGB(4, 4, 4), RGB(8, 8, 8), RGB(16, 16, 16),
          RGB(151, 151, 151)}},
        {"faded", [&] { model.SetUseGreyscale(false); model.SetButtonType(qm::TypeHotFlat); }, 2,
         {kBack, RGB(95, 105, 115), RGB(96, 105, 115), RGB(20, 20, 30), RGB(13, 20, 63), RGB(10, 20, 130),
          RGB(76, 153, 50)}},
        {"dark-only silhouette", [&] { model.SetButtonType(qm::TypeLightBevel); model.SetEnabled(false); }, 2,
         {kBack, shadow, kBack, shadow, shadow, shadow, shadow}},
        {"silhouette", [&] { model.SetEnabled(true); model.SetButtonType(qm::TypePlain); model.SetSpecialEffect(3); },
         3, {kBack, dark, dark, dark, dark, dark, dark}},
        {"mask color off", [&] { model.SetUseMaskColor(false); }, 3, Pixels(7, dark)},
        {"mask color off, own colors", [] {}, 2, own},
    };
    for (const auto& c : cases) {
        c.set();
        EXPECT_EQ(Row(tinttest::Paint(model), 7 + (c.row - 2), c.row, 7), c.expected) << c.what;
    }
}

TEST(TintButtonPicture, IconsOverTheMaskColorAndCutAtTheEdges)
{
    const COLORREF red = RGB(255, 0, 0), green = RGB(0, 255, 0), blue = RGB(0, 0, 255);
    const std::vector<std::uint32_t> mixed = {0x00000000, 0xFFFF0000, 0xFF00FF00, 0xFF0000FF};
    tinttest::HostWindow host;
    // Transparent, red; green, blue; drawn at (1, 1) of a 4 x 4 button.
    auto button = Canvas(host, 4, 4, tinttest::IconOf(2, mixed));
    qm::TintButtonModel& model = button->Model();
    qm::TintButtonPainter painter;
    qm::TintButtonSurface surface;
    ASSERT_TRUE(surface.Resize(4, 4));
    auto painted = [&](int at) {
        painter.Paint(model, {}, surface);
        const tinttest::SurfacePixels px(surface.Dc());
        return Pixels{px.At(at, at), px.At(at + 1, at), px.At(at, at + 1), px.At(at + 1, at + 1)};
    };
    EXPECT_EQ(painted(1), (Pixels{kBack, red, green, blue}));
    model.SetPictureNormal(tinttest::IconOf(2, std::vector<std::uint32_t>(4, 0xFF090909)));
    EXPECT_EQ(painted(1), Pixels(4, RGB(9, 9, 9))) << "another icon of the same size";
    model.SetPictureNormal(tinttest::IconOf(2, mixed));
    model.SetUseMaskColor(false);
    EXPECT_EQ(painted(1), (Pixels{kMask, red, green, blue})) << "mask color off";

    // A 4 x 4 icon of distinct reds centred on a 2 x 2 button starts at (-1, -1).
    std::vector<std::uint32_t> reds;
    for (std::uint32_t i = 0; i < 16; ++i)
        reds.push_back(0xFF000000 | (i * 16) << 16);
    model.SetPictureNormal(tinttest::IconOf(4, reds));
    SetWindowPos(button->hwnd(), nullptr, 0, 0, 2, 2, SWP_NOMOVE | SWP_NOZORDER);
    ASSERT_TRUE(surface.Resize(2, 2));
    EXPECT_EQ(painted(0), (Pixels{RGB(5 * 16, 0, 0), RGB(6 * 16, 0, 0), RGB(9 * 16, 0, 0), RGB(10 * 16, 0, 0)}));
}

// A dark pixel at (0, 0), a bright one at (1, 1), the mask color elsewhere, drawn at (28, 10)
// on a 60 x 24 classic button with no caption; the pixels read are those at (-1, -1) to
// (2, 2) of the picture.
Pixels DiagonalOf(std::int32_t type, bool enabled, bool over)
{
    Pixels colors(16, kMask);
    colors[0] = RGB(32, 32, 32);
    colors[5] = RGB(240, 240, 240);
    tinttest::HostWindow host;
    auto button = tinttest::NewButton(host, 60, 24);
    qm::TintButtonModel& model = button->Model();
    model.SetCaption(L"");
    model.SetColorScheme(qm::SchemeClassic);
    model.SetButtonType(type);
    model.SetPictureNormal(Bitmap(4, colors));
    model.SetEnabled(enabled);
    const auto px = tinttest::Paint(model, {.over = over});
    return {px.At(27, 9), px.At(28, 10), px.At(29, 11), px.At(30, 12)};
}

TEST(TintButtonPicture, DisabledHoverAndRestingPictures)
{
    // Classic colors: face C0C0C0, highlight FFFFFF, shadow 808080; TypeGradient's disabled
    // face is its light face F0F0F0 shifted by -24, blue in proportion.
    const COLORREF face = 0xC0C0C0, hi = 0xFFFFFF, shadow = 0x808080, gradient = 0xD2D8D8;
    const COLORREF dark = RGB(32, 32, 32), bright = RGB(240, 240, 240);
    struct Case {
        std::int32_t type;
        bool enabled;
        bool over;
        Pixels expected;
    } const cases[] = {
        {qm::TypeStandard, false, false, {face, shadow, hi, face}},           // highlight under shadow
        {qm::TypeGradient, false, false, {gradient, gradient, dark, bright}}, // greyscale, one pixel down
        {qm::TypeOutlined, false, false, {face, shadow, face, face}},
        {qm::TypeLightBevel, false, false, {face, shadow, face, face}},
        {qm::TypeHotFlat, false, false, {face, 0x8D8D8D, face, face}},        // shadow shifted by 13
        {qm::TypeHotFlat, true, false, {face, RGB(85, 85, 85), RGB(224, 224, 224), face}}, // faded toward the face
        {qm::TypeHotFlat, true, true, {dark, bright, shadow, shadow}},         // lifted over its silhouette
    };
    for (const auto& c : cases)
        EXPECT_EQ(DiagonalOf(c.type, c.enabled, c.over), c.expected)
            << "type " << c.type << (c.enabled ? "" : " disabled") << (c.over ? " over" : "");
}

} // namespace
