#include "launch/FrmAbout.h"

#include "host/Application.h"
#include "host/Handles.h"
#include "host/StoredLayout.h"
#include "host/SystemLibrary.h"
#include "launch/AboutTexts.h"
#include "launch/SystemInfo.h"
#include "resources/resource.h"

#include <memory>
#include <string>

namespace qm {

namespace {

constexpr wchar_t kClassName[] = L"QuillmoorAbout";
constexpr COLORREF kHeadingColor = 0x00FF0000; // blue
constexpr COLORREF kPictureTopColor = 0x00FFC0C0;
constexpr COLORREF kPictureRimColor = 0x007F4040;
constexpr int kPictureIconSize = 48; // pixels at 96 DPI
constexpr int kClientWidthTwips = 5730;
constexpr int kClientHeightTwips = 3990;

constexpr TwipsRect kDescriptionFrame = {1560, 840, 3975, 1095};
constexpr TwipsRect kDisclaimerFrame = {120, 2405, 4095, 1455};

// Controls that lie in a frame are placed relative to it; the window places them all.
constexpr TwipsRect InFrame(const TwipsRect& frame, const TwipsRect& r)
{
    return {frame.left + r.left, frame.top + r.top, r.width, r.height};
}

TRIVERTEX Vertex(LONG x, LONG y, COLORREF color)
{
    return {x, y, static_cast<COLOR16>(GetRValue(color) << 8), static_cast<COLOR16>(GetGValue(color) << 8),
        static_cast<COLOR16>(GetBValue(color) << 8), 0};
}

} // namespace

FrmAbout::FrmAbout()
    : picture(L"picIcon", {120, 120, 1065, 2205}),
      icon(L"Image1", {5040, 0, 480, 480}, IDI_QUILLMOOR),
      titleLabel(L"lblTitle", {1560, 240, 3285, 240}),
      versionLabel(L"lblVersion", {1560, 600, 1485, 225}),
      aboutLabel(L"lblAbout", {3195, 630, 2610, 195}),
      descriptionLabel(L"lblDescription", InFrame(kDescriptionFrame, {120, 120, 3795, 810}), kAboutDescription),
      descriptionFrame(L"Frame2", kDescriptionFrame),
      mailingListButton(L"Command1", {1440, 2040, 2295, 345}, L"&Join the Mailing List"),
      homePageButton(L"Command2", {4320, 2040, 1245, 345}, L"&" + std::wstring(kMakerName)),
      disclaimerLabel(L"lblDisclaimer", InFrame(kDisclaimerFrame, {120, 240, 3870, 1185}), kAboutDisclaimer),
      disclaimerFrame(L"Frame1", kDisclaimerFrame),
      systemInfoButton(L"Command4", {4320, 2760, 1245, 345}, L"&System Info"),
      closeButton(L"Command3", {4320, 3480, 1245, 345}, L"Cl&ose"),
      hiddenTextBox(L"txtAbout", {360, 4320, 4935, 285})
{
    for (Label* heading : {&titleLabel, &versionLabel}) {
        heading->SetFont(FontKind::Heading);
        heading->textColor = kHeadingColor;
    }
    // Every button's look comes from the window's stored layout.
    auto stored = LoadPropertyBags(IDR_LAYOUT_ABOUT, L"tintButton");
    for (TintButtonControl* button : {&mailingListButton, &homePageButton, &systemInfoButton, &closeButton})
        button->UseStoredProperties(std::move(stored[button->Name()]));

    picture.onPaint = [this](HDC dc, const RECT& rect) { PaintPicture(dc, rect); };
    mailingListButton.onClick = [] { OpenMailingListPage(); };
    homePageButton.onClick = [] { OpenHomePage(); };
    systemInfoButton.onClick = [this] { StartSysInfo(Hwnd()); };
    // Nothing may touch this object after the call: a window that owns itself is deleted with it.
    closeButton.onClick = [this] { DestroyWindow(Hwnd()); };
}

FrmAbout::~FrmAbout()
{
    // Destroyed here, while the controls still exist, rather than by the base class.
    ownsItself_ = false;
    if (Hwnd())
        DestroyWindow(Hwnd());
}

bool FrmAbout::Load(HWND owner)
{
    const FormSetup setup{kClassName, std::wstring(), WS_POPUP | WS_CAPTION | WS_SYSMENU,
        WS_EX_DLGMODALFRAME, kClientWidthTwips, kClientHeightTwips, kFaceColor, IDI_QUILLMOOR, owner};
    const std::vector<Control*> stacking = {&icon, &titleLabel, &versionLabel, &aboutLabel, &descriptionLabel, &descriptionFrame,
        &mailingListButton, &homePageButton, &disclaimerLabel, &disclaimerFrame, &systemInfoButton, &closeButton, &hiddenTextBox, &picture};
    const std::vector<Control*> tabOrder = {&mailingListButton, &homePageButton, &systemInfoButton, &closeButton, &hiddenTextBox};
    if (!CreateForm(setup, stacking, tabOrder))
        return false;

    const Version version = App().AppVersion();
    SetWindowTextW(Hwnd(), (L"About " + App().Title()).c_str());
    versionLabel.SetCaption(L"Version " + std::to_wstring(version.major) + L"." + std::to_wstring(version.minor) + L"." +
        std::to_wstring(version.revision));
    titleLabel.SetCaption(App().Title());
    return true;
}

void FrmAbout::PaintPicture(HDC dc, const RECT& rect) const
{
    // The window's own picture: a lilac sky fading into the face colour, the program's icon
    // near the top, and a purple rim, drawn at the control's size for the current DPI.
    TRIVERTEX corners[2] = {
        Vertex(rect.left, rect.top, kPictureTopColor), Vertex(rect.right, rect.bottom, kFaceColor)};
    GRADIENT_RECT gradient = {0, 1};
    // msimg32 is loaded when the About window first paints, not at start.
    static const auto gradientFill = SystemFunction<decltype(&GradientFill)>(L"msimg32.dll", "GradientFill");
    if (gradientFill)
        gradientFill(dc, corners, 2, &gradient, 1, GRADIENT_FILL_RECT_V);

    const int size = MulDiv(kPictureIconSize, static_cast<int>(Dpi()), kBaseDpi);
    const UniqueIcon programIcon(static_cast<HICON>(
        LoadImageW(App().Module(), MAKEINTRESOURCEW(IDI_QUILLMOOR), IMAGE_ICON, size, size, 0)));
    if (programIcon) {
        const int left = rect.left + (rect.right - rect.left - size) / 2;
        DrawIconEx(dc, left, rect.top + size / 4, programIcon.get(), size, size, 0, nullptr, DI_NORMAL);
    }

    const UniqueBrush rim(CreateSolidBrush(kPictureRimColor));
    FrameRect(dc, &rect, rim.get());
}

void FrmAbout::OnDestroyed()
{
    if (ownsItself_)
        delete this;
}

FrmAbout* FindAboutWindow()
{
    for (HWND hwnd : App().Windows()) {
        if (auto* about = dynamic_cast<FrmAbout*>(Form::FromHwnd(hwnd)))
            return about;
    }
    return nullptr;
}

void ShowAboutWindow(HWND owner)
{
    if (FrmAbout* open = FindAboutWindow()) {
        open->Show();
        return;
    }
    auto about = std::make_unique<FrmAbout>();
    if (!about->Load(owner))
        return;
    about->ownsItself_ = true;
    about.release()->Show();
}

} // namespace qm
