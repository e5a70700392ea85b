#pragma once

// The working colors of a button and the arithmetic that derives them. The arithmetic is
// pure; what the platform supplies (color translation, system and container colors)
// comes through ColorSource.

#include <cstdint>

namespace qm {

// 0x00BBGGRR, or a system-color reference 0x80000000 + index until translated.
using Color = std::uint32_t;

inline constexpr Color kSystemColor = 0x80000000;
inline constexpr int kColorBtnFace = 15;
inline constexpr int kColorBtnText = 18;

enum ColorSchemeValue : std::int32_t {
    SchemeSystem = 1,
    SchemeCustom = 2,
    SchemeClassic = 3,
    SchemeContainer = 4,
};

struct WorkingColors {
    Color FaceColor = 0;
    Color LightColor = 0;
    Color HighlightColor = 0;
    Color ShadowColor = 0;
    Color DarkShadowColor = 0;
    Color TextColor = 0;
    Color TextOverColor = 0;
    Color FaceOverColor = 0;
    Color MaskRGB = 0;
    Color SelectColor = 0;
    Color SelectLightColor = 0;
    Color FaceLightColor = 0;

    bool operator==(const WorkingColors&) const = default;
};

// The properties the working colors depend on.
struct ColorInputs {
    std::int32_t colorScheme = SchemeSystem;
    std::int32_t buttonType = 0;
    Color backColor = 0;
    Color backOver = 0;
    Color foreColor = 0;
    Color foreOver = 0;
    Color maskColor = 0;
    bool softBevel = false;
};

class ColorSource {
public:
    virtual ~ColorSource() = default;
    virtual Color Translate(Color color) const = 0;
    virtual Color System(int index) const = 0;
    virtual void Container(Color& background, Color& text) const = 0;
};

// Adds delta to each channel, clamped by the sign of delta; a soft bevel halves delta
// toward zero; proportionalBlue shifts blue by blue * delta / 192 instead.
Color ShiftColor(Color color, int delta, bool proportionalBlue, bool softBevel);
// Blends each channel toward white by amount (0..255).
Color Lighten(Color color, int amount);

// Fills every working color from the scheme; does not allocate.
void ComputeColorSet(const ColorInputs& inputs, const ColorSource& source, WorkingColors& out);

} // namespace qm
