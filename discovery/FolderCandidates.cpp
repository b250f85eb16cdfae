#include "FolderCandidates.h"

#include "../common/bounded.h"
#include "../common/chars.h"

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
    if (SameText(record.Path, path)) return StoreResult::Duplicate;
  }
  return StoreResult::ListFull;
}
