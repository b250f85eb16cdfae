#include "tests/support/TestFiles.h"

#include <cstdio>
#include <cstring>

namespace {

std::string WithBackslash(const std::string& folder) {
  return !folder.empty() && folder.back() != '\\' ? folder + '\\' : folder;
}

void DeleteFileAnyway(const std::string& path) {
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  DeleteFileA(path.c_str());
}

// Calls visit(name, attributes) for every entry of folder but "." and "..".
template <typename Visit>
void ForEachEntry(const std::string& folder, const char* pattern, Visit visit) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((WithBackslash(folder) + pattern).c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    if (!std::strcmp(found.cFileName, ".") || !std::strcmp(found.cFileName, "..")) continue;
    visit(std::string(found.cFileName), found.dwFileAttributes);
  } while (FindNextFileA(search, &found));
  FindClose(search);
}

}  // namespace

bool MakeFolders(const std::string& folder) {
  for (std::size_t at = 3; at <= folder.size(); ++at) {
    if (at == folder.size() || folder[at] == '\\' || folder[at] == '/') {
      const std::string level = folder.substr(0, at);
      if (!CreateDirectoryA(level.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) return false;
    }
  }
  return Exists(folder);
}

bool RemoveTree(const std::string& folder) {
  const std::string base = WithBackslash(folder);
  ForEachEntry(base, "*", [&](const std::string& name, DWORD attributes) {
    if (attributes & FILE_ATTRIBUTE_DIRECTORY)
      RemoveTree(base + name);
    else
      DeleteFileAnyway(base + name);
  });
  const std::string path = base.substr(0, base.size() - 1);
  RemoveDirectoryA(path.c_str());
  return !Exists(path);
}

void EmptyFolder(const std::string& folder) {
  const std::string base = WithBackslash(folder);
  ForEachEntry(base, "*", [&](const std::string& name, DWORD attributes) {
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) DeleteFileAnyway(base + name);
  });
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool ReadFileBytes(const std::string& path, Bytes* bytes) {
  // Shared for writing too: a file the installer or a test holds open can still be read.
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                            0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  bytes->clear();
  unsigned char chunk[65536];
  DWORD done = 0;
  bool ok = true;
  while ((ok = ReadFile(file, chunk, sizeof chunk, &done, nullptr) != FALSE) && done > 0)
    bytes->insert(bytes->end(), chunk, chunk + done);
  CloseHandle(file);
  return ok;
}

Bytes ReadFileBytes(const std::string& path) {
  Bytes bytes;
  if (!ReadFileBytes(path, &bytes)) bytes.clear();
  return bytes;
}

bool WriteFileBytes(const std::string& path, const Bytes& bytes) {
  FILE* out = std::fopen(path.c_str(), "wb");
  if (!out) return false;
  const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
  return std::fclose(out) == 0 && ok;
}

bool WriteFileText(const std::string& path, const std::string& text) {
  return WriteFileBytes(path, Bytes(text.begin(), text.end()));
}

std::string ReadFileText(const std::string& path) {
  Bytes bytes;
  if (!ReadFileBytes(path, &bytes)) return "<missing>";
  return std::string(bytes.begin(), bytes.end());
}

std::vector<std::string> FilesIn(const std::string& folder, const char* pattern) {
  std::vector<std::string> names;
  ForEachEntry(folder, pattern, [&](const std::string& name, DWORD attributes) {
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(name);
  });
  return names;
}
