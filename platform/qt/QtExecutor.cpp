#include "platform/qt/QtExecutor.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <deque>
#include <mutex>
#include <system_error>

namespace ondrix {

// The queue and the eventfd that wakes the loop. Shared with the handles, so it outlives the
// executor for as long as a thread may still post.
class QtExecutor::Inbox final : public Executor {
public:
    Inbox() : fd_(eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)) {
        if (fd_ < 0) throw std::system_error(errno, std::generic_category(), "eventfd");
    }
    ~Inbox() override { close(fd_); }
    Inbox(const Inbox&) = delete;
    Inbox& operator=(const Inbox&) = delete;

    int Fd() const { return fd_; }

    void Post(std::function<void()> task) override {
        bool wasEmpty = false;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            if (closed_) return;
            wasEmpty = tasks_.empty();
            tasks_.push_back(std::move(task));
        }
        // One wake-up per empty-to-busy change: the loop drains everything queued meanwhile.
        if (wasEmpty) {
            const uint64_t one = 1;
            while (write(fd_, &one, sizeof one) < 0 && errno == EINTR) {
            }
        }
    }

    // Executor's thread. Takes one task at a time: a task may post more, which run after it.
    void RunPending() {
        uint64_t count = 0;
        while (read(fd_, &count, sizeof count) < 0 && errno == EINTR) {
        }
        for (;;) {
            std::function<void()> task;
            {
                std::lock_guard<std::mutex> lock(mutex_);
                if (tasks_.empty()) return;
                task = std::move(tasks_.front());
                tasks_.pop_front();
            }
            task();
        }
    }

    // Executor's thread: drops what is queued and refuses what comes later.
    void Close() {
        // Declared before the lock, so that the dropped tasks are destroyed outside the mutex.
        std::deque<std::function<void()>> dropped;
        std::lock_guard<std::mutex> lock(mutex_);
        closed_ = true;
        dropped.swap(tasks_);
    }

private:
    const int fd_;
    std::mutex mutex_;
    std::deque<std::function<void()>> tasks_;
    bool closed_ = false;
};

QtExecutor::QtExecutor()
    : inbox_(std::make_shared<Inbox>()),
      wakeUp_(std::make_unique<QSocketNotifier>(inbox_->Fd(), QSocketNotifier::Read)) {
    QObject::connect(wakeUp_.get(), &QSocketNotifier::activated, [inbox = inbox_.get()] { inbox->RunPending(); });
}

QtExecutor::~QtExecutor() {
    wakeUp_.reset();
    inbox_->Close();
}

void QtExecutor::Post(std::function<void()> task) { inbox_->Post(std::move(task)); }

std::shared_ptr<Executor> QtExecutor::Handle() const { return inbox_; }

}  // namespace ondrix
