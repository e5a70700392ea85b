#include "launch/SignatureWorker.h"

#include "host/Handles.h"

#include <condition_variable>
#include <deque>
#include <map>
#include <mutex>
#include <utility>

namespace qm {

struct SignatureWorker::Shared {
    HWND window;
    UINT message;
    std::mutex mutex;
    std::condition_variable wake;
    bool stop = false;
    WPARAM round = 0;
    std::deque<std::pair<std::size_t, std::wstring>> waiting;
    std::map<std::size_t, FileSignature> done; // of this round, until taken
    SignatureCache cache;
};

SignatureWorker::SignatureWorker(HWND window, UINT message) : shared_(std::make_shared<Shared>())
{
    shared_->window = window;
    shared_->message = message;
}

SignatureWorker::~SignatureWorker()
{
    {
        const std::lock_guard lock(shared_->mutex);
        shared_->stop = true;
        shared_->waiting.clear();
    }
    shared_->wake.notify_one();
}

void SignatureWorker::NewRound()
{
    const std::lock_guard lock(shared_->mutex);
    ++shared_->round;
    shared_->waiting.clear();
    shared_->done.clear();
}

void SignatureWorker::Add(std::size_t index, std::wstring path)
{
    Queue(index, std::move(path), false);
}

void SignatureWorker::CheckFirst(std::size_t index, std::wstring path)
{
    Queue(index, std::move(path), true);
}

void SignatureWorker::Queue(std::size_t index, std::wstring path, bool first)
{
    {
        const std::lock_guard lock(shared_->mutex);
        auto& waiting = shared_->waiting;
        if (first) {
            std::erase_if(waiting, [index](const auto& item) { return item.first == index; });
            waiting.emplace_front(index, std::move(path));
        } else {
            waiting.emplace_back(index, std::move(path));
        }
    }
    shared_->wake.notify_one();
    if (started_)
        return;
    // The thread holds the shared state itself and ends on its own: its handle is not kept,
    // since nobody ever waits for it. Without a thread the files wait for the next one.
    auto held = std::make_unique<std::shared_ptr<Shared>>(shared_);
    const UniqueKernelHandle thread(CreateThread(nullptr, 0, &SignatureWorker::Run, held.get(), 0, nullptr));
    if (thread) {
        static_cast<void>(held.release());
        started_ = true;
    }
}

std::optional<FileSignature> SignatureWorker::Take(WPARAM round, LPARAM index)
{
    const std::lock_guard lock(shared_->mutex);
    if (round != shared_->round)
        return std::nullopt;
    const auto found = shared_->done.find(static_cast<std::size_t>(index));
    if (found == shared_->done.end())
        return std::nullopt;
    FileSignature result = std::move(found->second);
    shared_->done.erase(found);
    return result;
}

DWORD WINAPI SignatureWorker::Run(void* held) noexcept
{
    const std::shared_ptr<Shared> shared = std::move(*std::unique_ptr<std::shared_ptr<Shared>>(static_cast<std::shared_ptr<Shared>*>(held)));
    std::unique_lock lock(shared->mutex);
    for (;;) {
        shared->wake.wait(lock, [&] { return shared->stop || !shared->waiting.empty(); });
        if (shared->stop)
            return 0;
        auto [index, path] = std::move(shared->waiting.front());
        shared->waiting.pop_front();
        const WPARAM round = shared->round;
        lock.unlock();
        FileSignature result = shared->cache.Check(path);
        lock.lock();
        if (shared->stop)
            return 0;
        if (round != shared->round)
            continue;
        shared->done[index] = std::move(result);
        // Posted unlocked: the window, woken by it, takes the result at once without waiting on
        // the lock for the post to return.
        lock.unlock();
        PostMessageW(shared->window, shared->message, round, static_cast<LPARAM>(index));
        lock.lock();
    }
}

} // namespace qm
