#pragma once
// What became of every payload file and preset record of an install, kept
// for the install command to report after the enumerations.
#include <cstdint>

enum class OutcomeKind { Written, Skipped, Failed };

struct PayloadOutcome {
  OutcomeKind kind;
  char name[400];        // decoded file name or registry value name, possibly cut
  std::uint32_t error;   // system error code for a failure, else 0
  const char* reason;    // short fixed text for a failure, else ""
};

constexpr int kMaxOutcomes = 64;

struct PayloadOutcomes {
  PayloadOutcome items[kMaxOutcomes];
  int count;      // items held, at most kMaxOutcomes
  int failed;     // failures seen, including any beyond the table
  int written;
};

extern PayloadOutcomes Outcomes;

void ClearOutcomes();
void RecordOutcome(OutcomeKind kind, const char* name, std::uint32_t error, const char* reason);
