// Resource-name decoding: never longer than its input, never past its buffer,
// and decoding a plain name (no markers) twice changes nothing more.
#include <cstdlib>
#include <cstring>
#include <string>

#include "fuzz_input.h"
#include "payload/ResourceName.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzText name(data, size, kResourceNameCapacity);
  const std::size_t before = name.length();
  DecodeResourceName(name.text());
  name.CheckBounds();
  if (name.length() > before) std::abort();

  // A decoded name without markers is stable under a second decoding,
  // except for letter case, which the first character and non-letters set.
  std::string once = name.text();
  if (once.find_first_of(":_") == std::string::npos) {
    FuzzText again(reinterpret_cast<const std::uint8_t*>(once.c_str()), once.size() + 1, kResourceNameCapacity);
    DecodeResourceName(again.text());
    again.CheckBounds();
    if (std::strlen(again.text()) != once.size()) std::abort();
  }
  return 0;
}
