#pragma once
// One run of the installer exe, driven from outside as a user would: its
// window, its drop-down, mouse clicks at widget positions, keys, message
// boxes and the folder browser it opens.
#include <windows.h>

#include <functional>
#include <utility>
#include <string>
#include <vector>

#include "res/ResourceIds.h"
#include "tests/support/Picture.h"

class InstallerSession {
 public:
  // The installer under test, or a copy of it at exe, started in directory
  // (empty: this process's current directory).
  explicit InstallerSession(std::string exe = INSTALLER_EXE, std::string directory = "")
      : exe_(std::move(exe)), directory_(std::move(directory)) {}
  ~InstallerSession();

  // Starts the installer; false when the process cannot be created.
  bool Start();
  // Waits until the main window is shown; false after Patience(timeoutMs).
  bool WaitForWindow(DWORD timeoutMs = 20000);
  // Waits for the process to end; false after Patience(timeoutMs).
  bool WaitForExit(DWORD timeoutMs = 10000);
  DWORD ExitCode() const;
  bool Running() const;
  DWORD StartTick() const { return startTick_; }
  DWORD ProcessId() const { return process_.dwProcessId; }

  HWND Window() const { return window_; }
  HWND DropDown() const { return GetDlgItem(window_, IDC_FOLDER_DROPDOWN); }
  std::vector<std::string> Entries() const;
  int Selection() const;

  // A click at a client position: move, press, release.
  void Click(int x, int y) const;
  // A key pressed on the window (keyed to the dialog) or on the drop-down.
  void Key(UINT key) const;
  void KeyOnDropDown(UINT key) const;

  // Returns once the installer's thread has handled every message posted to
  // it before the call (clicks, keys of Key), what those posted in turn, and
  // the paint they left: before a check that something did not happen.
  // False when the thread does not come through within Patience(5000).
  bool Settle() const;

  Picture Capture() const { return CaptureClient(window_); }

  // A dialog owned by the installer's window: a message box (static text
  // 0xFFFF) or the folder browser. Null when none is shown.
  HWND FindMessageBox() const;
  HWND FindFolderBrowser() const;
  static std::string MessageText(HWND box);

 private:
  HWND FindOwnedDialog(const std::function<bool(HWND)>& accept) const;

  std::string exe_, directory_;
  PROCESS_INFORMATION process_{};
  HWND window_ = nullptr;
  DWORD startTick_ = 0;
  mutable LPARAM marker_ = 0;
};

// timeoutMs times E2E_PATIENCE (a whole number, 1 when unset): the waits of
// a run whose 32-bit programs are emulated (scripts/x86-emulated.sh) and run
// several times slower. What is awaited stays the same.
DWORD Patience(DWORD timeoutMs);

// Polls condition every 20 ms until it holds or Patience(timeoutMs) passes.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs = 5000);

// The first visible top-level window of a process that accept takes (any
// when accept is empty), or null.
HWND FindVisibleWindow(DWORD processId, const std::function<bool(HWND)>& accept = nullptr);
// Another process running the installer, started and left alone.
HWND FindInstallerWindow(DWORD processId);
