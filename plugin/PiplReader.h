#pragma once
// Reading a plug-in property list ("PiPL" resource) as Windows hosts store it:
// a 16-bit 1, a 32-bit list version (0) and a 32-bit property count, then the
// properties, each a vendor code, a key, an index and a data length (all
// 32-bit little-endian), then the data, padded to a multiple of 4. Codes are
// four characters read as a big-endian number ('kind' = 0x6B696E64) and
// stored as a native little-endian integer, so the bytes read "dnik".
#include <cstddef>
#include <cstdint>

namespace relief {

constexpr uint32_t FourCC(const char (&code)[5]) {
  return (uint32_t(uint8_t(code[0])) << 24) | (uint32_t(uint8_t(code[1])) << 16) |
         (uint32_t(uint8_t(code[2])) << 8) | uint32_t(uint8_t(code[3]));
}

// Size of the list header and of a property's header.
constexpr std::size_t kPiplHeaderBytes = 10;
constexpr std::size_t kPropertyHeaderBytes = 16;

struct PiplProperty {
  uint32_t vendor;
  uint32_t key;
  uint32_t index;
  const uint8_t* data;
  uint32_t length;  // as stored, padding included
};

// Checks the header and that every property lies inside the `size` bytes;
// returns the property count, or -1 when the list is malformed.
int PiplCount(const uint8_t* list, std::size_t size);

// The `n`th property of a well-formed list (0-based). False when out of range.
bool PiplAt(const uint8_t* list, std::size_t size, int n, PiplProperty* property);

// The first property of the given vendor and key. False when there is none.
bool PiplFind(const uint8_t* list, std::size_t size, uint32_t vendor, uint32_t key, PiplProperty* property);

// The property's first 4 bytes as a little-endian integer.
bool PiplNumber(const PiplProperty& property, uint32_t* value);

// The property's first 2 bytes as a little-endian integer.
bool PiplWord(const PiplProperty& property, uint16_t* value);

// A NUL-terminated text (entry point names) into text[cap]. False when the
// text has no terminator inside the property or does not fit.
bool PiplCText(const PiplProperty& property, char* text, std::size_t cap);

// A text stored with a leading length byte (names, categories) into text[cap].
// False when the length runs past the property or the text does not fit.
bool PiplPascalText(const PiplProperty& property, char* text, std::size_t cap);

}  // namespace relief
