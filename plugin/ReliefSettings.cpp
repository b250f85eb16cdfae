#include "ReliefSettings.h"

namespace relief {

namespace {

constexpr uint8_t kTag[4] = {'i', 'R', 'l', 'f'};
constexpr std::size_t kCheckedBytes = 16;

uint32_t Fnv1a(const uint8_t* p, std::size_t n) {
  uint32_t h = 2166136261u;
  for (std::size_t i = 0; i < n; ++i) h = (h ^ p[i]) * 16777619u;
  return h;
}

void Put16(uint8_t* p, uint16_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
}

void Put32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}

uint16_t Get16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

uint32_t Get32(const uint8_t* p) {
  return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}

}  // namespace

bool SettingsAreValid(const ReliefSettings& s) {
  return s.angle >= kAngleMin && s.angle <= kAngleMax && s.height >= kHeightMin && s.height <= kHeightMax &&
         s.amount >= kAmountMin && s.amount <= kAmountMax &&
         (s.result == ReliefResult::kGrey || s.result == ReliefResult::kColours);
}

bool operator==(const ReliefSettings& a, const ReliefSettings& b) {
  return a.angle == b.angle && a.height == b.height && a.amount == b.amount && a.result == b.result;
}

std::size_t WriteSettingsBlock(const ReliefSettings& settings, uint8_t* out, std::size_t cap) {
  if (!out || cap < kSettingsBlockBytes || !SettingsAreValid(settings)) return 0;
  for (int i = 0; i < 4; ++i) out[i] = kTag[i];
  Put16(out + 4, kSettingsVersion);
  Put16(out + 6, static_cast<uint16_t>(kSettingsBlockBytes));
  Put16(out + 8, static_cast<uint16_t>(static_cast<int16_t>(settings.angle)));
  Put16(out + 10, static_cast<uint16_t>(settings.height));
  Put16(out + 12, static_cast<uint16_t>(settings.amount));
  out[14] = static_cast<uint8_t>(settings.result);
  out[15] = 0;
  Put32(out + 16, Fnv1a(out, kCheckedBytes));
  return kSettingsBlockBytes;
}

BlockRead ReadSettingsBlock(const uint8_t* block, std::size_t size, ReliefSettings* settings) {
  if (!block || size == 0) return BlockRead::kEmpty;
  if (size < 8) return BlockRead::kDamaged;
  for (int i = 0; i < 4; ++i)
    if (block[i] != kTag[i]) return BlockRead::kDamaged;
  const uint16_t version = Get16(block + 4);
  const uint16_t length = Get16(block + 6);
  if (version < kSettingsVersion) return BlockRead::kOldVersion;
  // A block says how long it is; it must hold at least this version's
  // fields, and all of it must have been handed over.
  if (length < kSettingsBlockBytes || length > size) return BlockRead::kDamaged;
  if (Get32(block + 16) != Fnv1a(block, kCheckedBytes)) return BlockRead::kDamaged;
  if (version == kSettingsVersion && length != kSettingsBlockBytes) return BlockRead::kDamaged;
  const ReliefSettings read{static_cast<int16_t>(Get16(block + 8)), Get16(block + 10), Get16(block + 12),
                            static_cast<ReliefResult>(block[14])};
  if (!SettingsAreValid(read)) return BlockRead::kDamaged;
  if (settings) *settings = read;
  return BlockRead::kRead;
}

intptr_t PackSettings(const ReliefSettings& s) {
  if (!SettingsAreValid(s)) return 0;
  // 1 | angle + 180 (9 bits) | height (4) | amount (9) | result (1)
  return intptr_t(1) | (intptr_t(s.angle - kAngleMin) << 1) | (intptr_t(s.height) << 10) |
         (intptr_t(s.amount) << 14) | (intptr_t(s.result == ReliefResult::kColours) << 23);
}

bool UnpackSettings(intptr_t word, ReliefSettings* settings) {
  if (!(word & 1) || (word >> 24) != 0) return false;
  const ReliefSettings s{static_cast<int>((word >> 1) & 0x1FF) + kAngleMin, static_cast<int>((word >> 10) & 0xF),
                         static_cast<int>((word >> 14) & 0x1FF),
                         (word >> 23) & 1 ? ReliefResult::kColours : ReliefResult::kGrey};
  if (!SettingsAreValid(s)) return false;
  *settings = s;
  return true;
}

}  // namespace relief
