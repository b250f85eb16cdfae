#pragma once
// A text buffer of a stated capacity followed by sentinel bytes that no rule
// may touch. The tests and the fuzzers hand a rule data() and capacity(),
// then ask whether the guard survived and the text is still terminated.
// Plain C++, so the native tests and the fuzzers use it as well.
#include <cstddef>
#include <cstring>
#include <string>
#include <vector>

class GuardedText {
 public:
  static constexpr unsigned char kSentinel = 0xA5;
  static constexpr std::size_t kGuard = 64;

  // The buffer starts with text, cut to capacity - 1 characters and
  // terminated; every byte after the terminator is a sentinel byte.
  GuardedText(std::size_t capacity, const char* text, std::size_t length)
      : capacity_(capacity), bytes_(capacity + kGuard, static_cast<char>(kSentinel)) {
    if (capacity == 0) return;
    const std::size_t n = length < capacity - 1 ? length : capacity - 1;
    if (n) std::memcpy(bytes_.data(), text, n);
    bytes_[n] = '\0';
  }
  explicit GuardedText(std::size_t capacity, const std::string& text = std::string())
      : GuardedText(capacity, text.c_str(), text.size()) {}

  char* data() { return bytes_.data(); }
  const char* data() const { return bytes_.data(); }
  std::size_t capacity() const { return capacity_; }
  // The text up to its terminator, or the whole buffer when there is none.
  std::string text() const { return std::string(bytes_.data(), strnlen(bytes_.data(), capacity_)); }
  bool Terminated() const { return strnlen(bytes_.data(), capacity_) < capacity_; }
  // How many bytes after the buffer were overwritten before the first one
  // that survived, counted from the buffer's end: -1 when the whole guard
  // is intact, else the offset of the first changed byte.
  long FirstTouchedGuard() const {
    for (std::size_t i = capacity_; i < bytes_.size(); ++i)
      if (static_cast<unsigned char>(bytes_[i]) != kSentinel) return static_cast<long>(i - capacity_);
    return -1;
  }
  bool Intact() const { return Terminated() && FirstTouchedGuard() < 0; }

 private:
  std::size_t capacity_;
  std::vector<char> bytes_;
};
