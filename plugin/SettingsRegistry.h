#pragma once
// The per-user copy of the last settings, for hosts that keep no parameters
// handle: HKEY_CURRENT_USER\Software\Mirefold\iRelief, binary value
// "Settings", holding the settings block.
#include "ReliefSettings.h"

namespace relief {

constexpr char kSettingsKey[] = "Software\\Mirefold\\iRelief";
constexpr char kSettingsValue[] = "Settings";

// kEmpty when there is no copy; kDamaged for a value of the wrong type or size.
BlockRead LoadFromRegistry(ReliefSettings* settings);
bool StoreInRegistry(const ReliefSettings& settings);

}  // namespace relief
