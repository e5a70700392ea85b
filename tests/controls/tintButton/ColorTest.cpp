#include "ButtonHarness.h"

#include <gtest/gtest.h>

using qm::Color;
using qm::WorkingColors;

namespace {

WorkingColors ColorsOf(std::int32_t scheme, Color back, bool soft, std::int32_t type)
{
    tinttest::LoneModel lone;
    lone.model.SetButtonType(type);
    lone.model.SetBackColor(back);
    lone.model.SetSoftBevel(soft);
    lone.model.SetColorScheme(scheme);
    return lone.model.Colors();
}

// The program's buttons (the custom scheme on 0xD8EAE6, hovered on 0xFFC0C0), with and
// without a soft bevel, and the gradient style's light face: each channel is held at 0 and
// 255 on its own, a soft bevel halves deltas toward zero before the blue share is taken.
TEST(TintButtonColors, WorkedValues)
{
    constexpr std::int32_t kCustom = qm::SchemeCustom, kClassic = qm::SchemeClassic;
    constexpr std::int32_t kFlat = qm::TypeHotFlat, kGradient = qm::TypeGradient;
    struct Row {
        const char* what;
        std::int32_t scheme;
        Color back;
        bool soft;
        std::int32_t type;
        Color WorkingColors::*color;
        Color expected;
    } const rows[] = {
        {"shadow", kCustom, 0xD8EAE6, false, kFlat, &WorkingColors::ShadowColor, 0x98AAA6},
        {"light", kCustom, 0xD8EAE6, false, kFlat, &WorkingColors::LightColor, 0xF7FFFF},
        {"highlight", kCustom, 0xD8EAE6, false, kFlat, &WorkingColors::HighlightColor, 0xFFFFFF},
        {"dark shadow", kCustom, 0xD8EAE6, false, kFlat, &WorkingColors::DarkShadowColor, 0x182A26},
        {"select light", kCustom, 0xD8EAE6, false, kFlat, &WorkingColors::SelectLightColor, 0xD8EAE6},
        {"face light", kCustom, 0xD8EAE6, false, kFlat, &WorkingColors::FaceLightColor, 0xFFFFFF},
        {"soft light", kCustom, 0xD8EAE6, true, kFlat, &WorkingColors::LightColor, 0xE7F9F5},
        {"soft dark shadow", kCustom, 0xD8EAE6, true, kFlat, &WorkingColors::DarkShadowColor, 0x788A86},
        {"hover dark shadow", kCustom, 0xFFC0C0, false, kFlat, &WorkingColors::DarkShadowColor, 0x3F0000},
        {"gradient face light", kClassic, 0, false, kGradient, &WorkingColors::FaceLightColor, 0xF0F0F0},
        {"soft gradient face light", kClassic, 0, true, kGradient, &WorkingColors::FaceLightColor, 0xD8D8D8},
    };
    for (const auto& row : rows)
        EXPECT_EQ(ColorsOf(row.scheme, row.back, row.soft, row.type).*row.color, row.expected) << row.what;
    EXPECT_EQ(qm::Lighten(0x800000, 176), 0xD7B0B0u);
}

TEST(TintButtonColors, SystemColorReferencesAreTranslatedBeforeTheEdges)
{
    const Color highlight = GetSysColor(COLOR_HIGHLIGHT);
    const WorkingColors colors = ColorsOf(qm::SchemeCustom, qm::kSystemColor | COLOR_HIGHLIGHT, false, qm::TypeHotFlat);
    EXPECT_EQ(colors.FaceColor, highlight);
    EXPECT_EQ(colors.ShadowColor, qm::ShiftColor(highlight, -64, false, false));
    EXPECT_EQ(qm::TintButtonModel::TranslateColor(0x00123456), 0x123456u);
    EXPECT_EQ(qm::TintButtonModel::TranslateColor(0x0F000000), 0u);
    EXPECT_EQ(qm::TintButtonModel::TranslateColor(qm::kSystemColor | 0x4000), 0u);
}

} // namespace
