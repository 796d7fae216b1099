#include "platform/qt/FileJobs.h"

namespace ondrix {

TFileJobs::TFileJobs() : worker_([this] { Work(); }) {}

TFileJobs::~TFileJobs() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_one();
    worker_.join();
}

void TFileJobs::Enqueue(std::function<void()> task) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        queue_.push_back(std::move(task));
    }
    wake_.notify_one();
}

void TFileJobs::ReportOnGuiThread(const std::string& job, const std::string& error) {
    guiThread_.Post([this, job, error] {
        --pending_;
        if (OnUnexpectedError) OnUnexpectedError(job, error);
    });
}

void TFileJobs::Work() {
    for (;;) {
        std::function<void()> task;
        {
            std::unique_lock<std::mutex> lock(mutex_);
            wake_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
            if (queue_.empty()) return;
            task = std::move(queue_.front());
            queue_.pop_front();
        }
        task();
    }
}

}  // namespace ondrix
