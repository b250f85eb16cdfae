#pragma once
// The filter's work on the image the host describes, on plain values: what
// Prepare and Start check, the bands it asks for, and the relief of each
// band the host hands over. Each returns a result code for *result.
#include "FilterBands.h"
#include "HostRecord.h"
#include "ParallelRows.h"
#include "ReliefSettings.h"

namespace relief {

// Refuses unsupported modes.
int16_t PrepareFilter(const HostImage& image);

// Checks the mode, the settings and the geometry; *first is the first band
// to ask for (nothing when the filter rectangle is empty or on an error).
int16_t StartFilter(const HostImage& image, const ReliefSettings& settings, BandRequest* first);

// Reliefs the band the host handed over (by the runner's threads); *next is
// the band to ask for after it, nothing when all is done or on an error.
// *doneRows: rows of the filter rectangle done so far, for the progress.
int16_t ContinueFilter(const HostImage& image, const HandedBand& band, const ReliefSettings& settings,
                       RowRunner runner, BandRequest* next, int* doneRows = nullptr);

// Planes the filter reads of each pixel: the colour planes and the
// transparency when there is one.
int InputPlanes(const HostImage& image);

}  // namespace relief
