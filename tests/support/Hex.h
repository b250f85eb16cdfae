#pragma once
// A colour (0xRRGGBB or a COLORREF) as hex text, so that a failed pixel check
// prints both values readably.
#include <cstdint>
#include <cstdio>
#include <string>

inline std::string Hex(std::uint32_t colour) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%06X", static_cast<unsigned>(colour));
  return text;
}
