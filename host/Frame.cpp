#include "host/Frame.h"

#include <commctrl.h>

namespace qm {

Control::WindowKind Frame::Kind() const
{
    return {WC_STATICW, SS_ETCHEDFRAME, 0};
}

} // namespace qm
