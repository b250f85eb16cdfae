// The 64-bit Windows test against the system's own account of the machine.
#include <gtest/gtest.h>
#include <windows.h>

#include "common/Wow64.h"

TEST(IsWow64, AgreesWithTheSystemsNativeArchitecture) {
  SYSTEM_INFO native{};
  GetNativeSystemInfo(&native);
  const bool windows64 = native.wProcessorArchitecture == PROCESSOR_ARCHITECTURE_AMD64 ||
                         native.wProcessorArchitecture == PROCESSOR_ARCHITECTURE_ARM64;
  // A 64-bit build runs on 64-bit Windows only; a 32-bit one is "on 64-bit
  // Windows" exactly when the system is.
  EXPECT_EQ(windows64, IsWow64() != 0) << "native processor architecture " << native.wProcessorArchitecture;
  EXPECT_EQ(IsWow64(), IsWow64()) << "repeated calls agree";
}
