#pragma once

#include "DatabaseLocation.h"

#include <condition_variable>
#include <deque>
#include <functional>
#include <future>
#include <memory>
#include <mutex>
#include <thread>
#include <type_traits>
#include <vector>

namespace fai::appserver {

class SqlSession;

// The threads that talk to the database, each with a connection of its own (a Qt
// connection may only be used by the thread that opened it). Calls of the gRPC threads
// queue their work here and wait for it, so the number of database connections is the
// number of workers however many calls arrive.
class WorkerPool {
  public:
    // What a worker offers the work it runs.
    class Context {
      public:
        virtual ~Context() = default;
        // The worker's connection, opened on first use; throws EDatabaseError when the
        // database cannot be reached.
        virtual SqlSession& Session() = 0;
        // After a database failure the connection may be broken: the next work reopens it.
        virtual void DiscardSession() = 0;
    };

    WorkerPool(const DatabaseLocation& location, int workers);
    ~WorkerPool();  // finishes the queued work, closes the connections in their threads
    WorkerPool(const WorkerPool&) = delete;
    WorkerPool& operator=(const WorkerPool&) = delete;

    // Runs `work(context)` on a worker and waits for its result or its exception.
    template <class Work>
    auto Run(Work&& work) -> std::invoke_result_t<Work&, Context&> {
        using Result = std::invoke_result_t<Work&, Context&>;
        std::packaged_task<Result(Context&)> task(std::ref(work));
        std::future<Result> done = task.get_future();
        Submit([&task](Context& context) { task(context); });
        return done.get();
    }

  private:
    void Submit(std::function<void(Context&)> job);
    void Serve();

    DatabaseLocation location_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<std::function<void(Context&)>> queue_;
    bool stopping_ = false;
    std::vector<std::thread> threads_;
};

}  // namespace fai::appserver
