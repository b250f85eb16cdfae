#include "FoundAt.h"

#include "../common/bounded.h"

bool FormatFoundAt(char* out, std::size_t capacity, const char* hiveName, const char* keyPath, const char* name) {
  if (capacity == 0) return false;
  out[0] = '\0';
  const char* pieces[] = {hiveName, "  ", keyPath, "  ", name, "  "};
  for (const char* piece : pieces)
    if (!AppendWhole(out, capacity, piece)) {
      out[0] = '\0';
      return false;
    }
  return true;
}
