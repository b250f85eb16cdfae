// Resource-name encoding: a name it gives decodes back to exactly the file
// name, is upper case, fits its buffer and sorts after the name it was asked
// to follow; a refusal names a character that is really there.
#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "fuzz_input.h"
#include "payload/ResourceName.h"
#include "payload/ResourceNameEncode.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // The file name up to the first NUL; what follows it, if anything, is the name to sort after.
  FuzzText file(data, size, kResourceNameCapacity);
  const std::size_t used = std::min(size, file.length() + 1);
  FuzzText after(data + used, size - used, kResourceNameCapacity);
  const bool ordered = used < size;

  FuzzText out(reinterpret_cast<const std::uint8_t*>(""), 1, kResourceNameCapacity);
  NameEncoding e = EncodeResourceName(file.text(), out.text(), kResourceNameCapacity, ordered ? after.text() : nullptr);
  out.CheckBounds();
  if (e.problem != NameProblem::None) {
    if (out.text()[0] != '\0') std::abort();
    if (e.position >= static_cast<int>(file.length())) std::abort();
    if (e.problem == NameProblem::ForbiddenCharacter && !std::strchr("<>:\"/\\|?*", file.text()[e.position])) std::abort();
    if (e.problem == NameProblem::TooLong && e.length < kResourceNameCapacity && file.length() < kResourceNameCapacity - 1)
      std::abort();
    if (e.problem == NameProblem::NoEncoding) std::abort();  // every usable name has one
    return 0;
  }
  if (e.length != static_cast<int>(out.length()) || e.length >= kResourceNameCapacity) std::abort();
  for (const char* p = out.text(); *p; ++p)
    if (*p >= 'a' && *p <= 'z') std::abort();
  if (ordered && std::strcmp(out.text(), after.text()) <= 0) std::abort();
  char decoded[kResourceNameCapacity];
  std::memcpy(decoded, out.text(), out.length() + 1);
  if (std::strcmp(DecodeResourceName(decoded), file.text()) != 0) std::abort();
  return 0;
}
