#include <gtest/gtest.h>

#include <atomic>

#include "host/threads.h"

namespace {

TEST(HostThreads, EventHandsWorkToAThreadAndBack)
{
    HostEvent toWorker, toMain;
    std::atomic<int> served{0};
    HostThread worker;
    ASSERT_EQ(worker.Start([&] {
        for (int i = 0; i < 100; ++i) {
            toWorker.Wait();
            ++served;
            toMain.Signal();
        }
    }), 1);
    EXPECT_EQ(worker.Start([] {}), 0);  // one body at a time
    for (int i = 0; i < 100; ++i) {
        toWorker.Signal();
        toMain.Wait();
        EXPECT_EQ(served, i + 1);
    }
    worker.Join();
    EXPECT_FALSE(worker.Running());
}

TEST(HostThreads, ASignalWithoutWaiterIsKeptAndWaitsTimeOut)
{
    HostEvent event;
    EXPECT_EQ(event.WaitFor(1), 0);
    event.Signal();
    EXPECT_EQ(event.WaitFor(0), 1);
    EXPECT_EQ(event.WaitFor(1), 0);  // auto-reset
}

TEST(HostThreads, CriticalSectionIsReentrantAndExcludesOthers)
{
    HostCriticalSection section;
    long counter = 0;
    auto work = [&] {
        for (int i = 0; i < 20000; ++i) {
            section.Enter();
            section.Enter();
            ++counter;
            section.Leave();
            section.Leave();
        }
    };
    HostThread a, b;
    a.Start(work);
    b.Start(work);
    a.Join();
    b.Join();
    EXPECT_EQ(counter, 40000);
}

}  // namespace
