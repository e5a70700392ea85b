#include "ButtonHarness.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

using qm::TintButton;

namespace {

// Enter: the pointer moves onto the button with no mouse button held; Leave: it goes
// elsewhere, which the button does not hear of; Tick: the hover timer's next tick, which must
// come; DragOff and DragOn: moves with the left button held; DoubleClick: the second left
// press of a double click.
enum class In {
    Enter, Leave, Tick, PressLeft, PressRight, PressMiddle, ReleaseLeft, ReleaseRight, ReleaseMiddle,
    ReleaseLeftOutside, DragOff, DragOn, DoubleClick, Focus, FocusAway, KeySpace, CharSpace, KeyUpSpace, KeyA,
    KeyRight, AccessKey,
};

// ProgramLook: dressed as the program's buttons are, whose looks differ in face and ring.
enum class Setup { Plain, CheckBox, HolderZeroesKeys, ProgramLook };

// Events raised, separated by blanks; the state after the input: "up" or "down" as last
// drawn, then "+over", "+focus", "+capture" (the button holds the mouse), "+checked".
struct Step {
    In input;
    const char* events;
    const char* state;
};

struct Row {
    const char* name;
    Setup setup;
    std::vector<Step> steps;
};

const Row kRows[] = {
    {"hover, then the pointer leaves", Setup::Plain,
     {{In::Enter, "MouseMove:0 MouseOver", "up+over"}, {In::Tick, "", "up+over"}, {In::Leave, "", "up+over"},
      {In::Tick, "MouseOut", "up"}}},
    {"left click", Setup::Plain,
     {{In::Enter, "MouseMove:0 MouseOver", "up+over"}, {In::PressLeft, "MouseDown:1@5,5", "down+over+focus+capture"},
      {In::ReleaseLeft, "MouseUp:1 Click", "up+over+focus"}}},
    {"middle button", Setup::Plain,
     {{In::Enter, "MouseMove:0 MouseOver", "up+over"}, {In::PressMiddle, "MouseDown:4@5,5", "down+over+capture"},
      {In::ReleaseMiddle, "MouseUp:4", "up+over"}}},
    {"right button", Setup::Plain,
     {{In::Enter, "MouseMove:0 MouseOver", "up+over"}, {In::PressRight, "MouseDown:2@5,5", "up+over+capture"},
      {In::ReleaseRight, "MouseUp:2", "up+over"}}},
    {"drag off and back on, then hover again without leaving", Setup::Plain,
     {{In::Enter, "MouseMove:0 MouseOver", "up+over"}, {In::PressLeft, "MouseDown:1@5,5", "down+over+focus+capture"},
      {In::DragOff, "MouseMove:1", "up+over+focus+capture"}, {In::DragOn, "MouseMove:1", "down+focus+capture"},
      {In::ReleaseLeft, "MouseUp:1 Click", "up+focus"}, {In::Enter, "MouseMove:0 MouseOver", "up+over+focus"}}},
    {"release outside", Setup::Plain,
     {{In::Enter, "MouseMove:0 MouseOver", "up+over"}, {In::PressLeft, "MouseDown:1@5,5", "down+over+focus+capture"},
      {In::DragOff, "MouseMove:1", "up+over+focus+capture"}, {In::ReleaseLeftOutside, "MouseUp:1", "up+over+focus"},
      {In::Tick, "MouseOut", "up+focus"}}},
    {"double click", Setup::Plain,
     {{In::Enter, "MouseMove:0 MouseOver", "up+over"}, {In::PressLeft, "MouseDown:1@5,5", "down+over+focus+capture"},
      {In::ReleaseLeft, "MouseUp:1 Click", "up+over+focus"},
      {In::DoubleClick, "MouseDown:1@0,0", "down+over+focus+capture"}, {In::ReleaseLeft, "MouseUp:1", "up+over+focus"}}},
    {"space", Setup::Plain,
     {{In::Focus, "", "up+focus"}, {In::KeySpace, "KeyDown:32", "down+focus"},
      {In::CharSpace, "KeyPress:32", "down+focus"}, {In::KeyUpSpace, "KeyUp:32 Click", "up+focus"}}},
    {"space released after another key", Setup::Plain,
     {{In::Focus, "", "up+focus"}, {In::KeySpace, "KeyDown:32", "down+focus"}, {In::KeyA, "KeyDown:65", "down+focus"},
      {In::KeyUpSpace, "KeyUp:32", "up+focus"}}},
    {"space held as the focus leaves", Setup::Plain,
     {{In::Focus, "", "up+focus"}, {In::KeySpace, "KeyDown:32", "down+focus"}, {In::FocusAway, "", "up"},
      {In::Focus, "", "up+focus"}, {In::KeyUpSpace, "KeyUp:32", "up+focus"}}},
    {"holder zeroes KeyCode", Setup::HolderZeroesKeys,
     {{In::Focus, "", "up+focus"}, {In::KeySpace, "KeyDown:32", "up+focus"}, {In::KeyUpSpace, "KeyUp:32", "up+focus"},
      {In::KeyRight, "KeyDown:39", "up+focus"}}},
    {"check box toggles by click, space and access key", Setup::CheckBox,
     {{In::Enter, "MouseMove:0 MouseOver", "up+over"}, {In::PressLeft, "MouseDown:1@5,5", "down+over+focus+capture"},
      {In::ReleaseLeft, "MouseUp:1 Click", "down+over+focus+checked"},
      {In::KeySpace, "KeyDown:32", "down+over+focus+checked"}, {In::KeyUpSpace, "KeyUp:32 Click", "up+over+focus"},
      {In::AccessKey, "Click", "down+over+focus+checked"}}},
};

// A button at (10, 10) in a host window, with a sibling to take the focus, and every event
// written to a log.
class Rig {
public:
    explicit Rig(Setup setup)
        : button(tinttest::NewButton(host)),
          sibling(TintButton::CreateNew(host.hwnd(), 101, RECT{10, 50, 110, 74}))
    {
        inside = ScreenPoint(button->hwnd(), kInside);
        outside = ScreenPoint(host.hwnd(), {300, 200});
        SetCursorPos(outside.x, outside.y);
        button->Model().SetCheckBoxBehaviour(setup == Setup::CheckBox);
        if (setup == Setup::ProgramLook) {
            qm::TintButtonModel& model = button->Model();
            model.SetButtonType(qm::TypeHotFlat);
            model.SetColorScheme(qm::SchemeCustom);
            model.SetBackColor(kFace);
            model.SetBackOver(kHoverFace);
            model.SetShowFocusRect(false);
        }
        const bool zero = setup == Setup::HolderZeroesKeys;
        auto& e = button->Events();
        e.Click = [this] { log.push_back("Click"); };
        e.MouseOver = [this] { log.push_back("MouseOver"); };
        e.MouseOut = [this] { log.push_back("MouseOut"); };
        e.MouseDown = [this](std::int16_t& b, std::int16_t&, float& x, float& y) {
            std::ostringstream text;
            text << "MouseDown:" << b << '@' << x << ',' << y;
            log.push_back(text.str());
        };
        e.MouseMove = [this](std::int16_t& b, std::int16_t&, float&, float&) { Log("MouseMove", b); };
        e.MouseUp = [this](std::int16_t& b, std::int16_t&, float&, float&) { Log("MouseUp", b); };
        e.KeyPress = [this](std::int16_t& k) { Log("KeyPress", k); };
        auto key = [this, zero](const char* name) {
            return [this, zero, name](std::int16_t& k, std::int16_t&) {
                Log(name, k);
                k = zero ? 0 : k;
            };
        };
        e.KeyDown = key("KeyDown");
        e.KeyUp = key("KeyUp");
    }
    ~Rig() { SetCursorPos(kParked.x, kParked.y); }

    void Apply(In input)
    {
        const HWND w = button->hwnd();
        const LPARAM in = MAKELPARAM(kInside.x, kInside.y);
        const LPARAM out = MAKELPARAM(290, 190); // the outside point, in the button's client
        switch (input) {
        case In::Enter: Move(inside, 0, in); break;
        case In::Leave: SetCursorPos(outside.x, outside.y); break;
        case In::Tick: Tick(); break;
        case In::PressLeft: Press(WM_LBUTTONDOWN, MK_LBUTTON); break;
        case In::PressRight: Press(WM_RBUTTONDOWN, MK_RBUTTON); break;
        case In::PressMiddle: Press(WM_MBUTTONDOWN, MK_MBUTTON); break;
        case In::ReleaseLeft: SendMessageW(w, WM_LBUTTONUP, 0, in); break;
        case In::ReleaseRight: SendMessageW(w, WM_RBUTTONUP, 0, in); break;
        case In::ReleaseMiddle: SendMessageW(w, WM_MBUTTONUP, 0, in); break;
        case In::ReleaseLeftOutside: SendMessageW(w, WM_LBUTTONUP, 0, out); break;
        case In::DragOff: Move(outside, MK_LBUTTON, out); break;
        case In::DragOn: Move(inside, MK_LBUTTON, in); break;
        case In::DoubleClick: SendMessageW(w, WM_LBUTTONDBLCLK, MK_LBUTTON, in); break;
        case In::Focus: SetFocus(w); break;
        case In::FocusAway: SetFocus(sibling->hwnd()); break;
        case In::KeySpace: SendMessageW(w, WM_KEYDOWN, VK_SPACE, 1); break;
        case In::CharSpace: SendMessageW(w, WM_CHAR, L' ', 1); break;
        case In::KeyUpSpace: SendMessageW(w, WM_KEYUP, VK_SPACE, 0xC0000001); break;
        case In::KeyA: SendMessageW(w, WM_KEYDOWN, 'A', 1); break;
        case In::KeyRight: SendMessageW(w, WM_KEYDOWN, VK_RIGHT, 1); break;
        case In::AccessKey: button->AccessKeyPress(); break;
        }
    }

    std::string TakeEvents()
    {
        std::string joined;
        for (const auto& e : log)
            joined += (joined.empty() ? "" : " ") + e;
        log.clear();
        return joined;
    }

    std::string State() const
    {
        const qm::TintButtonState s = button->State();
        return std::string(s.pressed ? "down" : "up") + (s.over ? "+over" : "") + (s.focused ? "+focus" : "") +
               (GetCapture() == button->hwnd() ? "+capture" : "") + (button->Model().Value() ? "+checked" : "");
    }

    static constexpr COLORREF kFace = 0xD8EAE6;
    static constexpr COLORREF kHoverFace = 0xFFC0C0;

    tinttest::HostWindow host;
    std::unique_ptr<TintButton> button;
    std::unique_ptr<TintButton> sibling;

private:
    static constexpr POINT kInside{5, 5};
    static constexpr POINT kParked{1270, 1010};

    static POINT ScreenPoint(HWND hwnd, POINT client)
    {
        ClientToScreen(hwnd, &client);
        return client;
    }
    void Move(POINT screen, WPARAM keys, LPARAM client)
    {
        SetCursorPos(screen.x, screen.y);
        SendMessageW(button->hwnd(), WM_MOUSEMOVE, keys, client);
    }
    // A press happens where the pointer is.
    void Press(UINT message, WPARAM keys)
    {
        SetCursorPos(inside.x, inside.y);
        SendMessageW(button->hwnd(), message, keys, MAKELPARAM(kInside.x, kInside.y));
    }
    // Delivers the timer's next tick. No other message is dispatched, so the moves that the
    // platform makes of SetCursorPos never reach the button.
    void Tick()
    {
        MSG msg;
        for (int waited = 0; waited < 2000; waited += 5) {
            if (PeekMessageW(&msg, button->hwnd(), WM_TIMER, WM_TIMER, PM_REMOVE)) {
                DispatchMessageW(&msg);
                return;
            }
            Sleep(5);
        }
        ADD_FAILURE() << "the hover timer is not running";
    }
    void Log(const char* name, std::int16_t value) { log.push_back(std::string(name) + ':' + std::to_string(value)); }

    POINT inside{};
    POINT outside{};
    std::vector<std::string> log;
};

TEST(TintButtonInteraction, TransitionTable)
{
    for (const auto& row : kRows) {
        Rig rig(row.setup);
        for (size_t i = 0; i < row.steps.size(); ++i) {
            const Step& step = row.steps[i];
            rig.Apply(step.input);
            EXPECT_EQ(rig.TakeEvents(), step.events) << row.name << ", step " << i + 1;
            EXPECT_EQ(rig.State(), step.state) << row.name << ", step " << i + 1;
        }
    }
}

// A button paints only when its window next paints; each paint must show the look last asked
// for, though the pointer-over flag a press under the pointer is drawn with is cleared again
// before the paint comes.
TEST(TintButtonInteraction, EachPaintShowsTheLookLastAskedFor)
{
    struct Look {
        COLORREF ring;
        COLORREF face;
    };
    const Look rest{Rig::kFace, Rig::kFace}, over{0x7F4040, Rig::kHoverFace}, pressedOver{0x7F4040, 0xDFA0A0};
    struct Paint {
        std::vector<In> inputs;
        Look look;
    };
    const struct {
        const char* name;
        std::vector<Paint> paints;
    } rows[] = {
        {"drag off and back on",
         {{{In::Enter}, over}, {{In::PressLeft}, pressedOver}, {{In::DragOff}, over}, {{In::DragOn}, pressedOver},
          {{In::ReleaseLeft}, rest}}},
        {"a held move between the press and its paint", {{{In::Enter}, over}, {{In::PressLeft, In::DragOn}, pressedOver}}},
    };
    for (const auto& row : rows) {
        Rig rig(Setup::ProgramLook);
        for (size_t i = 0; i < row.paints.size(); ++i) {
            const Paint& paint = row.paints[i];
            for (const In input : paint.inputs)
                rig.Apply(input);
            UpdateWindow(rig.button->hwnd());
            const tinttest::SurfacePixels px(rig.button->Surface()->Dc());
            EXPECT_EQ(px.At(0, 12), paint.look.ring) << row.name << ", paint " << i + 1;
            EXPECT_EQ(px.At(2, 12), paint.look.face) << row.name << ", paint " << i + 1;
        }
    }
}

TEST(TintButtonInteraction, AccessKeyFromCaption)
{
    const std::pair<const wchar_t*, const wchar_t*> cases[] = {
        {L"Cl&ose", L"o"},  {L"&HKLM Run", L"h"}, {L"Close&", L""},     {L"&", L""},
        {L"x", L""},        {L"R&&D", L""},       {L"R&&D &Lab", L"l"}, {L"R&&D&", L""},
        {L"&&a&&b&c", L""}, {L"&&&X", L"x"},
    };
    for (const auto& [caption, key] : cases)
        EXPECT_EQ(qm::AccessKeyFor(caption), key) << "caption " << testing::PrintToString(std::wstring(caption));
}

} // namespace
