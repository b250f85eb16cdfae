#pragma once
// A block of bytes the filter owns, from the C heap. A failed allocation is
// reported to the caller, who answers the host with the out-of-memory
// result, instead of ending the host's process as a failed operator new
// would. Every block has a few zero bytes of slack past its end: some hosts
// read a little beyond the pixels they are asked to draw.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace relief {

class Bytes {
 public:
  static constexpr std::size_t kSlack = 16;

  Bytes() = default;
  ~Bytes() { std::free(data_); }
  Bytes(const Bytes&) = delete;
  Bytes& operator=(const Bytes&) = delete;
  Bytes(Bytes&& other) noexcept : data_(other.data_), size_(other.size_) {
    other.data_ = nullptr;
    other.size_ = 0;
  }
  Bytes& operator=(Bytes&& other) noexcept {
    if (this != &other) {
      std::free(data_);
      data_ = other.data_;
      size_ = other.size_;
      other.data_ = nullptr;
      other.size_ = 0;
    }
    return *this;
  }

  // n bytes of `fill`, whatever the block held before; false (and empty)
  // when there is no memory for them.
  bool Assign(std::size_t n, uint8_t fill = 0) {
    Clear();
    if (n == 0) return true;
    if (n > SIZE_MAX - kSlack) return false;
    data_ = static_cast<uint8_t*>(std::malloc(n + kSlack));
    if (!data_) return false;
    std::memset(data_, fill, n);
    std::memset(data_ + n, 0, kSlack);
    size_ = n;
    return true;
  }
  // A copy of n bytes from `from`.
  bool Assign(const uint8_t* from, std::size_t n) {
    if (!Assign(n)) return false;
    if (n) std::memcpy(data_, from, n);
    return true;
  }
  void Clear() {
    std::free(data_);
    data_ = nullptr;
    size_ = 0;
  }

  uint8_t* data() { return data_; }
  const uint8_t* data() const { return data_; }
  std::size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  uint8_t& operator[](std::size_t i) { return data_[i]; }
  const uint8_t& operator[](std::size_t i) const { return data_[i]; }

 private:
  uint8_t* data_ = nullptr;
  std::size_t size_ = 0;
};

}  // namespace relief
