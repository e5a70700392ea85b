// The plain twin of the start-up and memory benchmarks: Quillmoor's main window built from
// standard controls, as a plain Win32 program would make it, and nothing else. Same window
// styles, client size and colour, the same application manifest, the same 29 controls at the
// same places at 96 DPI (push buttons for the tintButtons), the two fonts of the main window,
// and the libraries Quillmoor imported at start before it loaded the rare ones on first use.
// It lists the machine's Run key in its two lists as Quillmoor lists location 1, through a
// plain RegEnumValueW loop, with each list's scroll width set to its widest text, and answers
// no control.

#include "host/StartupSteps.h"

#include <windows.h>

#include <commctrl.h>
#include <commdlg.h>
#include <oleacc.h>
#include <olectl.h>
#include <shellapi.h>

#include <iterator>

namespace {

struct ControlSpec {
    const wchar_t* className;
    DWORD style;
    DWORD exStyle;
    const wchar_t* caption;
    int left, top, width, height; // twips
    bool bold;
};

constexpr DWORD kButton = WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON;
constexpr DWORD kOption = WS_VISIBLE | WS_TABSTOP | BS_RADIOBUTTON;
constexpr DWORD kEdit = WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL;
constexpr DWORD kList = WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | WS_HSCROLL | WS_BORDER | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT;
constexpr DWORD kStatic = WS_VISIBLE | SS_LEFT | SS_NOPREFIX;

// Quillmoor's main window from the topmost control down.
constexpr ControlSpec kControls[] = {
    {L"EDIT", kEdit, WS_EX_CLIENTEDGE, L"", 240, 6480, 3375, 285, false},
    {L"LISTBOX", kList, 0, L"", 3120, 1320, 5055, 2595, false},
    {L"BUTTON", kButton, 0, L"Cl&ose", 6270, 5520, 1845, 375, true},
    {L"BUTTON", kButton, 0, L"&Help/About", 4245, 5520, 1845, 375, true},
    {L"BUTTON", kButton, 0, L"&Backups", 2205, 5520, 1845, 375, true},
    {L"BUTTON", kButton | WS_DISABLED, 0, L"D&elete Selection", 180, 5520, 1845, 375, true},
    {L"BUTTON", kButton, 0, L"&Browse", 7170, 4980, 945, 285, true},
    {L"BUTTON", kButton | WS_DISABLED, 0, L"Ad&d", 7170, 4650, 945, 285, true},
    {L"BUTTON", kButton, 0, L"&Autoexec.bat", 6270, 4080, 1845, 375, true},
    {L"BUTTON", kButton, 0, L"&Startup Folder", 4245, 4080, 1845, 375, true},
    {L"BUTTON", kButton, 0, L"&Win.ini", 2205, 4080, 1845, 375, true},
    {L"BUTTON", kButton, 0, L"&Control.ini", 180, 4080, 1845, 375, true},
    {L"BUTTON", kOption, 0, L"HKLM Run", 120, 8160, 1815, 255, false},
    {L"BUTTON", kOption, 0, L"HKLM Run Services", 1920, 8160, 1815, 255, false},
    {L"BUTTON", kOption, 0, L"HKCU Run", 4200, 8160, 1815, 255, false},
    {L"BUTTON", kOption, 0, L"HKU Run", 6240, 8160, 1815, 255, false},
    {L"EDIT", kEdit, WS_EX_CLIENTEDGE, L"", 1470, 4980, 5565, 285, false},
    {L"EDIT", kEdit, WS_EX_CLIENTEDGE, L"", 1470, 4650, 5565, 285, false},
    {L"LISTBOX", kList, 0, L"", 180, 1320, 2805, 2595, false},
    {L"BUTTON", kButton, 0, L"HK&U Run", 6240, 840, 1845, 375, true},
    {L"BUTTON", kButton, 0, L"H&KCU Run", 4230, 840, 1845, 375, true},
    {L"BUTTON", kButton, 0, L"HK&LM Services", 2205, 840, 1845, 375, true},
    {L"BUTTON", kButton, 0, L"&HKLM Run", 180, 840, 1845, 375, true},
    {L"LISTBOX", kList & ~WS_VISIBLE, 0, L"", 3120, 1320, 5055, 2010, false},
    {L"BUTTON", kButton, 0, L"&Finished", 6270, 3480, 1845, 375, true},
    {L"BUTTON", kButton | WS_DISABLED, 0, L"&Restore Selected", 4245, 3480, 1845, 375, true},
    {L"STATIC", kStatic, 0, L"Quillmoor", 180, 240, 7905, 375, true},
    {L"STATIC", kStatic, 0, L"Command Line:", 180, 5040, 1095, 195, false},
    {L"STATIC", kStatic, 0, L"Program Name:", 180, 4710, 1095, 195, false},
};
static_assert(std::size(kControls) == 29);

// Read through volatile at start, so that the references stay and the loader maps these
// libraries as it did for Quillmoor.
const void* const volatile kImportedAtStart[] = {reinterpret_cast<const void*>(&RegOpenKeyExW),
    reinterpret_cast<const void*>(&GetOpenFileNameW),
    reinterpret_cast<const void*>(&ShellExecuteW), reinterpret_cast<const void*>(&CoInitializeEx),
    reinterpret_cast<const void*>(&OleTranslateColor), reinterpret_cast<const void*>(&CreateStdAccessibleObject),
    reinterpret_cast<const void*>(&GradientFill)};

constexpr COLORREF kFaceColor = 0x00D8EAE6;
// Where the two entry lists stand in kControls.
constexpr int kCommandLineList = 1;
constexpr int kNameList = 18;

// A list's item added and measured in the list's font, so that the widest sets the scroll width.
class ListFiller {
public:
    explicit ListFiller(HWND list)
        : list_(list), dc_(list), font_(dc_.get(), reinterpret_cast<HGDIOBJ>(SendMessageW(list, WM_GETFONT, 0, 0)))
    {
    }
    ~ListFiller()
    {
        // As wide as the widest text and a character's width more, as the list's own margin.
        TEXTMETRICW metrics{};
        GetTextMetricsW(dc_.get(), &metrics);
        SendMessageW(list_, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(widest_ + metrics.tmAveCharWidth), 0);
    }
    ListFiller(const ListFiller&) = delete;
    ListFiller& operator=(const ListFiller&) = delete;

    void Add(const wchar_t* text)
    {
        SendMessageW(list_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
        SIZE size{};
        if (GetTextExtentPoint32W(dc_.get(), text, lstrlenW(text), &size) && size.cx > widest_)
            widest_ = size.cx;
    }

private:
    HWND list_;
    qm::WindowDC dc_;
    qm::SelectGuard font_;
    int widest_ = 0;
};

// Each value's name in one list and its text in the other, as plainly as Win32 allows; each
// list scrolls sideways as far as its widest text, as Quillmoor's lists do.
void ListRunKey(HWND names, HWND commandLines)
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Windows\\CurrentVersion\\Run", 0, KEY_QUERY_VALUE, &key) !=
        ERROR_SUCCESS)
        return;
    ListFiller nameList(names);
    ListFiller commandLineList(commandLines);
    wchar_t name[16384];
    wchar_t data[32768];
    for (DWORD i = 0;; ++i) {
        DWORD nameLength = static_cast<DWORD>(std::size(name));
        DWORD dataSize = sizeof(data) - sizeof(wchar_t);
        DWORD type = 0;
        if (RegEnumValueW(key, i, name, &nameLength, nullptr, &type, reinterpret_cast<BYTE*>(data), &dataSize) != ERROR_SUCCESS)
            break;
        data[dataSize / sizeof(wchar_t)] = L'\0';
        nameList.Add(name);
        commandLineList.Add(data);
    }
    RegCloseKey(key);
}
constexpr int kTwipsPerPixel = 15; // at 96 DPI

LRESULT CALLBACK WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

HFONT MakeFont(int weight)
{
    // 8.25 points at 96 DPI.
    return CreateFontW(-11, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
        CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, L"MS Sans Serif");
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show)
{
    qm::NoteStartupStep("main");
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&icc);
    for (const void* const volatile& imported : kImportedAtStart) {
        if (!imported)
            return 1;
    }

    const qm::UniqueBrush face(CreateSolidBrush(kFaceColor));
    WNDCLASSW wc{};
    wc.lpfnWndProc = WndProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = face.get();
    wc.lpszClassName = L"PlainWindow";
    if (!RegisterClassW(&wc))
        return 1;

    constexpr DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
    RECT frame{0, 0, 549, 400};
    AdjustWindowRectEx(&frame, style, FALSE, 0);
    const HWND hwnd = CreateWindowExW(0, wc.lpszClassName, L"Plain window", style, CW_USEDEFAULT, CW_USEDEFAULT,
        frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr, instance, nullptr);
    if (!hwnd)
        return 1;
    const qm::UniqueFont normal(MakeFont(FW_NORMAL));
    const qm::UniqueFont bold(MakeFont(FW_BOLD));
    int id = 100;
    HWND lists[2] = {};
    for (const ControlSpec& c : kControls) {
        const HWND control = CreateWindowExW(c.exStyle, c.className, c.caption, c.style | WS_CHILD | WS_CLIPSIBLINGS,
            c.left / kTwipsPerPixel, c.top / kTwipsPerPixel,
            c.width / kTwipsPerPixel, c.height / kTwipsPerPixel, hwnd, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id++)),
            instance, nullptr);
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(c.bold ? bold.get() : normal.get()), FALSE);
        if (&c == &kControls[kNameList])
            lists[0] = control;
        else if (&c == &kControls[kCommandLineList])
            lists[1] = control;
    }
    ListRunKey(lists[0], lists[1]);
    qm::NoteStartupStep("created");
    ShowWindow(hwnd, show);
    qm::NoteStartupStep("shown");

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}
