#pragma once
// The system error codes that the rules tell apart, as numbers, so that the
// files without <windows.h> can name them. Checked against the system's own
// values where <windows.h> is at hand (payload/PayloadWriter.cpp).
#include <cstdint>

constexpr std::uint32_t kErrorPathNotFound = 3;         // ERROR_PATH_NOT_FOUND
constexpr std::uint32_t kErrorAccessDenied = 5;         // ERROR_ACCESS_DENIED
constexpr std::uint32_t kErrorWriteProtect = 19;        // ERROR_WRITE_PROTECT
constexpr std::uint32_t kErrorSharingViolation = 32;    // ERROR_SHARING_VIOLATION
constexpr std::uint32_t kErrorLockViolation = 33;       // ERROR_LOCK_VIOLATION
constexpr std::uint32_t kErrorHandleDiskFull = 39;      // ERROR_HANDLE_DISK_FULL
constexpr std::uint32_t kErrorDiskFull = 112;           // ERROR_DISK_FULL
constexpr std::uint32_t kErrorFileNameTooLong = 206;    // ERROR_FILENAME_EXCED_RANGE
constexpr std::uint32_t kErrorUserMappedFile = 1224;    // ERROR_USER_MAPPED_FILE
constexpr std::uint32_t kErrorReparsePoint = 4395;      // ERROR_REPARSE_POINT_ENCOUNTERED
