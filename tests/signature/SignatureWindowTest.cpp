#include "app/EntryMenu.h"
#include "app/EntrySignatures.h"
#include "app/FrmMain.h"
#include "host/Application.h"
#include "support/RegistrySandbox.h"
#include "support/ResourceCounts.h"
#include "support/ScriptedHost.h"

#include "SignatureFixtures.h"

#include <gtest/gtest.h>

#include <tlhelp32.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>

namespace {

using Clock = std::chrono::steady_clock;

double MsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}
using qm::SignatureStatus;

constexpr int kEntries = 200;
constexpr int kHkcuLocation = 3;

int ThreadsOfThisProcess()
{
    const qm::UniqueFile snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0));
    THREADENTRY32 thread{};
    thread.dwSize = sizeof(thread);
    int count = 0;
    for (BOOL more = Thread32First(snapshot.get(), &thread); more; more = Thread32Next(snapshot.get(), &thread))
        count += thread.th32OwnerProcessID == GetCurrentProcessId() ? 1 : 0;
    return count;
}

// Posts a message to the window and runs the message loop until it is handled: how long input
// waits for the window.
double RoundTripMs(HWND window)
{
    constexpr LPARAM kMarker = 0x51AA;
    const auto start = Clock::now();
    PostMessageW(window, WM_NULL, 0, kMarker);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        const bool ours = msg.hwnd == window && msg.message == WM_NULL && msg.lParam == kMarker;
        qm::App().Dispatch(msg);
        if (ours)
            break;
    }
    return MsSince(start);
}

// Runs the message loop for a while, timers included, as an idle window's loop does.
void RunMessagesFor(DWORD ms)
{
    const ULONGLONG until = GetTickCount64() + ms;
    for (ULONGLONG now = GetTickCount64(); now < until; now = GetTickCount64()) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(until - now), QS_ALLINPUT);
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            qm::App().Dispatch(msg);
    }
}

// Runs the message loop one message at a time until a condition holds after one of them.
template <typename Condition>
bool RunMessagesUntil(Condition done, std::chrono::seconds timeout)
{
    const auto deadline = Clock::now() + timeout;
    while (!done()) {
        MSG msg;
        if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (Clock::now() > deadline)
                return false;
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
            continue;
        }
        qm::App().Dispatch(msg);
    }
    return true;
}

// The window over the user's Run key (location 3) holding 200 entries, every other one starting
// a signed copy of the fixture and the rest an unsigned copy, each copy a file of its own.
class SignatureWindowTest : public testing::Test {
protected:
    SignatureWindowTest()
    {
        for (int i = 0; i < kEntries; ++i) {
            const std::wstring program = folder_.Path() + L"\\program" + std::to_wstring(i) + L".exe";
            CopyFileW(qmtest::FixturePath(Signed(i) ? L"signed.exe" : L"unsigned.exe").c_str(), program.c_str(), FALSE);
            wchar_t name[16];
            swprintf(name, std::size(name), L"Entry %03d", i);
            qmtest::SetString(HKEY_CURRENT_USER, qmtest::kRunKey, name, L"\"" + program + L"\" /start");
        }
    }
    ~SignatureWindowTest() override
    {
        main_.reset();
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        }
    }

    static bool Signed(int entry) { return entry % 2 == 0; }
    static int EntryNumber(const std::wstring& name) { return std::stoi(name.substr(6)); }

    qm::FrmMain& ListTheEntries()
    {
        main_ = std::make_unique<qm::FrmMain>();
        EXPECT_TRUE(main_->Load());
        main_->Show();
        main_->LocationOption(kHkcuLocation).Select();
        EXPECT_EQ(main_->Entries().size(), static_cast<size_t>(kEntries));
        return *main_;
    }

    int Checked() const
    {
        const auto& entries = main_->Entries();
        return static_cast<int>(std::count_if(entries.begin(), entries.end(), [](const auto& e) { return e.signature.has_value(); }));
    }

    // The checks run on the worker: the window needs none of its own for these.
    qmtest::RegistrySandbox sandbox_{L"SignatureWindow", qmtest::RegistrySandbox::Roots::UsersOnly};
    qmtest::ScriptedHost host_;
    qmtest::ScratchFolder folder_{L"Window"};
    std::unique_ptr<qm::FrmMain> main_;
};

TEST_F(SignatureWindowTest, EveryResultArrivesWhileTheWindowKeepsAnswering)
{
    auto& w = ListTheEntries();
    std::vector<double> roundTrips;
    const auto deadline = Clock::now() + std::chrono::seconds(60);
    while (Checked() < kEntries && Clock::now() < deadline) {
        // Input comes now and then: a stream of posted messages would keep the timers away.
        RunMessagesFor(5);
        roundTrips.push_back(RoundTripMs(w.Hwnd()));
    }
    ASSERT_EQ(Checked(), kEntries);

    // A window that waited for the checks would keep input waiting until they were done; the
    // slowest trips belong to the scheduler of a machine busy with other work.
    std::sort(roundTrips.begin(), roundTrips.end());
    ASSERT_GT(roundTrips.size(), 10u);
    const double median = roundTrips[roundTrips.size() / 2];
    const double slow = roundTrips[roundTrips.size() * 9 / 10];
    std::printf("%zu round trips while checking: median %.2f ms, 90th percentile %.2f ms, slowest %.2f ms\n",
        roundTrips.size(), median, slow, roundTrips.back());
    EXPECT_LT(median, 50.0);
    EXPECT_LT(slow, 100.0);

    for (int i = 0; i < kEntries; ++i) {
        const auto& entry = w.Entries()[static_cast<size_t>(i)];
        const bool isSigned = Signed(EntryNumber(entry.name));
        EXPECT_EQ(entry.signature->status, isSigned ? SignatureStatus::Verified : SignatureStatus::Unsigned) << entry.name;
        const wchar_t* note = w.nameList.Style(i).note;
        EXPECT_EQ(note ? std::wstring(note) : L"", isSigned ? L"" : L"unsigned") << entry.name;
        const std::wstring tip = qm::EntryTooltip(w, i);
        EXPECT_NE(tip.find(isSigned ? L"Signed by Quillmoor Test Signer" : L"Not signed"), std::wstring::npos) << tip;
    }
}

TEST_F(SignatureWindowTest, TheSelectedEntryIsCheckedFirst)
{
    auto& w = ListTheEntries();
    // Selected before the program checks have reached it.
    w.nameList.SetSelectedIndex(kEntries - 1);
    ASSERT_TRUE(RunMessagesUntil([&] { return Checked() > 0; }, std::chrono::seconds(30)));
    EXPECT_TRUE(w.Entries().back().signature);
}

TEST_F(SignatureWindowTest, ClosingMidCheckWaitsForNothingAndLeavesNothing)
{
    int threadsBefore = 0;
    auto closeMidCheck = [&] {
        auto& w = ListTheEntries();
        ASSERT_TRUE(RunMessagesUntil([&] { return Checked() >= 10; }, std::chrono::seconds(30)));
        // 190 checks left would take several times as long as closing the window.
        const auto start = Clock::now();
        w.RequestClose();
        main_.reset();
        EXPECT_LT(MsSince(start), 250.0);
        // The worker ends by itself after the file in hand, and takes all it held along.
        const auto ended = Clock::now() + std::chrono::seconds(10);
        while (threadsBefore > 0 && ThreadsOfThisProcess() > threadsBefore && Clock::now() < ended)
            Sleep(5);
        if (threadsBefore > 0) {
            EXPECT_EQ(ThreadsOfThisProcess(), threadsBefore);
        }
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        }
    };
    // The first window and checks of the process load what every later one shares, and Wine
    // starts a thread of its own on the way.
    closeMidCheck();
    Sleep(200);
    threadsBefore = ThreadsOfThisProcess();
    const qmtest::ResourceCounts before = qmtest::ResourceCounts::Now();
    for (int i = 0; i < 3; ++i)
        closeMidCheck();
    EXPECT_EQ(qmtest::ResourceCounts::Now(), before);
}

TEST(EntryNoteTest, ASignatureThatDoesNotVouchJoinsTheKeysMark)
{
    const struct {
        const wchar_t* mark;
        std::optional<SignatureStatus> status;
        const wchar_t* note;
    } cases[] = {
        {nullptr, std::nullopt, L""},
        {nullptr, SignatureStatus::Verified, L""},
        {nullptr, SignatureStatus::NotChecked, L""},
        {nullptr, SignatureStatus::Unsigned, L"unsigned"},
        {L"32-bit", SignatureStatus::Verified, L"32-bit"},
        {L"32-bit", SignatureStatus::Invalid, L"32-bit, bad signature"},
        {L"once, 32-bit", SignatureStatus::Untrusted, L"once, 32-bit, untrusted"},
    };
    for (const auto& c : cases) {
        std::optional<qm::FileSignature> signature;
        if (c.status)
            signature = qm::FileSignature{*c.status, {}, {}, {}};
        const wchar_t* note = qm::EntryNote(c.mark, signature);
        EXPECT_EQ(note ? std::wstring(note) : L"", c.note);
    }
}

} // namespace
