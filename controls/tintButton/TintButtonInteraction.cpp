#include "controls/tintButton/TintButton.h"

namespace qm {

void TintButton::SetAccessKey() {}

} // namespace qm
