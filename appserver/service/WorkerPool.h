#pragma once

#include "DatabaseLocation.h"

#include "HostReads.h"
#include "SqlSession.h"

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace fai::appserver {

// The threads that talk to the database, each with a connection of its own (a Qt
// connection may only be used by the thread that opened it). Calls queue their work here
// and are answered from the worker that ran it, so the number of database connections is
// the number of workers however many calls arrive; the queue holds at most the calls the
// server lets in at once.
class WorkerPool {
  public:
    // What a worker offers the work it runs.
    class Context {
      public:
        virtual ~Context() = default;
        // The worker's connection, opened on first use; throws EDatabaseError when the
        // database cannot be reached.
        virtual SqlSession& Session() = 0;
        // Begins a transaction on the worker's connection. A connection that the database
        // dropped since its last use (a restart of the database, a cut in the network) is
        // found out before anything runs on it, from what the database sent when it dropped
        // it, and opened again; a transaction that sends its beginning at once and finds the
        // connection lost is begun once more on a new one. Otherwise the transaction's first
        // statement finds it out (see Transacted).
        virtual std::unique_ptr<Transaction> Begin(Transaction::Kind kind) = 0;
        // After a database failure the connection may be broken: the next work reopens it.
        virtual void DiscardSession() = 0;
        // Whether a connection is open, from earlier work.
        virtual bool Connected() const = 0;
        // The worker's connection for the hosts' queries, opened on first use, and again
        // when the database dropped it; throws EDatabaseUnavailable when the database
        // cannot be reached.
        virtual HostReadConnection& HostReads() = 0;
        // After a failure that may have broken it: the next query opens it again.
        virtual void DiscardHostReads() = 0;
    };

    WorkerPool(const DatabaseLocation& location, int workers,
               HostReadSettings hostReads = HostReadSettings());
    ~WorkerPool();  // finishes the queued work, closes the connections in their threads
    WorkerPool(const WorkerPool&) = delete;
    WorkerPool& operator=(const WorkerPool&) = delete;

    // Runs `job(context)` on a worker, in the order posted; the job lets no exception out.
    void Post(std::function<void(Context&)> job);

  private:
    // A worker waiting for work.
    struct Idle {
        std::condition_variable wake;
        bool woken = false;
    };

    void Serve();

    DatabaseLocation location_;
    HostReadSettings hostReads_;
    std::mutex mutex_;
    std::deque<std::function<void(Context&)>> queue_;
    // The worker idle the shortest time is woken first: its thread, its connection and the
    // database's side of it are the warmest, and calls one after the other keep to one worker.
    std::vector<Idle*> idle_;
    bool stopping_ = false;
    std::vector<std::thread> threads_;
};

}  // namespace fai::appserver
