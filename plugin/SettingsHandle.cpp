#include "SettingsHandle.h"

#include <cstring>

namespace relief {

BlockRead LoadFromHandle(const HandleCalls& calls, void* handle, ReliefSettings* settings) {
  if (!calls.Offered() || !handle) return BlockRead::kEmpty;
  const int32_t size = calls.size(handle);
  if (size <= 0) return BlockRead::kEmpty;
  const void* bytes = calls.lock(handle, 0);
  if (!bytes) return BlockRead::kDamaged;
  const BlockRead read = ReadSettingsBlock(static_cast<const uint8_t*>(bytes), static_cast<std::size_t>(size), settings);
  calls.unlock(handle);
  return read;
}

bool StoreInHandle(const HandleCalls& calls, void** handle, const ReliefSettings& settings) {
  uint8_t block[kSettingsBlockBytes];
  if (!calls.Offered() || WriteSettingsBlock(settings, block, sizeof block) != sizeof block) return false;
  const int32_t size = static_cast<int32_t>(sizeof block);
  if (*handle && calls.size(*handle) != size && calls.resize(*handle, size) != 0) return false;
  if (!*handle) *handle = calls.create(size);
  if (!*handle) return false;
  void* bytes = calls.lock(*handle, 0);
  if (!bytes) return false;
  std::memcpy(bytes, block, sizeof block);
  calls.unlock(*handle);
  return true;
}

}  // namespace relief
