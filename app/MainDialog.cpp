#include "app/MainDialog.h"

#include "app/DialogSetup.h"
#include "app/DialogState.h"
#include "app/FolderChooser.h"
#include "app/HelpPage.h"
#include "app/InstallCommand.h"
#include "app/WidgetSlots.h"
#include "jui/JElement.h"
#include "jui/PanelScopes.h"
#include "jui/TextDrawing.h"

namespace {

constexpr char kFolderCaption[] = "Select folder where setup will install files:";
constexpr UINT kDpiChangedMessage = 0x02E0;  // WM_DPICHANGED

using Handler = INT_PTR (*)(HWND window, WPARAM wParam, LPARAM lParam);

struct Route {
  UINT key;  // message, command id or widget notification
  Handler handler;
};

template <int N>
const Route* FindRoute(const Route (&routes)[N], UINT key) {
  for (const Route& route : routes)
    if (route.key == key) return &route;
  return nullptr;
}

// --- WM_COMMAND ----------------------------------------------------------

INT_PTR RunInstall(HWND window, WPARAM, LPARAM) { return OnInstallCommand(window); }

INT_PTR CloseDialog(HWND window, WPARAM, LPARAM) {
  EndDialog(window, 0);
  return TRUE;
}

INT_PTR FolderDropDownChanged(HWND window, WPARAM wParam, LPARAM) {
  OnFolderDropDown(window, HIWORD(wParam));
  return FALSE;
}

const Route kCommands[] = {
    {kCommandInstall, RunInstall},
    {kCommandClose, CloseDialog},
    {kFolderDropDownId, FolderDropDownChanged},
};

// --- WM_JNOTIFY ----------------------------------------------------------

INT_PTR InstallClicked(HWND window, WPARAM, LPARAM) {
  SendMessageA(window, WM_COMMAND, kCommandInstall, 0);
  return FALSE;
}

INT_PTR CloseClicked(HWND window, WPARAM, LPARAM) {
  SendMessageA(window, WM_COMMAND, kCommandClose, 0);
  return FALSE;
}

INT_PTR OpenHelpPage(HWND window, WPARAM, LPARAM) {
  ShowHelpPage(window);
  return FALSE;
}

INT_PTR ComponentSelectorChanged(HWND window, WPARAM, LPARAM) {
  UpdateInstallButton(window);
  return FALSE;
}

const Route kNotifications[] = {
    {kNotifyInstall, InstallClicked},
    {kNotifyClose, CloseClicked},
    {kNotifyHelpPage, OpenHelpPage},
    {kNotifyComponentSelector, ComponentSelectorChanged},
};

// --- messages ------------------------------------------------------------

INT_PTR OnInitDialog(HWND window, WPARAM, LPARAM) {
  InitialiseMainDialog(window);
  return FALSE;  // the dialog manager sets no initial focus
}

INT_PTR OnPaint(HWND, WPARAM, LPARAM) {
  JPanel* panel = MainPanel();
  PanelPaint paint(panel);
  panel->PaintAll();
  if (InstallDone == 0) DrawStaticText(kFolderCaption, WindowLayout.captionTop);
  return FALSE;
}

INT_PTR OnCommand(HWND window, WPARAM wParam, LPARAM lParam) {
  const Route* route = FindRoute(kCommands, LOWORD(wParam));
  return route ? route->handler(window, wParam, lParam) : FALSE;
}

INT_PTR OnWidgetNotify(HWND window, WPARAM wParam, LPARAM lParam) {
  const Route* route = FindRoute(kNotifications, static_cast<UINT>(wParam));
  if (route) route->handler(window, wParam, lParam);
  return FALSE;
}

// Moved to a display of another scale: wParam carries the new dots per inch,
// lParam the rectangle the system suggests.
INT_PTR OnDpiChanged(HWND window, WPARAM wParam, LPARAM lParam) {
  const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
  if (suggested) RescaleMainDialog(window, LOWORD(wParam), *suggested);
  return TRUE;
}

INT_PTR OnBrowseAgainMessage(HWND window, WPARAM wParam, LPARAM) {
  if (InstallDone == 0) OnBrowseAgain(window, wParam);
  return FALSE;
}

const Route kMessages[] = {
    {WM_INITDIALOG, OnInitDialog},
    {WM_PAINT, OnPaint},
    {WM_COMMAND, OnCommand},
    {WM_JNOTIFY, OnWidgetNotify},
    {WM_BROWSE_AGAIN, OnBrowseAgainMessage},
    {kDpiChangedMessage, OnDpiChanged},
};

}  // namespace

INT_PTR CALLBACK MainDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  JPanel* panel = MainPanel();
  INT_PTR keyboardResult = FALSE;
  if (panel && panel->DispatchKeyboard(window, message, wParam, lParam, &keyboardResult)) return keyboardResult;
  if (panel && panel->DispatchMouse(window, message, wParam, lParam)) return FALSE;
  const Route* route = FindRoute(kMessages, message);
  return route ? route->handler(window, wParam, lParam) : FALSE;
}

void UpdateInstallButton(HWND window) {
  JButton* install = SlotButton(kSlotInstallButton);
  if (!install) return;
  if (SumSelectorValues() != 0) {
    if (install->visible == 0) install->Show(1);
    return;
  }
  if (install->visible != 0) install->Show(0);
  InvalidateRect(window, &install->bounds, TRUE);
}
