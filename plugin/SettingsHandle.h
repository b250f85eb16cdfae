#pragma once
// The settings in the parameters handle the host keeps for the filter
// between runs, through the host's handle callbacks.
#include "FilterRecord.h"
#include "ReliefSettings.h"

namespace relief {

// The settings the record's parameters handle holds; kEmpty when there is no
// handle or no handle callbacks to read it with.
BlockRead LoadFromHandle(const FilterRecordView* record, ReliefSettings* settings);

// Puts the settings into the parameters handle, making one when there is
// none (or a damaged one of the wrong size). False when the host offers no
// handle callbacks or no memory.
bool StoreInHandle(FilterRecordView* record, const ReliefSettings& settings);

}  // namespace relief
