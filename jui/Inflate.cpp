// Canonical Huffman decoding read one bit at a time: small rather than fast,
// which is plenty for a few pictures decoded once.
#include "jui/Inflate.h"

namespace {

constexpr int kMaxBits = 15;
constexpr int kMaxLiteralCodes = 288;
constexpr int kMaxDistanceCodes = 30;

struct Stream {
  const std::uint8_t* in;
  std::size_t size;
  std::size_t pos;
  std::uint32_t bitBuffer;
  int bitCount;
  bool broken;  // input ran out or was malformed
  std::uint8_t* out;
  std::size_t capacity;
  std::size_t length;
};

struct Huffman {
  short count[kMaxBits + 1];  // codes of each length
  short symbol[kMaxLiteralCodes];
};

int Bits(Stream& s, int need) {
  std::uint32_t value = s.bitBuffer;
  while (s.bitCount < need) {
    if (s.pos >= s.size) {
      s.broken = true;
      return 0;
    }
    value |= static_cast<std::uint32_t>(s.in[s.pos++]) << s.bitCount;
    s.bitCount += 8;
  }
  s.bitBuffer = value >> need;
  s.bitCount -= need;
  return static_cast<int>(value & ((1u << need) - 1));
}

// Builds the decoding table from code lengths. Returns false for an
// over-subscribed set; an incomplete one is allowed (a lone distance code).
bool Build(Huffman& h, const short* lengths, int n) {
  for (int len = 0; len <= kMaxBits; ++len) h.count[len] = 0;
  for (int i = 0; i < n; ++i) ++h.count[lengths[i]];
  if (h.count[0] == n) return true;  // no codes: any use of it fails to decode
  int left = 1;
  for (int len = 1; len <= kMaxBits; ++len) {
    left <<= 1;
    left -= h.count[len];
    if (left < 0) return false;
  }
  short offset[kMaxBits + 1];
  offset[1] = 0;
  for (int len = 1; len < kMaxBits; ++len) offset[len + 1] = static_cast<short>(offset[len] + h.count[len]);
  for (int i = 0; i < n; ++i)
    if (lengths[i] != 0) h.symbol[offset[lengths[i]]++] = static_cast<short>(i);
  return true;
}

// Walks the code one bit at a time, taking the bits straight from the bit
// buffer and a byte at a time from the input.
int Decode(Stream& s, const Huffman& h) {
  int code = 0;
  int first = 0;
  int index = 0;
  std::uint32_t buffer = s.bitBuffer;
  int left = s.bitCount;
  const short* count = h.count + 1;
  int len = 1;
  for (;;) {
    while (left--) {
      code |= buffer & 1;
      buffer >>= 1;
      const int n = *count++;
      if (code - n < first) {
        s.bitBuffer = buffer;
        s.bitCount = (s.bitCount - len) & 7;
        return h.symbol[index + (code - first)];
      }
      index += n;
      first += n;
      first <<= 1;
      code <<= 1;
      ++len;
    }
    left = (kMaxBits + 1) - len;
    if (left <= 0 || s.pos >= s.size) break;
    buffer = s.in[s.pos++];
    if (left > 8) left = 8;
  }
  s.broken = true;
  return -1;
}

bool Put(Stream& s, std::uint8_t byte) {
  if (s.length >= s.capacity) return false;
  s.out[s.length++] = byte;
  return true;
}

bool Stored(Stream& s) {
  s.bitBuffer = 0;
  s.bitCount = 0;
  if (s.size - s.pos < 4) return false;
  const unsigned len = s.in[s.pos] | (s.in[s.pos + 1] << 8);
  const unsigned complement = s.in[s.pos + 2] | (s.in[s.pos + 3] << 8);
  s.pos += 4;
  if (len != (~complement & 0xFFFF) || s.size - s.pos < len) return false;
  for (unsigned i = 0; i < len; ++i)
    if (!Put(s, s.in[s.pos++])) return false;
  return true;
}

const short kLengthBase[29] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                               31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
const short kLengthExtra[29] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2, 2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
const short kDistanceBase[30] = {1,   2,   3,   4,   5,   7,    9,    13,   17,   25,   33,   49,   65,    97,    129,
                                 193, 257, 385, 513, 769, 1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
const short kDistanceExtra[30] = {0, 0, 0, 0, 1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6, 6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};

bool Codes(Stream& s, const Huffman& literals, const Huffman& distances) {
  for (;;) {
    int symbol = Decode(s, literals);
    if (symbol < 0) return false;
    if (symbol < 256) {
      if (!Put(s, static_cast<std::uint8_t>(symbol))) return false;
      continue;
    }
    if (symbol == 256) return true;
    symbol -= 257;
    if (symbol >= 29) return false;
    const int length = kLengthBase[symbol] + Bits(s, kLengthExtra[symbol]);
    const int d = Decode(s, distances);
    if (d < 0 || d >= 30) return false;
    const std::size_t distance = static_cast<std::size_t>(kDistanceBase[d] + Bits(s, kDistanceExtra[d]));
    if (s.broken || distance > s.length) return false;
    for (int i = 0; i < length; ++i)
      if (!Put(s, s.out[s.length - distance])) return false;
  }
}

bool Fixed(Stream& s) {
  static Huffman literals;
  static Huffman distances;
  static bool built = false;
  if (!built) {
    short lengths[kMaxLiteralCodes];
    int i = 0;
    for (; i < 144; ++i) lengths[i] = 8;
    for (; i < 256; ++i) lengths[i] = 9;
    for (; i < 280; ++i) lengths[i] = 7;
    for (; i < kMaxLiteralCodes; ++i) lengths[i] = 8;
    Build(literals, lengths, kMaxLiteralCodes);
    for (i = 0; i < kMaxDistanceCodes; ++i) lengths[i] = 5;
    Build(distances, lengths, kMaxDistanceCodes);
    built = true;
  }
  return Codes(s, literals, distances);
}

bool Dynamic(Stream& s) {
  static const short kOrder[19] = {16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15};
  const int literalCount = Bits(s, 5) + 257;
  const int distanceCount = Bits(s, 5) + 1;
  const int codeCount = Bits(s, 4) + 4;
  if (s.broken || literalCount > 286 || distanceCount > kMaxDistanceCodes) return false;
  short lengths[kMaxLiteralCodes + kMaxDistanceCodes] = {};
  for (int i = 0; i < codeCount; ++i) lengths[kOrder[i]] = static_cast<short>(Bits(s, 3));
  Huffman lengthCode;
  if (s.broken || !Build(lengthCode, lengths, 19)) return false;
  int index = 0;
  while (index < literalCount + distanceCount) {
    int symbol = Decode(s, lengthCode);
    if (symbol < 0) return false;
    if (symbol < 16) {
      lengths[index++] = static_cast<short>(symbol);
      continue;
    }
    short repeat = 0;
    int times = 0;
    if (symbol == 16) {
      if (index == 0) return false;
      repeat = lengths[index - 1];
      times = 3 + Bits(s, 2);
    } else if (symbol == 17) {
      times = 3 + Bits(s, 3);
    } else {
      times = 11 + Bits(s, 7);
    }
    if (s.broken || index + times > literalCount + distanceCount) return false;
    while (times--) lengths[index++] = repeat;
  }
  if (lengths[256] == 0) return false;  // no end-of-block code
  Huffman literals;
  Huffman distances;
  if (!Build(literals, lengths, literalCount)) return false;
  if (!Build(distances, lengths + literalCount, distanceCount)) return false;
  return Codes(s, literals, distances);
}

std::uint32_t Adler32(const std::uint8_t* data, std::size_t size) {
  std::uint32_t a = 1;
  std::uint32_t b = 0;
  // 5552 bytes is the most the sums take before they could overflow.
  while (size > 0) {
    const std::size_t block = size < 5552 ? size : 5552;
    for (std::size_t i = 0; i < block; ++i) {
      a += data[i];
      b += a;
    }
    a %= 65521;
    b %= 65521;
    data += block;
    size -= block;
  }
  return (b << 16) | a;
}

}  // namespace

bool InflateZlib(const std::uint8_t* in, std::size_t size, std::uint8_t* out, std::size_t capacity,
                 std::size_t* written) {
  *written = 0;
  if (!in || size < 6) return false;
  const unsigned cmf = in[0];
  const unsigned flags = in[1];
  // Deflate with a window of at most 32 KB, no preset dictionary.
  if ((cmf & 0x0F) != 8 || (cmf >> 4) > 7 || (cmf * 256 + flags) % 31 != 0 || (flags & 0x20)) return false;
  Stream s = {in, size - 4, 2, 0, 0, false, out, capacity, 0};
  int last = 0;
  do {
    last = Bits(s, 1);
    const int type = Bits(s, 2);
    if (s.broken) return false;
    bool ok = false;
    if (type == 0)
      ok = Stored(s);
    else if (type == 1)
      ok = Fixed(s);
    else if (type == 2)
      ok = Dynamic(s);
    if (!ok || s.broken) return false;
  } while (!last);
  const std::uint8_t* tail = in + size - 4;
  const std::uint32_t expected = (static_cast<std::uint32_t>(tail[0]) << 24) | (tail[1] << 16) | (tail[2] << 8) | tail[3];
  *written = s.length;
  return Adler32(out, s.length) == expected;
}
