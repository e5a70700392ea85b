#include "ButtonHarness.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

using qm::Color;

namespace {

// Every case draws a 40 x 20 button with an empty caption.
constexpr int kW = 40;
constexpr int kH = 20;

// The order of the looks, as failures name them: 0 up, 1 over, 2 down, 3 disabled.
enum class Look { Up, Over, Down, Disabled };
enum class Base { Face, Light, Hi, Shadow, Dark, FaceLight, PressedGradient, Fixed };

// A color of the working set shifted by delta (proportional blue as the style uses it);
// PressedGradient is TypeGradient's pressed base, FaceLight shifted by -32 with blue.
struct Tone {
    Base base;
    int delta = 0;
    bool blue = false;
    Color fixed = 0;
};

Tone T(Base base, int delta = 0) { return {base, delta, false, 0}; }
Tone B(Base base, int delta = 0) { return {base, delta, true, 0}; }
Tone Fixed(Color color) { return {Base::Fixed, 0, false, color}; }

const Tone F = T(Base::Face);
const Tone L = T(Base::Light);
const Tone H = T(Base::Hi);
const Tone S = T(Base::Shadow);
const Tone D = T(Base::Dark);

Color Resolve(const qm::TintButtonModel& b, const Tone& t)
{
    const qm::WorkingColors& c = b.Colors();
    Color base = 0;
    switch (t.base) {
    case Base::Face: base = c.FaceColor; break;
    case Base::Light: base = c.LightColor; break;
    case Base::Hi: base = c.HighlightColor; break;
    case Base::Shadow: base = c.ShadowColor; break;
    case Base::Dark: base = c.DarkShadowColor; break;
    case Base::FaceLight: base = c.FaceLightColor; break;
    case Base::PressedGradient: base = b.ShiftColor(c.FaceLightColor, -32, true); break;
    case Base::Fixed: return t.fixed;
    }
    return b.ShiftColor(base, t.delta, t.blue);
}

// Negative coordinates count from the right and bottom edges.
struct Probe {
    int x;
    int y;
    Tone tone;
};
using Probes = std::vector<Probe>;

Probes Join(std::initializer_list<Probes> parts)
{
    Probes all;
    for (const auto& p : parts)
        all.insert(all.end(), p.begin(), p.end());
    return all;
}

// The two rings of a bevel: c1 left and top, c2 right and bottom outside, c3 and c4 inside.
Probes Bevel(Tone c1, Tone c2, Tone c3, Tone c4, int inset)
{
    const int a = -inset;
    return {{a, a, c1},          {a, 10, c1},          {20, a, c1},          {-1 - a, a, c2},
            {-1 - a, 10, c2},    {a, -1 - a, c2},      {20, -1 - a, c2},     {a + 1, a + 1, c3},
            {a + 1, 10, c3},     {20, a + 1, c3},      {-2 - a, a + 1, c4},  {-2 - a, 10, c4},
            {a + 1, -2 - a, c4}, {20, -2 - a, c4},     {20, 10, F}};
}

Probes Outer(Tone c1, Tone c2)
{
    return {{0, 0, c1}, {0, 10, c1}, {20, 0, c1}, {-1, 0, c2}, {-1, 10, c2}, {0, -1, c2}, {20, -1, c2},
            {1, 1, F},  {1, 10, F},  {-2, 10, F}, {20, -2, F}};
}

// The outline of the box inset by a pixels on every side.
Probes Frame(Tone t, int a = 0)
{
    return {{a, a, t}, {20, a, t}, {a, 10, t}, {-1 - a, 10, t}, {20, -1 - a, t}, {-1 - a, -1 - a, t}};
}

const Probes kFaceOnly = {{0, 0, F}, {20, 0, F}, {-1, -1, F}, {20, 10, F}, {1, 1, F}};

const Probes kGradientUp = {
    {20, 0, Fixed(0x733C00)}, {0, 10, Fixed(0x733C00)}, {1, 1, Fixed(0x7B4D10)}, {-2, -2, Fixed(0x7B4D10)},
    {20, -2, B(Base::FaceLight, -48)}, {20, -3, B(Base::FaceLight, -32)}, {-2, 10, B(Base::FaceLight, -36)},
    {-3, 10, B(Base::FaceLight, -24)}, {20, 1, B(Base::FaceLight, 16)}, {20, 2, B(Base::FaceLight, 10)},
    {1, 10, B(Base::FaceLight, -5)}, {2, 10, B(Base::FaceLight, -10)},
    {20, 5, B(Base::FaceLight, -6)}, {20, 10, B(Base::FaceLight, -12)},
};

Probes GradientRing(std::initializer_list<Color> c)
{
    const auto* r = c.begin();
    return {{20, 0, Fixed(0x733C00)}, {1, 10, Fixed(r[0])}, {-2, 10, Fixed(r[0])}, {20, -3, Fixed(r[0])},
            {20, -2, Fixed(r[1])},    {20, 1, Fixed(r[2])}, {20, 2, Fixed(r[3])},   {2, 10, Fixed(r[4])},
            {-3, 10, Fixed(r[5])}};
}

const Probes kGradientDown = {
    {20, 0, Fixed(0x733C00)}, {1, 1, Fixed(0x7B4D10)}, {-2, -2, Fixed(0x7B4D10)},
    {20, 5, B(Base::PressedGradient, -19)}, {20, 10, B(Base::PressedGradient, -12)},
    {20, -2, B(Base::PressedGradient, 16)}, {20, -3, B(Base::PressedGradient, 10)},
    {-2, 10, B(Base::PressedGradient, 5)}, {-3, 10, T(Base::FaceLight)}, {20, 1, B(Base::PressedGradient, -32)},
    {20, 2, B(Base::PressedGradient, -24)}, {1, 10, B(Base::PressedGradient, -32)},
    {2, 10, B(Base::PressedGradient, -22)},
};

const Probes kGradientDisabled = {{20, 10, B(Base::FaceLight, -24)}, {20, 0, B(Base::FaceLight, -84)},
                                  {0, 10, B(Base::FaceLight, -84)},  {1, 1, B(Base::FaceLight, -72)},
                                  {-2, -2, B(Base::FaceLight, -72)}};

const Probes kRoundedUp = {
    {20, 10, L}, {20, 0, D}, {0, 10, D}, {1, -2, D}, {-2, 1, D}, {-2, -2, D}, {20, 2, H}, {2, 10, H},
    {3, 3, H},   {-3, 10, F}, {20, -3, F}, {-4, -4, F}, {-2, 10, S}, {20, -2, S}, {-3, -3, S},
};

const Probes kRoundedDown = {
    {20, 10, T(Base::Shadow, -16)}, {20, 0, D}, {20, 1, T(Base::Shadow, -64)}, {1, 10, T(Base::Shadow, -64)},
    {20, 2, T(Base::Shadow, -32)},  {2, 10, T(Base::Shadow, -32)}, {2, 2, T(Base::Shadow, -64)},
    {3, 3, T(Base::Shadow, -32)},   {1, 1, D}, {-2, -2, D}, {-3, 10, S}, {20, -3, S}, {-4, -4, S},
    {-2, 10, T(Base::Shadow, -16)}, {20, -2, T(Base::Shadow, -16)}, {-2, -3, T(Base::Shadow, -32)},
    {-3, -2, T(Base::Shadow, -32)}, {2, -2, T(Base::Shadow, -32)}, {-2, 2, T(Base::Shadow, -32)},
};

const Probes kOutlinedUp = {
    {20, 10, T(Base::Face, 12)}, {-1, 10, H}, {20, -1, H}, {1, 10, H}, {20, 1, H},
    {0, 10, T(Base::Shadow, -26)}, {-2, 10, T(Base::Shadow, -26)}, {20, 0, T(Base::Shadow, -26)},
    {20, -2, T(Base::Shadow, -26)}, {1, -2, T(Base::Shadow, 26)}, {-2, 1, T(Base::Shadow, 26)},
};

const Probes kOutlinedDown = {
    {20, 10, T(Base::Shadow, 16)}, {1, 1, T(Base::Shadow, 16)}, {0, 10, T(Base::Shadow, -26)},
    {-2, 10, T(Base::Shadow, -26)}, {20, 0, T(Base::Shadow, -26)}, {20, -2, T(Base::Shadow, -26)},
    {-1, 10, H}, {20, -1, H},
};

const Probes kShadedFrame = {
    {20, 0, T(Base::Shadow, -50)}, {0, 10, T(Base::Shadow, -50)}, {-1, 10, T(Base::Shadow, -50)},
    {20, -1, T(Base::Shadow, -50)}, {20, 1, T(Base::Face, -9)}, {1, 10, T(Base::Face, -9)},
    {-2, 10, T(Base::Face, -9)}, {20, -2, T(Base::Face, -9)}, {20, 2, H}, {20, 3, H}, {2, 10, H}, {3, 10, H},
};

// Rows 5, 10 and 15 of the gradient K = 58 over H = 20 (single-precision step: row 15 is
// -44, not -43).
const Probes kShadedGradient = {{20, 5, T(Base::Hi, -15)}, {20, 10, T(Base::Hi, -29)}, {20, 15, T(Base::Hi, -44)}};

const Probes kShadedDown = {
    {20, 10, T(Base::Face, -9)}, {1, 1, T(Base::Face, -9)}, {20, 0, T(Base::Shadow, -48)},
    {0, 10, T(Base::Shadow, -48)}, {-1, 10, T(Base::Shadow, -48)}, {20, -1, T(Base::Shadow, -48)},
    {20, -2, H}, {-2, 10, H},
};

const Tone kLightBevel = T(Base::Light, 8);

struct Case {
    std::int32_t type;
    Look look;
    Probes probes;
    bool focus = false;
    bool asDefault = false;
};

const std::vector<Case>& Cases()
{
    static const std::vector<Case> cases = {
        {1, Look::Up, Join({Bevel(H, S, H, S, -1), Frame(D)})},
        {1, Look::Down, Join({Bevel(S, H, S, H, -1), Frame(D)})},
        {1, Look::Disabled, Join({Bevel(H, S, H, S, -1), Frame(D)})},
        {2, Look::Up, Bevel(H, D, L, S, 0)},
        {2, Look::Down, Bevel(D, H, S, L, 0)},
        {2, Look::Disabled, Bevel(H, D, L, S, 0)},
        {2, Look::Up, Join({Bevel(H, D, L, S, -1), Frame(D)}), false, true},
        {2, Look::Down, Join({Frame(D), Frame(S, 1), {{2, 2, F}}}), false, true},
        {3, Look::Up, kGradientUp},
        {3, Look::Over, GradientRing({0x31B2FF, 0x0096E7, 0xCEF3FF, 0x8CDBFF, 0x6BCBFF, 0x6BCBFF})},
        {3, Look::Up, GradientRing({0xE7AE8C, 0xEF826B, 0xFFE7CE, 0xF7D7BD, 0xF0D1B5, 0xF0D1B5}), true},
        {3, Look::Down, kGradientDown},
        {3, Look::Disabled, kGradientDisabled},
        {4, Look::Up, kRoundedUp},
        {4, Look::Down, kRoundedDown},
        {4, Look::Disabled, kRoundedUp},
        {5, Look::Up, kOutlinedUp},
        {5, Look::Down, kOutlinedDown},
        {5, Look::Disabled, Join({Frame(S), {{20, 10, F}}})},
        {6, Look::Up, Bevel(kLightBevel, S, kLightBevel, S, 0)},
        {6, Look::Down, Bevel(S, kLightBevel, S, kLightBevel, 0)},
        {6, Look::Disabled, Bevel(kLightBevel, S, kLightBevel, S, 0)},
        {7, Look::Up, Outer(H, S)},
        {7, Look::Down, Outer(S, H)},
        {7, Look::Disabled, Outer(H, S)},
        {8, Look::Up, kFaceOnly},
        {8, Look::Over, Outer(H, S)},
        {8, Look::Down, Outer(S, H)},
        {8, Look::Disabled, kFaceOnly},
        {10, Look::Up, kFaceOnly},
        {10, Look::Over, kFaceOnly},
        {10, Look::Down, kFaceOnly},
        {10, Look::Disabled, kFaceOnly},
        {11, Look::Up, {{0, 0, Fixed(tinttest::HostWindow::kBackground)}, {20, 10, Fixed(tinttest::HostWindow::kBackground)}}},
        {11, Look::Down, {{-1, -1, Fixed(tinttest::HostWindow::kBackground)}}},
        {11, Look::Disabled, {{20, 0, Fixed(tinttest::HostWindow::kBackground)}}},
        {12, Look::Up, kFaceOnly},
        {12, Look::Over, Bevel(H, D, L, S, 0)},
        {12, Look::Down, Bevel(D, H, S, L, 0)},
        {12, Look::Disabled, kFaceOnly},
        // The oval: its corners keep the face, its middle the brush, its rim the pen.
        {13, Look::Up, {{0, 0, F}, {20, 10, F}, {20, 0, F}, {0, 10, F}}},
        {13, Look::Over, {{0, 0, F}, {20, 10, F}, {20, 0, S}, {0, 10, S}, {-1, -1, F}}},
        {13, Look::Down, {{0, 0, F}, {20, 10, T(Base::Face, -32)}, {20, 0, D}, {-1, 10, D}, {-1, -1, F}}},
        {13, Look::Disabled, kFaceOnly},
        {14, Look::Up, Join({kShadedFrame, kShadedGradient})},
        {14, Look::Over, Join({kShadedFrame, {{20, 10, L}, {20, 15, L}}})},
        {14, Look::Down, kShadedDown},
        {14, Look::Disabled, Join({kShadedFrame, kShadedGradient})},
    };
    return cases;
}

TEST(TintButtonStyles, EdgesAndCornersOfEveryLook)
{
    tinttest::HostWindow host;
    // What lies under a transparent button.
    qm::TintButtonSurface under;
    ASSERT_TRUE(under.Resize(kW, kH));
    const qm::UniqueBrush fill(CreateSolidBrush(tinttest::HostWindow::kBackground));
    const RECT all{0, 0, kW, kH};
    FillRect(under.Dc(), &all, fill.get());
    for (const std::int32_t scheme : {qm::SchemeSystem, qm::SchemeClassic}) {
        for (const Case& c : Cases()) {
            auto button = tinttest::NewButton(host, kW, kH);
            qm::TintButtonModel& model = button->Model();
            model.SetCaption(L"");
            model.SetColorScheme(scheme);
            model.SetButtonType(c.type);
            model.SetEnabled(c.look != Look::Disabled);
            // A disabled button is drawn disabled even when pressed.
            const qm::TintButtonState state{c.look == Look::Down || c.look == Look::Disabled, c.look == Look::Over,
                                            c.focus, c.asDefault};
            const tinttest::SurfacePixels px = tinttest::Paint(model, state, &under);
            for (const Probe& p : c.probes)
                EXPECT_EQ(px.At(p.x, p.y), Resolve(model, p.tone))
                    << "scheme " << scheme << ", type " << c.type << " look " << static_cast<int>(c.look)
                    << (c.focus ? " focused" : "") << (c.asDefault ? " default" : "") << ", pixel (" << p.x << ", "
                    << p.y << ")";
        }
    }
}

} // namespace
