#include "ButtonHarness.h"

#include <gtest/gtest.h>

using qm::Color;
using qm::WorkingColors;

namespace {

WorkingColors ColorsOf(std::int32_t scheme, Color back, bool soft, std::int32_t type)
{
    tinttest::HostWindow host;
    auto button = tinttest::NewButton(host);
    button->SetButtonType(type);
    button->SetBackColor(back);
    button->SetSoftBevel(soft);
    button->SetColorScheme(scheme);
    return button->Colors();
}

constexpr Color kFace = 0xD8EAE6;
constexpr Color kHover = 0xFFC0C0;

struct Worked {
    const char* what;
    Color (*actual)();
    Color expected;
};

// The program's own buttons: custom scheme on its face color, with and without a soft
// bevel, and the hover face they switch to; the gradient style's light face; Lighten.
const Worked kWorked[] = {
    {"face", [] { return ColorsOf(2, kFace, false, 9).FaceColor; }, 0xD8EAE6},
    {"shadow", [] { return ColorsOf(2, kFace, false, 9).ShadowColor; }, 0x98AAA6},
    {"light", [] { return ColorsOf(2, kFace, false, 9).LightColor; }, 0xF7FFFF},
    {"highlight", [] { return ColorsOf(2, kFace, false, 9).HighlightColor; }, 0xFFFFFF},
    {"dark shadow", [] { return ColorsOf(2, kFace, false, 9).DarkShadowColor; }, 0x182A26},
    {"select", [] { return ColorsOf(2, kFace, false, 9).SelectColor; }, 0x586A66},
    {"select light", [] { return ColorsOf(2, kFace, false, 9).SelectLightColor; }, 0xD8EAE6},
    {"face light", [] { return ColorsOf(2, kFace, false, 9).FaceLightColor; }, 0xFFFFFF},
    {"soft shadow", [] { return ColorsOf(2, kFace, true, 9).ShadowColor; }, 0xB8CAC6},
    {"soft light", [] { return ColorsOf(2, kFace, true, 9).LightColor; }, 0xE7F9F5},
    {"soft highlight", [] { return ColorsOf(2, kFace, true, 9).HighlightColor; }, 0xEFFFFD},
    {"soft dark shadow", [] { return ColorsOf(2, kFace, true, 9).DarkShadowColor; }, 0x788A86},
    {"soft select", [] { return ColorsOf(2, kFace, true, 9).SelectColor; }, 0x98AAA6},
    {"hover shadow", [] { return ColorsOf(2, kHover, false, 9).ShadowColor; }, 0xBF8080},
    {"hover light", [] { return ColorsOf(2, kHover, false, 9).LightColor; }, 0xFFDFDF},
    {"hover highlight", [] { return ColorsOf(2, kHover, false, 9).HighlightColor; }, 0xFFEFEF},
    {"hover dark shadow", [] { return ColorsOf(2, kHover, false, 9).DarkShadowColor; }, 0x3F0000},
    {"hover select", [] { return ColorsOf(2, kHover, false, 9).SelectColor; }, 0x7F4040},
    {"classic gradient face light", [] { return ColorsOf(3, kFace, false, 3).FaceLightColor; }, 0xF0F0F0},
    {"Lighten", [] { return qm::Lighten(0x800000, 176); }, 0xD7B0B0},
};

TEST(TintButtonColors, WorkedValues)
{
    for (const auto& row : kWorked)
        EXPECT_EQ(row.actual(), row.expected) << row.what;
}

TEST(TintButtonColors, ShiftClampsBySignAndHalvesForSoftBevel)
{
    struct Case {
        Color color;
        int delta;
        bool blue;
        bool soft;
        Color expected;
    } const cases[] = {
        {0xFFFFFF, 47, false, false, 0xFFFFFF},   // white stays white
        {0x000000, -64, false, false, 0x000000},  // black stays black
        {0x00FF10, 31, false, false, 0x1FFF2F},   // only the channel that overflows is held
        {0x2000FF, -64, false, false, 0x0000BF},  // only the channel that underflows is held
        {0xC00000, -64, true, false, 0x800000},   // blue moves by a third of itself
        {0x101010, 31, false, true, 0x1F1F1F},    // 31 halves to 15
        {0xFFFFFF, -192, false, true, 0x9F9F9F},  // -192 halves to -96
        {0x808080, -1, false, true, 0x808080},    // -1 halves to 0: nothing moves
        {0x808080, 48, true, true, 0x909898},     // 48 halves to 24 before the blue share
    };
    for (const auto& c : cases)
        EXPECT_EQ(qm::ShiftColor(c.color, c.delta, c.blue, c.soft), c.expected)
            << std::hex << c.color << " by " << std::dec << c.delta;
}

TEST(TintButtonColors, UnknownSchemesAreTheSystemScheme)
{
    // A distinctive face and the gradient style, so that falling into another scheme shows.
    const WorkingColors system = ColorsOf(1, 0x123456, true, 3);
    EXPECT_EQ(system.FaceColor, GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(system.SelectLightColor, qm::Lighten(GetSysColor(COLOR_HIGHLIGHT), 176));
    for (std::int32_t scheme : {0, 7, -1})
        EXPECT_EQ(ColorsOf(scheme, 0x123456, true, 3), system) << "scheme " << scheme;
}

TEST(TintButtonColors, SystemColorReferencesAreTranslatedBeforeTheEdges)
{
    const Color highlight = GetSysColor(COLOR_HIGHLIGHT);
    const WorkingColors colors = ColorsOf(2, qm::kSystemColor | COLOR_HIGHLIGHT, false, 9);
    EXPECT_EQ(colors.FaceColor, highlight);
    EXPECT_EQ(colors.ShadowColor, qm::ShiftColor(highlight, -64, false, false));
    EXPECT_EQ(colors.SelectLightColor, highlight);

    EXPECT_EQ(qm::TintButton::TranslateColor(0x00123456), 0x123456u);
    EXPECT_EQ(qm::TintButton::TranslateColor(qm::kSystemColor | COLOR_BTNFACE), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(qm::TintButton::TranslateColor(0x0F000000), 0u);
    EXPECT_EQ(qm::TintButton::TranslateColor(qm::kSystemColor | 0x4000), 0u);
}

} // namespace
