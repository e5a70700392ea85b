#include "controls/tintButton/TintButton.h"

#include <cmath>
#include <limits>

namespace qm {

namespace {

constexpr std::int16_t kPointerArrow = 1;
constexpr std::int16_t kPointerCustom = 99;
constexpr int kHandCursor = 32649; // IDC_HAND

} // namespace

void TintButton::Notify(PropertyKey key) const
{
    site->PropertyChanged(KeyName(key));
}

void TintButton::SetBackColor(Color theCol)
{
    prop.BackColor = theCol;
    if (site->DesignMode())
        prop.BackOver = theCol;
    ComputeColors();
    Redraw(lastState, true);
    Notify(PropertyKey::BCOL);
}

void TintButton::SetBackOver(Color theCol)
{
    prop.BackOver = theCol;
    ComputeColors();
    Redraw(lastState, true);
    Notify(PropertyKey::BCOLO);
}

void TintButton::SetForeColor(Color theCol)
{
    prop.ForeColor = theCol;
    if (site->DesignMode())
        prop.ForeOver = theCol;
    ComputeColors();
    Redraw(lastState, true);
    Notify(PropertyKey::FCOL);
}

void TintButton::SetForeOver(Color theCol)
{
    prop.ForeOver = theCol;
    ComputeColors();
    Redraw(lastState, true);
    Notify(PropertyKey::FCOLO);
}

void TintButton::SetMaskColor(Color theCol)
{
    prop.MaskColor = theCol;
    ComputeColors();
    Redraw(lastState, true);
    Notify(PropertyKey::MCOL);
}

void TintButton::SetButtonType(std::int32_t newValue)
{
    prop.ButtonType = newValue;
    if (newValue == TypeOutlined && site->DesignMode()) {
        SetFontBold(true);
    } else if (newValue == TypeTransparent && drawEnabled) {
        // A button that becomes transparent while shown needs the surface that showing
        // it as such would have made.
        if (window && IsWindowVisible(window))
            PrepareBackground();
        CaptureBackground();
    }
    OnResize();
    Notify(PropertyKey::BTYPE);
}

void TintButton::SetCaption(const std::wstring& newValue)
{
    prop.Caption = newValue;
    SetWindowTextW(window, prop.Caption.c_str());
    SetAccessKey();
    LayoutCaption();
    Redraw(StateUp, true);
    Notify(PropertyKey::TX);
}

void TintButton::SetEnabled(bool newValue)
{
    prop.Enabled = newValue;
    Redraw(StateUp, true);
    EnableWindow(window, newValue ? TRUE : FALSE);
    Notify(PropertyKey::ENAB);
}

void TintButton::FontChanged()
{
    ApplyFont();
    LayoutCaption();
    Redraw(StateUp, true);
}

bool TintButton::SetFont(const FontDesc& newFont)
{
    if (!IsValidFontSize(newFont.size))
        return false;
    font = newFont;
    FontChanged();
    Notify(PropertyKey::FONT);
    return true;
}

void TintButton::SetFontBold(bool newValue)
{
    font.bold = newValue;
    FontChanged();
}

void TintButton::SetFontItalic(bool newValue)
{
    font.italic = newValue;
    FontChanged();
}

void TintButton::SetFontUnderline(bool newValue)
{
    font.underline = newValue;
    FontChanged();
}

std::int16_t TintButton::FontSize() const
{
    // Halves go to the even neighbour, the default rounding mode: 8.5 reads 8, 9.5 reads 10.
    return static_cast<std::int16_t>(std::nearbyint(font.size));
}

bool TintButton::SetFontSize(std::int16_t newValue)
{
    if (!IsValidFontSize(newValue))
        return false;
    font.size = newValue;
    FontChanged();
    return true;
}

void TintButton::SetFontName(const std::wstring& newValue)
{
    font.name = newValue;
    FontChanged();
}

void TintButton::SetColorScheme(std::int32_t newValue)
{
    prop.ColorScheme = newValue;
    ComputeColors();
    Redraw(StateUp, true);
    Notify(PropertyKey::COLTYPE);
}

void TintButton::SetShowFocusRect(bool newValue)
{
    prop.ShowFocusRect = newValue;
    Redraw(lastState, true);
    Notify(PropertyKey::FOCUSR);
}

bool TintButton::SetMousePointer(std::int32_t newPointer)
{
    if (newPointer < std::numeric_limits<std::int16_t>::min() || newPointer > std::numeric_limits<std::int16_t>::max())
        return false;
    pointerShape = static_cast<std::int16_t>(newPointer);
    Notify(PropertyKey::MPTR);
    return true;
}

void TintButton::SetMouseIcon(const PicturePtr& newIcon)
{
    // A pointer must be an icon or cursor; the window keeps its pointer for anything else.
    if (!newIcon || newIcon->GetType() == Picture::Type::Icon)
        pointerPicture = newIcon;
    Notify(PropertyKey::MICON);
}

bool TintButton::ApplyHandPointer(bool on)
{
    if (!on) {
        pointerPicture.reset();
        pointerShape = kPointerArrow;
        return true;
    }
    auto hand = Picture::FromSystemCursor(kHandCursor);
    if (!hand)
        return false;
    pointerPicture = std::move(hand);
    pointerShape = kPointerCustom;
    return true;
}

bool TintButton::SetHandPointer(bool newVal)
{
    prop.HandPointer = newVal;
    if (!ApplyHandPointer(newVal))
        return false;
    Notify(PropertyKey::HAND);
    return true;
}

void TintButton::SetSoftBevel(bool newValue)
{
    prop.SoftBevel = newValue;
    ComputeColors();
    Redraw(lastState, true);
    Notify(PropertyKey::SOFT);
}

void TintButton::SetPictureNormal(const PicturePtr& newPic)
{
    prop.PictureNormal = newPic;
    MeasurePicture();
    LayoutCaption();
    Redraw(lastState, true);
    Notify(PropertyKey::PICN);
}

void TintButton::SetPictureOver(const PicturePtr& newPic)
{
    prop.PictureOver = newPic;
    if (isOver)
        Redraw(lastState, true);
    Notify(PropertyKey::PICH);
}

void TintButton::SetPicturePosition(std::int32_t newPicPos)
{
    prop.PicturePosition = newPicPos;
    Notify(PropertyKey::PICPOS);
    LayoutCaption();
    Redraw(lastState, true);
}

void TintButton::SetUseMaskColor(bool newValue)
{
    prop.UseMaskColor = newValue;
    if (prop.PictureNormal)
        Redraw(lastState, true);
    Notify(PropertyKey::UMCOL);
}

void TintButton::SetUseGreyscale(bool newValue)
{
    prop.UseGreyscale = newValue;
    if (prop.PictureNormal)
        Redraw(lastState, true);
    Notify(PropertyKey::NGREY);
}

void TintButton::SetSpecialEffect(std::int32_t newValue)
{
    prop.SpecialEffect = newValue;
    Redraw(lastState, true);
    Notify(PropertyKey::FX);
}

void TintButton::SetCheckBoxBehaviour(bool newValue)
{
    prop.CheckBoxBehaviour = newValue;
    Redraw(lastState, true);
    Notify(PropertyKey::CHECK);
}

void TintButton::SetValue(bool newValue)
{
    prop.Value = newValue;
    if (prop.CheckBoxBehaviour)
        Redraw(StateUp, true);
    Notify(PropertyKey::VALUE);
}

void TintButton::DisableRefresh()
{
    drawEnabled = false;
}

void TintButton::Refresh()
{
    if (prop.ButtonType == TypeTransparent)
        CaptureBackground();
    ComputeColors();
    LayoutCaption();
    drawEnabled = true;
    Redraw(lastState, true);
}

} // namespace qm
