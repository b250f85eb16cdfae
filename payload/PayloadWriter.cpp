#include "PayloadWriter.h"

#include <cstdio>

#include "../common/bounded.h"
#include "PayloadOutcome.h"
#include "PresetRecords.h"
#include "ResourceName.h"
#include "SkipList.h"
#include "WriteRetry.h"

static_assert(kErrorAccessDenied == ERROR_ACCESS_DENIED, "access denied code");
static_assert(kErrorSharingViolation == ERROR_SHARING_VIOLATION, "sharing violation code");
static_assert(kErrorLockViolation == ERROR_LOCK_VIOLATION, "lock violation code");
static_assert(kErrorPathNotFound == ERROR_PATH_NOT_FOUND && kErrorWriteProtect == ERROR_WRITE_PROTECT &&
                  kErrorHandleDiskFull == ERROR_HANDLE_DISK_FULL && kErrorDiskFull == ERROR_DISK_FULL &&
                  kErrorFileNameTooLong == ERROR_FILENAME_EXCED_RANGE && kErrorUserMappedFile == ERROR_USER_MAPPED_FILE,
              "system error codes");


namespace {

// Runs step (true on success, the system error set otherwise) until it
// succeeds or the retry rule gives up; returns 0 or the last error.
template <typename Step>
DWORD WithRetries(WriteStep which, Step step) {
  for (int attempt = 1;; ++attempt) {
    if (step()) return 0;
    const DWORD error = GetLastError();
    if (!ShouldRetryWrite(which, error, attempt)) return error;
    Sleep(kWriteRetryPauseMs);
  }
}

// Writes all bytes to a new file and closes it; returns 0 or the system error.
DWORD WriteNewFile(const char* path, const void* bytes, DWORD size) {
  HANDLE file = INVALID_HANDLE_VALUE;
  const DWORD created = WithRetries(WriteStep::CreateTemporary, [&] {
    file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    return file != INVALID_HANDLE_VALUE;
  });
  if (created != 0) return created;
  DWORD error = 0;
  const BYTE* p = static_cast<const BYTE*>(bytes);
  DWORD left = size;
  while (left > 0 && error == 0) {
    DWORD done = 0;
    if (!WriteFile(file, p, left, &done, nullptr))
      error = GetLastError();
    else if (done == 0)
      error = ERROR_WRITE_FAULT;
    p += done;
    left -= done;
  }
  if (error == 0 && !FlushFileBuffers(file)) error = GetLastError();
  if (!CloseHandle(file) && error == 0) error = GetLastError();
  return error;
}

// Replaces destination with the bytes, or leaves it exactly as it was.
DWORD ReplaceFileAtomically(const char* destination, const void* bytes, DWORD size) {
  // A read-only file is the user's to keep. Windows refuses to replace it;
  // say so on every system rather than rely on the move.
  DWORD attributes = GetFileAttributesA(destination);
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)))
    return ERROR_ACCESS_DENIED;
  char temporary[kInstallFolderCapacity + 32];
  int n = std::snprintf(temporary, sizeof temporary, "%s.%lu.tmp", destination, GetCurrentProcessId());
  if (n <= 0 || n >= static_cast<int>(sizeof temporary)) return ERROR_FILENAME_EXCED_RANGE;
  DWORD error = WriteNewFile(temporary, bytes, size);
  if (error == 0)
    error = WithRetries(WriteStep::MoveIntoPlace, [&] {
      return MoveFileExA(temporary, destination, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
    });
  if (error != 0) DeleteFileA(temporary);
  return error;
}

// The enumerated name as an outcome records it: an integer name has no text.
const char* ShownName(LPCSTR name) { return IS_INTRESOURCE(name) ? "" : name; }

}  // namespace

BOOL CALLBACK ExtractPayloadResource(HMODULE module, LPCSTR, LPSTR name, LONG_PTR lParam) {
  const WORD type = LOWORD(lParam);
  HRSRC found = FindResourceA(module, name, MAKEINTRESOURCEA(type));
  if (!found) {
    RecordOutcome(OutcomeKind::Failed, ShownName(name), GetLastError(), "payload resource not found");
    return FALSE;
  }
  DWORD size = SizeofResource(module, found);
  if (size == 0) {
    RecordOutcome(OutcomeKind::Failed, ShownName(name), ERROR_INVALID_DATA, "payload resource is empty");
    return FALSE;
  }
  HGLOBAL loaded = LoadResource(module, found);
  const void* bytes = loaded ? LockResource(loaded) : nullptr;
  if (!bytes) {
    RecordOutcome(OutcomeKind::Failed, ShownName(name), GetLastError(), "payload resource not loaded");
    return FALSE;
  }

  char fileName[kResourceNameCapacity];
  if (IS_INTRESOURCE(name) || !CopyWhole(fileName, sizeof fileName, name) || !IsPrintableAsciiText(fileName)) {
    RecordOutcome(OutcomeKind::Failed, ShownName(name), ERROR_INVALID_NAME, "payload name is not a usable file name");
    return TRUE;
  }
  DecodeResourceName(fileName);

  if (InSkipList(fileName)) {
    RecordOutcome(OutcomeKind::Skipped, fileName, 0, "");
    return TRUE;
  }
  if (const PresetKind* kind = FindPresetKind(fileName)) {
    WritePresetBlock(*kind, bytes, size);
    return TRUE;
  }

  char destination[kInstallFolderCapacity];
  if (!CopyWhole(destination, sizeof destination, InstallFolder) ||
      !AppendWhole(destination, sizeof destination, fileName)) {
    RecordOutcome(OutcomeKind::Failed, fileName, ERROR_FILENAME_EXCED_RANGE, "destination path is too long");
    return TRUE;
  }
  DWORD error = ReplaceFileAtomically(destination, bytes, size);
  if (error == 0)
    RecordOutcome(OutcomeKind::Written, fileName, 0, "");
  else
    RecordOutcome(OutcomeKind::Failed, fileName, error, "file not written");
  return TRUE;
}
