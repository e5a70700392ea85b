#pragma once

// The working colours of a button and the arithmetic that derives them. The arithmetic is
// pure; what the platform supplies (colour translation, system and container colours)
// comes through ColorSource.

#include <cstdint>

namespace qm {

// 0x00BBGGRR, or a system-colour reference 0x80000000 + index until translated.
using Colour = std::uint32_t;

inline constexpr Colour kSystemColour = 0x80000000;
inline constexpr int kColorBtnFace = 15;
inline constexpr int kColorBtnText = 18;

enum ColorSchemeValue : std::int32_t {
    SchemeSystem = 1,
    SchemeCustom = 2,
    SchemeClassic = 3,
    SchemeContainer = 4,
};

struct WorkingColors {
    Colour FaceColor = 0;
    Colour LightColor = 0;
    Colour HighlightColor = 0;
    Colour ShadowColor = 0;
    Colour DarkShadowColor = 0;
    Colour TextColor = 0;
    Colour TextOverColor = 0;
    Colour FaceOverColor = 0;
    Colour MaskRGB = 0;
    Colour SelectColor = 0;
    Colour SelectLightColor = 0;
    Colour FaceLightColor = 0;

    bool operator==(const WorkingColors&) const = default;
};

// The properties the working colours depend on.
struct ColorInputs {
    std::int32_t colorScheme = SchemeSystem;
    std::int32_t buttonType = 0;
    Colour backColor = 0;
    Colour backOver = 0;
    Colour foreColor = 0;
    Colour foreOver = 0;
    Colour maskColor = 0;
    bool softBevel = false;
};

class ColorSource {
public:
    virtual ~ColorSource() = default;
    virtual Colour Translate(Colour colour) const = 0;
    virtual Colour System(int index) const = 0;
    virtual void Container(Colour& background, Colour& text) const = 0;
};

// Adds delta to each channel, clamped by the sign of delta; a soft bevel halves delta
// toward zero; proportionalBlue shifts blue by blue * delta / 192 instead.
Colour ShiftColor(Colour colour, int delta, bool proportionalBlue, bool softBevel);
// Blends each channel toward white by amount (0..255).
Colour Lighten(Colour colour, int amount);

// Fills every working colour from the scheme; does not allocate.
void ComputeColorSet(const ColorInputs& inputs, const ColorSource& source, WorkingColors& out);

} // namespace qm
