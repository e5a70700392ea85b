#include "controls/tintButton/TintButton.h"

namespace qm {

void TintButton::MeasurePicture() {}

void TintButton::LayoutCaption() {}

} // namespace qm
