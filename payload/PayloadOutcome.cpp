#include "PayloadOutcome.h"

#include "../common/bounded.h"

PayloadOutcomes Outcomes;

void ClearOutcomes() { Outcomes = PayloadOutcomes{}; }

void RecordOutcome(OutcomeKind kind, const char* name, std::uint32_t error, const char* reason) {
  if (kind == OutcomeKind::Failed) ++Outcomes.failed;
  if (kind == OutcomeKind::Written) ++Outcomes.written;
  if (Outcomes.count >= kMaxOutcomes) return;
  PayloadOutcome& out = Outcomes.items[Outcomes.count++];
  out.kind = kind;
  CopyCut(out.name, sizeof out.name, name ? name : "");
  out.error = error;
  out.reason = reason ? reason : "";
}
