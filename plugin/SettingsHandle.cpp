#include "SettingsHandle.h"

#include <cstring>

namespace relief {

namespace {

const HandleProcsView* Procs(const FilterRecordView* record) {
  if (!record || !record->handleProcs) return nullptr;
  const auto* procs = static_cast<const HandleProcsView*>(record->handleProcs);
  if (procs->count < 6 || !procs->newHandle || !procs->disposeHandle || !procs->handleSize ||
      !procs->setHandleSize || !procs->lockHandle || !procs->unlockHandle)
    return nullptr;
  return procs;
}

}  // namespace

BlockRead LoadFromHandle(const FilterRecordView* record, ReliefSettings* settings) {
  const HandleProcsView* procs = Procs(record);
  if (!procs || !record->parameters) return BlockRead::kEmpty;
  const int32_t size = procs->handleSize(record->parameters);
  if (size <= 0) return BlockRead::kEmpty;
  const void* bytes = procs->lockHandle(record->parameters, 0);
  if (!bytes) return BlockRead::kDamaged;
  const BlockRead read = ReadSettingsBlock(static_cast<const uint8_t*>(bytes), static_cast<std::size_t>(size), settings);
  procs->unlockHandle(record->parameters);
  return read;
}

bool StoreInHandle(FilterRecordView* record, const ReliefSettings& settings) {
  const HandleProcsView* procs = Procs(record);
  uint8_t block[kSettingsBlockBytes];
  if (!procs || WriteSettingsBlock(settings, block, sizeof block) != sizeof block) return false;
  const int32_t size = static_cast<int32_t>(sizeof block);
  if (record->parameters && procs->handleSize(record->parameters) != size &&
      procs->setHandleSize(record->parameters, size) != 0) {
    return false;
  }
  if (!record->parameters) record->parameters = procs->newHandle(size);
  if (!record->parameters) return false;
  void* bytes = procs->lockHandle(record->parameters, 0);
  if (!bytes) return false;
  std::memcpy(bytes, block, sizeof block);
  procs->unlockHandle(record->parameters);
  return true;
}

}  // namespace relief
