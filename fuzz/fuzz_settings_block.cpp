// Settings blocks as a host hands them back (a parameters handle, the
// per-user copy, a recorded script): any bytes are refused or read into
// valid settings, without touching memory past them, and whatever is read
// is written back to the same fields.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "plugin/ReliefSettings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // An exact-size copy, so that a read past the block is caught.
  std::vector<std::uint8_t> block(data, data + size);
  relief::ReliefSettings read = relief::kDefaultSettings;
  const relief::BlockRead result = relief::ReadSettingsBlock(block.data(), size, &read);
  if (result != relief::BlockRead::kRead) {
    if (read != relief::kDefaultSettings) std::abort();  // a refused block leaves the settings alone
    return 0;
  }
  if (!relief::SettingsAreValid(read)) std::abort();
  std::uint8_t again[relief::kSettingsBlockBytes];
  if (relief::WriteSettingsBlock(read, again, sizeof again) != sizeof again) std::abort();
  relief::ReliefSettings reread{};
  if (relief::ReadSettingsBlock(again, sizeof again, &reread) != relief::BlockRead::kRead || reread != read)
    std::abort();
  return 0;
}
