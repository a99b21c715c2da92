// GoogleTest's own thread-start notification uses std::mutex, which the
// win32 thread model of mingw-w64 does not have. GoogleTest needs it only for
// its own threading tests, and no test here starts threads through
// GoogleTest, so a plain flag serves.
#pragma once

#if defined(_WIN32)
#define GTEST_HAS_NOTIFICATION_ 1
namespace testing {
namespace internal {
class Notification {
  public:
    Notification() = default;
    Notification(const Notification&) = delete;
    Notification& operator=(const Notification&) = delete;
    void Notify() { notified_ = true; }
    void WaitForNotification() const {
        while (!notified_) {
        }
    }

  private:
    volatile bool notified_ = false;
};
}  // namespace internal
}  // namespace testing
#endif
