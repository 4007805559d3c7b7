#pragma once

// Two pieces of independent work at once: the first on a thread of its own, the second on
// the calling one. Where no thread can be started they run one after the other, so the
// caller gets the same result either way.
//
//   runSideBySide([&] { first = count(a); }, [&] { second = count(b); });
//
// Neither piece may throw.

#include <system_error>
#include <thread>

namespace yentax {

template <typename First, typename Second>
void runSideBySide(First&& first, Second&& second) {
  std::thread other;
  try {
    other = std::thread(first);
  } catch (const std::system_error&) {
    first();
  }
  second();
  if (other.joinable()) other.join();
}

}  // namespace yentax
