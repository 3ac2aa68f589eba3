// A second thread that runs one job at a time, started and waited for in turn.
#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace tessary {

// One thread for a whole task, so that what its jobs allocate is reused from job to job.
// Constructing it throws std::system_error when the system starts no more threads; callers
// then do the work on their own thread.
class WorkerThread {
 public:
  WorkerThread();
  // Waits for the job in hand, if any.
  ~WorkerThread();
  WorkerThread(const WorkerThread&) = delete;
  WorkerThread& operator=(const WorkerThread&) = delete;

  // Hands over a job; only while Idle() (at first, or after Wait()).
  void Start(std::function<void()> job);
  // Returns once the job handed over has run.
  void Wait();
  // Whether no job is in hand, without waiting.
  [[nodiscard]] bool Idle();

 private:
  void Loop();

  std::mutex mutex_;
  std::condition_variable changed_;
  std::function<void()> job_;
  bool busy_ = false;
  bool quit_ = false;
  std::thread thread_;  // last: it starts once the rest is made
};

}  // namespace tessary
