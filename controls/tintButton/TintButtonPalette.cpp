#include "controls/tintButton/TintButton.h"

#include "host/GdiHandles.h"

#include <olectl.h>

namespace qm {

namespace {

// The platform behind the color arithmetic: the button's parent supplies the container
// colors by answering WM_CTLCOLORBTN on its own drawing surface, as it would for a
// standard button.
class PlatformColors final : public ColorSource {
public:
    explicit PlatformColors(HWND control) : control_(control) {}

    Color Translate(Color color) const override { return TintButton::TranslateColor(color); }
    Color System(int index) const override { return GetSysColor(index); }
    void Container(Color& background, Color& text) const override
    {
        const HWND parent = GetParent(control_);
        WindowDC dc(parent);
        if (!dc) {
            background = 0;
            text = 0;
            return;
        }
        SendMessageW(parent, WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(dc.get()), reinterpret_cast<LPARAM>(control_));
        background = GetBkColor(dc.get());
        text = GetTextColor(dc.get());
    }

private:
    HWND control_;
};

} // namespace

Color TintButton::TranslateColor(Color color)
{
    // System colours are read here rather than through OLE, which under some platforms
    // answers an index beyond the table with a colour instead of failing.
    if ((color & 0xFF000000) == kSystemColor) {
        const Color index = color & 0x00FFFFFF;
        return index <= COLOR_MENUBAR ? GetSysColor(static_cast<int>(index)) : 0;
    }
    COLORREF rgb = 0;
    return SUCCEEDED(OleTranslateColor(color, nullptr, &rgb)) ? rgb : 0;
}

Color TintButton::ShiftColor(Color color, int delta, bool proportionalBlue) const
{
    return qm::ShiftColor(color, delta, proportionalBlue, prop.SoftBevel);
}

void TintButton::ComputeColors()
{
    const ColorInputs inputs{prop.ColorScheme, prop.ButtonType, prop.BackColor, prop.BackOver,
                             prop.ForeColor,   prop.ForeOver,   prop.MaskColor, prop.SoftBevel};
    ComputeColorSet(inputs, PlatformColors(window), colors);
}

} // namespace qm
