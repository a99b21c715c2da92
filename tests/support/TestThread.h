// A thread and a lock for test servers that run beside the code under test.
// mingw-w64's win32 thread model has no std::thread or std::mutex, so the
// Windows tests use the system's own threads; natively these are the
// standard ones.
#pragma once

#include <chrono>
#include <functional>
#include <memory>

namespace lumora::test {

class TestThread {
  public:
    // Starts |body| on a new thread.
    explicit TestThread(std::function<void()> body);
    // Waits for the thread to end.
    ~TestThread();
    TestThread(const TestThread&) = delete;
    TestThread& operator=(const TestThread&) = delete;

  private:
    struct State;
    std::unique_ptr<State> state_;
};

class TestMutex {
  public:
    TestMutex();
    ~TestMutex();
    TestMutex(const TestMutex&) = delete;
    TestMutex& operator=(const TestMutex&) = delete;
    void Lock();
    void Unlock();

  private:
    struct State;
    std::unique_ptr<State> state_;
};

class TestLock {
  public:
    explicit TestLock(TestMutex& mutex) : mutex_(mutex) { mutex_.Lock(); }
    ~TestLock() { mutex_.Unlock(); }
    TestLock(const TestLock&) = delete;
    TestLock& operator=(const TestLock&) = delete;

  private:
    TestMutex& mutex_;
};

void SleepFor(std::chrono::milliseconds span);

}  // namespace lumora::test
