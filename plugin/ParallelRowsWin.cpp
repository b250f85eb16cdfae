// The worker threads of ParallelRows.h on Windows.
#include <windows.h>

#include "ParallelRows.h"

namespace relief {

namespace {

struct Share {
  RowJob job;
  void* context;
  int from;
  int to;
};

DWORD WINAPI Work(void* param) {
  const Share* share = static_cast<const Share*>(param);
  share->job(share->context, share->from, share->to);
  return 0;
}

// A thread handle closed when the share is done with.
struct ThreadHandle {
  HANDLE h = nullptr;
  ~ThreadHandle() {
    if (h) CloseHandle(h);
  }
};

int CoreCount() {
  SYSTEM_INFO info{};
  GetSystemInfo(&info);
  return info.dwNumberOfProcessors > 0 ? static_cast<int>(info.dwNumberOfProcessors) : 1;
}

}  // namespace

void RunRowsOnAllCores(int first, int last, int width, RowJob job, void* context) {
  const int parts = ThreadsFor(last - first, width, CoreCount());
  Share shares[kMaxThreads];
  ThreadHandle threads[kMaxThreads];
  HANDLE started[kMaxThreads];
  int running = 0;
  for (int part = 1; part < parts; ++part) {
    Share& s = shares[part];
    s = Share{job, context, 0, 0};
    ShareOfRows(first, last, parts, part, &s.from, &s.to);
    threads[part].h = CreateThread(nullptr, 0, Work, &s, 0, nullptr);
    if (threads[part].h) {
      started[running++] = threads[part].h;
    } else {
      job(context, s.from, s.to);
    }
  }
  int from = first, to = last;
  ShareOfRows(first, last, parts, 0, &from, &to);
  job(context, from, to);
  if (running > 0) WaitForMultipleObjects(static_cast<DWORD>(running), started, TRUE, INFINITE);
}

}  // namespace relief
