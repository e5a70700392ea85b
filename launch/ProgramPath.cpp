#include "launch/ProgramPath.h"

#include "host/SystemFolders.h"
#include "registry/RegistryAccess.h"

#include <windows.h>

#include <algorithm>
#include <array>

namespace qm {

namespace {

constexpr std::wstring_view kBlanks = L" \t";
constexpr wchar_t kAppPaths[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\";
constexpr std::array<std::wstring_view, 6> kProgramExtensions = {L".exe", L".com", L".bat", L".cmd", L".scr", L".lnk"};

bool HasFolder(std::wstring_view path)
{
    return path.find_first_of(L"\\/:") != std::wstring_view::npos;
}

bool HasExtension(std::wstring_view path)
{
    const auto dot = path.rfind(L'.');
    return dot != std::wstring_view::npos && path.find_first_of(L"\\/", dot) == std::wstring_view::npos;
}

bool LooksLikeProgram(std::wstring_view path)
{
    return std::any_of(kProgramExtensions.begin(), kProgramExtensions.end(), [path](std::wstring_view extension) {
        return path.size() > extension.size() &&
               CompareStringOrdinal(path.data() + path.size() - extension.size(), static_cast<int>(extension.size()),
                   extension.data(), static_cast<int>(extension.size()), TRUE) == CSTR_EQUAL;
    });
}

bool IsFile(const std::wstring& path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool OnNetwork(const std::wstring& path)
{
    if (path.starts_with(L"\\\\") || path.starts_with(L"//"))
        return true;
    if (path.size() >= 2 && path[1] == L':') {
        const wchar_t root[] = {path[0], L':', L'\\', L'\0'};
        return GetDriveTypeW(root) == DRIVE_REMOTE;
    }
    return false;
}

// What the registry says a bare program name is, as the shell reads App Paths.
std::wstring AppPath(const std::wstring& name)
{
    const std::wstring withExtension = HasExtension(name) ? name : name + L".exe";
    for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
        const auto value = ReadValueRaw(root, kAppPaths + withExtension, L"");
        if (!value || (value->type != REG_SZ && value->type != REG_EXPAND_SZ) || value->data.size() < sizeof(wchar_t))
            continue;
        std::wstring path(reinterpret_cast<const wchar_t*>(value->data.data()), value->data.size() / sizeof(wchar_t));
        path.resize(std::min(path.size(), path.find(L'\0')));
        if (path.size() >= 2 && path.front() == L'"' && path.back() == L'"')
            path = path.substr(1, path.size() - 2);
        if (!path.empty())
            return ExpandEnvironmentVariables(path);
    }
    return {};
}

// The file a candidate names, when it exists.
std::wstring Locate(const std::wstring& candidate)
{
    if (HasFolder(candidate)) {
        if (IsFile(candidate))
            return candidate;
        if (!HasExtension(candidate) && IsFile(candidate + L".exe"))
            return candidate + L".exe";
        return {};
    }
    wchar_t found[MAX_PATH] = {};
    if (SearchPathW(nullptr, candidate.c_str(), L".exe", MAX_PATH, found, nullptr) > 0 && IsFile(found))
        return found;
    const std::wstring registered = AppPath(candidate);
    return !registered.empty() && IsFile(registered) ? registered : std::wstring();
}

} // namespace

std::vector<std::wstring> ProgramCandidates(std::wstring_view commandLine)
{
    const auto start = commandLine.find_first_not_of(kBlanks);
    if (start == std::wstring_view::npos)
        return {};
    std::wstring_view line = commandLine.substr(start);
    if (line.front() == L'"') {
        const auto close = line.find(L'"', 1);
        const std::wstring_view quoted = line.substr(1, close == std::wstring_view::npos ? std::wstring_view::npos : close - 1);
        return quoted.empty() ? std::vector<std::wstring>{} : std::vector<std::wstring>{std::wstring(quoted)};
    }
    line = line.substr(0, line.find_last_not_of(kBlanks) + 1);
    std::vector<std::wstring> candidates;
    for (auto blank = line.find_first_of(kBlanks); blank != std::wstring_view::npos;
         blank = line.find_first_of(kBlanks, blank + 1)) {
        if (line[blank - 1] != L' ' && line[blank - 1] != L'\t')
            candidates.emplace_back(line.substr(0, blank));
    }
    candidates.emplace_back(line);
    return candidates;
}

ProgramLookup FindProgram(const std::wstring& commandLine)
{
    const std::vector<std::wstring> candidates = ProgramCandidates(ExpandEnvironmentVariables(commandLine));
    if (candidates.empty())
        return {ProgramCheck::NotChecked, {}};
    if (OnNetwork(candidates.front()))
        return {ProgramCheck::NotChecked, candidates.front()};
    for (const std::wstring& candidate : candidates) {
        if (std::wstring found = Locate(candidate); !found.empty())
            return {ProgramCheck::Found, std::move(found)};
    }
    // Not found: name the candidate that reads as a program, or else the first word.
    const auto program = std::find_if(candidates.begin(), candidates.end(), LooksLikeProgram);
    return {ProgramCheck::Missing, program != candidates.end() ? *program : candidates.front()};
}

} // namespace qm
