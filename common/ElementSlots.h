#pragma once
// The process-wide table through which the program finds its widgets, its
// module instance and the window painter.

constexpr int kElementSlotCount = 24;

enum ElementSlot {
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
  kSlotIsWow64Process = 20,
  kSlotBrowseIndex = 21,
  kSlotInstance = 22,
  kSlotPanel = 23,
};

extern void* ElementSlots[kElementSlotCount];

// Non-zero when this 32-bit process runs on 64-bit Windows. Looks the
// system's IsWow64Process up again on every call and keeps it in slot 20.
int IsWow64();
