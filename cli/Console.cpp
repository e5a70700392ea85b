#include "cli/Console.h"

#include <algorithm>

namespace qm::cli {

namespace {

// Older consoles refuse very long single writes; a chunk this size is always taken.
constexpr std::size_t kConsoleChunk = 8192;
// A pipe or file takes what fits in one DWORD count; stay far below that.
constexpr std::size_t kFileChunk = 1 << 20;

void AppendUtf8(std::string& out, char32_t cp)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

} // namespace

std::string EncodeUtf8(std::wstring_view text)
{
    constexpr char32_t kReplacement = 0xFFFD;
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto unit = static_cast<char32_t>(text[i]);
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            AppendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (static_cast<char32_t>(text[++i]) - 0xDC00));
        } else {
            AppendUtf8(out, unit >= 0xD800 && unit <= 0xDFFF ? kReplacement : unit);
        }
    }
    return out;
}

ConsoleStream::ConsoleStream(DWORD standardHandle) : handle_(GetStdHandle(standardHandle)), console_(false)
{
    DWORD mode = 0;
    console_ = handle_ && handle_ != INVALID_HANDLE_VALUE && GetConsoleMode(handle_, &mode) != FALSE;
}

bool ConsoleStream::Write(std::wstring_view text)
{
    if (!handle_ || handle_ == INVALID_HANDLE_VALUE)
        return false;
    return console_ ? WriteToConsole(text) : WriteBytes(EncodeUtf8(text));
}

bool ConsoleStream::WriteToConsole(std::wstring_view text)
{
    while (!text.empty()) {
        std::size_t count = std::min(text.size(), kConsoleChunk);
        // A surrogate pair is never split between two writes.
        if (count < text.size() && text[count - 1] >= 0xD800 && text[count - 1] <= 0xDBFF)
            --count;
        DWORD written = 0;
        if (!WriteConsoleW(handle_, text.data(), static_cast<DWORD>(count), &written, nullptr) || written == 0)
            return false;
        text.remove_prefix(written);
    }
    return true;
}

bool ConsoleStream::WriteBytes(const std::string& bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        DWORD written = 0;
        const auto count = static_cast<DWORD>(std::min(bytes.size() - done, kFileChunk));
        if (!WriteFile(handle_, bytes.data() + done, count, &written, nullptr) || written == 0)
            return false;
        done += written;
    }
    return true;
}

} // namespace qm::cli
