#pragma once

#include "controls/tintButton/TintButton.h"

namespace qm {

// Puts a button in the looks that the pointer and the focus give it, and reaches its
// gradient, for tests and benchmarks that draw without real input.
struct TintButtonProbe {
    static void SetOver(TintButton& button, bool over) { button.isOver = over; }
    static void SetFocus(TintButton& button, bool focus) { button.hasFocus = focus; }
    static void Gradient(TintButton& button, Color base, int k, bool darkestAtTop)
    {
        button.DrawGradient(base, k, false, darkestAtTop);
    }
};

} // namespace qm
