// The 64-bit Windows test and the slot it fills, on the 64-bit test prefix.
#include <gtest/gtest.h>
#include <windows.h>

#include "common/ElementSlots.h"
#include "common/Wow64.h"

TEST(IsWow64, ReportsThe64BitPrefixAndKeepsTheEntryPointInSlot20) {
  ElementSlots[kSlotIsWow64Process] = nullptr;
  EXPECT_NE(0, IsWow64()) << "expected 64-bit Windows on the 64-bit test prefix";
  void* expected = reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32"), "IsWow64Process"));
  ASSERT_NE(nullptr, expected);
  EXPECT_EQ(expected, ElementSlots[kSlotIsWow64Process]) << "slot 20 holds the looked-up entry point";
  EXPECT_EQ(IsWow64(), IsWow64()) << "repeated calls agree";
}
