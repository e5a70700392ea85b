#include "ButtonHarness.h"

#include "resources/resource.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>

using qm::PropertyStore;
using qm::TintButtonModel;
using tinttest::LoneModel;

namespace {

// The persisted keys whose saved values differ between two saves.
std::set<std::wstring> ChangedKeys(const PropertyStore& before, const PropertyStore& after)
{
    std::set<std::wstring> changed;
    for (const std::wstring_view key : qm::kPersistedKeys) {
        const auto* a = before.Find(key);
        const auto* b = after.Find(key);
        if ((a == nullptr) != (b == nullptr) || (a && *a != *b))
            changed.emplace(key);
    }
    return changed;
}

TEST(TintButtonModel, EachSetterNotifiesOnceWithAKeyItChanged)
{
    struct Setter {
        const char* name;
        std::function<void(TintButtonModel&)> set;
        bool notifies;
    } const setters[] = {
        {"BackColor", [](TintButtonModel& m) { m.SetBackColor(0x112233); }, true},
        {"BackOver", [](TintButtonModel& m) { m.SetBackOver(0x112233); }, true},
        {"ForeColor", [](TintButtonModel& m) { m.SetForeColor(0x112233); }, true},
        {"ForeOver", [](TintButtonModel& m) { m.SetForeOver(0x112233); }, true},
        {"MaskColor", [](TintButtonModel& m) { m.SetMaskColor(0x112233); }, true},
        {"ButtonType", [](TintButtonModel& m) { m.SetButtonType(5); }, true},
        {"Caption", [](TintButtonModel& m) { m.SetCaption(L"&Go"); }, true},
        {"Enabled", [](TintButtonModel& m) { m.SetEnabled(false); }, true},
        {"Font", [](TintButtonModel& m) { EXPECT_TRUE(m.SetFont({L"Arial", 10, true, false, false})); }, true},
        {"ColorScheme", [](TintButtonModel& m) { m.SetColorScheme(3); }, true},
        {"ShowFocusRect", [](TintButtonModel& m) { m.SetShowFocusRect(false); }, true},
        {"MousePointer", [](TintButtonModel& m) { EXPECT_TRUE(m.SetMousePointer(11)); }, true},
        {"MouseIcon", [](TintButtonModel& m) { m.SetMouseIcon(qm::Picture::FromIconResource(IDI_KEY)); }, true},
        {"HandPointer", [](TintButtonModel& m) { EXPECT_TRUE(m.SetHandPointer(true)); }, true},
        {"SoftBevel", [](TintButtonModel& m) { m.SetSoftBevel(true); }, true},
        {"PictureNormal", [](TintButtonModel& m) { m.SetPictureNormal(qm::Picture::FromIconResource(IDI_KEY)); }, true},
        {"PictureOver", [](TintButtonModel& m) { m.SetPictureOver(qm::Picture::FromIconResource(IDI_KEY)); }, true},
        {"PicturePosition", [](TintButtonModel& m) { m.SetPicturePosition(2); }, true},
        {"UseMaskColor", [](TintButtonModel& m) { m.SetUseMaskColor(false); }, true},
        {"UseGreyscale", [](TintButtonModel& m) { m.SetUseGreyscale(true); }, true},
        {"SpecialEffect", [](TintButtonModel& m) { m.SetSpecialEffect(1); }, true},
        {"CheckBoxBehaviour", [](TintButtonModel& m) { m.SetCheckBoxBehaviour(true); }, true},
        {"Value", [](TintButtonModel& m) { m.SetValue(true); }, true},
        // The parts of the font are views of "FONT", changed without notice.
        {"FontBold", [](TintButtonModel& m) { m.SetFontBold(true); }, false},
        {"FontSize", [](TintButtonModel& m) { EXPECT_TRUE(m.SetFontSize(12)); }, false},
    };
    for (const auto& setter : setters) {
        LoneModel lone;
        lone.model.InitNew();
        PropertyStore before;
        lone.model.WriteProperties(before);
        setter.set(lone.model);
        PropertyStore after;
        lone.model.WriteProperties(after);
        const auto changed = ChangedKeys(before, after);
        ASSERT_EQ(lone.site.notices.size(), setter.notifies ? 1u : 0u) << setter.name;
        if (setter.notifies)
            EXPECT_TRUE(changed.contains(lone.site.notices[0])) << setter.name;
        else
            EXPECT_EQ(changed, std::set<std::wstring>{L"FONT"}) << setter.name;
    }
}

// The gradient style lightens the face by its blue: its colours follow a switch to and from it.
TEST(TintButtonModel, ChangingTheStyleRecomputesTheColors)
{
    LoneModel lone;
    lone.model.InitNew();
    lone.model.SetColorScheme(qm::SchemeCustom);
    lone.model.SetBackColor(0x804020);
    for (const std::int32_t type : {qm::TypeGradient, qm::TypeStandard}) {
        lone.model.SetButtonType(type);
        const qm::WorkingColors shown = lone.model.Colors();
        lone.model.ComputeColors();
        EXPECT_EQ(shown, lone.model.Colors()) << type;
    }
}

TEST(TintButtonModel, RefusedValuesChangeNothingAndNotifyNothing)
{
    LoneModel lone;
    ASSERT_TRUE(lone.model.SetMousePointer(11));
    ASSERT_TRUE(lone.model.SetFont({L"MS Sans Serif", 11.5, false, false, false}));
    lone.site.notices.clear();
    EXPECT_FALSE(lone.model.SetMousePointer(32768));
    EXPECT_FALSE(lone.model.SetMousePointer(-32769));
    EXPECT_FALSE(lone.model.SetFontSize(0));
    EXPECT_FALSE(lone.model.SetFont({L"Arial", 4096, false, false, false}));
    EXPECT_EQ(lone.model.MousePointer(), 11);
    EXPECT_EQ(lone.model.FontSize(), 12) << "11.5 rounds half to even";
    EXPECT_TRUE(lone.site.notices.empty());
    EXPECT_TRUE(lone.model.SetMousePointer(-32768));
    ASSERT_TRUE(lone.model.SetFont({L"MS Sans Serif", 8.5, false, false, false}));
    EXPECT_EQ(lone.model.FontSize(), 8);
}

TEST(TintButtonPersistence, EveryKeyIsSavedInOrderAndLoadsBackAsItWas)
{
    LoneModel lone;
    TintButtonModel& m = lone.model;
    m.InitNew();
    // Pictures that are none are left out, and load as none.
    PropertyStore withoutPictures;
    m.WriteProperties(withoutPictures);
    EXPECT_EQ(withoutPictures.Entries().size(), 20u);
    m.SetButtonType(qm::TypeOval);
    m.SetCaption(L"Cl&ose \"now\"");
    m.SetEnabled(false);
    ASSERT_TRUE(m.SetFont({L"Arial", 10.5, true, true, true}));
    m.SetColorScheme(qm::SchemeClassic);
    m.SetBackColor(0x123456);
    m.SetForeColor(qm::kSystemColor | COLOR_BTNTEXT);
    ASSERT_TRUE(m.SetHandPointer(true));
    m.SetPictureNormal(qm::Picture::FromIconResource(IDI_KEY));
    m.SetPictureOver(tinttest::IconOf(4, std::vector<std::uint32_t>(16, 0xFF010203)));
    m.SetPicturePosition(qm::PictureBehind);
    m.SetSpecialEffect(qm::EffectSunken);
    m.SetCheckBoxBehaviour(true);
    m.SetValue(true);
    PropertyStore saved;
    m.WriteProperties(saved);
    std::vector<std::wstring> keys;
    for (const auto& entry : saved.Entries())
        keys.push_back(entry.key);
    EXPECT_EQ(keys, std::vector<std::wstring>(qm::kPersistedKeys.begin(), qm::kPersistedKeys.end()));

    LoneModel again;
    again.model.ReadProperties(saved);
    PropertyStore resaved;
    again.model.WriteProperties(resaved);
    EXPECT_EQ(resaved, saved);
    EXPECT_TRUE(again.site.notices.empty()) << "loading is no change";
    again.model.ReadProperties(withoutPictures);
    EXPECT_EQ(again.model.PictureNormal(), nullptr);
    EXPECT_EQ(again.model.PictureOver(), nullptr);
}

// The hand pointer, set or loaded, overrides what "MPTR" and "MICON" said.
TEST(TintButtonPersistence, HandPointerOverridesThePointer)
{
    PropertyStore bag;
    bag.Write(L"MPTR", 11);
    bag.Write(L"MICON", qm::PictureData{qm::PictureData::Type::Icon, qm::PictureData::Origin::Resource, IDI_KEY, {}});
    for (const bool hand : {false, true}) {
        bag.Write(L"HAND", hand);
        LoneModel lone;
        lone.model.ReadProperties(bag);
        EXPECT_EQ(lone.model.MousePointer(), hand ? qm::kPointerCustom : 1);
        EXPECT_EQ(lone.model.MouseIcon() ? lone.model.MouseIcon()->Icon() : nullptr,
                  hand ? LoadCursorW(nullptr, IDC_HAND) : nullptr);
        ASSERT_TRUE(lone.model.SetHandPointer(!hand));
        EXPECT_EQ(lone.model.MousePointer(), hand ? 1 : qm::kPointerCustom);
    }
}

} // namespace
