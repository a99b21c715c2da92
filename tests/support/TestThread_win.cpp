#include <windows.h>

#include "tests/support/TestThread.h"

namespace lumora::test {

struct TestThread::State {
    std::function<void()> body;
    HANDLE handle = nullptr;
};

namespace {

DWORD WINAPI RunBody(void* parameter) {
    static_cast<std::function<void()>*>(parameter)->operator()();
    return 0;
}

}  // namespace

TestThread::TestThread(std::function<void()> body) : state_(new State{std::move(body)}) {
    state_->handle = CreateThread(nullptr, 0, RunBody, &state_->body, 0, nullptr);
    if (state_->handle == nullptr) {
        state_->body();  // no thread to be had: run it here rather than not at all
    }
}

TestThread::~TestThread() {
    if (state_->handle != nullptr) {
        WaitForSingleObject(state_->handle, INFINITE);
        CloseHandle(state_->handle);
    }
}

struct TestMutex::State {
    CRITICAL_SECTION section;
};

TestMutex::TestMutex() : state_(new State) {
    InitializeCriticalSection(&state_->section);
}

TestMutex::~TestMutex() {
    DeleteCriticalSection(&state_->section);
}

void TestMutex::Lock() {
    EnterCriticalSection(&state_->section);
}

void TestMutex::Unlock() {
    LeaveCriticalSection(&state_->section);
}

void SleepFor(std::chrono::milliseconds span) {
    Sleep(static_cast<DWORD>(span.count()));
}

}  // namespace lumora::test
