#pragma once
// The texts of the folder drop-down's entries.
#include <cstddef>

// The last entry, which opens the folder browser.
constexpr const char kBrowseEntryText[] = "******** BROWSE ********";

// The entry for a detected folder: path, then the maker's subfolder
// (kMakerFolderSuffix) when appendMakerFolder is non-zero. Returns false, leaving out empty, when the
// whole text does not fit (capacity includes the terminator): a cut path
// would name another folder.
bool ComposeDetectedEntry(char* out, std::size_t capacity, const char* path, int appendMakerFolder);

// Turns the folder browser's path (in place, buffer of capacity characters)
// into its entry: a trailing backslash is added when missing. Returns false
// for an empty path or one that does not fit with its backslash.
bool ComposeBrowsedEntry(char* path, std::size_t capacity);
