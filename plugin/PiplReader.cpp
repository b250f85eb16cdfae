#include "PiplReader.h"

#include <cstring>

namespace relief {

namespace {

uint32_t Read32(const uint8_t* p) {
  return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}

// Walks to property `stop` (or through all when stop < 0); returns the count
// walked, or -1 when something lies outside the list.
int Walk(const uint8_t* list, std::size_t size, int stop, PiplProperty* found) {
  if (!list || size < kPiplHeaderBytes) return -1;
  if (list[0] != 1 || list[1] != 0 || Read32(list + 2) != 0) return -1;
  const uint32_t count = Read32(list + 6);
  if (count > (size - kPiplHeaderBytes) / kPropertyHeaderBytes) return -1;
  std::size_t at = kPiplHeaderBytes;
  for (uint32_t n = 0; n < count; ++n) {
    if (size - at < kPropertyHeaderBytes) return -1;
    const uint8_t* head = list + at;
    const uint32_t length = Read32(head + 12);
    at += kPropertyHeaderBytes;
    if (length > size - at) return -1;
    if (static_cast<int>(n) == stop) {
      *found = PiplProperty{Read32(head), Read32(head + 4), Read32(head + 8), list + at, length};
      return stop + 1;
    }
    at += length;
  }
  return static_cast<int>(count);
}

}  // namespace

int PiplCount(const uint8_t* list, std::size_t size) { return Walk(list, size, -1, nullptr); }

bool PiplAt(const uint8_t* list, std::size_t size, int n, PiplProperty* property) {
  if (n < 0) return false;
  PiplProperty found{};
  if (Walk(list, size, n, &found) != n + 1) return false;
  *property = found;
  return true;
}

bool PiplFind(const uint8_t* list, std::size_t size, uint32_t vendor, uint32_t key, PiplProperty* property) {
  const int count = PiplCount(list, size);
  for (int n = 0; n < count; ++n) {
    PiplProperty p{};
    if (PiplAt(list, size, n, &p) && p.vendor == vendor && p.key == key) {
      *property = p;
      return true;
    }
  }
  return false;
}

bool PiplNumber(const PiplProperty& property, uint32_t* value) {
  if (property.length < 4) return false;
  *value = Read32(property.data);
  return true;
}

bool PiplWord(const PiplProperty& property, uint16_t* value) {
  if (property.length < 2) return false;
  *value = static_cast<uint16_t>(property.data[0] | (property.data[1] << 8));
  return true;
}

bool PiplCText(const PiplProperty& property, char* text, std::size_t cap) {
  const void* end = property.length ? std::memchr(property.data, 0, property.length) : nullptr;
  if (!end) return false;
  const std::size_t n = static_cast<const uint8_t*>(end) - property.data;
  if (n >= cap) return false;
  std::memcpy(text, property.data, n + 1);
  return true;
}

bool PiplPascalText(const PiplProperty& property, char* text, std::size_t cap) {
  if (property.length < 1) return false;
  const std::size_t n = property.data[0];
  if (n > property.length - 1 || n >= cap) return false;
  std::memcpy(text, property.data + 1, n);
  text[n] = '\0';
  return true;
}

}  // namespace relief
