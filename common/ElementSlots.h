#pragma once
// The process-wide table of 24 slots through which the program finds its
// widgets, its module instance and the window painter. The application
// names the slots of its widgets; the slots every part shares are named
// here.

constexpr int kElementSlotCount = 24;

enum SharedSlot {
  kSlotIsWow64Process = 20,  // the system's IsWow64Process, as last looked up
  kSlotInstance = 22,        // the module instance
  kSlotPanel = 23,           // the JPanel that paints the main window
};

extern void* ElementSlots[kElementSlotCount];
