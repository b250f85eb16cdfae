#include "WriteRetry.h"

bool ShouldRetryWrite(std::uint32_t error, int attemptsMade) {
  if (error != kErrorSharingViolation && error != kErrorLockViolation) return false;
  return attemptsMade >= 1 && attemptsMade < kWriteAttempts;
}
