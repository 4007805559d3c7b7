#pragma once

// Runs independent pieces of work on several threads and hands their results back in
// their own order, on the calling thread, as soon as each one and all before it are
// done. With one job everything runs on the calling thread.
//
//   forEachInOrder<Result>(pages.size(), jobs,
//       [&](std::size_t i, std::size_t worker) { return convert(pages[i], folders[worker]); },
//       [&](std::size_t i, Result&& result) { log.append(result); });
//
// work must not throw; it runs on any worker, each worker handling one piece at a time,
// so a worker index may pick state that belongs to one worker alone.

#include <algorithm>
#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>
#include <vector>

namespace yentax {

template <typename Result, typename Work, typename Consume>
void forEachInOrder(std::size_t count, std::size_t jobs, Work work, Consume consume) {
  jobs = std::max<std::size_t>(1, std::min(jobs, count));
  if (jobs == 1) {
    for (std::size_t i = 0; i < count; ++i) consume(i, work(i, 0));
    return;
  }
  std::mutex mutex;
  std::condition_variable ready;
  std::vector<std::optional<Result>> results(count);
  std::size_t next = 0;
  auto worker = [&](std::size_t index) {
    for (;;) {
      std::size_t i = 0;
      {
        const std::lock_guard lock(mutex);
        if (next == count) return;
        i = next++;
      }
      Result result = work(i, index);
      {
        const std::lock_guard lock(mutex);
        results[i] = std::move(result);
      }
      ready.notify_one();
    }
  };
  std::vector<std::thread> threads;
  for (std::size_t w = 0; w < jobs; ++w) threads.emplace_back(worker, w);
  for (std::size_t i = 0; i < count; ++i) {
    std::unique_lock lock(mutex);
    ready.wait(lock, [&] { return results[i].has_value(); });
    Result result = std::move(*results[i]);
    results[i].reset();
    lock.unlock();
    consume(i, std::move(result));
  }
  for (std::thread& thread : threads) thread.join();
}

}  // namespace yentax
