// The second thread that runs one job at a time.
#include "platform/worker_thread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace tessary {
namespace {

// Its users close a file or free a buffer right after the worker goes: a job in hand must have
// run by then, and jobs started in turn run in turn.
TEST(WorkerThread, JobsRunInTurnAndTheLastHasRunWhenItGoes) {
  std::atomic<int> done{0};
  {
    WorkerThread worker;
    EXPECT_TRUE(worker.Idle());
    for (int i = 0; i < 3; ++i) {
      worker.Start([&done, i] {
        EXPECT_EQ(done.load(), i);
        ++done;
      });
      worker.Wait();
      EXPECT_TRUE(worker.Idle());
    }
    worker.Start([&done] {
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
      ++done;
    });
  }
  EXPECT_EQ(done.load(), 4);
}

}  // namespace
}  // namespace tessary
