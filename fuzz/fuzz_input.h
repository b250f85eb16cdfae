#pragma once
// Turns fuzz input into a NUL-terminated text in a guarded buffer of a given
// capacity: any write past the buffer, or a lost terminator, aborts.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "tests/support/GuardedText.h"

class FuzzText {
 public:
  // The text is the input up to its first NUL, cut to capacity - 1.
  FuzzText(const std::uint8_t* data, std::size_t size, std::size_t capacity)
      : buffer_(capacity, reinterpret_cast<const char*>(data), strnlen(reinterpret_cast<const char*>(data), size)) {}
  char* text() { return buffer_.data(); }
  std::size_t length() const { return strnlen(buffer_.data(), buffer_.capacity()); }
  void CheckBounds() const {
    if (!buffer_.Intact()) std::abort();
  }

 private:
  GuardedText buffer_;
};
