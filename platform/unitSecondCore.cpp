#include "platform/unitSecondCore.h"

#include <condition_variable>
#include <mutex>
#include <stop_token>
#include <system_error>
#include <thread>
#include <utility>

namespace {

class TSecondCore {
 public:
  static TSecondCore& Instance() {
    static TSecondCore Core;
    return Core;
  }

  bool Run(const std::function<void()>& Beside, const std::function<void()>& Here) {
    const std::unique_lock Caller(FCaller, std::try_to_lock);
    if (!Caller.owns_lock() || !FThread.joinable()) return false;
    {
      const std::lock_guard Lock(FMutex);
      FJob = &Beside;
      FDone = false;
    }
    FWork.notify_one();
    Here();
    std::unique_lock Lock(FMutex);
    FFinished.wait(Lock, [&] { return FDone; });
    return true;
  }

 private:
  TSecondCore() {
    if (std::thread::hardware_concurrency() < 2) return;
    try {
      FThread = std::jthread([this](std::stop_token Stop) { Serve(Stop); });
    } catch (const std::system_error&) {
      // No thread to be had: every caller runs both.
    }
  }

  void Serve(std::stop_token Stop) {
    std::unique_lock Lock(FMutex);
    while (FWork.wait(Lock, Stop, [&] { return FJob != nullptr; })) {
      const std::function<void()>* Job = std::exchange(FJob, nullptr);
      Lock.unlock();
      (*Job)();
      Lock.lock();
      FDone = true;
      FFinished.notify_one();
    }
  }

  std::mutex FCaller;  // one caller at a time
  std::mutex FMutex;
  std::condition_variable_any FWork;
  std::condition_variable FFinished;
  const std::function<void()>* FJob = nullptr;
  bool FDone = false;
  // Last, so that it stops and is joined before the rest goes.
  std::jthread FThread;
};

}  // namespace

void RunBeside(const std::function<void()>& Beside, const std::function<void()>& Here) {
  if (TSecondCore::Instance().Run(Beside, Here)) return;
  Here();
  Beside();
}
