#include "app/CompletionScreen.h"

#include "app/DialogState.h"
#include "app/MainLayout.h"
#include "app/WidgetSlots.h"
#include "jui/JContext.h"
#include "jui/ScaleRules.h"

namespace {

constexpr int kCompletionFontHeight = 16;
constexpr int kDropDownHiddenTop = 1000;  // below the client area
constexpr int kDropDownHiddenWidth = 50;

void SetFlags(int slot, int active, int visible) {
  if (JElement* element = SlotElement(slot)) {
    element->active = active;
    element->visible = visible;
  }
}

// Below the client area, neither hidden nor disabled.
void HideDropDown(HWND window) {
  const int dpi = MainContext.dpi;
  MoveWindow(GetDlgItem(window, kFolderDropDownId), ScaledLength(kLeftMargin, dpi),
             ScaledLength(kDropDownHiddenTop, dpi), ScaledLength(kDropDownHiddenWidth, dpi),
             ScaledLength(kDropDownHeight, dpi), TRUE);
}

void EnlargeText() { ReplaceUiFont(ScaledLength(kCompletionFontHeight, MainContext.dpi)); }

}  // namespace

void RescaleCompletionScreen(HWND window) {
  HideDropDown(window);
  EnlargeText();
}

void EnterCompletionScreen(HWND window) {
  InstallDone = 1;
  // Flags only; the repaint below draws the new screen.
  for (int slot = 0; slot <= kSlotLastSelector; ++slot) SetFlags(slot, 0, 0);
  SetFlags(kSlotSiteLink, 1, 1);
  SetFlags(kSlotFinishButton, 1, 1);
  JElement* picture = SlotElement(kSlotCompletionPicture);
  if (picture) picture->visible = 1;

  // Out of sight, neither hidden nor disabled.
  HideDropDown(window);
  // A keyboard user on a widget or on the drop-down that are now gone goes on at Finish.
  if (JPanel* panel = MainPanel()) panel->focusOrder.KeepAvailable();
  if (picture) picture->Announce(EVENT_OBJECT_SHOW);  // the completion message

  // A larger font from now on.
  EnlargeText();

  InvalidateRect(window, nullptr, TRUE);
}
