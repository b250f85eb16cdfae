#pragma once
// Typed access to the widgets and values kept in ElementSlots.
#include <windows.h>

#include "common/ElementSlots.h"
#include "jui/JButton.h"
#include "jui/JPanel.h"
#include "jui/JSelector.h"

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
