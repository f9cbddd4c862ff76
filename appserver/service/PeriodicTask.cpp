#include "PeriodicTask.h"

namespace fai::appserver {

PeriodicTask::PeriodicTask(std::chrono::milliseconds interval, std::function<void()> work)
    : interval_(interval), work_(std::move(work)) {
    thread_ = std::thread([this] { Run(); });
}

PeriodicTask::~PeriodicTask() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    thread_.join();
}

void PeriodicTask::Run() {
    std::unique_lock lock(mutex_);
    while (!wake_.wait_for(lock, interval_, [this] { return stopping_; })) {
        lock.unlock();
        work_();
        lock.lock();
    }
}

}  // namespace fai::appserver
