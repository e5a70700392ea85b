#include "host/Label.h"

#include <commctrl.h>

namespace qm {

Control::WindowKind Label::Kind() const
{
    return {WC_STATICW, SS_LEFT | SS_NOPREFIX, 0};
}

} // namespace qm
