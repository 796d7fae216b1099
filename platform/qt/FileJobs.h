#pragma once
// File work off the GUI thread: reading and writing recorded data and exports can take long
// on a slow disk, and the window must not stand still meanwhile. Jobs run one at a time, in the
// order given, on a thread of their own; each job's result is handed back to the GUI thread,
// where its `done` runs.
//
// Errors: a job reports its expected failures in its result. Anything it throws is reported
// through OnUnexpectedError on the GUI thread, with the job's name, and its `done` does not run.
//
// Lifetime: the destructor waits until every job given has run, so that a file the user saved
// reaches the disk even when the window closes at once; results not yet delivered are dropped.
// Threads: Run, Pending and the destructor belong to the GUI thread.

#include <condition_variable>
#include <deque>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "platform/qt/QtExecutor.h"

namespace ondrix {

class TFileJobs {
public:
    TFileJobs();
    ~TFileJobs();
    TFileJobs(const TFileJobs&) = delete;
    TFileJobs& operator=(const TFileJobs&) = delete;

    // `job` names the work for an error report: "saving trace.dat".
    std::function<void(const std::string& job, const std::string& error)> OnUnexpectedError;

    template <class Result>
    void Run(const std::string& job, std::function<Result()> work, std::function<void(Result)> done) {
        ++pending_;
        Enqueue([this, job, work = std::move(work), done = std::move(done)] {
            try {
                auto result = std::make_shared<Result>(work());
                guiThread_.Post([this, result, done] {
                    --pending_;
                    done(std::move(*result));
                });
            } catch (const std::exception& error) {
                ReportOnGuiThread(job, error.what());
            } catch (...) {
                ReportOnGuiThread(job, "an unknown error");
            }
        });
    }

    // Jobs given whose results have not been delivered yet.
    int Pending() const { return pending_; }

private:
    void Enqueue(std::function<void()> task);
    void ReportOnGuiThread(const std::string& job, const std::string& error);
    void Work();

    QtExecutor guiThread_;
    int pending_ = 0;  // GUI thread

    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<std::function<void()>> queue_;
    bool stopping_ = false;
    std::thread worker_;
};

}  // namespace ondrix
