#pragma once
// Sharing the rows of a band among the machine's cores. Only the relief runs
// on the extra threads; every call to the host stays on the host's thread,
// which takes the first share itself and returns once all shares are done.
namespace relief {

// Below this many pixels in a band, one thread does it all: starting
// threads would cost more than they save (under Wine a thread takes
// milliseconds to start).
constexpr long kParallelFromPixels = 1L << 19;
constexpr int kMaxThreads = 32;

// How many threads share `rows` rows of `width` pixels on `cores` cores:
// 1 for small bands, never more than the rows or kMaxThreads.
int ThreadsFor(int rows, int width, int cores);

// Rows first..last-1 split into `parts` runs, as even as they go: the run
// `part` is [*from, *to).
void ShareOfRows(int first, int last, int parts, int part, int* from, int* to);

using RowJob = void (*)(void* context, int firstRow, int lastRow);

// Something that runs job over rows first..last-1 of `width` pixels.
using RowRunner = void (*)(int first, int last, int width, RowJob job, void* context);

// All rows on the caller's thread.
void RunRowsHere(int first, int last, int width, RowJob job, void* context);

// ParallelRowsWin.cpp: ThreadsFor(...) contiguous runs at once, on the cores
// this process may use; a run whose thread cannot be started is done by the
// caller.
void RunRowsOnAllCores(int first, int last, int width, RowJob job, void* context);

}  // namespace relief
