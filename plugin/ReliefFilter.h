#pragma once
// The filter's answers to the Prepare, Start, Continue and Finish selectors,
// on the host's filter record, with the settings in force. Each returns the
// result code for *result.
#include "FilterRecord.h"
#include "ParallelRows.h"
#include "ReliefSettings.h"

namespace relief {

// Refuses unsupported modes; asks for no memory beyond the host's buffers.
int16_t PrepareFilter(FilterRecordView* record);

// Checks the mode, the settings and the geometry and asks for the first band.
int16_t StartFilter(FilterRecordView* record, const ReliefSettings& settings = kDefaultSettings);

// Honours an abort request, reliefs the band the host handed over (by the
// runner's threads), reports progress and asks for the next band, or for
// nothing when all is done.
int16_t ContinueFilter(FilterRecordView* record, const ReliefSettings& settings = kDefaultSettings,
                       RowRunner runner = RunRowsHere);

// Asks for no more data.
int16_t FinishFilter(FilterRecordView* record);

// True when the plane after the colour planes holds the layer's transparency.
bool HasTransparency(const FilterRecordView* record);

}  // namespace relief
