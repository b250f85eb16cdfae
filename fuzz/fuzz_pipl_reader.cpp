// Property lists as a plug-in file holds them: any bytes are either refused
// or read without touching memory past them, and every property found lies
// inside the list.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "plugin/PiplReader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // An exact-size copy, so that a read past the list is caught.
  std::vector<std::uint8_t> list(data, data + size);
  const std::uint8_t* begin = list.data();
  const int count = relief::PiplCount(begin, size);
  for (int n = 0; n < count; ++n) {
    relief::PiplProperty p{};
    if (!relief::PiplAt(begin, size, n, &p)) std::abort();
    if (p.data < begin || p.length > size || p.data + p.length > begin + size) std::abort();
    char text[64];
    std::uint32_t number = 0;
    std::uint16_t word = 0;
    relief::PiplCText(p, text, sizeof text);
    relief::PiplPascalText(p, text, sizeof text);
    relief::PiplNumber(p, &number);
    relief::PiplWord(p, &word);
    relief::PiplProperty same{};
    if (!relief::PiplFind(begin, size, p.vendor, p.key, &same)) std::abort();
  }
  return 0;
}
