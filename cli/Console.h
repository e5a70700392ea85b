#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace qm::cli {

// Where the command line's text goes: standard output or error, or a string in a test.
class TextSink {
public:
    virtual ~TextSink() = default;
    // False when the text could not be written whole (a closed pipe, a full disk).
    [[nodiscard]] virtual bool Write(std::wstring_view text) = 0;
};

// UTF-8 of UTF-16 text; a lone surrogate becomes U+FFFD, so the bytes are always valid UTF-8.
std::string EncodeUtf8(std::wstring_view text);

// A standard stream of the process. A console gets UTF-16 through WriteConsoleW, so that it
// shows every character whatever its code page; a pipe or file gets UTF-8 bytes.
class ConsoleStream final : public TextSink {
public:
    // STD_OUTPUT_HANDLE or STD_ERROR_HANDLE.
    explicit ConsoleStream(DWORD standardHandle);

    [[nodiscard]] bool Write(std::wstring_view text) override;

private:
    [[nodiscard]] bool WriteToConsole(std::wstring_view text);
    [[nodiscard]] bool WriteBytes(const std::string& bytes);

    // The process's own standard handle: borrowed, never closed here.
    HANDLE handle_;
    bool console_;
};

} // namespace qm::cli
