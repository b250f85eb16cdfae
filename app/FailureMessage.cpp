#include "FailureMessage.h"

#include <cstdio>
#include <cstring>

#include "../common/bounded.h"
#include "../common/system_errors.h"

namespace {

constexpr int kKindCount = 5;

const char* Symptom(FailureKind kind) {
  switch (kind) {
    case FailureKind::InUse: return "in use by another program";
    case FailureKind::Denied: return "access denied";
    case FailureKind::DiskFull: return "the disk is full";
    case FailureKind::PathTooLong: return "the path is too long";
    case FailureKind::Other: break;
  }
  return nullptr;
}

const char* Advice(FailureKind kind) {
  switch (kind) {
    case FailureKind::InUse:
      return "A file is in use: close the host application (and any program that uses the plug-in), "
             "then press Install again.";
    case FailureKind::Denied:
      return "Setup was not allowed to replace or create a file here. If a host application is running, "
             "close the host application and press Install again; otherwise choose another folder.";
    case FailureKind::DiskFull:
      return "The disk is full: free some space, or choose a folder on another disk, then press Install again.";
    case FailureKind::PathTooLong:
      return "The folder's path is too long: choose a folder with a shorter path.";
    case FailureKind::Other:
      break;
  }
  return "Press Install again; if it fails again, choose another folder.";
}

}  // namespace

FailureKind ClassifyFailure(std::uint32_t error) {
  switch (error) {
    case kErrorSharingViolation:
    case kErrorLockViolation:
    case kErrorUserMappedFile:
      return FailureKind::InUse;
    case kErrorAccessDenied:
    case kErrorWriteProtect:
      return FailureKind::Denied;
    case kErrorDiskFull:
    case kErrorHandleDiskFull:
      return FailureKind::DiskFull;
    case kErrorFileNameTooLong:
      return FailureKind::PathTooLong;
    default:
      return FailureKind::Other;
  }
}

void ComposeFailureMessage(char* out, std::size_t capacity, const PayloadOutcomes& outcomes, const char* folder) {
  if (capacity == 0) return;
  out[0] = '\0';

  // The advice comes last but is composed first, so that a long list of
  // files can never push it out of the message.
  bool seen[kKindCount] = {};
  for (int i = 0; i < outcomes.count && i < kMaxOutcomes; ++i)
    if (outcomes.items[i].kind == OutcomeKind::Failed)
      seen[static_cast<int>(ClassifyFailure(outcomes.items[i].error))] = true;
  char advice[1024] = "";
  for (int kind = 0; kind < kKindCount; ++kind) {
    if (!seen[kind]) continue;
    AppendWhole(advice, sizeof advice, "\n");
    AppendWhole(advice, sizeof advice, Advice(static_cast<FailureKind>(kind)));
  }
  if (!advice[0]) AppendWhole(advice, sizeof advice, Advice(FailureKind::Other));
  AppendWhole(advice, sizeof advice, "\n\nFiles that could not be written were left as they were.");

  const std::size_t adviceLength = std::strlen(advice);
  // Room for the list: everything but the advice and a line saying what was left out.
  const std::size_t listLimit = capacity > adviceLength + 48 ? capacity - adviceLength - 48 : 0;

  if (!AppendWhole(out, listLimit, "Setup could not install these files into the folder\n") ||
      !AppendWhole(out, listLimit, folder && folder[0] ? folder : "(no folder)") ||
      !AppendWhole(out, listLimit, "\n\n")) {
    CopyCut(out, capacity, "Setup could not install the plug-in into the chosen folder.\n");
  }

  int listed = 0;
  for (int i = 0; i < outcomes.count && i < kMaxOutcomes; ++i) {
    const PayloadOutcome& item = outcomes.items[i];
    if (item.kind != OutcomeKind::Failed) continue;
    const FailureKind kind = ClassifyFailure(item.error);
    const char* symptom = Symptom(kind);
    char line[600];
    std::snprintf(line, sizeof line, "    %s: %s (error %lu)\n", item.name[0] ? item.name : "(unnamed)",
                  symptom ? symptom : (item.reason && item.reason[0] ? item.reason : "not written"),
                  static_cast<unsigned long>(item.error));
    if (!AppendWhole(out, listLimit, line)) break;
    ++listed;
  }
  if (outcomes.failed > listed) {
    char more[48];
    std::snprintf(more, sizeof more, "    and %d more\n", outcomes.failed - listed);
    AppendWhole(out, capacity, more);
  }
  AppendWhole(out, capacity, advice);
}

void ComposeFolderMessage(char* out, std::size_t capacity, const char* folder, FolderProblem problem,
                          std::uint32_t error) {
  if (capacity == 0) return;
  out[0] = '\0';
  const char* failed = "Setup could not create the folder\n";
  const char* cause = nullptr;
  switch (problem) {
    case FolderProblem::CannotCreate:
      cause = error == kErrorPathNotFound ? "a folder above it is missing" : Symptom(ClassifyFailure(error));
      break;
    case FolderProblem::CannotEnter:
      failed = "Setup could not open the folder\n";
      cause = Symptom(ClassifyFailure(error));
      break;
    case FolderProblem::FileInItsPlace:
      cause = "a file of that name is in its place";
      break;
    case FolderProblem::LinkInItsPlace:
      failed = "Setup will not write into the folder\n";
      cause = "it is a link to another place";
      break;
  }
  char reason[96];
  std::snprintf(reason, sizeof reason, "\n\nReason: %s (error %lu).", cause ? cause : "system error",
                static_cast<unsigned long>(error));
  if (!AppendWhole(out, capacity, failed) ||
      !AppendWhole(out, capacity, folder && folder[0] ? folder : "(no folder)") ||
      !AppendWhole(out, capacity, reason) ||
      !AppendWhole(out, capacity, "\n\nPlease choose another folder and press Install again.")) {
    CopyCut(out, capacity, "Setup could not use the chosen folder. Please choose another folder.");
  }
}
