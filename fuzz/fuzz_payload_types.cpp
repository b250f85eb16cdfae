// The payload-type choice: one or two known types, never a repeated one,
// and the same folder always gives the same answer.
#include <cstdlib>

#include "app/PayloadTypes.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  const int isWow64 = data[0] & 1;
  FuzzText folder(data + 1, size - 1, 400);
  int types[2] = {-1, -1};
  int count = ChoosePayloadTypes(isWow64, folder.text(), types);
  folder.CheckBounds();
  if (count < 1 || count > 2) std::abort();
  for (int i = 0; i < count; ++i)
    if (types[i] != kPayload32 && types[i] != kPayload64) std::abort();
  if (count == 2 && types[0] == types[1]) std::abort();
  if (!isWow64 && (count != 1 || types[0] != kPayload32)) std::abort();
  int again[2];
  if (ChoosePayloadTypes(isWow64, folder.text(), again) != count || again[0] != types[0]) std::abort();
  return 0;
}
