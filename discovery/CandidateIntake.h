#pragma once
// How a folder found in the registry becomes a candidate: it must exist, it
// is traced, normalised, and stored unless already there.
#include <cstddef>

// Tests the path as a folder by making it the current directory: first the
// whole path (without its trailing backslash), then ever shorter prefixes of
// its last component, last the parent with its backslash; never a string of
// 3 characters or fewer, so never a drive root. Returns 1 with the buffer
// holding the folder that passed, else 0 (buffer left shortened). The
// current directory stays where the last successful test put it.
int VerifyFolder(char* path);

// Verifies path (a buffer of capacity characters, changed in place), appends
// a trace line when the trace file exists, normalises it and stores it in
// FolderCandidates with the current Use64BitRegistryView, unless it is a
// duplicate, the list is full or the normalised folder would not fit an entry.
// descriptor says where the folder was found.
void AddCandidate(char* path, std::size_t capacity, const char* descriptor);
