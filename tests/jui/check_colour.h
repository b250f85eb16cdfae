#pragma once
// Colour checks that print both values in hex with the pixel position.
#include <windows.h>

#include "tests/support/Hex.h"

#define EXPECT_PIXEL(expected, seen, x, y) \
  EXPECT_EQ(Hex(expected), Hex(seen)) << "pixel (" << (x) << ", " << (y) << ")"
