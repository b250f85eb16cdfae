#pragma once
// The plug-in folders of the hosts found on this machine, in the order in
// which the folder chooser offers them.
#include <cstddef>

constexpr int kFolderCandidateCount = 20;
constexpr std::size_t kCandidatePathCapacity = 800;

struct FolderCandidate {
  char Path[kCandidatePathCapacity] = {};  // normalised folder ending in "\"; empty: slot free
  int AppendMakerFolder = 1;               // the chooser appends "Mirefold\" to the entry
  int From64BitView = 0;                   // Use64BitRegistryView when the entry was stored
};

// Used records are contiguous from index 0; a reader stops at the first empty
// Path. Initialised before main runs (empty, AppendMakerFolder 1, From64BitView 0).
extern FolderCandidate FolderCandidates[kFolderCandidateCount];

// Back to the start-up state.
void ResetFolderCandidates();

bool FolderCandidatesEmpty();

enum class StoreResult { Stored, Duplicate, ListFull, TooLong };

// Stores a normalised path in the first free record unless an equal Path
// (exact, case-sensitive comparison) is already there or the list is full.
StoreResult StoreCandidate(const char* path, int from64BitView);
