#pragma once

#include "controls/tintButton/TintButtonModel.h"
#include "controls/tintButton/TintButtonSurface.h"

#include <memory>

namespace qm {

// How the user is treating a button, as a drawing shows it.
struct TintButtonState {
    bool pressed = false;
    bool over = false;
    bool focused = false;
    // The holder shows the button as its default button.
    bool isDefault = false;
};

// Draws a button whole: the face, the edges of its style, the caption and the picture, as the
// model and the state say, onto a surface at least the model's size. A painter remembers what
// the next drawing of the same button reads: the caption look last drawn (a caption behind
// its picture is drawn again in it) and the last picture's pixels.
class TintButtonPainter {
public:
    TintButtonPainter();
    ~TintButtonPainter();
    TintButtonPainter(const TintButtonPainter&) = delete;
    TintButtonPainter& operator=(const TintButtonPainter&) = delete;

    // background: what lies under a transparent button (TypeTransparent), if it was captured.
    void Paint(const TintButtonModel& model, const TintButtonState& state, TintButtonSurface& surface,
               const TintButtonSurface* background = nullptr);

private:
    class Drawing;
    struct Memory;
    std::unique_ptr<Memory> memory_;
};

} // namespace qm
