#pragma once
// Whether this program runs as a 32-bit process on 64-bit Windows.

// Non-zero when this 32-bit process runs on 64-bit Windows. Looks the
// system's IsWow64Process up again on every call and keeps it in the
// shared slot kSlotIsWow64Process.
int IsWow64();
