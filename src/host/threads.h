// Threads, locks and events of the host, standing in for the console's: the file server, sound
// and save threads run on them. Flags that two threads share are std::atomic in their modules.
#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

// A lock that the thread holding it may take again, as the console's critical sections allow.
struct HostCriticalSection {
    std::recursive_mutex mutex;
    void Enter() { mutex.lock(); }
    void Leave() { mutex.unlock(); }
};

// An auto-reset event: Signal wakes one Wait; a signal with no waiter is kept for the next Wait.
class HostEvent {
public:
    void Signal();
    void Wait();
    // Returns 1 when signalled within the time, 0 on time-out.
    int WaitFor(int milliseconds);

private:
    std::mutex mutex_;
    std::condition_variable condition_;
    bool signalled_ = false;
};

class HostThread {
public:
    // Starts body on a new thread; 0 when the thread cannot be started.
    int Start(std::function<void()> body);
    // Waits for the thread to end; nothing happens when none runs.
    void Join();
    bool Running() const { return thread_.joinable(); }
    ~HostThread() { Join(); }

private:
    std::thread thread_;
};
