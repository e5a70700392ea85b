#include "ButtonHarness.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Every caption measures 6 pixels a character by 13, whatever the font: placement is checked
// to the pixel without the platform's fonts.
class FixedTextView final : public qm::TintButtonModel::View {
public:
    void MeasureCaption(std::wstring_view caption, RECT& rect) const override
    {
        rect.right = rect.left + 6 * static_cast<int>(caption.size());
        rect.bottom = rect.top + 13;
    }
};

struct Placed {
    tinttest::RecordingSite site;
    qm::PlatformColors colors;
    FixedTextView view;
    qm::TintButtonModel model{site, colors, &view};

    Placed(int width, int height, const std::wstring& caption)
    {
        model.InitNew();
        model.SetCaption(caption);
        model.Resize(width, height);
    }
};

std::string Show(const RECT& r)
{
    return std::to_string(r.left) + "," + std::to_string(r.top) + "-" + std::to_string(r.right) + "," +
           std::to_string(r.bottom);
}

TEST(TintButtonPlacement, CaptionAndPictureForEachPosition)
{
    // 120 x 40 with "Close" (30 x 13) and a 16 x 16 icon; the caption as placed, the pressed
    // caption one pixel right and down, and the picture's top-left corner.
    struct Case {
        std::int32_t position;
        bool picture;
        RECT caption;
        POINT at;
    } const cases[] = {
        {qm::PictureLeft, false, {45, 14, 75, 27}, {}},   {qm::PictureRight, false, {43, 14, 73, 27}, {}},
        {qm::PictureTop, false, {45, 14, 75, 27}, {}},    {qm::PictureBottom, false, {45, 12, 75, 25}, {}},
        {qm::PictureBehind, false, {45, 14, 75, 27}, {}}, {qm::PictureLeft, true, {53, 14, 83, 27}, {33, 12}},
        {qm::PictureRight, true, {35, 14, 65, 27}, {69, 12}}, {qm::PictureTop, true, {45, 22, 75, 35}, {52, 4}},
        {qm::PictureBottom, true, {45, 4, 75, 17}, {52, 19}},  {qm::PictureBehind, true, {45, 14, 75, 27}, {52, 12}},
    };
    Placed placed(120, 40, L"Close");
    for (const auto& c : cases) {
        placed.model.SetPictureNormal(c.picture ? tinttest::IconOf(16, std::vector<std::uint32_t>(256, 0xFFC80000))
                                                : nullptr);
        placed.model.SetPicturePosition(c.position);
        const auto& p = placed.model.Placed();
        const std::string what = "position " + std::to_string(c.position) + (c.picture ? " with picture" : "");
        EXPECT_EQ(Show(p.caption), Show(c.caption)) << what;
        RECT pressed = c.caption;
        OffsetRect(&pressed, 1, 1);
        EXPECT_EQ(Show(p.pressedCaption), Show(pressed)) << what;
        if (c.picture) {
            EXPECT_EQ(p.pictureLeft, c.at.x) << what;
            EXPECT_EQ(p.pictureTop, c.at.y) << what;
        }
    }
}

} // namespace
