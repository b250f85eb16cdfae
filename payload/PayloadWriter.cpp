#include "PayloadWriter.h"

#include <windows.h>
#include <ntsecapi.h>

#include <cstdint>
#include <cstring>

#include "../common/LinkChecks.h"
#include "../common/SystemLibrary.h"
#include "../common/bounded.h"
#include "PayloadOutcome.h"
#include "PresetRecords.h"
#include "ResourceName.h"
#include "SkipList.h"
#include "TemporaryName.h"
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

// SetFileInformationByHandle, where the system has it.
using SetFileInformationFn = BOOL(WINAPI*)(HANDLE, int, LPVOID, DWORD);
constexpr int kFileRenameInfo = 3;
constexpr int kFileDispositionInfo = 4;

// 64 bits from the system's random generator. Should it fail, the clock and
// the process id still give a name that changes with every call; the name
// is then guessable, but a name that is taken is never opened anyway.
std::uint64_t RandomBits() {
  std::uint64_t value = 0;
  if (RtlGenRandom(&value, sizeof value)) return value;
  static std::uint64_t calls;
  LARGE_INTEGER counter = {};
  QueryPerformanceCounter(&counter);
  value = static_cast<std::uint64_t>(counter.QuadPart) ^ (static_cast<std::uint64_t>(GetCurrentProcessId()) << 32) ^
          (++calls * 0x9E3779B97F4A7C15ull);
  value ^= value >> 31;
  value *= 0xBF58476D1CE4E5B9ull;
  return value ^ (value >> 29);
}

// The temporary file beside a destination, open for writing and for the
// move. Its name is drawn at random; a name that something already has
// (a file, a folder, a link) is never opened, only skipped for another.
class TemporaryFile {
 public:
  TemporaryFile() = default;
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;
  // Deletes the file unless it was moved into place.
  ~TemporaryFile() { Discard(); }

  DWORD Create(const char* destination) {
    for (int attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
      if (!ComposeTemporaryName(name_, sizeof name_, destination, RandomBits())) return ERROR_FILENAME_EXCED_RANGE;
      // CREATE_NEW with the reparse-point flag: only a name that nothing has
      // is created, and a link at the name is the name's owner, not a way
      // through. No sharing: nobody opens, links or renames it meanwhile.
      const DWORD error = WithRetries(WriteStep::CreateTemporary, [&] {
        handle_ = CreateFileA(name_, GENERIC_WRITE | FILE_READ_ATTRIBUTES | DELETE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
        return handle_ != INVALID_HANDLE_VALUE;
      });
      // Taken. Wine answers "not found" for a link whose target is missing.
      if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_NOT_FOUND) continue;
      if (error != 0) return error;
      if (IsPlainSingleFile(handle_)) return 0;
      Discard();
    }
    // Every name drawn was taken, or not a plain file once made: this folder
    // cannot be written safely.
    return ERROR_FILE_EXISTS;
  }

  DWORD Write(const void* bytes, DWORD size) {
    const BYTE* p = static_cast<const BYTE*>(bytes);
    DWORD left = size;
    while (left > 0) {
      DWORD done = 0;
      if (!WriteFile(handle_, p, left, &done, nullptr)) return GetLastError();
      if (done == 0) return ERROR_WRITE_FAULT;
      p += done;
      left -= done;
    }
    return FlushFileBuffers(handle_) ? 0 : GetLastError();
  }

  // Moves the very file that was written over destination: a link there is
  // replaced, never written through. Through the open handle where the
  // system can, so nothing can be swapped in under the name in between;
  // elsewhere by name once the file is closed.
  DWORD MoveOver(const char* destination) {
    if (auto setInformation = Kernel32Function<SetFileInformationFn>("SetFileInformationByHandle")) {
      RenameInformation rename;
      if (!FillRename(rename, destination)) return ERROR_FILENAME_EXCED_RANGE;
      const DWORD error = WithRetries(WriteStep::MoveIntoPlace, [&] {
        return setInformation(handle_, kFileRenameInfo, &rename, sizeof rename) != FALSE;
      });
      if (error == 0) {
        CloseHandle(handle_);
        handle_ = INVALID_HANDLE_VALUE;
        name_[0] = '\0';
      }
      return error;
    }
    if (!CloseHandle(handle_)) return GetLastError();
    handle_ = INVALID_HANDLE_VALUE;
    const DWORD error = WithRetries(WriteStep::MoveIntoPlace, [&] {
      return MoveFileExA(name_, destination, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
    });
    if (error == 0) name_[0] = '\0';
    return error;
  }

 private:
  // FILE_RENAME_INFO with room for the longest destination, named by its
  // NT path so that every system takes it as it is.
  struct RenameInformation {
    BOOLEAN replaceIfExists;
    HANDLE rootDirectory;
    DWORD fileNameLength;
    WCHAR fileName[kInstallFolderCapacity + 16];
  };

  static bool FillRename(RenameInformation& rename, const char* destination) {
    rename.replaceIfExists = TRUE;
    rename.rootDirectory = nullptr;
    const bool unc = destination[0] == '\\' && destination[1] == '\\';
    const wchar_t* prefix = unc ? L"\\??\\UNC" : L"\\??\\";
    const int prefixLength = unc ? 7 : 4;
    const int capacity = static_cast<int>(sizeof rename.fileName / sizeof rename.fileName[0]);
    std::memcpy(rename.fileName, prefix, prefixLength * sizeof(WCHAR));
    // Converted as the system's ANSI calls convert the name they are given.
    const int converted = MultiByteToWideChar(CP_ACP, 0, unc ? destination + 1 : destination, -1,
                                              rename.fileName + prefixLength, capacity - prefixLength);
    if (converted <= 1) return false;
    rename.fileNameLength = static_cast<DWORD>((prefixLength + converted - 1) * sizeof(WCHAR));
    return true;
  }

  // Deletes the file this writer made, by its handle where the system can:
  // whatever the name points at by now, only that file goes.
  void Discard() {
    if (handle_ != INVALID_HANDLE_VALUE) {
      auto setInformation = Kernel32Function<SetFileInformationFn>("SetFileInformationByHandle");
      BOOLEAN deleteFile = TRUE;
      const bool deleted = setInformation && setInformation(handle_, kFileDispositionInfo, &deleteFile, sizeof deleteFile);
      CloseHandle(handle_);
      handle_ = INVALID_HANDLE_VALUE;
      if (deleted) name_[0] = '\0';
    }
    if (name_[0]) DeleteFileA(name_);
    name_[0] = '\0';
  }

  HANDLE handle_ = INVALID_HANDLE_VALUE;
  char name_[kInstallFolderCapacity + kTemporarySuffixLength + 1] = "";
};

// Replaces destination with the bytes, or leaves it exactly as it was.
DWORD ReplaceFileAtomically(const char* destination, const void* bytes, DWORD size) {
  // A read-only file is the user's to keep. Windows refuses to replace it;
  // say so on every system rather than rely on the move.
  DWORD attributes = GetFileAttributesA(destination);
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)))
    return ERROR_ACCESS_DENIED;
  TemporaryFile temporary;
  DWORD error = temporary.Create(destination);
  if (error == 0) error = temporary.Write(bytes, size);
  if (error == 0) error = temporary.MoveOver(destination);
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
