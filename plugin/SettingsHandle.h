#pragma once
// The settings in the parameters handle the host keeps for the filter
// between runs, through the host's handle callbacks.
#include "HostRecord.h"
#include "ReliefSettings.h"

namespace relief {

// The settings the parameters handle holds; kEmpty when there is no handle
// or no handle callbacks to read it with.
BlockRead LoadFromHandle(const HandleCalls& calls, void* handle, ReliefSettings* settings);

// Puts the settings into *handle, making one when there is none (or a
// damaged one of the wrong size that cannot be resized). False when the
// host offers no handle callbacks or no memory.
bool StoreInHandle(const HandleCalls& calls, void** handle, const ReliefSettings& settings);

}  // namespace relief
