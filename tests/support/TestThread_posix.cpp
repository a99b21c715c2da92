#include <mutex>
#include <thread>

#include "tests/support/TestThread.h"

namespace lumora::test {

struct TestThread::State {
    std::thread thread;
};

TestThread::TestThread(std::function<void()> body)
    : state_(new State{std::thread(std::move(body))}) {}

TestThread::~TestThread() {
    state_->thread.join();
}

struct TestMutex::State {
    std::mutex mutex;
};

TestMutex::TestMutex() : state_(new State) {}
TestMutex::~TestMutex() = default;

void TestMutex::Lock() {
    state_->mutex.lock();
}

void TestMutex::Unlock() {
    state_->mutex.unlock();
}

void SleepFor(std::chrono::milliseconds span) {
    std::this_thread::sleep_for(span);
}

}  // namespace lumora::test
