#pragma once
// A freshly written file is often opened for a moment by a virus scanner or
// an indexer. A sharing or lock violation on creating the temporary file or
// on moving it over the destination is therefore tried again, a few times
// over about a second, before it counts as a failure. Any other error counts
// at once.
#include <cstdint>

// The system's error codes, as numbers (this file has no <windows.h>).
constexpr std::uint32_t kErrorSharingViolation = 32;  // ERROR_SHARING_VIOLATION
constexpr std::uint32_t kErrorLockViolation = 33;     // ERROR_LOCK_VIOLATION

// Attempts in all, the first one included, and the pause before each retry.
constexpr int kWriteAttempts = 11;
constexpr unsigned kWriteRetryPauseMs = 100;

// Whether an operation that failed with error after attemptsMade attempts
// (1 after the first) should be tried again.
bool ShouldRetryWrite(std::uint32_t error, int attemptsMade);
