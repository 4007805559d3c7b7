#pragma once

// Splits a fuzzer's input into a few leading choice bytes and the rest.
//
//   FuzzInput input(data, size);
//   const int mode = input.choose(10);  // 0..9, 0 once the input runs out
//   std::string_view rest = input.rest();

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace yentax {

class FuzzInput {
 public:
  FuzzInput(const std::uint8_t* data, std::size_t size)
      : bytes_(reinterpret_cast<const char*>(data), size) {}

  int choose(int count) {
    if (bytes_.empty()) return 0;
    const int value = static_cast<unsigned char>(bytes_.front()) % count;
    bytes_.remove_prefix(1);
    return value;
  }

  std::string_view rest() const { return bytes_; }

 private:
  std::string_view bytes_;
};

}  // namespace yentax
