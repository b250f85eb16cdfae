#include "FolderCandidates.h"

#include <cstring>

#include "../common/bounded.h"

FolderCandidate FolderCandidates[kFolderCandidateCount];

void ResetFolderCandidates() {
  for (FolderCandidate& record : FolderCandidates) record = FolderCandidate();
}

bool FolderCandidatesEmpty() { return FolderCandidates[0].Path[0] == '\0'; }

StoreResult StoreCandidate(const char* path, int from64BitView) {
  for (FolderCandidate& record : FolderCandidates) {
    if (record.Path[0] == '\0') {
      if (!CopyWhole(record.Path, sizeof record.Path, path)) return StoreResult::TooLong;
      record.From64BitView = from64BitView;
      return StoreResult::Stored;
    }
    if (std::strcmp(record.Path, path) == 0) return StoreResult::Duplicate;
  }
  return StoreResult::ListFull;
}
