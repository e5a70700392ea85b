#pragma once

#include "launch/Signature.h"

#include <windows.h>

#include <cstddef>
#include <memory>
#include <optional>
#include <string>

namespace qm {

// Checks program files one at a time, in the order given, on a thread of its own that owns no
// window, and posts a message to a window for each result (wParam: the round, lParam: the
// caller's index). Neither the window nor the end of the process ever waits for it: destroying
// the worker only tells the thread to stop after the file in hand. Results are kept for the
// session, so a file is checked again only when it has changed. The thread starts with the
// first file, so a worker that is never given one costs nothing.
class SignatureWorker {
public:
    SignatureWorker(HWND window, UINT message);
    ~SignatureWorker();
    SignatureWorker(const SignatureWorker&) = delete;
    SignatureWorker& operator=(const SignatureWorker&) = delete;

    // Drops the files of the round before, whose results are then never reported.
    void NewRound();
    // Queues a file after those queued before, under the caller's index.
    void Add(std::size_t index, std::wstring path);
    // Checks a file next, in place of any waiting under the same index.
    void CheckFirst(std::size_t index, std::wstring path);
    // The result a message reports, once; nullopt for a message of a round before.
    [[nodiscard]] std::optional<FileSignature> Take(WPARAM round, LPARAM index);

private:
    struct Shared;
    static DWORD WINAPI Run(void* held) noexcept;
    void Queue(std::size_t index, std::wstring path, bool first);

    std::shared_ptr<Shared> shared_;
    bool started_ = false;
};

} // namespace qm
