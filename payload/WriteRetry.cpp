#include "WriteRetry.h"

bool ShouldRetryWrite(WriteStep step, std::uint32_t error, int attemptsMade) {
  const bool transient = error == kErrorSharingViolation || error == kErrorLockViolation ||
                         (step == WriteStep::MoveIntoPlace && error == kErrorAccessDenied);
  return transient && attemptsMade >= 1 && attemptsMade < kWriteAttempts;
}
