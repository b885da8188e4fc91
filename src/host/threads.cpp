// Threads, locks and events on the standard library, with the console's calls as their shape.
#include "host/threads.h"

#include <chrono>

void HostEvent::Signal()
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        signalled_ = true;
    }
    condition_.notify_one();
}

void HostEvent::Wait()
{
    std::unique_lock<std::mutex> lock(mutex_);
    condition_.wait(lock, [this] { return signalled_; });
    signalled_ = false;
}

int HostEvent::WaitFor(int milliseconds)
{
    std::unique_lock<std::mutex> lock(mutex_);
    if (!condition_.wait_for(lock, std::chrono::milliseconds(milliseconds), [this] { return signalled_; })) return 0;
    signalled_ = false;
    return 1;
}

int HostThread::Start(std::function<void()> body)
{
    if (thread_.joinable()) return 0;
    // The game builds without exceptions; std::thread reports a failure to start by aborting,
    // which is what the console does with a thread that cannot start (a fatal error).
    thread_ = std::thread(std::move(body));
    return 1;
}

void HostThread::Join()
{
    if (thread_.joinable()) thread_.join();
}
