#include "ButtonHarness.h"

#include <gtest/gtest.h>

#include <functional>

using qm::TintButton;
using tinttest::RecordingSite;

namespace {

struct Setter {
    const char* name;
    std::function<void(TintButton&)> set;
    const wchar_t* key; // nullptr: no notice
};

const Setter kSetters[] = {
    {"BackColor", [](TintButton& b) { b.SetBackColor(0x112233); }, L"BCOL"},
    {"BackOver", [](TintButton& b) { b.SetBackOver(0x112233); }, L"BCOLO"},
    {"ForeColor", [](TintButton& b) { b.SetForeColor(0x112233); }, L"FCOL"},
    {"ForeOver", [](TintButton& b) { b.SetForeOver(0x112233); }, L"FCOLO"},
    {"MaskColor", [](TintButton& b) { b.SetMaskColor(0x112233); }, L"MCOL"},
    {"ButtonType", [](TintButton& b) { b.SetButtonType(5); }, L"BTYPE"},
    {"Caption", [](TintButton& b) { b.SetCaption(L"&Go"); }, L"TX"},
    {"Enabled", [](TintButton& b) { b.SetEnabled(false); }, L"ENAB"},
    {"Font", [](TintButton& b) { b.SetFont({L"Arial", 10, true, false, false}); }, L"FONT"},
    {"FontBold", [](TintButton& b) { b.SetFontBold(true); }, nullptr},
    {"FontItalic", [](TintButton& b) { b.SetFontItalic(true); }, nullptr},
    {"FontUnderline", [](TintButton& b) { b.SetFontUnderline(true); }, nullptr},
    {"FontSize", [](TintButton& b) { b.SetFontSize(12); }, nullptr},
    {"FontName", [](TintButton& b) { b.SetFontName(L"Arial"); }, nullptr},
    {"ColorScheme", [](TintButton& b) { b.SetColorScheme(3); }, L"COLTYPE"},
    {"ShowFocusRect", [](TintButton& b) { b.SetShowFocusRect(false); }, L"FOCUSR"},
    {"MousePointer", [](TintButton& b) { b.SetMousePointer(11); }, L"MPTR"},
    {"MouseIcon", [](TintButton& b) { b.SetMouseIcon(qm::Picture::FromIconResource(101)); }, L"MICON"},
    {"HandPointer", [](TintButton& b) { b.SetHandPointer(true); }, L"HAND"},
    {"SoftBevel", [](TintButton& b) { b.SetSoftBevel(true); }, L"SOFT"},
    {"PictureNormal", [](TintButton& b) { b.SetPictureNormal(qm::Picture::FromIconResource(101)); }, L"PICN"},
    {"PictureOver", [](TintButton& b) { b.SetPictureOver(qm::Picture::FromIconResource(101)); }, L"PICH"},
    {"PicturePosition", [](TintButton& b) { b.SetPicturePosition(2); }, L"PICPOS"},
    {"UseMaskColor", [](TintButton& b) { b.SetUseMaskColor(false); }, L"UMCOL"},
    {"UseGreyscale", [](TintButton& b) { b.SetUseGreyscale(true); }, L"NGREY"},
    {"SpecialEffect", [](TintButton& b) { b.SetSpecialEffect(1); }, L"FX"},
    {"CheckBoxBehaviour", [](TintButton& b) { b.SetCheckBoxBehaviour(true); }, L"CHECK"},
    {"Value", [](TintButton& b) { b.SetValue(true); }, L"VALUE"},
};

TEST(TintButtonProperties, EachSetterNotifiesItsOwnKey)
{
    tinttest::HostWindow host;
    for (bool design : {false, true}) {
        for (const auto& setter : kSetters) {
            RecordingSite site;
            site.design = design;
            auto button = tinttest::NewButton(host, 100, 24, &site);
            site.notices.clear();
            setter.set(*button);
            const std::vector<std::wstring> expected =
                setter.key ? std::vector<std::wstring>{setter.key} : std::vector<std::wstring>{};
            EXPECT_EQ(site.notices, expected) << setter.name << (design ? " in design mode" : "");
        }
    }
}

TEST(TintButtonProperties, NewInstanceDefaults)
{
    tinttest::HostWindow host;
    RecordingSite site;
    site.design = true;
    site.name = L"tintButton7";
    auto button = tinttest::NewButton(host, 100, 24, &site);
    EXPECT_EQ(button->ButtonType(), 2);
    EXPECT_EQ(button->ColorScheme(), 1);
    EXPECT_EQ(button->BackColor(), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(button->BackOver(), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(button->ForeColor(), GetSysColor(COLOR_BTNTEXT));
    EXPECT_EQ(button->ForeOver(), GetSysColor(COLOR_BTNTEXT));
    EXPECT_EQ(button->MaskColor(), 0xC0C0C0u);
    EXPECT_TRUE(button->Enabled());
    EXPECT_TRUE(button->ShowFocusRect());
    EXPECT_TRUE(button->UseMaskColor());
    EXPECT_FALSE(button->SoftBevel() || button->HandPointer() || button->Value() || button->CheckBoxBehaviour());
    EXPECT_EQ(button->MousePointer(), 0);
    EXPECT_EQ(button->Font(), site.AmbientFont());
    EXPECT_EQ(button->Caption(), L"tintButton7");
    // The caption is the window's text, which screen readers announce.
    wchar_t text[32] = {};
    GetWindowTextW(button->hwnd(), text, 32);
    EXPECT_STREQ(text, L"tintButton7");
    EXPECT_EQ(button->Version(), L"2.0.6");
}

TEST(TintButtonProperties, DesignModeCarriesColorsToTheHoverAndOutlinedToBold)
{
    tinttest::HostWindow host;
    for (bool design : {false, true}) {
        RecordingSite site;
        site.design = design;
        auto button = tinttest::NewButton(host, 100, 24, &site);
        const auto backOver = button->BackOver();
        const auto foreOver = button->ForeOver();
        button->SetBackColor(0x102030);
        button->SetForeColor(0x405060);
        button->SetButtonType(5);
        EXPECT_EQ(button->BackOver(), design ? 0x102030u : backOver) << design;
        EXPECT_EQ(button->ForeOver(), design ? 0x405060u : foreOver) << design;
        EXPECT_EQ(button->FontBold(), design) << design;
    }
}

TEST(TintButtonProperties, MousePointerOutside16BitsChangesNothing)
{
    tinttest::HostWindow host;
    RecordingSite site;
    auto button = tinttest::NewButton(host, 100, 24, &site);
    ASSERT_TRUE(button->SetMousePointer(11));
    site.notices.clear();
    EXPECT_FALSE(button->SetMousePointer(32768));
    EXPECT_FALSE(button->SetMousePointer(-32769));
    EXPECT_EQ(button->MousePointer(), 11);
    EXPECT_TRUE(site.notices.empty());
    EXPECT_TRUE(button->SetMousePointer(-32768));
    EXPECT_EQ(button->MousePointer(), -32768);
}

TEST(TintButtonProperties, HandPointerSwitchesBetweenHandAndArrow)
{
    tinttest::HostWindow host;
    auto button = tinttest::NewButton(host);
    ASSERT_TRUE(button->SetHandPointer(true));
    EXPECT_EQ(button->MousePointer(), 99);
    ASSERT_NE(button->MouseIcon(), nullptr);
    EXPECT_EQ(button->MouseIcon()->Icon(), LoadCursorW(nullptr, IDC_HAND));
    ASSERT_TRUE(button->SetHandPointer(false));
    EXPECT_EQ(button->MousePointer(), 1);
    EXPECT_EQ(button->MouseIcon(), nullptr);
    // A bitmap is no pointer: the window keeps the one it has.
    button->SetMouseIcon(qm::Picture::FromIconResource(101));
    HBITMAP bitmap = CreateBitmap(2, 2, 1, 32, nullptr);
    button->SetMouseIcon(qm::Picture::FromBitmap(bitmap));
    DeleteObject(bitmap);
    ASSERT_NE(button->MouseIcon(), nullptr);
    EXPECT_EQ(button->MouseIcon()->GetType(), qm::Picture::Type::Icon);
}

TEST(TintButtonProperties, FontSizeReadsRoundedToEven)
{
    tinttest::HostWindow host;
    auto button = tinttest::NewButton(host);
    button->SetFont({L"MS Sans Serif", 8.25, false, false, false});
    EXPECT_EQ(button->FontSize(), 8);
    button->SetFontSize(9);
    EXPECT_EQ(button->FontSize(), 9);
    EXPECT_EQ(button->Font().size, 9.0);
    button->SetFont({L"MS Sans Serif", 10.5, false, false, false});
    EXPECT_EQ(button->FontSize(), 10);
    button->SetFont({L"MS Sans Serif", 11.5, false, false, false});
    EXPECT_EQ(button->FontSize(), 12);
    // Sizes no font can have change nothing, so every saved layout loads again.
    EXPECT_FALSE(button->SetFontSize(0));
    EXPECT_FALSE(button->SetFont({L"Arial", 4096, false, false, false}));
    EXPECT_EQ(button->Font(), (qm::FontDesc{L"MS Sans Serif", 11.5, false, false, false}));
}

TEST(TintButtonProperties, DisableRefreshHoldsTheSurfaceUntilRefresh)
{
    tinttest::HostWindow host;
    auto button = tinttest::NewButton(host);
    // The face is read beside the caption, which is drawn over the middle.
    button->SetColorScheme(2);
    button->SetBackColor(0x00FF00);
    EXPECT_EQ(GetPixel(button->Surface(), 5, 12), 0x00FF00u);
    button->DisableRefresh();
    button->SetBackColor(0x0000FF);
    button->SetCaption(L"x");
    EXPECT_EQ(GetPixel(button->Surface(), 5, 12), 0x00FF00u);
    button->Refresh();
    EXPECT_EQ(GetPixel(button->Surface(), 5, 12), 0x0000FFu);
}

} // namespace
