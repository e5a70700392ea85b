#include "controls/tintButton/TintButton.h"

namespace qm {

void TintButton::Redraw(std::uint8_t state, bool force)
{
    if (prop.CheckBoxBehaviour && prop.Value)
        state = StateDown;
    if (!force && prop.Caption == lastCaption && state == lastState)
        return;
    if (ctlHeight == 0 || !drawEnabled || !surfaceDC)
        return;
    lastState = state;
    lastCaption = prop.Caption;
    const RECT all{0, 0, ctlWidth, ctlHeight};
    UniqueBrush face(CreateSolidBrush(colors.FaceColor));
    if (face)
        FillRect(surfaceDC.get(), &all, face.get());
    InvalidateRect(window, nullptr, FALSE);
}

} // namespace qm
