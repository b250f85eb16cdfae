#include "app/DesktopShell.h"

#include <exdisp.h>
#include <servprov.h>
#include <shldisp.h>
#include <shobjidl.h>

#include "common/ComApartment.h"
#include "common/SystemApi.h"

namespace {

// {9BA05972-F6A8-11CF-A442-00A0C90A8F39}: the shell's list of its windows,
// served by the desktop's process.
constexpr CLSID kShellWindows = {0x9ba05972, 0xf6a8, 0x11cf, {0xa4, 0x42, 0x00, 0xa0, 0xc9, 0x0a, 0x8f, 0x39}};
// {4C96BE40-915C-11CF-99D3-00AA004AE837}: the top-level browser service.
constexpr GUID kTopLevelBrowser = {0x4c96be40, 0x915c, 0x11cf, {0x99, 0xd3, 0x00, 0xaa, 0x00, 0x4a, 0xe8, 0x37}};

// One interface pointer, released when it goes out of scope.
template <typename T>
class Held {
 public:
  Held() = default;
  Held(const Held&) = delete;
  Held& operator=(const Held&) = delete;
  ~Held() {
    if (p_) p_->Release();
  }
  T** Out() { return &p_; }
  void** OutVoid() { return reinterpret_cast<void**>(&p_); }
  T* operator->() const { return p_; }
  T* get() const { return p_; }

 private:
  T* p_ = nullptr;
};

// A BSTR, freed when it goes out of scope.
class HeldString {
 public:
  HeldString(const AutomationApi& api, const wchar_t* text) : api_(api), s_(api.SysAllocString(text)) {}
  HeldString(const HeldString&) = delete;
  HeldString& operator=(const HeldString&) = delete;
  ~HeldString() {
    if (s_) api_.SysFreeString(s_);
  }
  BSTR get() const { return s_; }

 private:
  const AutomationApi& api_;
  BSTR s_;
};

// The desktop folder view's Application object: the shell's dispatch
// interface, living in the desktop's process. Walks the documented chain:
// shell windows -> the desktop window -> its top-level browser -> its
// active view -> the view's background object -> its Application.
bool FindDesktopShellDispatch(const ComApi& com, Held<IShellDispatch2>& shell, HWND* desktop) {
  Held<IShellWindows> windows;
  if (FAILED(com.CoCreateInstance(kShellWindows, nullptr, CLSCTX_LOCAL_SERVER, __uuidof(IShellWindows),
                                  windows.OutVoid())))
    return false;
  VARIANT anywhere;
  anywhere.vt = VT_EMPTY;
  VARIANT anyRoot;
  anyRoot.vt = VT_EMPTY;
  LONG window = 0;
  Held<IDispatch> desktopDispatch;
  if (windows->FindWindowSW(&anywhere, &anyRoot, SWC_DESKTOP, &window, SWFO_NEEDDISPATCH, desktopDispatch.Out()) !=
          S_OK ||
      !desktopDispatch.get())
    return false;
  *desktop = reinterpret_cast<HWND>(static_cast<LONG_PTR>(window));

  Held<IServiceProvider> services;
  Held<IShellBrowser> browser;
  Held<IShellView> view;
  Held<IDispatch> background;
  Held<IShellFolderViewDual> folderView;
  Held<IDispatch> application;
  return SUCCEEDED(desktopDispatch->QueryInterface(__uuidof(IServiceProvider), services.OutVoid())) &&
         SUCCEEDED(services->QueryService(kTopLevelBrowser, __uuidof(IShellBrowser), browser.OutVoid())) &&
         SUCCEEDED(browser->QueryActiveShellView(view.Out())) && view.get() &&
         SUCCEEDED(view->GetItemObject(SVGIO_BACKGROUND, __uuidof(IDispatch), background.OutVoid())) &&
         SUCCEEDED(background->QueryInterface(__uuidof(IShellFolderViewDual), folderView.OutVoid())) &&
         SUCCEEDED(folderView->get_Application(application.Out())) && application.get() &&
         SUCCEEDED(application->QueryInterface(__uuidof(IShellDispatch2), shell.OutVoid())) && shell.get();
}

}  // namespace

bool OpenThroughDesktopShell(const wchar_t* document, int show) {
  if (!JoinComApartment()) return false;
  const ComApi* com = ComFunctions();
  const AutomationApi* automation = AutomationFunctions();
  if (!com || !automation) return false;

  Held<IShellDispatch2> shell;
  HWND desktop = nullptr;
  if (!FindDesktopShellDispatch(*com, shell, &desktop)) return false;

  HeldString file(*automation, document);
  HeldString verb(*automation, L"open");
  if (!file.get() || !verb.get()) return false;
  VARIANT noArguments;
  noArguments.vt = VT_EMPTY;
  VARIANT noDirectory;
  noDirectory.vt = VT_EMPTY;
  VARIANT operation;
  operation.vt = VT_BSTR;
  operation.bstrVal = verb.get();
  VARIANT showCommand;
  showCommand.vt = VT_I4;
  showCommand.lVal = show;

  // The desktop's process starts the program; let it bring that program's
  // window to the front.
  DWORD desktopProcess = 0;
  if (desktop && GetWindowThreadProcessId(desktop, &desktopProcess) && desktopProcess)
    AllowSetForegroundWindow(desktopProcess);
  return SUCCEEDED(shell->ShellExecute(file.get(), noArguments, noDirectory, operation, showCommand));
}
