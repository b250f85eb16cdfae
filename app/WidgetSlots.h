#pragma once
// Which widget or value of the installer sits in which slot of
// ElementSlots, and typed access to them.
#include <windows.h>

#include "common/ElementSlots.h"
#include "jui/JButton.h"
#include "jui/JPanel.h"
#include "jui/JSelector.h"

enum WidgetSlot {
  kSlotExitButton = 0,
  kSlotInstallButton = 1,
  kSlotFinishButton = 2,
  kSlotSiteLink = 3,
  kSlotCompletionPicture = 4,
  kSlotIndicator32 = 5,
  kSlotIndicator64 = 6,
  kSlotFirstSelector = 7,
  kSlotLastSelector = 18,
  kSlotLastWidget = 19,
  kSlotBrowseIndex = 21,  // the number of detected folders in the drop-down
};

inline JElement* SlotElement(int slot) { return static_cast<JElement*>(ElementSlots[slot]); }
inline JButton* SlotButton(int slot) { return static_cast<JButton*>(ElementSlots[slot]); }
inline JSelector* SlotSelector(int slot) { return static_cast<JSelector*>(ElementSlots[slot]); }
inline JPanel* MainPanel() { return static_cast<JPanel*>(ElementSlots[kSlotPanel]); }
inline HINSTANCE ModuleInstance() { return static_cast<HINSTANCE>(ElementSlots[kSlotInstance]); }

// The Browse index: the number of detected folders in the drop-down.
inline int BrowseIndex() { return static_cast<int>(reinterpret_cast<INT_PTR>(ElementSlots[kSlotBrowseIndex])); }
inline void SetBrowseIndex(int index) { ElementSlots[kSlotBrowseIndex] = reinterpret_cast<void*>(static_cast<INT_PTR>(index)); }

// Sum of the values of the component selectors in slots 7 to 18; 0 when none is checked.
inline int SumSelectorValues() {
  int sum = 0;
  for (int slot = kSlotFirstSelector; slot <= kSlotLastSelector; ++slot)
    if (JSelector* selector = SlotSelector(slot)) sum += selector->value;
  return sum;
}
