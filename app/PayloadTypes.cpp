#include "PayloadTypes.h"

#include <cstring>

int ChoosePayloadTypes(int isWow64, const char* folder, int types[2]) {
  if (!isWow64) {
    types[0] = kPayload32;
    return 1;
  }
  if (std::strstr(folder, "(64")) {
    types[0] = kPayload64;
    return 1;
  }
  if (std::strstr(folder, "86)")) {
    types[0] = kPayload32;
    return 1;
  }
  types[0] = kPayload64;
  types[1] = kPayload32;
  return 2;
}
