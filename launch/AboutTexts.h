#pragma once

namespace qm {

// The maker: the About window's home-page button, the Help menu and the installer's publisher.
inline constexpr wchar_t kMakerName[] = L"Vostrel";

// Text of the About window's lblDescription.
inline constexpr wchar_t kAboutDescription[] =
    L"Visit our web site with the Vostrel button to find more programs for your computer, "
    L"or press Join the Mailing List to hear of new releases as soon as they come out.";

// Text of the About window's lblDisclaimer.
inline constexpr wchar_t kAboutDisclaimer[] =
    L"Warning: this program is protected by copyright law. Unauthorised reproduction or "
    L"distribution of this program, or of any part of it, may result in civil and criminal "
    L"penalties and will be prosecuted to the full extent of the law.";

} // namespace qm
