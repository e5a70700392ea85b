#include "host/Form.h"

#include "host/Application.h"
#include "host/Label.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>

namespace qm {

namespace {

constexpr int kFirstControlId = 100;
constexpr const wchar_t* kFontFace = L"MS Sans Serif";

struct FontSpec {
    int centiPoints;
    int weight;
};
// Indexed by FontKind.
constexpr std::array<FontSpec, 4> kFonts = {{
    {825, FW_NORMAL},
    {825, FW_BOLD},
    {1200, FW_BOLD},
    {975, FW_BOLD},
}};

} // namespace

Form::~Form()
{
    if (hwnd_)
        DestroyWindow(hwnd_);
}

int Form::ShowMessage(const std::wstring& text, unsigned code, const std::wstring& title) const
{
    return App().Services().ShowMessage(hwnd_, text, code, title);
}

bool Form::CreateForm(const FormSetup& setup, std::vector<Control*> stacking, std::vector<Control*> tabOrder,
    const std::vector<Control*>& later)
{
    setup_ = setup;
    controls_ = std::move(stacking);
    tabOrder_ = std::move(tabOrder);
    const HINSTANCE instance = App().Module();

    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    if (!GetClassInfoExW(instance, setup.className, &wc)) {
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = &Form::WndProc;
        wc.hInstance = instance;
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.lpszClassName = setup.className;
        // No class icons: the window is given its own, at its DPI's sizes, before it shows.
        if (!RegisterClassExW(&wc))
            return false;
    }
    background_.reset(CreateSolidBrush(setup.background));

    // Made at its final place and size, centred, so that no layout pass follows: at the
    // system's DPI, which is the window's unless its monitor has another.
    const UINT systemDpi = GetDpiForSystem();
    const RECT frame = CentredFrame(systemDpi);
    CreateWindowExW(setup.exStyle, setup.className, setup.caption.c_str(), setup.style, frame.left, frame.top,
        frame.right - frame.left, frame.bottom - frame.top, setup.owner, nullptr, instance, this);
    if (!hwnd_)
        return false;
    dpi_ = GetDpiForWindow(hwnd_);
    if (dpi_ == 0)
        dpi_ = kBaseDpi;
    if (dpi_ != systemDpi) {
        const RECT placed = CentredFrame(dpi_);
        SetWindowPos(hwnd_, nullptr, placed.left, placed.top, placed.right - placed.left, placed.bottom - placed.top,
            SWP_NOZORDER | SWP_NOACTIVATE);
    }
    CreateFonts();
    ShowIconsForDpi();

    labelBrushes_.resize(controls_.size());
    for (size_t i = 0; i < controls_.size(); ++i) {
        if (std::find(later.begin(), later.end(), controls_[i]) != later.end())
            controls_[i]->madeLaterBy_ = this;
        else
            CreateControl(i);
    }
    App().AddWindow(hwnd_, [this](MSG& msg) { return FilterMessage(msg); });
    return true;
}

// Made at its place, in its font, below the controls listed before it.
void Form::CreateControl(size_t index)
{
    Control& c = *controls_[index];
    c.madeLaterBy_ = nullptr;
    c.hwnd_ = c.Create(hwnd_, kFirstControlId + static_cast<int>(index), ToPixels(c.Rect(), dpi_));
    HWND above = HWND_TOP;
    for (size_t i = index; i-- > 0;) {
        if (controls_[i]->hwnd_) {
            above = controls_[i]->hwnd_;
            break;
        }
    }
    // A new child goes to the bottom, where the controls made first already have it; only a
    // control made later moves.
    const HWND previous = GetWindow(c.hwnd_, GW_HWNDPREV);
    if (previous != (above == HWND_TOP ? nullptr : above))
        SetWindowPos(c.hwnd_, above, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SendMessageW(c.hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(c.Font())), FALSE);
    c.OnFontChanged();
    const auto* label = dynamic_cast<const Label*>(&c);
    if (label && label->background != CLR_INVALID)
        labelBrushes_[index].reset(CreateSolidBrush(label->background));
    c.OnCreated();
    if (tooltips_)
        AddTooltip(c);
}

void Form::AddTooltip(const Control& c) const
{
    if (c.Tooltip().empty() && !c.HasChangingTooltip())
        return;
    TTTOOLINFOW ti{};
    ti.cbSize = sizeof(ti);
    ti.uFlags = TTF_IDISHWND;
    ti.hwnd = hwnd_;
    ti.uId = reinterpret_cast<UINT_PTR>(c.hwnd_);
    ti.lpszText = c.HasChangingTooltip() ? LPSTR_TEXTCALLBACKW : const_cast<wchar_t*>(c.Tooltip().c_str());
    SendMessageW(tooltips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
}

void Form::RelayToTooltips(const MSG& msg)
{
    // A control's own window only: the tools are those windows, and a search among their
    // children would ask the wineserver once per control on every move.
    const auto found = std::find_if(controls_.begin(), controls_.end(), [&](const Control* c) { return c->hwnd_ == msg.hwnd; });
    if (found == controls_.end())
        return;
    Control* c = *found;
    if (!tooltips_) {
        tooltips_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
            CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr, App().Module(), nullptr);
        if (!tooltips_)
            return;
        // Long item tooltips wrap instead of running off the screen.
        SendMessageW(tooltips_, TTM_SETMAXTIPWIDTH, 0, TwipsToPixels(setup_.clientWidthTwips, kBaseDpi));
        for (const Control* made : controls_) {
            if (made->hwnd_)
                AddTooltip(*made);
        }
    }
    SendMessageW(tooltips_, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&msg));
    if (msg.message == WM_MOUSEMOVE && c->TooltipChangesAt({GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam)}))
        SendMessageW(tooltips_, TTM_POP, 0, 0);
}

bool Form::CreateLaterControls()
{
    if (!hwnd_)
        return false;
    bool made = false;
    for (size_t i = 0; i < controls_.size(); ++i) {
        if (controls_[i]->madeLaterBy_) {
            CreateControl(i);
            made = true;
        }
    }
    if (made)
        OnLaterControlsCreated();
    return made;
}

void Form::Reach(const Control& c)
{
    if (c.madeLaterBy_)
        static_cast<void>(CreateLaterControls());
}

void Form::CreateFonts()
{
    for (size_t i = 0; i < kFonts.size(); ++i) {
        fonts_[i].reset(CreateFontW(FontHeight(kFonts[i].centiPoints, dpi_), 0, 0, 0, kFonts[i].weight, FALSE, FALSE, FALSE,
            DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS,
            kFontFace));
    }
}

FontDesc Form::FontDescFor(FontKind kind)
{
    const FontSpec& font = kFonts[static_cast<size_t>(kind)];
    return {kFontFace, font.centiPoints / 100.0, font.weight >= FW_BOLD, false, false};
}

void Form::ApplyDpi(UINT dpi)
{
    dpi_ = dpi;
    CreateFonts();
    ShowIconsForDpi();
    for (Control* c : controls_) {
        if (!c->hwnd_)
            continue;
        const RECT r = ToPixels(c->Rect(), dpi_);
        SetWindowPos(c->hwnd_, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
            SWP_NOZORDER | SWP_NOACTIVATE);
        SendMessageW(c->hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(c->Font())), TRUE);
        c->OnFontChanged();
    }
    FitToDpi();
}

void Form::ShowIconsForDpi()
{
    if (!setup_.iconId)
        return;
    const auto load = [this](int side) {
        return UniqueIcon(static_cast<HICON>(LoadImageW(App().Module(), MAKEINTRESOURCEW(setup_.iconId), IMAGE_ICON,
            MulDiv(side, static_cast<int>(dpi_), kBaseDpi), MulDiv(side, static_cast<int>(dpi_), kBaseDpi), 0)));
    };
    // The window holds the icons it is given: the old ones go only once the new ones are set.
    UniqueIcon small = load(16);
    UniqueIcon big = load(32);
    SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small.get()));
    SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big.get()));
    smallIcon_ = std::move(small);
    bigIcon_ = std::move(big);
}

SIZE Form::FrameSize(UINT dpi) const
{
    RECT frame{0, 0, TwipsToPixels(setup_.clientWidthTwips, dpi), TwipsToPixels(setup_.clientHeightTwips, dpi)};
    AdjustWindowRectExForDpi(&frame, setup_.style, FALSE, setup_.exStyle, dpi);
    return {frame.right - frame.left, frame.bottom - frame.top};
}

RECT Form::CentredFrame(UINT dpi) const
{
    const auto [width, height] = FrameSize(dpi);
    MONITORINFO mi{};
    mi.cbSize = sizeof(mi);
    GetMonitorInfoW(hwnd_ ? MonitorFromWindow(hwnd_, MONITOR_DEFAULTTOPRIMARY) : MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY),
        &mi);
    const int x = mi.rcWork.left + (mi.rcWork.right - mi.rcWork.left - width) / 2;
    const int y = mi.rcWork.top + (mi.rcWork.bottom - mi.rcWork.top - height) / 2;
    return {x, y, x + width, y + height};
}

void Form::FitToDpi()
{
    const SIZE size = FrameSize(dpi_);
    SetWindowPos(hwnd_, nullptr, 0, 0, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
}

void Form::Show()
{
    const bool first = !shownOnce_;
    shownOnce_ = true;
    ShowWindow(hwnd_, SW_SHOW);
    if (first) {
        // hwnd_, not Hwnd(): asking a control made later for its window would make it now.
        for (Control* c : controls_) {
            if (c->hwnd_)
                c->OnWindowShown();
        }
    }
    SetForegroundWindow(hwnd_);
    // No activation placed the focus when the window was active already.
    const HWND focus = GetFocus();
    if (!focus || !IsChild(hwnd_, focus))
        FocusFirstTabStop();
}

void Form::FocusFirstTabStop()
{
    const auto first = std::find_if(tabOrder_.begin(), tabOrder_.end(), [](Control* c) { return c->TakesFocus(); });
    if (first != tabOrder_.end())
        (*first)->Focus();
}

void Form::RememberFocus()
{
    const HWND focus = GetFocus();
    if (focus && IsChild(hwnd_, focus))
        lastFocus_ = focus;
}

void Form::RestoreFocus()
{
    const HWND focus = GetFocus();
    if (focus && IsChild(hwnd_, focus))
        return;
    // The control may have gone, or been hidden or disabled, while the window was inactive.
    if (lastFocus_ && IsChild(hwnd_, lastFocus_) && IsWindowVisible(lastFocus_) && IsWindowEnabled(lastFocus_))
        SetFocus(lastFocus_);
    else
        FocusFirstTabStop();
}

Form* Form::FromHwnd(HWND hwnd)
{
    // Our windows alone run Form::WndProc; the user data of any other window means nothing to us.
    if (!hwnd || reinterpret_cast<WNDPROC>(GetWindowLongPtrW(hwnd, GWLP_WNDPROC)) != &Form::WndProc)
        return nullptr;
    return reinterpret_cast<Form*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

Control* Form::FindById(int id) const
{
    const int index = id - kFirstControlId;
    return index >= 0 && index < static_cast<int>(controls_.size()) ? controls_[static_cast<size_t>(index)] : nullptr;
}

Control* Form::FindByHwnd(HWND hwnd) const
{
    if (!hwnd)
        return nullptr;
    // The control's own window first: under Wine each IsChild asks the wineserver.
    for (Control* c : controls_) {
        if (c->hwnd_ == hwnd)
            return c;
    }
    for (Control* c : controls_) {
        if (c->hwnd_ && IsChild(c->hwnd_, hwnd))
            return c;
    }
    return nullptr;
}

void Form::MoveFocus(bool backwards)
{
    const int n = static_cast<int>(tabOrder_.size());
    if (n == 0)
        return;
    const auto current = std::find(tabOrder_.begin(), tabOrder_.end(), FindByHwnd(GetFocus()));
    int index = current == tabOrder_.end() ? (backwards ? 0 : n - 1) : static_cast<int>(current - tabOrder_.begin());
    for (int step = 0; step < n; ++step) {
        index = (index + (backwards ? n - 1 : 1)) % n;
        Reach(*tabOrder_[static_cast<size_t>(index)]);
        if (tabOrder_[static_cast<size_t>(index)]->TakesFocus()) {
            tabOrder_[static_cast<size_t>(index)]->Focus();
            return;
        }
    }
}

bool Form::HandleAccessKey(wchar_t letter)
{
    std::vector<Control*> matches;
    for (Control* c : tabOrder_) {
        if (c->AccessKey() != letter)
            continue;
        Reach(*c);
        if (c->Visible() && c->Enabled())
            matches.push_back(c);
    }
    if (matches.empty())
        return false;
    if (matches.size() == 1) {
        matches.front()->OnAccessKey();
        return true;
    }
    // A shared letter moves the focus to the next control that has it, and clicks nothing.
    const auto current = std::find(tabOrder_.begin(), tabOrder_.end(), FindByHwnd(GetFocus()));
    const size_t start = current == tabOrder_.end() ? tabOrder_.size() - 1 : static_cast<size_t>(current - tabOrder_.begin());
    for (size_t step = 1; step <= tabOrder_.size(); ++step) {
        Control* c = tabOrder_[(start + step) % tabOrder_.size()];
        if (std::find(matches.begin(), matches.end(), c) != matches.end()) {
            c->Focus();
            break;
        }
    }
    return true;
}

bool Form::FilterMessage(MSG& msg)
{
    if ((msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST) || msg.message == WM_MOUSELEAVE)
        RelayToTooltips(msg);
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_TAB && GetKeyState(VK_CONTROL) >= 0) {
        MoveFocus(GetKeyState(VK_SHIFT) < 0);
        return true;
    }
    const bool alt = (msg.lParam & (1 << 29)) != 0;
    if (msg.message == WM_SYSKEYDOWN && alt && ((msg.wParam >= 'A' && msg.wParam <= 'Z') || (msg.wParam >= '0' && msg.wParam <= '9')))
        return HandleAccessKey(static_cast<wchar_t>(msg.wParam));
    return false;
}

LRESULT Form::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND:
        if (lParam == 0 && HIWORD(wParam) == 0) {
            OnMenuCommand(LOWORD(wParam));
            return 0;
        }
        if (Control* c = FindById(LOWORD(wParam)))
            c->OnCommand(HIWORD(wParam));
        return 0;
    case WM_ERASEBKGND: {
        RECT rc;
        GetClientRect(hwnd_, &rc);
        FillRect(reinterpret_cast<HDC>(wParam), &rc, background_.get());
        return 1;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: {
        const HDC dc = reinterpret_cast<HDC>(wParam);
        const Control* c = FindByHwnd(reinterpret_cast<HWND>(lParam));
        const auto index = static_cast<size_t>(std::find(controls_.begin(), controls_.end(), c) - controls_.begin());
        const auto* label = dynamic_cast<const Label*>(c);
        SetTextColor(dc, label && label->textColor != CLR_INVALID ? label->textColor : GetSysColor(COLOR_WINDOWTEXT));
        if (index < labelBrushes_.size() && labelBrushes_[index]) {
            SetBkColor(dc, static_cast<const Label*>(c)->background);
            return reinterpret_cast<LRESULT>(labelBrushes_[index].get());
        }
        SetBkColor(dc, setup_.background);
        return reinterpret_cast<LRESULT>(background_.get());
    }
    case WM_MEASUREITEM:
        if (Control* c = wParam ? FindById(static_cast<int>(wParam)) : nullptr) {
            c->OnMeasureItem(*reinterpret_cast<MEASUREITEMSTRUCT*>(lParam));
            return TRUE;
        }
        return FALSE;
    case WM_VKEYTOITEM:
        // -2: the key was dealt with; -1: the list does what it does with it.
        if (Control* c = FindByHwnd(reinterpret_cast<HWND>(lParam)); c && c->OnKeyToItem(LOWORD(wParam)))
            return -2;
        return -1;
    case WM_CONTEXTMENU:
        if (Control* c = FindByHwnd(reinterpret_cast<HWND>(wParam)); c && c->OnContextMenu({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}))
            return 0;
        return DefWindowProcW(hwnd_, message, wParam, lParam);
    case WM_NOTIFY: {
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        if (header->hwndFrom == tooltips_ && header->code == TTN_GETDISPINFOW) {
            auto* info = reinterpret_cast<NMTTDISPINFOW*>(lParam);
            const Control* c = FindByHwnd(reinterpret_cast<HWND>(header->idFrom));
            tooltipText_ = c ? c->TooltipText() : std::wstring();
            info->lpszText = tooltipText_.data();
        }
        return 0;
    }
    case WM_DRAWITEM:
        // Menus draw with id 0; controls carry their own id.
        if (Control* c = wParam ? FindById(static_cast<int>(wParam)) : nullptr) {
            c->OnDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
            return TRUE;
        }
        return FALSE;
    case WM_DPICHANGED: {
        ApplyDpi(HIWORD(wParam));
        const auto* suggested = reinterpret_cast<const RECT*>(lParam);
        SetWindowPos(hwnd_, nullptr, suggested->left, suggested->top, 0, 0, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOSIZE);
        return 0;
    }
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE)
            RememberFocus();
        else if (HIWORD(wParam) == 0)
            RestoreFocus();
        return 0;
    case WM_SETFOCUS:
        RestoreFocus();
        return 0;
    case WM_CLOSE:
        OnClose();
        return 0;
    case WM_SYSCOLORCHANGE:
        // Only top-level windows hear of it; controls that draw themselves need it too.
        for (Control* c : controls_) {
            if (c->hwnd_)
                SendMessageW(c->hwnd_, message, wParam, lParam);
        }
        return 0;
    default:
        return DefWindowProcW(hwnd_, message, wParam, lParam);
    }
}

LRESULT CALLBACK Form::WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept
{
    if (message == WM_NCCREATE) {
        auto* self = static_cast<Form*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<Form*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self)
        return DefWindowProcW(hwnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        App().RemoveWindow(hwnd);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
        for (Control* c : self->controls_) {
            c->hwnd_ = nullptr;
            c->madeLaterBy_ = nullptr;
        }
        self->labelBrushes_.clear();
        self->background_.reset();
        const LRESULT result = DefWindowProcW(hwnd, message, wParam, lParam);
        self->OnDestroyed();
        return result;
    }
    return self->HandleMessage(message, wParam, lParam);
}

} // namespace qm
