#include "cli/parallel.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstddef>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

namespace yentax {
namespace {

// Every piece is done once, its result is handed on in order on the calling thread, and no
// two pieces done at the same time share a worker index.
TEST(ParallelTest, ResultsComeInOrderAndAWorkerIndexIsNeverSharedAtOnce) {
  for (const std::size_t count : {0u, 1u, 7u, 300u}) {
    for (const std::size_t jobs : {1u, 2u, 3u, 8u}) {
      std::vector<std::atomic<int>> busy(jobs);
      std::atomic<int> sharedIndex = 0;
      std::atomic<int> outOfRange = 0;
      std::vector<std::size_t> handed;
      std::set<std::thread::id> consumers;
      forEachInOrder<std::size_t>(
          count, jobs,
          [&](std::size_t i, std::size_t worker) {
            if (worker >= jobs) {
              ++outOfRange;
              return i * 3;
            }
            if (busy[worker]++ != 0) ++sharedIndex;
            std::this_thread::yield();
            --busy[worker];
            return i * 3;
          },
          [&](std::size_t i, std::size_t&& result) {
            EXPECT_EQ(result, i * 3);
            handed.push_back(i);
            consumers.insert(std::this_thread::get_id());
          });
      ASSERT_EQ(handed.size(), count) << count << ' ' << jobs;
      for (std::size_t i = 0; i < count; ++i) EXPECT_EQ(handed[i], i);
      EXPECT_EQ(sharedIndex, 0);
      EXPECT_EQ(outOfRange, 0);
      if (count > 0) {
        EXPECT_EQ(consumers, std::set{std::this_thread::get_id()});
      }
    }
  }
}

}  // namespace
}  // namespace yentax
