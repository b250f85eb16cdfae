#pragma once
// A freshly written file is often opened for a moment by a virus scanner or
// an indexer. When creating the temporary file or moving it over the
// destination fails because someone else has the file open, the step is
// tried again, a few times over about a second, before it counts as a
// failure. Any other error counts at once.
#include <cstdint>

#include "../common/system_errors.h"

// Attempts in all, the first one included, and the pause before each retry.
constexpr int kWriteAttempts = 11;
constexpr unsigned kWriteRetryPauseMs = 100;

enum class WriteStep { CreateTemporary, MoveIntoPlace };

// Whether a step that failed with error after attemptsMade attempts (1 after
// the first) should be tried again. A sharing or lock violation is tried
// again at either step. The move over a destination that another program
// holds open fails as "access denied" on Windows as well, so the move tries
// that again too; the writer refuses read-only destinations before it moves,
// and a folder that refuses the temporary file fails at once.
bool ShouldRetryWrite(WriteStep step, std::uint32_t error, int attemptsMade);
