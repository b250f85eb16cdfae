#pragma once
// The filter's settings and the block they are kept in: in the parameters
// handle the host keeps for the filter, in the per-user registry copy and in
// recorded scripts. The block is little-endian and versioned:
//   0  'iRlf' (4 bytes, as written)   4  version (16-bit, kSettingsVersion)
//   6  block length (16-bit, bytes)   8  angle (16-bit signed, degrees)
//  10  height (16-bit)               12  amount (16-bit, percent)
//  14  result (8-bit: 0 grey, 1 over the image's colours)  15  reserved (0)
//  16  FNV-1a of bytes 0..15 (32-bit)
// A reader takes a block of its own version or a longer one of a later
// version (whose extra bytes it does not know), never a shorter or a
// damaged one.
#include <cstddef>
#include <cstdint>

namespace relief {

enum class ReliefResult : uint8_t {
  kGrey = 0,     // every colour channel around its middle value
  kColours = 1,  // the relief over the image's own values
};

struct ReliefSettings {
  int angle;      // where the light comes from, degrees counter-clockwise from the right
  int height;     // distance between the compared pixels
  int amount;     // percent
  ReliefResult result;
};

constexpr int kAngleMin = -180, kAngleMax = 180;
constexpr int kHeightMin = 1, kHeightMax = 10;
constexpr int kAmountMin = 1, kAmountMax = 500;

// Light from the upper left, neighbours one pixel away, the relief at full
// strength around mid-grey: the filter's result before it had settings.
constexpr ReliefSettings kDefaultSettings{135, 1, 100, ReliefResult::kGrey};

bool SettingsAreValid(const ReliefSettings& s);
bool operator==(const ReliefSettings& a, const ReliefSettings& b);
inline bool operator!=(const ReliefSettings& a, const ReliefSettings& b) { return !(a == b); }

constexpr uint16_t kSettingsVersion = 1;
constexpr std::size_t kSettingsBlockBytes = 20;

// Writes the block into out[cap]; returns the bytes written, 0 when cap is
// too small or the settings are not valid.
std::size_t WriteSettingsBlock(const ReliefSettings& settings, uint8_t* out, std::size_t cap);

enum class BlockRead {
  kRead,        // *settings holds what the block says
  kEmpty,       // no block at all (a host that kept nothing)
  kDamaged,     // wrong tag, length, check sum or a value out of range
  kOldVersion,  // a version before this one's
};

// Reads size bytes; leaves *settings alone unless it returns kRead.
BlockRead ReadSettingsBlock(const uint8_t* block, std::size_t size, ReliefSettings* settings);

// The settings in one word, for the data word the host keeps for the filter
// between its calls (Start to Continue): 0 means none.
intptr_t PackSettings(const ReliefSettings& settings);
bool UnpackSettings(intptr_t word, ReliefSettings* settings);

}  // namespace relief
