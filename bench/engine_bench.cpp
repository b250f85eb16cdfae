// The shipped 64-bit plug-in where it runs: in the independent host engine
// (../shared/independent-host), on a generated 24-megapixel RGB image, its
// settings dialog answered OK as soon as it shows and the run timed from OK
// to its end; next to the same engine running the benchmark's own copying
// filter (bench/copy_filter.cpp) over the same image, which is the engine's
// own cost and the limit for any filter in it.
//   engine_bench ENGINE_DLL PLUGIN COPY_FILTER [RUNS]
// Prints "engine.ours <megapixels per second> <best ms>" and the same for
// engine.copy; the best of RUNS (default 3) counts.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr int kWidth = 6000, kHeight = 4000;  // 24 megapixels
constexpr int kRgb = 2;                       // the engine's image type for interleaved RGB

struct Engine {
  int (*load)(const wchar_t* path) = nullptr;
  int (*setImage)(int type, int width, int height, void* pixels, int stride, void* alpha, int alphaStride) = nullptr;
  int (*setRoi)(int top, int left, int bottom, int right) = nullptr;
  int (*execute)(HWND parent) = nullptr;
  int (*release)() = nullptr;
};

std::wstring Wide(const char* s) {
  std::wstring w;
  while (*s) w += wchar_t(static_cast<unsigned char>(*s++));
  return w;
}

double Now() {
  LARGE_INTEGER t, f;
  QueryPerformanceCounter(&t);
  QueryPerformanceFrequency(&f);
  return double(t.QuadPart) * 1000.0 / double(f.QuadPart);
}

// Presses OK in the filter's dialog as soon as it shows; notes when.
struct Answer {
  volatile LONG stop = 0;
  volatile double okAt = 0;
};

BOOL CALLBACK FindDialog(HWND hwnd, LPARAM param) {
  DWORD pid = 0;
  wchar_t cls[32] = L"", caption[64] = L"";
  GetWindowThreadProcessId(hwnd, &pid);
  GetClassNameW(hwnd, cls, 32);
  if (pid != GetCurrentProcessId() || lstrcmpW(cls, L"#32770") || !IsWindowVisible(hwnd)) return TRUE;
  InternalGetWindowText(hwnd, caption, 64);
  if (lstrcmpW(caption, L"iRelief")) return TRUE;
  *reinterpret_cast<HWND*>(param) = hwnd;
  return FALSE;
}

DWORD WINAPI PressOk(void* param) {
  auto* answer = static_cast<Answer*>(param);
  while (!answer->stop) {
    HWND found = nullptr;
    EnumWindows(FindDialog, reinterpret_cast<LPARAM>(&found));
    if (found) {
      answer->okAt = Now();
      PostMessageW(found, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
      return 0;
    }
    Sleep(1);
  }
  return 0;
}

std::vector<uint8_t> Picture() {
  std::vector<uint8_t> pixels(std::size_t(kWidth) * kHeight * 3);
  uint32_t seed = 12345;
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x)
      for (int c = 0; c < 3; ++c) {
        seed = seed * 1664525u + 1013904223u;
        const int shape = ((x / 64 + y / 48 + c) % 4) * 255 / 5;
        pixels[(std::size_t(y) * kWidth + x) * 3 + c] = static_cast<uint8_t>(shape + (seed >> 8) % 52);
      }
  return pixels;
}

// One run of `filter` on a fresh copy of the picture: milliseconds from OK
// (or from the start, for a filter without a dialog) to the run's end; a
// negative value when the run failed.
double TimedRun(const Engine& e, const std::wstring& filter, const std::vector<uint8_t>& picture, bool dialog,
                HWND window) {
  std::vector<uint8_t> pixels = picture;
  if (e.load(filter.c_str()) != 0 || e.setImage(kRgb, kWidth, kHeight, pixels.data(), kWidth * 3, nullptr, 0) != 0 ||
      e.setRoi(0, 0, 0, 0) != 0)
    return -1;
  Answer answer;
  HANDLE thread = dialog ? CreateThread(nullptr, 0, PressOk, &answer, 0, nullptr) : nullptr;
  const double start = Now();
  const int status = e.execute(window);
  const double end = Now();
  InterlockedExchange(&answer.stop, 1);
  if (thread) {
    WaitForSingleObject(thread, 10000);
    CloseHandle(thread);
  }
  e.release();
  if (status != 0 || (dialog && answer.okAt == 0)) return -1;
  if (dialog && pixels == picture) return -1;  // the filter did nothing
  return end - (dialog ? answer.okAt : start);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: engine_bench ENGINE_DLL PLUGIN COPY_FILTER [RUNS]\n");
    return 2;
  }
  const int runs = argc > 4 ? std::atoi(argv[4]) : 3;
  HMODULE module = LoadLibraryW(Wide(argv[1]).c_str());
  if (!module) {
    std::fprintf(stderr, "engine_bench: cannot load the engine %s (error %lu)\n", argv[1], GetLastError());
    return 1;
  }
  Engine e;
  auto find = [&](const char* name) { return reinterpret_cast<void*>(GetProcAddress(module, name)); };
  e.load = reinterpret_cast<decltype(e.load)>(find("pspiPlugInLoad"));
  e.setImage = reinterpret_cast<decltype(e.setImage)>(find("pspiSetImage"));
  e.setRoi = reinterpret_cast<decltype(e.setRoi)>(find("pspiSetRoi"));
  e.execute = reinterpret_cast<decltype(e.execute)>(find("pspiPlugInExecute"));
  e.release = reinterpret_cast<decltype(e.release)>(find("pspiReleaseAllImages"));
  if (!e.load || !e.setImage || !e.setRoi || !e.execute || !e.release) {
    std::fprintf(stderr, "engine_bench: the engine lacks a function\n");
    return 1;
  }
  HWND window = CreateWindowExA(0, "STATIC", "engine bench", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
  const std::vector<uint8_t> picture = Picture();
  const struct {
    const char* what;
    const char* file;
    bool dialog;
  } filters[] = {{"engine.ours", argv[2], true}, {"engine.copy", argv[3], false}};
  int failed = 0;
  for (const auto& f : filters) {
    double best = -1;
    for (int run = 0; run < runs; ++run) {
      const double ms = TimedRun(e, Wide(f.file), picture, f.dialog, window);
      if (ms < 0) {
        ++failed;
        std::fprintf(stderr, "engine_bench: %s failed in run %d\n", f.what, run + 1);
        break;
      }
      if (best < 0 || ms < best) best = ms;
    }
    if (best > 0) std::printf("%s %.1f %.1f\n", f.what, 24.0 / (best / 1000.0), best);
    std::fflush(stdout);
  }
  DestroyWindow(window);
  return failed ? 1 : 0;
}
