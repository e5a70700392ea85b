#include "ButtonHarness.h"

#include "host/StoredLayout.h"
#include "resources/resource.h"

#include <gtest/gtest.h>

using qm::PropertyStore;
using qm::TintButton;
using tinttest::RecordingSite;

namespace {

std::unique_ptr<TintButton> Loaded(const tinttest::HostWindow& host, const PropertyStore& bag)
{
    return TintButton::CreateLoaded(host.hwnd(), 101, RECT{10, 10, 110, 34}, bag);
}

std::vector<std::wstring> Keys(const PropertyStore& bag)
{
    std::vector<std::wstring> keys;
    for (const auto& entry : bag.Entries())
        keys.push_back(entry.key);
    return keys;
}

// A 5 x 3 bitmap of distinct colors, and its pixels as the platform reads them back.
qm::PicturePtr PatternPicture(std::vector<std::uint32_t>& pixels)
{
    std::uint32_t bits[15];
    for (std::uint32_t i = 0; i < 15; ++i)
        bits[i] = (i * 0x10F3A7u) & 0xFFFFFF;
    HBITMAP bitmap = CreateBitmap(5, 3, 1, 32, bits);
    auto picture = qm::Picture::FromBitmap(bitmap);
    DeleteObject(bitmap);
    pixels.assign(std::begin(bits), std::end(bits));
    return picture;
}

TEST(TintButtonPersistence, EveryKeySurvivesSavingAndLoadingThroughTheLayoutText)
{
    tinttest::HostWindow host;
    auto button = tinttest::NewButton(host);
    std::vector<std::uint32_t> pixels;
    button->SetButtonType(13);
    button->SetCaption(L"Cl&ose \"now\"\tüß\\");
    button->SetEnabled(false);
    button->SetFont({L"Arial", 10.5, true, true, true});
    button->SetColorScheme(3);
    button->SetShowFocusRect(false);
    button->SetBackColor(0x123456);
    button->SetBackOver(0x654321);
    button->SetForeColor(qm::kSystemColor | COLOR_BTNTEXT);
    button->SetForeOver(0x0000FF);
    button->SetMaskColor(0xFF00FF);
    button->SetHandPointer(true);
    button->SetPictureNormal(PatternPicture(pixels));
    button->SetPictureOver(qm::Picture::FromData(
        {qm::PictureData::Type::Icon, qm::PictureData::Origin::Bytes, 0, tinttest::MakeIco(4, RGB(1, 2, 3))}));
    button->SetUseMaskColor(false);
    button->SetSoftBevel(true);
    button->SetPicturePosition(4);
    button->SetUseGreyscale(true);
    button->SetSpecialEffect(2);
    button->SetCheckBoxBehaviour(true);
    button->SetValue(true);

    qm::WindowLayout layout{L"frmTest", {{L"tintButton1", L"tintButton", 2646, 635, {}}}};
    button->WriteProperties(layout.controls[0].properties);
    const auto& saved = layout.controls[0].properties;
    EXPECT_EQ(Keys(saved), std::vector<std::wstring>(qm::kPersistedKeys.begin(), qm::kPersistedKeys.end()));

    const auto parsed = qm::ParseLayout(qm::FormatLayout(layout));
    ASSERT_TRUE(parsed.layout) << parsed.error << " at line " << parsed.errorLine;
    EXPECT_EQ(*parsed.layout, layout);

    auto loaded = Loaded(host, parsed.layout->controls[0].properties);
    PropertyStore again;
    loaded->WriteProperties(again);
    EXPECT_EQ(again, saved);
    EXPECT_EQ(loaded->Caption(), L"Cl&ose \"now\"\tüß\\");
    EXPECT_EQ(loaded->MousePointer(), 99);
    EXPECT_FALSE(IsWindowEnabled(loaded->hwnd()));
    ASSERT_NE(loaded->PictureNormal(), nullptr);
    EXPECT_EQ(loaded->PictureNormal()->Pixels(), pixels);
    ASSERT_NE(loaded->PictureOver(), nullptr);
    EXPECT_EQ(loaded->PictureOver()->Width(), 4);
}

TEST(TintButtonPersistence, NoneObjectsAreLeftOutAndLoadAsNone)
{
    tinttest::HostWindow host;
    auto button = tinttest::NewButton(host);
    button->SetPictureNormal(qm::Picture::FromIconResource(IDI_KEY));
    PropertyStore saved;
    button->WriteProperties(saved);
    EXPECT_TRUE(saved.Contains(L"picn"));
    EXPECT_FALSE(saved.Contains(L"PICH"));
    EXPECT_FALSE(saved.Contains(L"MICON"));
    EXPECT_EQ(saved.Entries().size(), 21u);

    auto loaded = Loaded(host, saved);
    ASSERT_NE(loaded->PictureNormal(), nullptr);
    EXPECT_EQ(loaded->PictureNormal()->Width(), 16);
    EXPECT_EQ(loaded->PictureOver(), nullptr);
}

TEST(TintButtonPersistence, MissingKeysTakeTheirDefaults)
{
    tinttest::HostWindow host;
    RecordingSite site;
    auto empty = TintButton::CreateLoaded(host.hwnd(), 101, RECT{0, 0, 100, 24}, PropertyStore{}, &site);
    EXPECT_EQ(empty->ButtonType(), 2);
    EXPECT_EQ(empty->Caption(), L"");
    EXPECT_TRUE(empty->Enabled());
    EXPECT_EQ(empty->Font(), site.AmbientFont());
    EXPECT_EQ(empty->ColorScheme(), 1);
    EXPECT_TRUE(empty->ShowFocusRect());
    EXPECT_EQ(empty->BackColor(), qm::kSystemColor | COLOR_BTNFACE);
    EXPECT_EQ(empty->BackOver(), qm::kSystemColor | COLOR_BTNFACE);
    EXPECT_EQ(empty->ForeColor(), qm::kSystemColor | COLOR_BTNTEXT);
    EXPECT_EQ(empty->ForeOver(), qm::kSystemColor | COLOR_BTNTEXT);
    EXPECT_EQ(empty->MaskColor(), 0xC0C0C0u);
    EXPECT_EQ(empty->MouseIcon(), nullptr);
    EXPECT_EQ(empty->PictureNormal(), nullptr);
    EXPECT_EQ(empty->PictureOver(), nullptr);
    EXPECT_TRUE(empty->UseMaskColor());
    EXPECT_FALSE(empty->SoftBevel() || empty->UseGreyscale() || empty->HandPointer() || empty->CheckBoxBehaviour() ||
                 empty->Value());
    EXPECT_EQ(empty->PicturePosition(), 0);
    EXPECT_EQ(empty->SpecialEffect(), 0);
    // Loading is no change: the holder hears nothing.
    EXPECT_TRUE(site.notices.empty());

    PropertyStore bag;
    bag.Write(L"bcol", 0x123456);
    bag.Write(L"fcol", 0x654321);
    auto partial = Loaded(host, bag);
    EXPECT_EQ(partial->BackOver(), 0x123456u);
    EXPECT_EQ(partial->ForeOver(), 0x654321u);
}

TEST(TintButtonPersistence, StoredHandPointerFalseOverridesThePointer)
{
    tinttest::HostWindow host;
    PropertyStore bag;
    bag.Write(L"MPTR", 11);
    bag.Write(L"MICON", qm::PictureData{qm::PictureData::Type::Icon, qm::PictureData::Origin::Resource, IDI_KEY, {}});
    bag.Write(L"HAND", false);
    auto arrow = Loaded(host, bag);
    EXPECT_EQ(arrow->MousePointer(), 1);
    EXPECT_EQ(arrow->MouseIcon(), nullptr);

    bag.Write(L"HAND", true);
    auto hand = Loaded(host, bag);
    EXPECT_EQ(hand->MousePointer(), 99);
    ASSERT_NE(hand->MouseIcon(), nullptr);
    EXPECT_EQ(hand->MouseIcon()->Icon(), LoadCursorW(nullptr, IDC_HAND));
}

struct StoredButton {
    const wchar_t* name;
    int widthTwips;
    int heightTwips;
    const wchar_t* caption;
    bool enabled;
    bool bold;
    qm::Color mask;
    int icon; // 0: no picture
};

// The buttons of the two windows as their layouts in twips place them.
const StoredButton kMainButtons[] = {
    {L"tintButton1", 1845, 375, L"&HKLM Run", true, true, 0xE0E0E0, IDI_KEY},
    {L"tintButton2", 1845, 375, L"HK&LM Services", true, true, 0xE0E0E0, IDI_KEY},
    {L"tintButton3", 1845, 375, L"H&KCU Run", true, true, 0xE0E0E0, IDI_KEY},
    {L"tintButton4", 1845, 375, L"HK&U Run", true, true, 0xE0E0E0, IDI_KEY},
    {L"tintButton5", 1845, 375, L"&Control.ini", true, true, 0xE0E0E0, IDI_DOCUMENT},
    {L"tintButton6", 1845, 375, L"&Win.ini", true, true, 0xE0E0E0, IDI_DOCUMENT},
    {L"tintButton7", 1845, 375, L"&Startup Folder", true, true, 0xE0E0E0, IDI_FOLDER},
    {L"tintButton8", 1845, 375, L"&Autoexec.bat", true, true, 0xE0E0E0, IDI_DOCUMENT},
    {L"tintButton9", 1845, 375, L"&Finished", true, true, 0xC0C0C0, 0},
    {L"tintButton10", 1845, 375, L"&Restore Selected", false, true, 0xC0C0C0, 0},
    {L"tintButton12", 1845, 375, L"Cl&ose", true, true, 0xE0E0E0, IDI_CLOSE},
    {L"cmdBackup", 1845, 375, L"&Backups", true, true, 0xE0E0E0, IDI_BACKUP},
    {L"cmdDel", 1845, 375, L"D&elete Selection", false, true, 0xE0E0E0, IDI_DELETE},
    {L"cmdBrowse", 945, 285, L"&Browse", true, false, 0xC0C0C0, 0},
    {L"cmdAdd", 945, 285, L"Ad&d", false, false, 0xC0C0C0, 0},
    {L"Command1", 1845, 375, L"&Help/About", true, true, 0xE0E0E0, IDI_HELP},
};
const StoredButton kAboutButtons[] = {
    {L"Command1", 2295, 345, L"&Join the Mailing List", true, true, 0xC0C0C0, 0},
    {L"Command2", 1245, 345, L"&Vostrel", true, true, 0xC0C0C0, 0},
    {L"Command3", 1245, 345, L"Cl&ose", true, true, 0xC0C0C0, 0},
    {L"Command4", 1245, 345, L"&System Info", true, true, 0xC0C0C0, 0},
};

void CheckStoredLayout(int resourceId, const StoredButton* begin, const StoredButton* end)
{
    const auto layout = qm::LoadStoredLayout(resourceId);
    ASSERT_TRUE(layout);
    ASSERT_EQ(layout->controls.size(), static_cast<std::size_t>(end - begin));
    tinttest::HostWindow host;
    for (const StoredButton* b = begin; b != end; ++b) {
        const auto* control = layout->Find(b->name);
        ASSERT_NE(control, nullptr) << b->name;
        auto button = TintButton::CreateFromLayout(host.hwnd(), 1, POINT{0, 0}, *control);
        RECT client{};
        GetClientRect(button->hwnd(), &client);
        EXPECT_EQ(client.right, b->widthTwips / 15) << b->name;
        EXPECT_EQ(client.bottom, b->heightTwips / 15) << b->name;
        EXPECT_EQ(button->Caption(), b->caption);
        EXPECT_EQ(button->Enabled(), b->enabled) << b->name;
        EXPECT_EQ(button->FontBold(), b->bold) << b->name;
        EXPECT_EQ(button->MaskColor(), b->mask) << b->name;
        EXPECT_EQ(button->PictureNormal() != nullptr, b->icon != 0) << b->name;
        if (b->icon) {
            EXPECT_EQ(button->PictureNormal()->Data().resourceId, b->icon) << b->name;
        }
        EXPECT_EQ(button->ButtonType(), 9);
        EXPECT_EQ(button->ColorScheme(), 2);
        EXPECT_EQ(button->MousePointer(), 1);
        EXPECT_EQ(button->FontSize(), 8);
        EXPECT_EQ(button->BackColor(), 0xD8EAE6u);
        EXPECT_EQ(button->BackOver(), 0xFFC0C0u);
        EXPECT_FALSE(button->ShowFocusRect());
    }
}

TEST(TintButtonStoredLayouts, MainWindowButtons)
{
    CheckStoredLayout(IDR_LAYOUT_MAIN, std::begin(kMainButtons), std::end(kMainButtons));
}

TEST(TintButtonStoredLayouts, AboutWindowButtons)
{
    CheckStoredLayout(IDR_LAYOUT_ABOUT, std::begin(kAboutButtons), std::end(kAboutButtons));
}

} // namespace
