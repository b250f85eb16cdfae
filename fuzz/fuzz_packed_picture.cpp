// Packed pictures and zlib streams of any content, as a damaged or hostile
// resource could hold them: decoding never reads or writes outside the
// buffers it is given (AddressSanitizer), whatever the header claims.
#include <cstdint>
#include <vector>

#include "jui/Inflate.h"
#include "jui/PackedPicture.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::vector<std::uint8_t> out(4096);
  std::size_t written = 0;
  InflateZlib(data, size, out.data(), out.size(), &written);
  if (written > out.size()) __builtin_trap();

  PackedPictureInfo info;
  if (!ReadPackedPictureHeader(data, size, &info)) return 0;
  // Keep the pictures the header asks for small enough to allocate.
  if (static_cast<long long>(info.width) * info.height > 1 << 16 ||
      static_cast<long long>(info.baseWidth) * info.baseHeight > 1 << 16)
    return 0;
  std::vector<std::uint8_t> base(static_cast<std::size_t>(info.baseWidth) * info.baseHeight * 3, 0x80);
  std::vector<std::uint8_t> pixels(static_cast<std::size_t>(info.width) * info.height * 3);
  std::vector<std::uint8_t> scratch(PackedPictureScratch(info));
  DecodePackedPicture(data, size, base.data(), static_cast<std::size_t>(info.baseWidth) * 3, pixels.data(),
                      static_cast<std::size_t>(info.width) * 3, scratch.data(), scratch.size());
  return 0;
}
