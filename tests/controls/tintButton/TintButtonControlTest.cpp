#include "controls/tintButton/TintButtonControl.h"
#include "host/TextBox.h"
#include "host/Application.h"
#include "host/ComPtr.h"
#include "host/Form.h"
#include "host/Handles.h"
#include "support/WindowInput.h"

#include <gtest/gtest.h>

#include <oleacc.h>

#include <string>
#include <vector>

namespace {

// IID_IAccessible; the symbol itself is defined twice by MinGW's import libraries.
constexpr GUID kIidAccessible = {0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};

// A text box, then three buttons.
class ButtonForm final : public qm::Form {
public:
    qm::TextBox text{L"text", {120, 120, 1500, 285}};
    qm::TintButtonControl open{L"open", {120, 600, 1500, 375}, L"&Open"};
    qm::TintButtonControl save{L"save", {120, 1080, 1500, 375}, L"&Save"};
    qm::TintButtonControl send{L"send", {120, 1560, 1500, 375}, L"&Send"};
    std::vector<std::wstring> clicks;

    bool Load()
    {
        for (auto* button : {&open, &save, &send})
            button->onClick = [this, button] { clicks.push_back(button->Name()); };
        const FormSetup window{L"QuillmoorTintButtonTestForm", L"Buttons", WS_OVERLAPPED | WS_CAPTION, 0, 1800, 2100,
                                RGB(255, 255, 255), 0, nullptr};
        return CreateForm(window, {&text, &open, &save, &send}, {&text, &open, &save, &send});
    }
};

class TintButtonControlTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(form.Load());
        form.Show();
        qm::App().DoEvents();
    }

    ButtonForm form;
};

TEST_F(TintButtonControlTest, ArrowsMoveTheFocusInTheFormsTabOrder)
{
    form.save.Focus();
    const std::pair<UINT, qm::TintButtonControl*> arrows[] = {
        {VK_RIGHT, &form.send}, {VK_LEFT, &form.save}, {VK_UP, &form.open}, {VK_DOWN, &form.save}};
    for (const auto& [vk, expected] : arrows) {
        qmtest::PressKey(GetFocus(), vk);
        EXPECT_EQ(GetFocus(), expected->Hwnd()) << "key " << vk;
    }
}

TEST_F(TintButtonControlTest, ScreenReadersSeeAPushButton)
{
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    {
        form.save.SetCaption(L"R&&D &Save");
        qm::ComPtr<IAccessible> object;
        if (FAILED(AccessibleObjectFromWindow(form.save.Hwnd(), static_cast<DWORD>(OBJID_CLIENT), kIidAccessible,
                                              object.put()))) {
            CoUninitialize();
            GTEST_SKIP() << "this platform gives no accessible object for a window";
        }
        VARIANT self{};
        self.vt = VT_I4;
        self.lVal = CHILDID_SELF;
        auto text = [&](HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, BSTR*)) {
            BSTR value = nullptr;
            (object.get()->*get)(self, &value);
            std::wstring result = value ? value : L"";
            SysFreeString(value);
            return result;
        };
        EXPECT_EQ(text(&IAccessible::get_accName), L"R&D Save");
        EXPECT_EQ(text(&IAccessible::get_accKeyboardShortcut), L"Alt+s");
        VARIANT role{};
        EXPECT_EQ(object->get_accRole(self, &role), S_OK);
        EXPECT_EQ(role.lVal, ROLE_SYSTEM_PUSHBUTTON);

        form.save.SetEnabled(false);
        VARIANT state{};
        object->get_accState(self, &state);
        EXPECT_NE(state.lVal & STATE_SYSTEM_UNAVAILABLE, 0);
        form.save.SetEnabled(true);

        EXPECT_EQ(object->accDoDefaultAction(self), S_OK);
        qm::App().DoEvents();
        EXPECT_EQ(form.clicks, std::vector<std::wstring>{L"save"});
    }
    CoUninitialize();
}

} // namespace

// A transparent button that the form places after it was made shows what lies under its
// whole rectangle, not under the point it started as; refreshed, it captures the parent
// again, its height taken to 0 and back, and keeps its size and region.
TEST(TintButtonControlPlacedLater, ATransparentButtonTakesTheBackgroundOfItsFinalSize)
{
    class TransparentForm final : public qm::Form {
    public:
        qm::TintButtonControl clear{L"clear", {120, 120, 1500, 375}, L"&Clear"};
        bool Load()
        {
            qm::PropertyStore stored;
            stored.Write(L"BTYPE", std::int32_t{11});
            clear.UseStoredProperties(stored);
            const FormSetup window{L"QuillmoorTintButtonClearForm", L"Clear", WS_OVERLAPPED | WS_CAPTION, 0, 1800, 900,
                RGB(10, 200, 30), 0, nullptr};
            return CreateForm(window, {&clear}, {&clear});
        }
    } form;
    ASSERT_TRUE(form.Load());
    form.Show();
    qm::App().DoEvents();
    qm::TintButton& button = *form.clear.Button();
    const qm::UniqueRegion placedRegion(CreateRectRgn(0, 0, 0, 0)), refreshedRegion(CreateRectRgn(0, 0, 0, 0));
    GetWindowRgn(button.hwnd(), placedRegion.get());
    RECT placed{}, refreshed{};
    GetClientRect(button.hwnd(), &placed);
    for (const bool refresh : {false, true}) {
        if (refresh)
            button.Refresh();
        const HDC surface = button.Surface()->Dc();
        // Inside the edge, outside the focus rectangle.
        const int right = button.Model().Width() - 2;
        const int bottom = button.Model().Height() - 2;
        for (const POINT at : {POINT{1, 1}, POINT{right, 1}, POINT{1, bottom}, POINT{right, bottom}})
            EXPECT_EQ(GetPixel(surface, at.x, at.y), RGB(10, 200, 30)) << at.x << "," << at.y << " refreshed " << refresh;
    }
    GetClientRect(button.hwnd(), &refreshed);
    EXPECT_TRUE(EqualRect(&placed, &refreshed));
    GetWindowRgn(button.hwnd(), refreshedRegion.get());
    EXPECT_TRUE(EqualRgn(placedRegion.get(), refreshedRegion.get()));
}
