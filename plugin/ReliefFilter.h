#pragma once
// The filter's answers to the Prepare, Start, Continue and Finish selectors,
// on the host's filter record. Each returns the result code for *result.
#include "FilterRecord.h"

namespace relief {

// Refuses unsupported modes; asks for no memory beyond the host's buffers.
int16_t PrepareFilter(FilterRecordView* record);

// Checks the mode and geometry and asks for the first band.
int16_t StartFilter(FilterRecordView* record);

// Honours an abort request, reliefs the band the host handed over, reports
// progress and asks for the next band, or for nothing when all is done.
int16_t ContinueFilter(FilterRecordView* record);

// Asks for no more data.
int16_t FinishFilter(FilterRecordView* record);

}  // namespace relief
