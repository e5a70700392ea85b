// Listing a startup key into the main window's two list boxes, against the least any program
// must do to read the same key: one RegEnumValueW per value for its name and data.

#include "BenchSupport.h"

#include "app/FrmMain.h"
#include "host/Application.h"
#include "support/RegistrySandbox.h"
#include "support/ScriptedHost.h"

#include "launch/LinkBytes.h"

#include <commctrl.h>

#include <vector>

namespace {

constexpr int kRuns = 31;
constexpr int kSizes[] = {1000, 10000};

// Reads every value's name and data, into buffers large enough for any: with one call each
// (the bare loop), or the way a listing that asks for each name by index and then for its data
// by name must (the registry part of ListLocation without the list boxes).
int Enumerate(bool nameThenData)
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, qmtest::kRunKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return 0;
    static std::vector<wchar_t> name(16384);
    static std::vector<BYTE> data(65536);
    int count = 0;
    for (DWORD i = 0;; ++i) {
        DWORD nameLength = static_cast<DWORD>(name.size());
        DWORD dataSize = static_cast<DWORD>(data.size());
        DWORD type = 0;
        const bool read = nameThenData
            ? RegEnumValueW(key, i, name.data(), &nameLength, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS &&
                RegQueryValueExW(key, name.data(), nullptr, &type, data.data(), &dataSize) == ERROR_SUCCESS
            : RegEnumValueW(key, i, name.data(), &nameLength, nullptr, &type, data.data(), &dataSize) == ERROR_SUCCESS;
        if (!read)
            break;
        ++count;
    }
    RegCloseKey(key);
    return count;
}

int BareEnumeration()
{
    return Enumerate(false);
}

int TwoCallEnumeration()
{
    return Enumerate(true);
}

// Paint messages a list box receives, whether posted or sent by UpdateWindow.
struct PaintCounts {
    int paint = 0;
    int ncPaint = 0;
    int eraseBackground = 0;
};

LRESULT CALLBACK CountPaints(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data)
{
    auto* counts = reinterpret_cast<PaintCounts*>(data);
    if (message == WM_PAINT)
        ++counts->paint;
    else if (message == WM_NCPAINT)
        ++counts->ncPaint;
    else if (message == WM_ERASEBKGND)
        ++counts->eraseBackground;
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

// Counts the paints of both list boxes during one ListLocation, and then while the window's
// pending messages run. Not part of the timed runs: the subclass costs time per message.
void PrintPaintsOfOneFill(qm::FrmMain& main)
{
    PaintCounts during[2];
    PaintCounts after[2];
    const HWND lists[2] = {main.nameList.Hwnd(), main.commandLineList.Hwnd()};
    for (int i = 0; i < 2; ++i)
        SetWindowSubclass(lists[i], CountPaints, 1, reinterpret_cast<DWORD_PTR>(&during[i]));
    main.ListLocation(1);
    for (int i = 0; i < 2; ++i)
        SetWindowSubclass(lists[i], CountPaints, 1, reinterpret_cast<DWORD_PTR>(&after[i]));
    qm::App().DoEvents();
    for (int i = 0; i < 2; ++i) {
        RemoveWindowSubclass(lists[i], CountPaints, 1);
        qmbench::Print("%8s %-10ls %5d items; WM_PAINT/WM_NCPAINT/WM_ERASEBKGND during the fill: %d/%d/%d, after it: %d/%d/%d\n",
            "", i == 0 ? L"lstName" : L"lstCmdLine", static_cast<int>(SendMessageW(lists[i], LB_GETCOUNT, 0, 0)),
            during[i].paint, during[i].ncPaint, during[i].eraseBackground, after[i].paint, after[i].ncPaint,
            after[i].eraseBackground);
    }
}

// The bare loop for a Startup folder: its files found, and each one read whole, once.
int ReadEveryFile(const std::wstring& folder)
{
    static std::vector<BYTE> buffer(65536);
    WIN32_FIND_DATAW found;
    const HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE)
        return 0;
    int count = 0;
    do {
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            continue;
        const HANDLE file = CreateFileW((folder + L"\\" + found.cFileName).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
            OPEN_EXISTING, 0, nullptr);
        DWORD read = 0;
        if (file != INVALID_HANDLE_VALUE && ReadFile(file, buffer.data(), static_cast<DWORD>(buffer.size()), &read, nullptr))
            ++count;
        if (file != INVALID_HANDLE_VALUE)
            CloseHandle(file);
    } while (FindNextFileW(find, &found));
    FindClose(find);
    return count;
}

// Location 1 with a Run key of 1,000 values and 200 shortcuts in all users' Startup folder.
void ListingWithShortcuts(qm::FrmMain& main, const qmtest::RegistrySandbox& sandbox)
{
    constexpr int kShortcuts = 200;
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, qmtest::kRunKey);
    if (!qmbench::SeedValues(HKEY_LOCAL_MACHINE, qmtest::kRunKey, 1000))
        return;
    const std::wstring folder = sandbox.CommonStartupFolder();
    for (int i = 0; i < kShortcuts; ++i) {
        const std::string target = "C:\\Program Files\\Vendor " + std::to_string(i) + "\\tool.exe";
        if (!qmtest::PutFile(folder + L"\\Tool " + std::to_wstring(i) + L".lnk", linkbytes::LocalLink(target, u"/tray"))) {
            qmbench::Print("could not write the shortcuts\n");
            return;
        }
    }
    BareEnumeration();
    ReadEveryFile(folder);
    main.ListLocation(1);
    std::vector<double> bare, listing;
    for (int run = 0; run < kRuns; ++run) {
        bare.push_back(qmbench::TimeMs([&] {
            BareEnumeration();
            ReadEveryFile(folder);
        }));
        listing.push_back(qmbench::TimeMs([&] { main.ListLocation(1); }));
    }
    const double bareMs = qmbench::Median(bare);
    const double listMs = qmbench::Median(listing);
    qmbench::Print("\n1000 values and %d shortcuts in all users' Startup folder (goal: at most 1.3x):\n"
                   "bare (enumeration, then each shortcut found and read once) %.1f ms, ListLocation %.1f ms, %.2fx\n",
        kShortcuts, bareMs, listMs, listMs / bareMs);
}

} // namespace

int wmain()
{
    qmtest::RegistrySandbox sandbox(L"Bench.Listing");
    qmtest::ScriptedHost host;
    qm::FrmMain main;
    if (!main.Load())
        return 1;
    main.Show();
    qm::App().DoEvents();
    auto repaint = [&] {
        UpdateWindow(main.nameList.Hwnd());
        UpdateWindow(main.commandLineList.Hwnd());
    };

    qmbench::Print("Listing location 1 (sandboxed HKLM Run key) into the main window, median of %d interleaved runs.\n"
                   "bare: one RegEnumValueW per value (name and data); two-call: RegEnumValueW for the name, then\n"
                   "RegQueryValueExW for the data; +repaint: ListLocation, then both list boxes painted.\n", kRuns);
    qmbench::Print("%8s %9s %9s %13s %9s %9s %9s\n", "values", "bare ms", "two-call", "ListLocation", "ratio",
        "+repaint", "ratio");
    for (const int size : kSizes) {
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, qmtest::kRunKey);
        if (!qmbench::SeedValues(HKEY_LOCAL_MACHINE, qmtest::kRunKey, size)) {
            qmbench::Print("could not seed %d values\n", size);
            return 1;
        }
        // One unmeasured round brings the key into the registry server's cache and sizes the lists.
        BareEnumeration();
        main.ListLocation(1);
        repaint();

        std::vector<double> bare, twoCall, listing, painted;
        for (int run = 0; run < kRuns; ++run) {
            bare.push_back(qmbench::TimeMs([] { BareEnumeration(); }));
            twoCall.push_back(qmbench::TimeMs([] { TwoCallEnumeration(); }));
            listing.push_back(qmbench::TimeMs([&] { main.ListLocation(1); }));
            repaint();
            painted.push_back(qmbench::TimeMs([&] {
                main.ListLocation(1);
                repaint();
            }));
        }
        const double bareMs = qmbench::Median(bare);
        const double listMs = qmbench::Median(listing);
        const double paintedMs = qmbench::Median(painted);
        qmbench::Print("%8d %9.1f %9.1f %13.1f %8.2fx %9.1f %8.2fx\n", size, bareMs, qmbench::Median(twoCall), listMs,
            listMs / bareMs, paintedMs, paintedMs / bareMs);
        PrintPaintsOfOneFill(main);
    }
    ListingWithShortcuts(main, sandbox);
    return 0;
}
