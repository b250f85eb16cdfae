#pragma once
// Turns fuzz input into a NUL-terminated text in a buffer of a given
// capacity, with sentinel bytes after the buffer that must survive.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

constexpr int kSentinel = 0xA5;
constexpr std::size_t kGuard = 64;

class FuzzText {
 public:
  // The text is the input up to its first NUL, cut to capacity - 1.
  FuzzText(const std::uint8_t* data, std::size_t size, std::size_t capacity) : capacity_(capacity) {
    storage_.assign(capacity + kGuard, static_cast<char>(kSentinel));
    std::size_t n = strnlen(reinterpret_cast<const char*>(data), size);
    if (n > capacity - 1) n = capacity - 1;
    std::memcpy(storage_.data(), data, n);
    storage_[n] = '\0';
  }
  char* text() { return storage_.data(); }
  std::size_t length() const { return strnlen(storage_.data(), capacity_); }
  // Aborts when anything was written past the buffer or the terminator is gone.
  void CheckBounds() const {
    if (strnlen(storage_.data(), capacity_) >= capacity_) std::abort();
    for (std::size_t i = capacity_; i < storage_.size(); ++i)
      if (static_cast<unsigned char>(storage_[i]) != kSentinel) std::abort();
  }

 private:
  std::size_t capacity_;
  std::vector<char> storage_;
};
