#include "app/DialogSetup.h"

#include <oleacc.h>

#include "app/DialogState.h"
#include "app/FolderChooser.h"
#include "app/MainLayout.h"
#include "app/MakerSite.h"
#include "app/WidgetSlots.h"
#include "discovery/HostDiscovery.h"
#include "jui/Attach.h"
#include "jui/DisplayScale.h"
#include "jui/JAncor.h"
#include "jui/JButton.h"
#include "jui/JContext.h"
#include "jui/JSelector.h"
#include "jui/PanelScopes.h"
#include "jui/RectConversion.h"
#include "jui/ScaleRules.h"
#include "app/CompletionScreen.h"
#include "res/ResourceIds.h"

namespace {

constexpr COLORREF kHoverTextColour = 0xFFFFFF;
constexpr COLORREF kFocusCueDark = RGB(0x31, 0x40, 0x51);  // the slate of the bottom bar

// The component selector: a toggle-mode check box (values 0 and 2 stable).
constexpr int kSelectorLabelDx = 20;  // the label 20 right of the box, level with its top
constexpr int kSelectorLabelDy = 0;
// The selector takes its label's place packed: dx and dy in 16-bit halves, each plus 0x8000.
constexpr unsigned kLabelBias = 0x8000;
constexpr int kSelectorCount = -3;
constexpr int kSelectorChecked = 2;
constexpr char kComponentKey[] = "iRelief";

// A button placed at a point, sized by its bitmap, the same picture for both looks.
JButton* NewButton(const char* hoverText, LayoutPoint at, unsigned bitmap, int commandId) {
  return new JButton(&MainContext, hoverText, MakeRect(at.x, at.y, 0, 0), bitmap, bitmap, commandId);
}

// The label placement at the display's scale: two halves, each biased by 0x8000
// (0x80148000 at 100 %).
unsigned SelectorLabelPlacement(int dpi) {
  return static_cast<unsigned>(ScaledLength(kSelectorLabelDx, dpi) + kLabelBias) << 16 |
         static_cast<unsigned>(ScaledLength(kSelectorLabelDy, dpi) + kLabelBias);
}

RECT SelectorRect(const MainLayout& layout) {
  const RECT rect = {layout.selector.left, layout.selector.top, layout.selector.right, layout.selector.bottom};
  return rect;
}

void CreateWidgets(const MainLayout& layout) {
  for (int slot = 0; slot <= kSlotLastWidget; ++slot) ElementSlots[slot] = nullptr;

  ElementSlots[kSlotExitButton] = NewButton("", layout.exitButton, IDB_EXIT_BUTTON, kNotifyClose);
  ElementSlots[kSlotInstallButton] = NewButton("", layout.installButton, IDB_INSTALL_BUTTON, kNotifyInstall);

  JButton* finish = NewButton("", layout.finishButton, IDB_FINISH_BUTTON, kNotifyClose);
  ElementSlots[kSlotFinishButton] = finish;
  finish->Show(0);

  JButton* indicator32 = NewButton("Install 32-bit version", layout.indicator32, IDB_INDICATOR32, 0);
  ElementSlots[kSlotIndicator32] = indicator32;
  indicator32->Show(0);

  JButton* indicator64 = NewButton("Install 64-bit version", layout.indicator64, IDB_INDICATOR64, 0);
  ElementSlots[kSlotIndicator64] = indicator64;
  indicator64->Show(0);

  ElementSlots[kSlotSiteLink] = new JAncor(&MainContext, kWebHoverText,
                                           MakeRect(layout.siteLink.x, layout.siteLink.y, 0, 0), kWebHost,
                                           kNotifyHelpPage);

  // Drawn straight over the background after the install; never clickable.
  JButton* picture = NewButton("", layout.completionPicture, IDB_COMPLETION_PICTURE, kCommandInstall);
  ElementSlots[kSlotCompletionPicture] = picture;
  picture->drawDirect = 1;
  picture->active = 0;
  picture->visible = 0;

  JSelector* selector =
      new JSelector(&MainContext, "Select to install iRelief filter", SelectorRect(layout), IDB_CHECK_BOX_STRIP,
                    SelectorLabelPlacement(MainContext.dpi), "iRelief plug-in", 0, kSelectorCount,
                    kNotifyComponentSelector, 0, kComponentKey);
  ElementSlots[kSlotFirstSelector] = selector;
  selector->value = kSelectorChecked;
}

// The widgets placed again at the context's scale, keeping their state.
void PlaceWidgets(const MainLayout& layout) {
  struct Placed {
    int slot;
    LayoutPoint at;
    unsigned bitmap;
  };
  const Placed buttons[] = {
      {kSlotExitButton, layout.exitButton, IDB_EXIT_BUTTON},
      {kSlotInstallButton, layout.installButton, IDB_INSTALL_BUTTON},
      {kSlotFinishButton, layout.finishButton, IDB_FINISH_BUTTON},
      {kSlotIndicator32, layout.indicator32, IDB_INDICATOR32},
      {kSlotIndicator64, layout.indicator64, IDB_INDICATOR64},
      {kSlotCompletionPicture, layout.completionPicture, IDB_COMPLETION_PICTURE},
  };
  for (const Placed& b : buttons)
    if (JButton* button = SlotButton(b.slot))
      button->Place(MakeRect(b.at.x, b.at.y, 0, 0), b.bitmap, b.bitmap, button->commandId);
  if (JAncor* link = static_cast<JAncor*>(ElementSlots[kSlotSiteLink]))
    SetRect(&link->linkRect, layout.siteLink.x, layout.siteLink.y, layout.siteLink.x, layout.siteLink.y);
  if (JSelector* selector = SlotSelector(kSlotFirstSelector))
    selector->Place(SelectorRect(layout), IDB_CHECK_BOX_STRIP, SelectorLabelPlacement(MainContext.dpi));
}

// The layout of the background just attached, at the context's scale, made
// the window's: status rectangle and the caption's left edge.
void TakeLayout(int* width, int* height) {
  *width = 0;
  *height = 0;
  if (MainContext.background) {
    *width = MainContext.background->width;
    *height = MainContext.background->height;
  }
  WindowLayout = ScaledMainLayout(*width, *height, MainContext.dpi);
  SetTextLeft(WindowLayout.statusRect.left);
  const LayoutRect& status = WindowLayout.statusRect;
  SetRect(&MainContext.statusRect, status.left, status.top, status.right, status.bottom);
}

// The drop-down's font at the new scale, from the one it has.
void ScaleControlFont(HWND control, int oldDpi, int newDpi) {
  HFONT font = reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0));
  LOGFONTA description = {};
  if (!font || !GetObjectA(font, sizeof description, &description)) return;
  description.lfHeight = MulDiv(description.lfHeight, newDpi, oldDpi);
  // Lives for the run, as the toolkit's fonts do: the control keeps using it.
  SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(CreateFontIndirectA(&description)), TRUE);
}

// What the keyboard and assistive technology find on the window: the names
// and roles of the widgets, and one order for both screens, in visual order.
// Tab skips what a screen hides, so it runs drop-down, check box, Install,
// Exit, link while choosing, and Finish, link once installed.
void DescribeWidgets(HWND window) {
  JElement* exit = SlotElement(kSlotExitButton);
  JElement* install = SlotElement(kSlotInstallButton);
  JElement* finish = SlotElement(kSlotFinishButton);
  JElement* link = SlotElement(kSlotSiteLink);
  JElement* picture = SlotElement(kSlotCompletionPicture);
  JElement* indicator32 = SlotElement(kSlotIndicator32);
  JElement* indicator64 = SlotElement(kSlotIndicator64);
  JElement* selector = SlotElement(kSlotFirstSelector);

  exit->SetAccessible(ROLE_SYSTEM_PUSHBUTTON, "Exit");
  install->SetAccessible(ROLE_SYSTEM_PUSHBUTTON, "Install");
  finish->SetAccessible(ROLE_SYSTEM_PUSHBUTTON, "Finish");
  link->SetAccessible(ROLE_SYSTEM_LINK, kWebHost);
  selector->SetAccessible(ROLE_SYSTEM_CHECKBUTTON, "iRelief plug-in");
  indicator32->SetAccessible(ROLE_SYSTEM_GRAPHIC, "32-bit build will be installed", "32-bit build will not be installed");
  indicator64->SetAccessible(ROLE_SYSTEM_GRAPHIC, "64-bit build will be installed", "64-bit build will not be installed");
  picture->SetAccessible(ROLE_SYSTEM_STATICTEXT, "iRelief has been installed");
  indicator32->focusable = 0;
  indicator64->focusable = 0;
  picture->focusable = 0;

  const JTabStop order[] = {
      {nullptr, GetDlgItem(window, kFolderDropDownId)},
      {selector, nullptr},
      {install, nullptr},
      {exit, nullptr},
      {finish, nullptr},
      {link, nullptr},
      {indicator32, nullptr},
      {indicator64, nullptr},
      {picture, nullptr},
  };
  MainPanel()->focusOrder.Set(order, sizeof order / sizeof order[0]);
}

// Makes the client area exactly the background's size, keeping the centre.
void SizeAndCentre(HWND window, int width, int height) {
  RECT windowRect;
  RECT clientRect;
  GetWindowRect(window, &windowRect);
  GetClientRect(window, &clientRect);
  const WindowPlacement placement =
      CentredPlacement({windowRect.left, windowRect.top, windowRect.right, windowRect.bottom},
                       {clientRect.left, clientRect.top, clientRect.right, clientRect.bottom}, width, height);
  MoveWindow(window, placement.left, placement.top, placement.width, placement.height, TRUE);
}

}  // namespace

void InitialiseMainDialog(HWND window) {
  InstallDone = 0;

  int width = 0;
  int height = 0;
  {
    // Attach and the widgets load their bitmaps against this DC.
    LentPaintDC windowDC(&MainContext, window);

    // Everything is drawn at the scale of the display the window opens on.
    SetDisplayDpi(&MainContext, WindowDpi(window));
    const RECT provisionalStatus = {0, 0, 100, 20};
    Attach(window, IDB_BACKGROUND, IDC_LINK_CURSOR, &provisionalStatus);
    HoverTextColor = kHoverTextColour;
    FocusCueDark = kFocusCueDark;
    TakeLayout(&width, &height);

    CreateWidgets(WindowLayout);
    DescribeWidgets(window);
    FillBrowseSettings(window);
    DiscoverHostFolders();
    FillFolderDropDown(window);
  }

  MoveWindow(GetDlgItem(window, kFolderDropDownId), WindowLayout.dropDownLeft, WindowLayout.dropDownTop,
             WindowLayout.dropDownWidth, WindowLayout.dropDownHeight, TRUE);
  SizeAndCentre(window, width, height);
}

void RescaleMainDialog(HWND window, int dpi, const RECT& suggested) {
  const int oldDpi = MainContext.dpi > 0 ? MainContext.dpi : kDesignDpi;
  if (dpi <= 0 || dpi == oldDpi) return;
  LentPaintDC windowDC(&MainContext, window);
  SetDisplayDpi(&MainContext, dpi);
  const RECT provisionalStatus = {0, 0, 100, 20};
  Attach(window, IDB_BACKGROUND, IDC_LINK_CURSOR, &provisionalStatus);
  int width = 0;
  int height = 0;
  TakeLayout(&width, &height);
  PlaceWidgets(WindowLayout);

  // The suggested rectangle's corner; the size exactly the new background's.
  RECT windowRect;
  RECT clientRect;
  GetWindowRect(window, &windowRect);
  GetClientRect(window, &clientRect);
  const int frameWidth = (windowRect.right - windowRect.left) - clientRect.right;
  const int frameHeight = (windowRect.bottom - windowRect.top) - clientRect.bottom;
  MoveWindow(window, suggested.left, suggested.top, width + frameWidth, height + frameHeight, FALSE);
  // The back buffer follows the window's new size.
  if (JPanel* panel = MainPanel()) panel->CreateBackBuffer(window);

  HWND dropDown = GetDlgItem(window, kFolderDropDownId);
  ScaleControlFont(dropDown, oldDpi, dpi);
  if (InstallDone)
    RescaleCompletionScreen(window);
  else
    MoveWindow(dropDown, WindowLayout.dropDownLeft, WindowLayout.dropDownTop, WindowLayout.dropDownWidth,
               WindowLayout.dropDownHeight, TRUE);
  InvalidateRect(window, nullptr, TRUE);
}
