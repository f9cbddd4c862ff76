#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace fai::appserver {

// Work done every so often on a thread of its own, beside the calls, until it is destroyed.
class PeriodicTask {
  public:
    PeriodicTask(std::chrono::milliseconds interval, std::function<void()> work);
    ~PeriodicTask();  // stops, waiting for a round under way
    PeriodicTask(const PeriodicTask&) = delete;
    PeriodicTask& operator=(const PeriodicTask&) = delete;

  private:
    void Run();

    std::chrono::milliseconds interval_;
    std::function<void()> work_;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool stopping_ = false;
    std::thread thread_;
};

}  // namespace fai::appserver
