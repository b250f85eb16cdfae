#pragma once
// The texts the install command shows when it cannot do what was asked: the
// files that could not be written, the folder, and what the user can do.
#include <cstddef>

#include "../payload/PayloadOutcome.h"

// What went wrong with one file, judged by its system error code.
enum class FailureKind { InUse, Denied, DiskFull, PathTooLong, Other };

FailureKind ClassifyFailure(std::uint32_t error);

constexpr std::size_t kFailureMessageCapacity = 2048;

// Names every failed file or registry record of outcomes, the folder, and
// one line of advice per kind of failure. Always terminated; lines that do
// not fit are summed up as "and N more".
void ComposeFailureMessage(char* out, std::size_t capacity, const PayloadOutcomes& outcomes, const char* folder);

// Why the chosen folder cannot take the files.
enum class FolderProblem {
  CannotCreate,    // missing, and creating it failed (error: the creation's)
  CannotEnter,     // a folder of that name exists but cannot be entered (error: the entering's)
  FileInItsPlace,  // a file has the folder's name, so it cannot be created (error: the entering's)
  LinkInItsPlace,  // the folder is a link (symbolic link, junction) to another place (error: kErrorReparsePoint)
};

// Names the folder, what failed and the system's error, and what to do.
// Always terminated.
void ComposeFolderMessage(char* out, std::size_t capacity, const char* folder, FolderProblem problem,
                          std::uint32_t error);
