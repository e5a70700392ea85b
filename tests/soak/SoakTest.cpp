#include "controls/tintButton/TintButtonPainter.h"
#include "host/Application.h"
#include "backup/BackupWriter.h"
#include "registry/RegistryAccess.h"
#include "support/MainWindowFixture.h"
#include "support/OwnRegistryEditor.h"
#include "support/ResourceCounts.h"

#include <random>

using qmtest::MainWindowTest;

namespace {

const HKEY kRoots[] = {HKEY_LOCAL_MACHINE, HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER, HKEY_USERS};
const std::wstring kKeys[] = {qmtest::kRunKey, qmtest::kRunServicesKey, qmtest::kRunKey, qmtest::kDefaultRunKey};

// Characters that make names and data hard: blanks, quotes, backslashes, characters a file
// name cannot hold, Latin-1, Cyrillic, CJK and a surrogate pair.
const std::wstring kCharacters = L"abcXYZ019 _-'()&%!\u00E9\u00DF\u0416\u044F\u4E2D\"\\/:*?<>|=[];@";

class Generator {
public:
    explicit Generator(unsigned seed) : random_(seed) {}

    int Below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }

    std::wstring Text(const std::wstring& alphabet, int maxLength)
    {
        std::wstring text;
        for (int n = Below(maxLength + 1); n > 0; --n) {
            if (Below(20) == 0)
                text += L"\U0001F600";
            else
                text += alphabet[static_cast<size_t>(Below(static_cast<int>(alphabet.size())))];
        }
        return text;
    }

    std::vector<BYTE> Bytes(int maxLength)
    {
        std::vector<BYTE> bytes(static_cast<size_t>(Below(maxLength + 1)));
        for (BYTE& b : bytes)
            b = static_cast<BYTE>(Below(256));
        return bytes;
    }

private:
    std::mt19937 random_;
};

std::vector<BYTE> StringBytes(const std::wstring& text)
{
    const auto* p = reinterpret_cast<const BYTE*>(text.c_str());
    return {p, p + (text.size() + 1) * sizeof(wchar_t)};
}

// The test run keeps to a few dozen cycles; scripts/soak.sh asks for hundreds.
int SoakCycles()
{
    const wchar_t* asked = _wgetenv(L"QM_SOAK_CYCLES");
    const int cycles = asked ? _wtoi(asked) : 0;
    return cycles > 0 ? cycles : 40;
}

// Counted when the programs have been looked for and the window's background work has had time
// to end: the signature worker's thread, once started, keeps what the system made for it, and a
// file it checks is open only meanwhile.
void Settle(qm::FrmMain& w)
{
    while (w.ProgramChecksPending())
        qm::App().DoEvents();
    // Painted whole now: on a busy machine the first paint can come later than the wait below,
    // and what it makes once then would be counted as a leak.
    RedrawWindow(w.Hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW | RDW_ALLCHILDREN);
    for (const ULONGLONG until = GetTickCount64() + 500; GetTickCount64() < until;)
        qm::App().DoEvents();
}

} // namespace

// Every kind of value goes out through Delete and comes back through Restore, exactly.
TEST_F(MainWindowTest, RandomRemovalsAndRestoresLoseNothing)
{
    for (int location = 1; location <= 4; ++location)
        qmtest::CreateKey(kRoots[location - 1], kKeys[location - 1]);
    qmtest::ImportOnRun(host_);
    auto& w = LoadWindow();
    Generator gen(20261206);
    const DWORD types[] = {REG_SZ, REG_SZ, REG_SZ, REG_EXPAND_SZ, REG_MULTI_SZ, REG_DWORD, REG_BINARY, REG_QWORD, REG_NONE};

    for (int cycle = 0, cycles = SoakCycles(); cycle < cycles; ++cycle) {
        SCOPED_TRACE(cycle);
        const int location = 1 + gen.Below(4);
        Click(w.LocationButton(location));
        const std::wstring name = L"n" + std::to_wstring(cycle) + gen.Text(kCharacters, 12);
        const DWORD type = types[gen.Below(static_cast<int>(std::size(types)))];
        std::vector<BYTE> data;
        if (type == REG_SZ && gen.Below(2) == 0) {
            // Typed in and added through the window.
            const std::wstring cmdLine = L"c" + gen.Text(kCharacters, 200);
            w.nameBox.SetText(name);
            w.commandLineBox.SetText(cmdLine);
            Click(w.addButton);
            data = StringBytes(cmdLine);
        } else {
            if (type == REG_SZ || type == REG_EXPAND_SZ)
                data = StringBytes(gen.Text(kCharacters + L"\r\n", 300));
            else if (type == REG_MULTI_SZ)
                data = StringBytes(gen.Text(kCharacters, 20) + L'\0' + gen.Text(kCharacters, 20) + L'\0');
            else if (type == REG_DWORD || type == REG_QWORD)
                data.assign(type == REG_DWORD ? 4 : 8, static_cast<BYTE>(gen.Below(256)));
            else
                data = gen.Bytes(64);
            ASSERT_TRUE(qmtest::SetValue(kRoots[location - 1], kKeys[location - 1], name, type, data.data(),
                static_cast<DWORD>(data.size())));
            Click(w.LocationButton(location));
        }

        ASSERT_TRUE(SelectEntry(name));
        host_.messageBoxAnswers = {IDYES, IDOK, IDOK};
        Click(w.deleteButton);
        ASSERT_FALSE(qmtest::ValueExists(kRoots[location - 1], kKeys[location - 1], name));
        ASSERT_TRUE(SelectBackup(qm::BackupBaseName(name)));
        Click(w.restoreButton);

        const auto back = qm::ReadValueRaw(kRoots[location - 1], kKeys[location - 1], name);
        ASSERT_TRUE(back);
        EXPECT_EQ(back->type, type);
        EXPECT_EQ(std::vector<BYTE>(back->data.begin(), back->data.end()), data);
        ASSERT_TRUE(BackupFiles().empty());
        host_.messageBoxes.clear();
        host_.runs.clear();
    }

    // The lists show what the key holds, no more and no less.
    for (int location = 1; location <= 4; ++location) {
        Click(w.LocationButton(location));
        const qm::RegKey key = qm::OpenKeyForRead(kRoots[location - 1], kKeys[location - 1]);
        std::set<std::pair<std::wstring, std::wstring>> inKey;
        for (const qm::ValueText& value : qm::ReadValueTexts(key.Get()))
            inKey.emplace(value.name, value.text);
        EXPECT_EQ(ListedEntries(), inKey);
    }
}

TEST_F(MainWindowTest, LocationSwitchesLeakNothing)
{
    for (int location = 1; location <= 4; ++location)
        for (int i = 0; i < 20; ++i)
            qmtest::SetString(kRoots[location - 1], kKeys[location - 1], L"entry " + std::to_wstring(i), L"cmd.exe /c " + std::to_wstring(i));
    auto& w = LoadWindow();
    auto switchAround = [&](int times) {
        for (int i = 0; i < times; ++i) {
            Click(w.LocationButton(1 + i % 4));
            w.nameList.SetSelectedIndex(i % 20);
        }
        qm::App().DoEvents();
    };
    switchAround(8);
    Settle(w);
    const auto before = qmtest::ResourceCounts::Now();
    switchAround(200);
    Settle(w);
    EXPECT_EQ(qmtest::ResourceCounts::Now(), before);
}

TEST_F(MainWindowTest, TenThousandHoverRedrawsLeakNothing)
{
    auto& w = LoadWindow();
    const qm::TintButtonModel& button = w.locationButtons[0].Button()->Model();
    qm::TintButtonSurface surface;
    ASSERT_TRUE(surface.Resize(button.Width(), button.Height()));
    ASSERT_TRUE(surface.SetFont(button.Font(), qm::kBaseDpi));
    qm::TintButtonPainter painter;
    auto hover = [&](int times) {
        for (int i = 0; i < times; ++i)
            painter.Paint(button, {.over = i % 2 == 0}, surface);
        painter.Paint(button, {}, surface);
        qm::App().DoEvents();
    };
    hover(10);
    Settle(w);
    const auto before = qmtest::ResourceCounts::Now();
    hover(10000);
    EXPECT_EQ(qmtest::ResourceCounts::Now(), before);
}
