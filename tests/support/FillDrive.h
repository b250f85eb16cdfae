#pragma once
// Fills a drive with one file until fewer than `leave` bytes are free, for
// the disk-full tests.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

inline void FillDrive(const char* root, const std::string& path, ULONGLONG leave) {
  ULARGE_INTEGER free{};
  ASSERT_TRUE(GetDiskFreeSpaceExA(root, &free, nullptr, nullptr));
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, file) << path;
  std::vector<char> chunk(4096, 'f');
  ULONGLONG toWrite = free.QuadPart > leave ? free.QuadPart - leave : 0;
  while (toWrite > 0) {
    DWORD n = static_cast<DWORD>(toWrite < chunk.size() ? toWrite : chunk.size()), done = 0;
    if (!WriteFile(file, chunk.data(), n, &done, nullptr) || done == 0) break;
    toWrite -= done;
  }
  CloseHandle(file);
}
