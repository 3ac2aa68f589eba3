// A second thread that runs one job at a time.
#include "platform/worker_thread.h"

#include <utility>

namespace tessary {

WorkerThread::WorkerThread() : thread_([this] { Loop(); }) {}

WorkerThread::~WorkerThread() {
  {
    const std::lock_guard lock(mutex_);
    quit_ = true;
  }
  changed_.notify_all();
  thread_.join();
}

void WorkerThread::Start(std::function<void()> job) {
  {
    const std::lock_guard lock(mutex_);
    job_ = std::move(job);
    busy_ = true;
  }
  changed_.notify_all();
}

void WorkerThread::Wait() {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [this] { return !busy_; });
}

bool WorkerThread::Idle() {
  const std::lock_guard lock(mutex_);
  return !busy_;
}

void WorkerThread::Loop() {
  std::unique_lock lock(mutex_);
  for (;;) {
    // A job handed over before quitting still runs: the destructor waits for it.
    changed_.wait(lock, [this] { return job_ || quit_; });
    if (!job_) return;
    std::function<void()> job = std::move(job_);
    job_ = nullptr;
    lock.unlock();
    job();
    lock.lock();
    busy_ = false;
    changed_.notify_all();
  }
}

}  // namespace tessary
