#pragma once

#include "host/StoredLayoutText.h"
#include "host/Twips.h"

#include <windows.h>

#include <map>
#include <optional>
#include <string>

namespace qm {

inline constexpr int kHimetricPerInch = 2540;

// Stored layouts give control sizes in 1/100 mm; nearest pixel at the window's DPI.
inline int HimetricToPixels(int himetric, UINT dpi)
{
    return MulDiv(himetric, static_cast<int>(dpi), kHimetricPerInch);
}

// The stored layout of a window, compiled into the program as an RCDATA resource.
// Nothing when the resource is missing or its text does not parse.
[[nodiscard]] std::optional<WindowLayout> LoadStoredLayout(int resourceId);

// Per control name, the property bag of every control of the given class in the stored
// layout (the buttons: class "tintButton"); empty when the layout cannot be loaded.
std::map<std::wstring, PropertyStore> LoadPropertyBags(int resourceId, const std::wstring& className);

} // namespace qm
