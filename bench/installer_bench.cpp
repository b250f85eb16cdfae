// Times installers from outside, as a user sees them, in the prefix and on
// the display it runs in.
//
//   installer_bench app RUNS
//     Starts the installer RUNS times with one host folder registered. Each
//     run: process start -> main window visible -> first complete paint (the
//     Install button's face and a background pixel on the screen); then the
//     Install click -> both plug-ins in place with their full sizes ->
//     completion picture fully on the screen (every pixel it draws). Finish
//     closes the run.
//   installer_bench peer RUNS FOLDER "COMMAND LINE" [FILE...]
//     Runs another installer RUNS times: process start -> first visible
//     window of the process (if it shows one) -> every FILE (in FOLDER) in
//     place -> process end. FOLDER is removed before each run. The line
//     "undo: COMMAND" given as the environment variable BENCH_UNDO runs
//     (untimed) after each run, to leave the next one a clean machine. With
//     BENCH_CLOSE set, the window is closed as soon as it shows; FILE may
//     then be left out.
//   installer_bench window RUNS "COMMAND LINE"
//     Runs another installer's window RUNS times: process start -> its first
//     visible window -> that window's first complete paint, judged as ours
//     is: by its pixels on the screen. What complete looks like is taken
//     from one untimed run first (the client area once it has stopped
//     changing, less the pixels that still change, such as a caret). Each
//     run is ended as soon as the paint is complete.
//
// Every figure is printed per run and as the median, in milliseconds, on
// lines "median NAME MS" that the benchmark script reads.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/MainLayout.h"
#include "tests/app/e2e/HostFixtures.h"
#include "tests/support/InstallerSession.h"
#include "tests/support/Picture.h"

namespace {

constexpr char kBenchRoot[] = "C:\\Bench Hosts\\";
constexpr char kHostFolder[] = "C:\\Bench Hosts\\Alpha\\Plug-ins";
constexpr DWORD kTimeoutMs = 60000;
constexpr DWORD kPollMs = 5;

double Now() {
  static const double frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return static_cast<double>(f.QuadPart);
  }();
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) * 1000.0 / frequency;
}

double Median(std::vector<double> values) {
  if (values.empty()) return -1;
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// Polls until condition holds; the time it first held, or -1 on timeout.
template <typename Condition>
double WhenTrue(Condition condition, DWORD timeoutMs = kTimeoutMs) {
  const double start = Now();
  for (;;) {
    if (condition()) return Now();
    if (Now() - start > timeoutMs) return -1;
    Sleep(kPollMs);
  }
}

struct Artwork {
  Picture background, install, done;
  MainLayout layout{};
};

// Every non-white pixel of picture at origin (step 1 when whole), as on the screen.
bool ShowsPicture(const Picture& shot, const Artwork& art, const Picture& picture, LayoutPoint origin, bool whole) {
  if (shot.width != art.background.width || shot.height != art.background.height) return false;
  const int stepX = whole ? 1 : std::max(1, picture.width / 20);
  const int stepY = whole ? 1 : std::max(1, picture.height / 20);
  for (int y = 0; y < picture.height; y += stepY)
    for (int x = 0; x < picture.width; x += stepX) {
      const std::uint32_t want = picture.At(x, y);
      if (want == 0xFFFFFF) continue;
      if (shot.At(origin.x + x, origin.y + y) != want) return false;
    }
  return true;
}

bool FirstPaintDone(const InstallerSession& s, const Artwork& art) {
  const Picture shot = s.Capture();
  // The background's top-left corner and the Install button's face.
  return shot.At(1, 1) == art.background.At(1, 1) && ShowsPicture(shot, art, art.install, art.layout.installButton, false);
}

bool FileComplete(const std::string& path, long long size) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return false;
  return (static_cast<long long>(data.nFileSizeHigh) << 32 | data.nFileSizeLow) == size;
}

long long FileSize(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return -1;
  return static_cast<long long>(data.nFileSizeHigh) << 32 | data.nFileSizeLow;
}

void Report(const char* name, const std::vector<double>& values) {
  std::printf("median %s %.0f\n", name, Median(values));
}

int BenchApp(int runs) {
  HMODULE installer = LoadLibraryExA(INSTALLER_EXE, nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (!installer) {
    std::fprintf(stderr, "cannot open %s\n", INSTALLER_EXE);
    return 1;
  }
  Artwork art;
  art.background = LoadBitmapResource(installer, 222);
  art.install = LoadBitmapResource(installer, 219);
  art.done = LoadBitmapResource(installer, 213);
  const Picture finish = LoadBitmapResource(installer, 220);
  art.layout = ComputeMainLayout(art.background.width, art.background.height, 4 + kLeftMargin);
  const long long size32 = FileSize(PLUGIN32_PATH), size64 = FileSize(PLUGIN64_PATH);

  ClearHostRegistrations();
  RemoveTree(kBenchRoot);
  MakeFolders(kHostFolder);
  RegisterMakerFolder("Bench", kHostFolder);
  const std::string target = std::string(kHostFolder) + "\\Mirefold\\";

  std::vector<double> window, paint, files, completion;
  std::printf("%4s %10s %12s %10s %14s\n", "run", "window ms", "1st paint ms", "files ms", "completion ms");
  for (int run = 0; run < runs; ++run) {
    RemoveTree(target);
    InstallerSession s;
    const double start = Now();
    if (!s.Start()) {
      std::fprintf(stderr, "cannot start %s\n", INSTALLER_EXE);
      return 1;
    }
    const double shown = WhenTrue([&] { return FindInstallerWindow(s.ProcessId()) != nullptr && s.WaitForWindow(0); });
    const double painted = shown < 0 ? -1 : WhenTrue([&] { return FirstPaintDone(s, art); });
    if (painted < 0) {
      std::fprintf(stderr, "run %d: no complete first paint\n", run);
      return 1;
    }
    const POINT at = {art.layout.installButton.x + art.install.width / 2,
                      art.layout.installButton.y + art.install.height / 2};
    const double clicked = Now();
    s.Click(at.x, at.y);
    double inPlace = -1, drawn = -1;
    WhenTrue([&] {
      if (inPlace < 0 && FileComplete(target + "iRelief.8bf", size32) &&
          FileComplete(target + "iRelief(X64).8bf", size64))
        inPlace = Now();
      if (inPlace >= 0 && ShowsPicture(s.Capture(), art, art.done, art.layout.completionPicture, true)) drawn = Now();
      return drawn >= 0;
    });
    if (drawn < 0) {
      std::fprintf(stderr, "run %d: the completion screen was not drawn\n", run);
      return 1;
    }
    window.push_back(shown - start);
    paint.push_back(painted - start);
    files.push_back(inPlace - clicked);
    completion.push_back(drawn - clicked);
    std::printf("%4d %10.0f %12.0f %10.0f %14.0f\n", run, window.back(), paint.back(), files.back(), completion.back());
    std::fflush(stdout);
    s.Click(art.layout.finishButton.x + finish.width / 2, art.layout.finishButton.y + finish.height / 2);
    if (!s.WaitForExit(10000)) std::fprintf(stderr, "run %d: the installer did not end\n", run);
  }
  Report("app.window", window);
  Report("app.first_paint", paint);
  Report("app.files", files);
  Report("app.completion", completion);
  ClearHostRegistrations();
  RemoveTree(kBenchRoot);
  FreeLibrary(installer);
  return 0;
}

void RunUntimed(const char* commandLine) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  std::string line = commandLine;
  if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) return;
  WaitForSingleObject(process.hProcess, kTimeoutMs);
  CloseHandle(process.hProcess);
  CloseHandle(process.hThread);
}

int BenchPeer(int runs, const std::string& folder, const std::string& commandLine, const std::vector<std::string>& names) {
  const char* undo = std::getenv("BENCH_UNDO");
  const bool closeWindow = std::getenv("BENCH_CLOSE") != nullptr;
  std::vector<double> window, files, exited;
  std::printf("%4s %10s %10s %10s\n", "run", "window ms", "files ms", "exit ms");
  for (int run = 0; run < runs; ++run) {
    RemoveTree(folder);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::string line = commandLine;
    const double start = Now();
    if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
      std::printf("cannot start: error %lu\n", GetLastError());
      return 2;
    }
    double shown = -1, inPlace = -1;
    const double ended = WhenTrue([&] {
      if (shown < 0) {
        if (HWND found = FindVisibleWindow(process.dwProcessId)) {
          shown = Now();
          if (closeWindow) PostMessageA(found, WM_CLOSE, 0, 0);
        }
      }
      if (inPlace < 0 && std::all_of(names.begin(), names.end(), [&](const std::string& n) {
            return GetFileAttributesA((folder + n).c_str()) != INVALID_FILE_ATTRIBUTES;
          }))
        inPlace = Now();
      return WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0;
    });
    DWORD code = 1;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    if (ended < 0 || inPlace < 0 || code != 0) {
      std::printf("run %d: exit code %lu, files %s\n", run, code, inPlace < 0 ? "missing" : "in place");
      return 3;
    }
    if (shown >= 0) window.push_back(shown - start);
    files.push_back(inPlace - start);
    exited.push_back(ended - start);
    std::printf("%4d %10.0f %10.0f %10.0f\n", run, shown < 0 ? -1 : shown - start, files.back(), exited.back());
    std::fflush(stdout);
    if (undo) RunUntimed(undo);
  }
  if (!window.empty()) Report("peer.window", window);
  Report("peer.files", files);
  Report("peer.exit", exited);
  return 0;
}

struct Settled {
  Picture picture;
  std::vector<char> steady;  // 1 where the pixel kept its colour once settled
};

bool SameAsSettled(const Picture& shot, const Settled& settled) {
  if (shot.width != settled.picture.width || shot.height != settled.picture.height) return false;
  for (std::size_t i = 0; i < shot.pixels.size(); ++i)
    if (settled.steady[i] && shot.pixels[i] != settled.picture.pixels[i]) return false;
  return true;
}

bool StartProcess(const std::string& commandLine, PROCESS_INFORMATION* process) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  std::string line = commandLine;
  return CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, process) != 0;
}

void EndProcess(PROCESS_INFORMATION* process) {
  TerminateProcess(process->hProcess, 0);
  WaitForSingleObject(process->hProcess, kTimeoutMs);
  CloseHandle(process->hProcess);
  CloseHandle(process->hThread);
}

// One untimed run: the window's client area once 300 ms pass without a
// change, then watched for one more second to leave out what still changes.
bool SettleWindow(const std::string& commandLine, Settled* settled) {
  PROCESS_INFORMATION process{};
  if (!StartProcess(commandLine, &process)) return false;
  HWND window = nullptr;
  WhenTrue([&] { return (window = FindVisibleWindow(process.dwProcessId)) != nullptr; });
  bool ok = window != nullptr;
  if (ok) {
    Picture last = CaptureClient(window);
    double since = Now();
    ok = WhenTrue([&] {
      Picture shot = CaptureClient(window);
      if (shot.pixels != last.pixels) {
        last = shot;
        since = Now();
      }
      return Now() - since >= 300;
    }) >= 0;
    settled->picture = last;
    settled->steady.assign(last.pixels.size(), 1);
    const double until = Now() + 1000;
    while (ok && Now() < until) {
      const Picture shot = CaptureClient(window);
      if (shot.pixels.size() != last.pixels.size()) {
        ok = false;
        break;
      }
      for (std::size_t i = 0; i < shot.pixels.size(); ++i)
        if (shot.pixels[i] != last.pixels[i]) settled->steady[i] = 0;
      Sleep(20);
    }
  }
  EndProcess(&process);
  return ok && settled->picture.width > 0;
}

int BenchWindow(int runs, const std::string& commandLine) {
  Settled settled;
  if (!SettleWindow(commandLine, &settled)) {
    std::printf("the window of \"%s\" did not show or did not settle\n", commandLine.c_str());
    return 2;
  }
  const long steady = static_cast<long>(std::count(settled.steady.begin(), settled.steady.end(), 1));
  std::printf("complete paint: %d x %d client area, %ld of its pixels steady\n", settled.picture.width,
              settled.picture.height, steady);
  std::vector<double> window, paint;
  std::printf("%4s %10s %12s\n", "run", "window ms", "1st paint ms");
  for (int run = 0; run < runs; ++run) {
    PROCESS_INFORMATION process{};
    const double start = Now();
    if (!StartProcess(commandLine, &process)) {
      std::printf("cannot start: error %lu\n", GetLastError());
      return 2;
    }
    HWND found = nullptr;
    const double shown = WhenTrue([&] { return (found = FindVisibleWindow(process.dwProcessId)) != nullptr; });
    const double painted = shown < 0 ? -1 : WhenTrue([&] { return SameAsSettled(CaptureClient(found), settled); });
    EndProcess(&process);
    if (painted < 0) {
      std::printf("run %d: no complete first paint\n", run);
      return 3;
    }
    window.push_back(shown - start);
    paint.push_back(painted - start);
    std::printf("%4d %10.0f %12.0f\n", run, window.back(), paint.back());
    Sleep(500);  // the ended process's window leaves the screen
  }
  Report("peer.window", window);
  Report("peer.first_paint", paint);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  setvbuf(stdout, nullptr, _IONBF, 0);
  if (argc >= 3 && std::strcmp(argv[1], "app") == 0) return BenchApp(std::atoi(argv[2]));
  if (argc >= 5 && std::strcmp(argv[1], "peer") == 0) {
    std::string folder = argv[3];
    if (folder.back() != '\\') folder += '\\';
    return BenchPeer(std::atoi(argv[2]), folder, argv[4], std::vector<std::string>(argv + 5, argv + argc));
  }
  if (argc >= 4 && std::strcmp(argv[1], "window") == 0) return BenchWindow(std::atoi(argv[2]), argv[3]);
  std::fprintf(stderr,
               "usage: installer_bench app RUNS | peer RUNS FOLDER \"COMMAND LINE\" [FILE...] |"
               " window RUNS \"COMMAND LINE\"\n");
  return 64;
}
