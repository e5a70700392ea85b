#include "RenderHarness.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr int kW = 120;
constexpr int kH = 40;

qm::PicturePtr Icon16()
{
    return qm::Picture::FromData(
        {qm::PictureData::Type::Icon, qm::PictureData::Origin::Bytes, 0, tinttest::MakeIco(16, RGB(200, 0, 0))});
}

SIZE TextSize(const qm::TintButton& button, const std::wstring& text)
{
    RECT r{0, 0, 1000, 1000};
    DrawTextW(button.Surface(), text.c_str(), static_cast<int>(text.size()), &r, DT_CALCRECT | DT_WORDBREAK);
    return {r.right, r.bottom};
}

std::string Show(const RECT& r)
{
    return std::to_string(r.left) + "," + std::to_string(r.top) + "-" + std::to_string(r.right) + "," +
           std::to_string(r.bottom);
}

TEST(TintButtonCaptionLayout, CaptionAndPictureForEachPosition)
{
    tinttest::HostWindow host;
    auto button = tinttest::NewButton(host, kW, kH);
    button->SetCaption(L"Close");
    const SIZE t = TextSize(*button, L"Close");

    // Work rectangle's left and top, and what the centring leaves out of W and H besides
    // the text's right and bottom; then where the picture goes.
    struct Case {
        std::int32_t position;
        bool picture;
        int left, top, extraW, extraH;
    } const cases[] = {
        {0, false, 1, 1, 0, 0},  {1, false, 1, 1, 4, 0},  {2, false, 1, 1, 0, 0},  {3, false, 1, 1, 0, 4},
        {4, false, 1, 1, 0, 0},  {0, true, 17, 1, 0, 0},  {1, true, 1, 1, 20, 0},  {2, true, 1, 17, 0, 0},
        {3, true, 1, 1, 0, 20},  {4, true, 1, 1, 0, 0},
    };
    for (const auto& c : cases) {
        button->SetPictureNormal(c.picture ? Icon16() : nullptr);
        button->SetPicturePosition(c.position);
        const auto& l = button->Layout();
        RECT expected{c.left, c.top, c.left + t.cx, c.top + t.cy};
        OffsetRect(&expected, (kW - expected.right - c.extraW) / 2, (kH - expected.bottom - c.extraH) / 2);
        EXPECT_EQ(Show(l.captionRect), Show(expected)) << "position " << c.position << " picture " << c.picture;
        RECT pressed = expected;
        OffsetRect(&pressed, 1, 1);
        EXPECT_EQ(Show(l.pressedCaptionRect), Show(pressed)) << "position " << c.position;
        EXPECT_EQ(l.captionWidth, t.cx);
        EXPECT_EQ(l.captionHeight, t.cy);
        if (!c.picture)
            continue;
        const POINT picture[] = {
            {expected.left - 20, 12}, {expected.right + 4, 12}, {52, expected.top - 18}, {52, expected.bottom + 2},
            {52, 12},
        };
        EXPECT_EQ(l.pictureLeft, picture[c.position].x) << "position " << c.position;
        EXPECT_EQ(l.pictureTop, picture[c.position].y) << "position " << c.position;
    }
}

TEST(TintButtonCaptionLayout, BlankCaptionCentresThePicture)
{
    tinttest::HostWindow host;
    auto button = tinttest::NewButton(host, kW, kH);
    button->SetPictureNormal(Icon16());
    EXPECT_EQ(button->Layout().pictureWidth, 16);
    EXPECT_EQ(button->Layout().pictureHeight, 16);
    for (const std::wstring caption : {L"", L"   "}) {
        button->SetCaption(caption);
        for (std::int32_t position = 0; position <= 4; ++position) {
            button->SetPicturePosition(position);
            EXPECT_EQ(button->Layout().pictureLeft, 52) << position;
            EXPECT_EQ(button->Layout().pictureTop, 12) << position;
        }
    }
    button->SetPictureNormal(nullptr);
    EXPECT_EQ(button->Layout().pictureWidth, 0);
}

TEST(TintButtonCaptionLayout, WideCaptionWrapsAndStaysCentred)
{
    tinttest::HostWindow host;
    auto button = tinttest::NewButton(host, 70, 44);
    button->SetButtonType(qm::TypeHotFlat);
    button->SetColorScheme(qm::SchemeClassic);
    button->SetCaption(L"Startup Folder Startup Folder");
    const auto& l = button->Layout();
    const int line = TextSize(*button, L"Startup").cy;
    EXPECT_GE(l.captionHeight, 2 * line);
    EXPECT_GE(l.captionRect.left, 1);
    EXPECT_LE(l.captionRect.right, 68);
    const int leftMargin = l.captionRect.left;
    const int rightMargin = 70 - l.captionRect.right;
    EXPECT_TRUE(leftMargin == rightMargin || leftMargin == rightMargin + 1) << leftMargin << " " << rightMargin;

    // The drawn text keeps inside the measured block.
    const tinttest::SurfacePixels px(button->Surface());
    for (int y = 0; y < 44; ++y)
        for (int x = 0; x < 70; ++x) {
            const POINT p{x, y};
            if (!PtInRect(&l.captionRect, p)) {
                ASSERT_EQ(px.At(x, y), 0xC0C0C0u) << x << "," << y;
            }
        }
}

TEST(TintButtonCaptionLayout, AmpersandsMarkTheAccessKey)
{
    tinttest::HostWindow host;
    auto button = tinttest::NewButton(host, kW, kH);
    button->SetCaption(L"&Backups");
    const int marked = button->Layout().captionWidth;
    button->SetCaption(L"Backups");
    EXPECT_EQ(button->Layout().captionWidth, marked);
    button->SetCaption(L"R&&D");
    const int doubled = button->Layout().captionWidth;
    button->SetCaption(L"R&D");
    EXPECT_GT(doubled, button->Layout().captionWidth);
}

} // namespace
