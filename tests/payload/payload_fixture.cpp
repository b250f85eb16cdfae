#include "payload_fixture.h"

#include <cstring>

#include "common/bounded.h"
#include "payload/PayloadOutcome.h"
#include "payload/PayloadWriter.h"
#include "payload/SkipList.h"

namespace {
void EmptyFolder(const std::string& folder) {
  WIN32_FIND_DATAA found;
  HANDLE find = FindFirstFileA((folder + "*").c_str(), &found);
  if (find == INVALID_HANDLE_VALUE) return;
  do {
    std::string path = folder + found.cFileName;
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
      SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
      DeleteFileA(path.c_str());
    }
  } while (FindNextFileA(find, &found));
  FindClose(find);
}
}  // namespace

std::string FreshFolder(const char* name) {
  CreateDirectoryA("C:\\payload-tests", nullptr);
  std::string folder = std::string("C:\\payload-tests\\") + name + "\\";
  CreateDirectoryA(folder.c_str(), nullptr);
  EmptyFolder(folder);
  return folder;
}

bool FileExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

Bytes ReadFileBytes(const std::string& path) {
  Bytes bytes;
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return bytes;
  DWORD size = GetFileSize(file, nullptr);
  bytes.resize(size);
  DWORD done = 0;
  if (size) ReadFile(file, bytes.data(), size, &done, nullptr);
  bytes.resize(done);
  CloseHandle(file);
  return bytes;
}

void WriteFileBytes(const std::string& path, const Bytes& bytes) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD done = 0;
  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr);
  CloseHandle(file);
}

Bytes ResourceBytes(int type, const char* name) {
  HMODULE self = GetModuleHandleA(nullptr);
  HRSRC found = FindResourceA(self, name, MAKEINTRESOURCEA(type));
  if (!found) return {};
  const unsigned char* p = static_cast<const unsigned char*>(LockResource(LoadResource(self, found)));
  return Bytes(p, p + SizeofResource(self, found));
}

int CountTemporaryFiles(const std::string& folder) {
  WIN32_FIND_DATAA found;
  HANDLE find = FindFirstFileA((folder + "*.tmp").c_str(), &found);
  if (find == INVALID_HANDLE_VALUE) return 0;
  int count = 0;
  do ++count;
  while (FindNextFileA(find, &found));
  FindClose(find);
  return count;
}

BOOL InstallType(const std::string& folder, int type) {
  CopyCut(InstallFolder, sizeof InstallFolder, folder.c_str());
  ClearOutcomes();
  return EnumResourceNamesA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(type), ExtractPayloadResource, type);
}
