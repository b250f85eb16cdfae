#include "InstallerSession.h"

#include <cstdlib>
#include <cstring>

namespace {

struct WindowSearch {
  DWORD processId;
  HWND found;
};

BOOL CALLBACK MatchProcessWindow(HWND window, LPARAM lParam) {
  auto* search = reinterpret_cast<WindowSearch*>(lParam);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  char className[32] = "";
  GetClassNameA(window, className, sizeof className);
  if (owner == search->processId && IsWindowVisible(window) && std::strcmp(className, "#32770") == 0 &&
      GetDlgItem(window, 1033)) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

struct OwnedSearch {
  HWND owner;
  const std::function<bool(HWND)>* accept;
  HWND found;
};

BOOL CALLBACK MatchOwnedDialog(HWND window, LPARAM lParam) {
  auto* search = reinterpret_cast<OwnedSearch*>(lParam);
  char className[32] = "";
  GetClassNameA(window, className, sizeof className);
  if (window != search->owner && GetWindow(window, GW_OWNER) == search->owner && IsWindowVisible(window) &&
      std::strcmp(className, "#32770") == 0 && (*search->accept)(window)) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

std::string Narrow(const wchar_t* text) {
  char buffer[1024] = "";
  WideCharToMultiByte(CP_ACP, 0, text, -1, buffer, sizeof buffer, nullptr, nullptr);
  buffer[sizeof buffer - 1] = '\0';
  return buffer;
}

}  // namespace

DWORD Patience(DWORD timeoutMs) {
  const char* factor = std::getenv("E2E_PATIENCE");
  const long times = factor ? std::strtol(factor, nullptr, 10) : 1;
  return times > 1 && times <= 100 ? timeoutMs * static_cast<DWORD>(times) : timeoutMs;
}

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  const DWORD limit = Patience(timeoutMs);
  for (;;) {
    if (condition()) return true;
    if (GetTickCount() - start > limit) return false;
    Sleep(20);
  }
}

HWND FindInstallerWindow(DWORD processId) {
  WindowSearch search{processId, nullptr};
  EnumWindows(MatchProcessWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

InstallerSession::~InstallerSession() {
  if (process_.hProcess) {
    if (Running()) {
      TerminateProcess(process_.hProcess, 99);
      WaitForSingleObject(process_.hProcess, 5000);
    }
    CloseHandle(process_.hProcess);
    CloseHandle(process_.hThread);
  }
}

bool InstallerSession::Start() {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  char commandLine[MAX_PATH + 3];
  std::strcpy(commandLine, "\"");
  std::strncat(commandLine, INSTALLER_EXE, MAX_PATH);
  std::strcat(commandLine, "\"");
  startTick_ = GetTickCount();
  return CreateProcessA(nullptr, commandLine, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process_) != 0;
}

bool InstallerSession::WaitForWindow(DWORD timeoutMs) {
  return WaitUntil([this] { return (window_ = FindInstallerWindow(process_.dwProcessId)) != nullptr; }, timeoutMs);
}

bool InstallerSession::WaitForExit(DWORD timeoutMs) {
  return WaitForSingleObject(process_.hProcess, Patience(timeoutMs)) == WAIT_OBJECT_0;
}

DWORD InstallerSession::ExitCode() const {
  DWORD code = 12345;
  GetExitCodeProcess(process_.hProcess, &code);
  return code;
}

bool InstallerSession::Running() const { return WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT; }

std::vector<std::string> InstallerSession::Entries() const {
  std::vector<std::string> entries;
  // The W messages: Wine marshals the ANSI text of another process's combo box badly.
  const LRESULT count = SendMessageW(DropDown(), CB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    const LRESULT length = SendMessageW(DropDown(), CB_GETLBTEXTLEN, i, 0);
    if (length < 0 || length > 1000) {
      entries.push_back("<bad length>");
      continue;
    }
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    SendMessageW(DropDown(), CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(&text[0]));
    entries.push_back(Narrow(text.c_str()));
  }
  return entries;
}

int InstallerSession::Selection() const { return static_cast<int>(SendMessageW(DropDown(), CB_GETCURSEL, 0, 0)); }

void InstallerSession::Click(int x, int y) const {
  const LPARAM at = MAKELPARAM(x, y);
  PostMessageA(window_, WM_MOUSEMOVE, 0, at);
  PostMessageA(window_, WM_LBUTTONDOWN, MK_LBUTTON, at);
  PostMessageA(window_, WM_LBUTTONUP, 0, at);
}

void InstallerSession::Key(UINT key) const {
  PostMessageA(window_, WM_KEYDOWN, key, 1);
  PostMessageA(window_, WM_KEYUP, key, 0xC0000001);
}

void InstallerSession::KeyOnDropDown(UINT key) const {
  PostMessageA(DropDown(), WM_KEYDOWN, key, 1);
  PostMessageA(DropDown(), WM_KEYUP, key, 0xC0000001);
}

HWND InstallerSession::FindOwnedDialog(const std::function<bool(HWND)>& accept) const {
  OwnedSearch search{window_, &accept, nullptr};
  EnumWindows(MatchOwnedDialog, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND InstallerSession::FindMessageBox() const {
  return FindOwnedDialog([](HWND box) { return GetDlgItem(box, 0xFFFF) != nullptr; });
}

HWND InstallerSession::FindFolderBrowser() const {
  return FindOwnedDialog([](HWND box) { return FindWindowExA(box, nullptr, "SysTreeView32", nullptr) != nullptr; });
}

std::string InstallerSession::MessageText(HWND box) {
  wchar_t text[1024] = L"";
  GetDlgItemTextW(box, 0xFFFF, text, 1024);
  return Narrow(text);
}
