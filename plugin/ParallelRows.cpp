#include "ParallelRows.h"

namespace relief {

int ThreadsFor(int rows, int width, int cores) {
  if (rows < 2 || width < 1 || cores < 2) return 1;
  if (static_cast<long>(rows) * width < kParallelFromPixels) return 1;
  int threads = cores < kMaxThreads ? cores : kMaxThreads;
  return threads < rows ? threads : rows;
}

void ShareOfRows(int first, int last, int parts, int part, int* from, int* to) {
  const long rows = last > first ? last - first : 0;
  if (parts < 1) parts = 1;
  *from = first + static_cast<int>(rows * part / parts);
  *to = first + static_cast<int>(rows * (part + 1) / parts);
}

void RunRowsHere(int first, int last, int, RowJob job, void* context) {
  if (first < last) job(context, first, last);
}

}  // namespace relief
