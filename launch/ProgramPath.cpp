#include "launch/ProgramPath.h"

#include "host/SystemFolders.h"
#include "registry/RegistryAccess.h"

#include <windows.h>

#include <algorithm>
#include <array>
#include <optional>

namespace qm {

namespace {

constexpr std::wstring_view kBlanks = L" \t";
constexpr wchar_t kAppPaths[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\";
constexpr std::array<std::wstring_view, 6> kProgramExtensions = {L".exe", L".com", L".bat", L".cmd", L".scr", L".lnk"};
constexpr std::wstring_view kRunDll = L"rundll32.exe";

// A file a command line may start, and the rest of the line after it.
struct Candidate {
    std::wstring path;
    std::wstring_view arguments;
};

bool IsSeparator(wchar_t c)
{
    return c == L'\\' || c == L'/';
}

bool HasFolder(std::wstring_view path)
{
    return path.find_first_of(L"\\/:") != std::wstring_view::npos;
}

bool HasExtension(std::wstring_view path)
{
    const auto dot = path.rfind(L'.');
    return dot != std::wstring_view::npos && path.find_first_of(L"\\/", dot) == std::wstring_view::npos;
}

bool EndsWith(std::wstring_view path, std::wstring_view suffix)
{
    return path.size() > suffix.size() &&
           CompareStringOrdinal(path.data() + path.size() - suffix.size(), static_cast<int>(suffix.size()), suffix.data(),
               static_cast<int>(suffix.size()), TRUE) == CSTR_EQUAL;
}

bool IsRunDll(std::wstring_view path)
{
    const auto slash = path.find_last_of(L"\\/");
    const std::wstring_view name = slash == std::wstring_view::npos ? path : path.substr(slash + 1);
    return CompareStringOrdinal(name.data(), static_cast<int>(name.size()), kRunDll.data(), static_cast<int>(kRunDll.size()),
               TRUE) == CSTR_EQUAL;
}

bool LooksLikeProgram(std::wstring_view path)
{
    return std::any_of(kProgramExtensions.begin(), kProgramExtensions.end(), [path](std::wstring_view extension) {
        return EndsWith(path, extension);
    });
}

bool IsFile(const std::wstring& path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

// Where a path leads. Network paths are never looked at: an answer could take as long as the
// network lets it. A relative path depends on the folder Windows starts the entry in, which
// the checker's own folder is not.
enum class Place { Bare, Relative, Local, Network };

// Whether a drive is a network drive, asked once per drive in one lookup: a lookup tries many
// paths and folders on the same drives, and under Wine each question takes about a millisecond.
thread_local std::array<std::optional<bool>, 26> remoteDrives;

bool IsRemoteDrive(wchar_t letter)
{
    const wchar_t upper = letter >= L'a' && letter <= L'z' ? static_cast<wchar_t>(letter - L'a' + L'A') : letter;
    if (upper < L'A' || upper > L'Z') {
        const wchar_t root[] = {letter, L':', L'\\', L'\0'};
        return GetDriveTypeW(root) == DRIVE_REMOTE;
    }
    std::optional<bool>& remote = remoteDrives[static_cast<std::size_t>(upper - L'A')];
    if (!remote) {
        const wchar_t root[] = {upper, L':', L'\\', L'\0'};
        remote = GetDriveTypeW(root) == DRIVE_REMOTE;
    }
    return *remote;
}

// The place as the path's form tells it; Local stands for any drive letter path.
Place FormOf(std::wstring_view path)
{
    if (!HasFolder(path))
        return Place::Bare;
    if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1])) {
        // "\\?\C:\" and "\\.\C:\" name a drive's path in device form; every other path that
        // begins with two separators ("\\server", "\\?\UNC\server", "//server") is a share.
        if (path.size() < 4 || (path[2] != L'?' && path[2] != L'.') || !IsSeparator(path[3]))
            return Place::Network;
        path.remove_prefix(4);
        if (path.size() < 3 || path[1] != L':' || !IsSeparator(path[2]))
            return Place::Network;
    }
    if (path.size() < 3 || path[1] != L':' || !IsSeparator(path[2]))
        return Place::Relative;
    return Place::Local;
}

Place PlaceOf(std::wstring_view path)
{
    const Place form = FormOf(path);
    if (form != Place::Local)
        return form;
    const std::size_t drive = path[0] == L'\\' || path[0] == L'/' ? 4 : 0;
    return IsRemoteDrive(path[drive]) ? Place::Network : Place::Local;
}

// A file on a local drive, as named or with the default extension added to a name without one.
ProgramLookup LocalFile(const std::wstring& path, std::wstring_view extension)
{
    if (IsFile(path))
        return {ProgramCheck::Found, path};
    if (!HasExtension(path) && IsFile(path + std::wstring(extension)))
        return {ProgramCheck::Found, path + std::wstring(extension)};
    return {ProgramCheck::Missing, path};
}

// An absolute path, looked at unless it is on the network.
ProgramLookup AbsoluteFile(const std::wstring& path, std::wstring_view extension)
{
    switch (PlaceOf(path)) {
    case Place::Local: return LocalFile(path, extension);
    case Place::Network: return {ProgramCheck::NotChecked, path};
    case Place::Bare:
    case Place::Relative: break;
    }
    return {ProgramCheck::Missing, path};
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

std::wstring EnvironmentVariable(const wchar_t* name)
{
    std::wstring value(GetEnvironmentVariableW(name, nullptr, 0), L'\0');
    const DWORD length = GetEnvironmentVariableW(name, value.data(), static_cast<DWORD>(value.size()));
    value.resize(length < value.size() ? length : 0);
    return value;
}

// The folders a bare name is searched in, in the order process creation and library loading
// search them, without the starting process's current folder: the system folders, then PATH.
std::vector<std::wstring> SearchFolders()
{
    std::vector<std::wstring> folders;
    if (const std::wstring windows = WinDir(); !windows.empty())
        folders = {windows + L"\\System32", windows + L"\\System", windows};
    const std::wstring path = EnvironmentVariable(L"PATH");
    for (std::size_t start = 0; start <= path.size();) {
        const std::size_t end = std::min(path.find(L';', start), path.size());
        std::wstring folder = path.substr(start, end - start);
        if (folder.size() >= 2 && folder.front() == L'"' && folder.back() == L'"')
            folder = folder.substr(1, folder.size() - 2);
        if (!folder.empty())
            folders.push_back(std::move(folder));
        start = end + 1;
    }
    return folders;
}

// A bare name as Windows searches for it: App Paths first when asked, then the search
// folders. A network folder ends the search unanswered, since the file could be there.
ProgramLookup SearchFile(const std::wstring& name, std::wstring_view extension, bool appPaths)
{
    if (appPaths) {
        if (const std::wstring registered = AppPath(name); !registered.empty()) {
            if (ProgramLookup found = AbsoluteFile(registered, extension); found.check != ProgramCheck::Missing)
                return found;
        }
    }
    for (const std::wstring& folder : SearchFolders()) {
        const std::wstring path = folder + (IsSeparator(folder.back()) ? L"" : L"\\") + name;
        switch (PlaceOf(folder)) {
        case Place::Local:
            if (ProgramLookup found = LocalFile(path, extension); found.check == ProgramCheck::Found)
                return found;
            break;
        case Place::Network: return {ProgramCheck::NotChecked, path};
        case Place::Bare:
        case Place::Relative: break;
        }
    }
    return {ProgramCheck::Missing, name};
}

// The file a path names, wherever Windows would look for it.
ProgramLookup Locate(const std::wstring& path, std::wstring_view extension, bool appPaths)
{
    if (FormOf(path) == Place::Bare)
        return SearchFile(path, extension, appPaths);
    return AbsoluteFile(path, extension);
}

// The library a rundll32 line loads: its first argument, quoted, or up to a comma or blank.
std::wstring RunDllLibrary(std::wstring_view arguments)
{
    const auto start = arguments.find_first_not_of(kBlanks);
    if (start == std::wstring_view::npos)
        return {};
    arguments.remove_prefix(start);
    if (arguments.front() == L'"')
        return std::wstring(arguments.substr(1, arguments.find(L'"', 1) - 1));
    return std::wstring(arguments.substr(0, arguments.find_first_of(L", \t")));
}

// A file not found: missing, unless it was never looked at because it is relative.
ProgramLookup NotFound(const std::wstring& path)
{
    return {FormOf(path) == Place::Relative ? ProgramCheck::NotChecked : ProgramCheck::Missing, path};
}

std::vector<Candidate> Candidates(std::wstring_view commandLine)
{
    const auto start = commandLine.find_first_not_of(kBlanks);
    if (start == std::wstring_view::npos)
        return {};
    std::wstring_view line = commandLine.substr(start);
    if (line.front() == L'"') {
        const auto close = line.find(L'"', 1);
        if (close == 1)
            return {};
        if (close == std::wstring_view::npos)
            return {{std::wstring(line.substr(1)), {}}};
        return {{std::wstring(line.substr(1, close - 1)), line.substr(close + 1)}};
    }
    line = line.substr(0, line.find_last_not_of(kBlanks) + 1);
    std::vector<Candidate> candidates;
    for (auto blank = line.find_first_of(kBlanks); blank != std::wstring_view::npos;
         blank = line.find_first_of(kBlanks, blank + 1)) {
        if (line[blank - 1] != L' ' && line[blank - 1] != L'\t')
            candidates.push_back({std::wstring(line.substr(0, blank)), line.substr(blank)});
    }
    candidates.push_back({std::wstring(line), {}});
    return candidates;
}

} // namespace

std::vector<std::wstring> ProgramCandidates(std::wstring_view commandLine)
{
    std::vector<std::wstring> paths;
    for (Candidate& candidate : Candidates(commandLine))
        paths.push_back(std::move(candidate.path));
    return paths;
}

ProgramLookup FindProgram(const std::wstring& commandLine)
{
    remoteDrives.fill(std::nullopt);
    const std::wstring line = ExpandEnvironmentVariables(commandLine);
    const std::vector<Candidate> candidates = Candidates(line);
    if (candidates.empty())
        return {ProgramCheck::NotChecked, {}};
    for (const Candidate& candidate : candidates) {
        if (FormOf(candidate.path) == Place::Relative)
            continue;
        ProgramLookup found = Locate(candidate.path, L".exe", true);
        if (found.check == ProgramCheck::NotChecked)
            return found;
        if (found.check == ProgramCheck::Missing)
            continue;
        // rundll32 is always there; what may be gone is the library it is to load.
        const std::wstring library = IsRunDll(found.path) ? RunDllLibrary(candidate.arguments) : std::wstring();
        if (library.empty())
            return found;
        return FormOf(library) == Place::Relative ? NotFound(library) : Locate(library, L".dll", false);
    }
    // Not found: name the candidate that reads as a program, or else the first word.
    const auto program = std::find_if(candidates.begin(), candidates.end(), [](const Candidate& candidate) {
        return LooksLikeProgram(candidate.path);
    });
    return NotFound(program != candidates.end() ? program->path : candidates.front().path);
}

} // namespace qm
