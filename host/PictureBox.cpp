#include "host/PictureBox.h"

#include <commctrl.h>

namespace qm {

Control::WindowKind PictureBox::Kind() const
{
    return {WC_STATICW, SS_OWNERDRAW, 0};
}

void PictureBox::OnDrawItem(const DRAWITEMSTRUCT& item)
{
    if (onPaint)
        onPaint(item.hDC, item.rcItem);
}

} // namespace qm
