#include "tests/support/InstallerSession.h"

#include <cstdlib>
#include <cstring>

namespace {

struct WindowSearch {
  const std::function<bool(HWND)>* accept;
  HWND found;
};

BOOL CALLBACK MatchVisibleWindow(HWND window, LPARAM lParam) {
  auto* search = reinterpret_cast<WindowSearch*>(lParam);
  if (IsWindowVisible(window) && (*search->accept)(window)) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

// The first visible top-level window that accept takes, or null.
HWND FindTopLevel(const std::function<bool(HWND)>& accept) {
  WindowSearch search{&accept, nullptr};
  EnumWindows(MatchVisibleWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

bool IsDialog(HWND window) {
  char className[32] = "";
  GetClassNameA(window, className, sizeof className);
  return std::strcmp(className, "#32770") == 0;
}

// The installer's main window: a dialog with the folder drop-down.
bool IsInstallerDialog(HWND window) { return IsDialog(window) && GetDlgItem(window, IDC_FOLDER_DROPDOWN); }

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

HWND FindVisibleWindow(DWORD processId, const std::function<bool(HWND)>& accept) {
  return FindTopLevel([&](HWND window) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    return owner == processId && (!accept || accept(window));
  });
}

HWND FindInstallerWindow(DWORD processId) { return FindVisibleWindow(processId, IsInstallerDialog); }

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
  std::string commandLine = "\"" + exe_ + "\"";
  startTick_ = GetTickCount();
  return CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                        directory_.empty() ? nullptr : directory_.c_str(), &startup, &process_) != 0;
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

// A marker posted behind what is queued: the item data of the drop-down's
// first entry, which the installer never reads. Twice, so that what the
// first round's messages posted is handled too.
bool InstallerSession::Settle() const {
  for (int round = 0; round < 2; ++round) {
    const LPARAM marker = ++marker_;
    if (!PostMessageW(DropDown(), CB_SETITEMDATA, 0, marker)) return false;
    if (!WaitUntil([&] { return SendMessageW(DropDown(), CB_GETITEMDATA, 0, 0) == marker; })) return false;
  }
  return UpdateWindow(window_) != 0;  // a paint still pending is done now, in the installer's thread
}

HWND InstallerSession::FindOwnedDialog(const std::function<bool(HWND)>& accept) const {
  return FindTopLevel([&](HWND window) {
    return window != window_ && GetWindow(window, GW_OWNER) == window_ && IsDialog(window) && accept(window);
  });
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
