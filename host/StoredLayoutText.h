#pragma once

// The stored-layout text of one window: its controls, each with its size and its property
// bag. UTF-8, one item a line, blank lines and lines starting with "#" ignored:
//
//   window frmMain
//   control tintButton1 tintButton 3254 661      name, class, width and height in 1/100 mm
//     btype int 9                                decimal, or 0x and up to 8 hex digits
//     enab bool true                             true or false
//     tx text "&HKLM Run"                        escapes \" \\ \n \r \t \uXXXX
//     font font "MS Sans Serif" 8.25 bold        points to four decimals; bold italic underline
//     picn picture icon resource 101             a resource of the program
//     micon picture icon system-cursor 32649     one of the system's cursors
//     pich picture bitmap data Qk0...            the image file's bytes in base64
//   end
//
// Keys are read in any case. Free of the platform headers.

#include "host/PropertyStore.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qm {

struct ControlLayout {
    std::wstring name;
    std::wstring className;
    std::int32_t extentX = 0; // 1/100 mm
    std::int32_t extentY = 0;
    PropertyStore properties;

    bool operator==(const ControlLayout&) const = default;
};

struct WindowLayout {
    std::wstring name;
    std::vector<ControlLayout> controls;

    // Control names match without regard to case.
    const ControlLayout* Find(std::wstring_view controlName) const;
    bool operator==(const WindowLayout&) const = default;
};

struct LayoutParseResult {
    std::optional<WindowLayout> layout;
    std::size_t errorLine = 0; // 1-based; 0 when the text parsed
    std::string error;
};

LayoutParseResult ParseLayout(std::string_view utf8);

} // namespace qm
