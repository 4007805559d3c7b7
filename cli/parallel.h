#pragma once

// Runs independent pieces of work on several threads, the calling one among them, and hands
// their results back in their own order, on the calling thread, as soon as each one and all
// before it are done. With one job everything runs on the calling thread.
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
  std::size_t next = 0;    // the first piece no worker has taken
  std::size_t handed = 0;  // the first result not yet handed on
  bool waiting = false;    // the calling thread sleeps until that result is in
  // Takes the next piece and does it; false when none is left.
  auto doOne = [&](std::size_t worker) {
    std::size_t i = 0;
    {
      const std::lock_guard lock(mutex);
      if (next == count) return false;
      i = next++;
    }
    Result result = work(i, worker);
    bool wake = false;
    {
      const std::lock_guard lock(mutex);
      results[i] = std::move(result);
      wake = waiting && i == handed;
    }
    if (wake) ready.notify_one();
    return true;
  };
  // The calling thread is a worker too, so that jobs threads share the cores, and it hands
  // the results on between its own pieces; it only sleeps when it has nothing else to do.
  std::vector<std::thread> threads;
  for (std::size_t w = 1; w < jobs; ++w) {
    threads.emplace_back([&doOne, w] {
      while (doOne(w)) {
      }
    });
  }
  std::unique_lock lock(mutex);
  while (handed < count) {
    if (results[handed]) {
      Result result = std::move(*results[handed]);
      results[handed].reset();
      const std::size_t i = handed++;
      lock.unlock();
      consume(i, std::move(result));
      lock.lock();
      continue;
    }
    if (next < count) {
      lock.unlock();
      doOne(0);
      lock.lock();
      continue;
    }
    waiting = true;
    ready.wait(lock, [&] { return results[handed].has_value(); });
    waiting = false;
  }
  lock.unlock();
  for (std::thread& thread : threads) thread.join();
}

}  // namespace yentax
