#include "WorkerPool.h"

#include "AppErrors.h"

#include <optional>

namespace fai::appserver {
namespace {

class WorkerContext final : public WorkerPool::Context {
  public:
    WorkerContext(const DatabaseLocation& location, const HostReadSettings& hostReads)
        : location_(location), hostReads_(hostReads) {}

    SqlSession& Session() override {
        if (!session_) session_.emplace(location_);
        return *session_;
    }

    std::unique_ptr<Transaction> Begin(Transaction::Kind kind) override {
        if (session_ && !session_->IsOpen()) DiscardSession();
        const bool used = session_.has_value();
        try {
            return std::make_unique<Transaction>(Session(), kind);
        } catch (const EDatabaseUnavailable&) {
            DiscardSession();
            if (!used) throw;
            return std::make_unique<Transaction>(Session(), kind);
        }
    }

    void DiscardSession() override { session_.reset(); }

    bool Connected() const override { return session_.has_value(); }

    HostReadConnection& HostReads() override {
        if (hostReadConnection_ && !hostReadConnection_->IsOpen()) hostReadConnection_.reset();
        if (!hostReadConnection_)
            hostReadConnection_ = HostReadConnection::Open(location_, hostReads_);
        return *hostReadConnection_;
    }

    void DiscardHostReads() override { hostReadConnection_.reset(); }

  private:
    const DatabaseLocation& location_;
    const HostReadSettings& hostReads_;
    std::optional<SqlSession> session_;
    std::unique_ptr<HostReadConnection> hostReadConnection_;
};

}  // namespace

WorkerPool::WorkerPool(const DatabaseLocation& location, int workers, HostReadSettings hostReads)
    : location_(location), hostReads_(std::move(hostReads)) {
    threads_.reserve(workers);
    for (int i = 0; i < workers; ++i) threads_.emplace_back([this] { Serve(); });
}

WorkerPool::~WorkerPool() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
        for (Idle* worker : idle_) {
            worker->woken = true;
            worker->wake.notify_one();
        }
        idle_.clear();
    }
    for (std::thread& thread : threads_) thread.join();
}

void WorkerPool::Post(std::function<void(Context&)> job) {
    std::lock_guard lock(mutex_);
    queue_.push_back(std::move(job));
    if (idle_.empty()) return;  // a busy worker takes it when it is done
    Idle* worker = idle_.back();
    idle_.pop_back();
    worker->woken = true;
    worker->wake.notify_one();
}

void WorkerPool::Serve() {
    WorkerContext context(location_, hostReads_);
    Idle idle;
    for (;;) {
        std::function<void(Context&)> job;
        {
            std::unique_lock lock(mutex_);
            while (queue_.empty() && !stopping_) {
                idle.woken = false;
                idle_.push_back(&idle);
                idle.wake.wait(lock, [&idle] { return idle.woken; });
            }
            if (queue_.empty()) return;
            job = std::move(queue_.front());
            queue_.pop_front();
        }
        job(context);
    }
}

}  // namespace fai::appserver
