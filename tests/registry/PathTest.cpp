#include "RegistryTest.h"

#include "host/Application.h"

namespace {

using qmtest::RegistryTest;

TEST_F(RegistryTest, SplitKeyPathSeparatesRootAndSubKeyOrRejectsTheFormat)
{
    const struct {
        std::wstring path;
        bool wellFormed;
        HKEY root;
        std::wstring subKey;
    } cases[] = {
        {L"HKEY_LOCAL_MACHINE", true, HKEY_LOCAL_MACHINE, L""},
        {L"HKEY_LOCAL_MACHINE\\Software\\Microsoft", true, HKEY_LOCAL_MACHINE, L"Software\\Microsoft"},
        {L"HKEY_USERS\\.DEFAULT\\Software\\\\Run", true, HKEY_USERS, L".DEFAULT\\Software\\\\Run"},
        {L"HKEY_NOWHERE\\Software", true, nullptr, L"Software"},
        {L"HKEY_local_machine\\Software", true, nullptr, L"Software"},
        {L"HKEY_LOCAL_MACHINE \\Software", true, nullptr, L"Software"},
        {L"HKEY_LOCAL_MACHINE\\", false, {}, {}},
        {L"hkey_local_machine\\Software", false, {}, {}},
        {L"", false, {}, {}},
    };
    for (const auto& c : cases) {
        host.messageBoxes.clear();
        std::wstring path = c.path;
        HKEY root = HKEY_CLASSES_ROOT;
        EXPECT_EQ(qm::SplitKeyPath(path, root), c.wellFormed) << c.path;
        if (c.wellFormed) {
            EXPECT_EQ(root, c.root) << c.path;
            EXPECT_EQ(path, c.subKey) << c.path;
            EXPECT_TRUE(host.messageBoxes.empty()) << c.path;
        } else {
            EXPECT_EQ(root, HKEY_CLASSES_ROOT) << c.path;
            EXPECT_EQ(path, c.path);
            ASSERT_EQ(host.messageBoxes.size(), 1u) << c.path;
            EXPECT_EQ(host.messageBoxes[0].text, L"Incorrect Format:\n\n" + c.path);
            EXPECT_EQ(host.messageBoxes[0].code, qm::kMbOk);
            EXPECT_EQ(host.messageBoxes[0].title, qm::App().Title());
        }
    }
}

TEST_F(RegistryTest, SetStringValueWritesUnicodeRegSzIntoAnExistingKeyOnly)
{
    ASSERT_TRUE(qmtest::CreateKey(HKEY_LOCAL_MACHINE, qmtest::kRunKey));
    const std::wstring run = std::wstring(L"HKEY_LOCAL_MACHINE\\") + qmtest::kRunKey;
    const std::wstring text = L"C:\\Программы\\пуск 😀.exe /tray";

    EXPECT_TRUE(qm::SetStringValue(run, L"Пуск 😀", text));
    const auto written = qm::ReadValueRaw(HKEY_LOCAL_MACHINE, qmtest::kRunKey, L"Пуск 😀");
    ASSERT_TRUE(written);
    EXPECT_EQ(written->type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(written->data, qmtest::Bytes(text + L'\0'));

    const struct {
        const wchar_t* path;
        std::size_t messages;
    } refused[] = {
        {L"HKEY_LOCAL_MACHINE\\Software\\Missing", 0},
        {L"HKEY_NOWHERE\\Software\\Missing", 0},
        {L"HKEY_LOCAL_MACHINE\\Software\\Missing\\", 1},
    };
    for (const auto& r : refused) {
        host.messageBoxes.clear();
        EXPECT_FALSE(qm::SetStringValue(r.path, L"Name", L"data")) << r.path;
        EXPECT_EQ(host.messageBoxes.size(), r.messages) << r.path;
    }
    HKEY created = nullptr;
    EXPECT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"Software\\Missing", 0, KEY_READ, &created), ERROR_FILE_NOT_FOUND);
}

} // namespace
