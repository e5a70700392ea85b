#include "host/TextBox.h"

#include <commctrl.h>

namespace qm {

Control::WindowKind TextBox::Kind() const
{
    return {WC_EDITW, WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE};
}

void TextBox::OnCommand(WORD code)
{
    if (code == EN_CHANGE && onChange)
        onChange();
}

} // namespace qm
