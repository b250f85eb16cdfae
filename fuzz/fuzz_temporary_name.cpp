// The temporary name beside a destination: never past its buffer, the
// destination unchanged at its front, a buffer that is too small left as it
// was, and the same random number always giving the same name.
#include <cstdlib>

#include "fuzz_input.h"
#include "payload/TemporaryName.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 10) return 0;
  std::uint64_t random = 0;
  std::memcpy(&random, data, sizeof random);
  const std::size_t capacity = 1 + data[8] * 2;  // 1 to 511
  FuzzText destination(data + 9, size - 9, 400);
  FuzzText out(reinterpret_cast<const std::uint8_t*>(""), 1, capacity);
  std::memset(out.text(), 'x', capacity);
  const bool fits = ComposeTemporaryName(out.text(), capacity, destination.text(), random);
  const std::size_t length = destination.length();
  if (fits != (length + kTemporarySuffixLength < capacity)) std::abort();
  if (fits) {
    out.CheckBounds();
    if (out.length() != length + kTemporarySuffixLength) std::abort();
    if (std::memcmp(out.text(), destination.text(), length) != 0) std::abort();
    if (std::memcmp(out.text() + out.length() - 4, ".tmp", 4) != 0) std::abort();
    std::vector<char> again(capacity);
    if (!ComposeTemporaryName(again.data(), capacity, destination.text(), random) ||
        std::strcmp(again.data(), out.text()) != 0)
      std::abort();
  } else {
    for (std::size_t i = 0; i < capacity; ++i)
      if (out.text()[i] != 'x') std::abort();
  }
  destination.CheckBounds();
  return 0;
}
