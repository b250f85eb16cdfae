// The shipped plug-in of this program's architecture in a host engine nobody
// on the team wrote (../shared/independent-host, beside the project): loaded
// by the engine, run through its whole cycle on RGB, RGBA, grey and grey +
// alpha images with the settings dialog answered OK and Cancel. OK gives
// the reference relief at the default settings with the transparency
// untouched; Cancel leaves the image as it was. Where the engine is absent
// the program says why and exits 77 (skipped).
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "plugin/SettingsRegistry.h"
#include "tests/plugin/ReliefReference.h"

namespace {

#ifdef _WIN64
const wchar_t kArchFolder[] = L"x64";
#else
const wchar_t kArchFolder[] = L"x86";
#endif

std::wstring Wide(const char* s) {
  std::wstring w;
  while (*s) w += wchar_t(static_cast<unsigned char>(*s++));
  return w;
}

std::wstring EngineFile() { return Wide(INDEPENDENT_HOST_DIR) + L"/" + kArchFolder + L"/pspiHost.dll"; }

// The engine's functions, looked up by name (C linkage, default convention).
struct Engine {
  HMODULE module = nullptr;
  int (*load)(const wchar_t* path) = nullptr;
  int (*setImage)(int type, int width, int height, void* pixels, int stride, void* alpha, int alphaStride) = nullptr;
  int (*setRoi)(int top, int left, int bottom, int right) = nullptr;
  int (*execute)(HWND parent) = nullptr;
  int (*release)() = nullptr;
  std::string problem;

  bool Open() {
    module = LoadLibraryW(EngineFile().c_str());
    if (!module) return problem = "LoadLibrary of the engine failed, error " + std::to_string(GetLastError()), false;
    auto find = [&](const char* name) { return reinterpret_cast<void*>(GetProcAddress(module, name)); };
    load = reinterpret_cast<decltype(load)>(find("pspiPlugInLoad"));
    setImage = reinterpret_cast<decltype(setImage)>(find("pspiSetImage"));
    setRoi = reinterpret_cast<decltype(setRoi)>(find("pspiSetRoi"));
    execute = reinterpret_cast<decltype(execute)>(find("pspiPlugInExecute"));
    release = reinterpret_cast<decltype(release)>(find("pspiReleaseAllImages"));
    if (!load || !setImage || !setRoi || !execute || !release) return problem = "the engine lacks a function", false;
    return true;
  }
};

Engine& TheEngine() {
  static Engine engine;
  static bool opened = engine.Open();
  (void)opened;
  return engine;
}

int Patience() {
  const char* p = getenv("E2E_PATIENCE");
  const int n = p ? atoi(p) : 1;
  return n > 0 ? n : 1;
}

// Answers the filter's settings dialog, on its own thread, as a user would.
struct Answer {
  int button = IDOK;
  HWND dialog = nullptr;
  int shown = 0;  // dialogs seen
  volatile LONG stop = 0;
};

BOOL CALLBACK FindDialog(HWND hwnd, LPARAM param) {
  DWORD pid = 0;
  wchar_t cls[32] = L"", caption[64] = L"";
  GetWindowThreadProcessId(hwnd, &pid);
  GetClassNameW(hwnd, cls, 32);
  if (pid != GetCurrentProcessId() || lstrcmpW(cls, L"#32770") || !IsWindowVisible(hwnd)) return TRUE;
  // The caption as stored: asking the window would wait on its thread.
  InternalGetWindowText(hwnd, caption, 64);
  if (!lstrcmpW(caption, L"iRelief")) {
    *reinterpret_cast<HWND*>(param) = hwnd;
    return FALSE;
  }
  return TRUE;
}

DWORD WINAPI AnswerDialog(void* param) {
  auto* answer = static_cast<Answer*>(param);
  HWND last = nullptr;
  while (!answer->stop) {
    HWND found = nullptr;
    EnumWindows(FindDialog, reinterpret_cast<LPARAM>(&found));
    if (found && found != last) {
      ++answer->shown;
      answer->dialog = last = found;
      PostMessageW(found, WM_COMMAND, MAKEWPARAM(answer->button, BN_CLICKED), 0);
    }
    Sleep(20);
  }
  return 0;
}

struct ImageType {
  const char* what;
  int type;  // the engine's image type
  int channels;
  int16_t mode;
  bool alpha;  // the last channel is the transparency
};

const ImageType kTypes[] = {
    {"RGB", 2, 3, modes::kRgb, false},
    {"RGBA", 3, 4, modes::kRgb, true},
    {"grey", 4, 1, modes::kGray, false},
    {"grey + alpha", 5, 2, modes::kGray, true},
};

// Shapes and noise; the transparency (when there is one) holds fully
// transparent, half and fully opaque parts.
TestImage Picture(int width, int height, int channels, bool alpha, uint32_t seed) {
  TestImage image(width, height, channels);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      for (int c = 0; c < channels; ++c) {
        seed = seed * 1664525u + 1013904223u;
        image.At(x, y, c) = static_cast<uint16_t>(((x / 9 + y / 7) % 3) * 80 + (seed >> 27));
      }
  if (alpha)
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) {
        const int d = (x - width / 2) * (x - width / 2) + (y - height / 2) * (y - height / 2);
        image.At(x, y, channels - 1) = static_cast<uint16_t>(d < 400 ? 0 : d < 1600 ? 128 : 255);
      }
  return image;
}

std::vector<uint8_t> Bytes(const TestImage& image) {
  std::vector<uint8_t> bytes(image.pixels.size());
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(image.pixels[i]);
  return bytes;
}

class IndependentHost : public ::testing::TestWithParam<int> {
 protected:
  void SetUp() override {
    ASSERT_TRUE(TheEngine().module) << TheEngine().problem;
    RegDeleteKeyA(HKEY_CURRENT_USER, relief::kSettingsKey);  // the defaults
    window = CreateWindowExA(0, "STATIC", "independent host", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr,
                             nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(nullptr, window);
  }
  void TearDown() override {
    DestroyWindow(window);
    RegDeleteKeyA(HKEY_CURRENT_USER, relief::kSettingsKey);
  }

  // The engine's whole cycle on `pixels`, the dialog answered with `button`.
  int Execute(const ImageType& t, int width, int height, std::vector<uint8_t>& pixels, int button, Answer* answer) {
    Engine& e = TheEngine();
    const std::wstring plugin = Wide(IRELIEF_PLUGIN_PATH);
    EXPECT_EQ(0, e.load(plugin.c_str())) << "the engine loads the plug-in";
    EXPECT_EQ(0, e.setImage(t.type, width, height, pixels.data(), width * t.channels, nullptr, 0));
    EXPECT_EQ(0, e.setRoi(0, 0, 0, 0));
    answer->button = button;
    HANDLE thread = CreateThread(nullptr, 0, AnswerDialog, answer, 0, nullptr);
    const int status = e.execute(window);
    InterlockedExchange(&answer->stop, 1);
    WaitForSingleObject(thread, 10000 * Patience());
    CloseHandle(thread);
    e.release();
    return status;
  }

  HWND window = nullptr;
};

TEST_P(IndependentHost, OkGivesTheReliefCancelLeavesTheImage) {
  const ImageType& t = kTypes[GetParam()];
  // Larger than the dialog's preview: the engine samples a proxy of it.
  const int width = 450, height = 320;
  const TestImage original = Picture(width, height, t.channels, t.alpha, 11 + GetParam());
  const TestImage expected =
      ReliefReference(original, TestRect{0, 0, height, width}, t.mode, relief::kDefaultSettings, t.alpha);
  // With transparency the filter keeps its neighbours' weights in fixed
  // point: within one step of the floating-point reference.
  const int tolerance = t.alpha ? 1 : 0;

  std::vector<uint8_t> pixels = Bytes(original);
  Answer ok;
  EXPECT_EQ(0, Execute(t, width, height, pixels, IDOK, &ok)) << t.what << ": OK, the engine's status";
  EXPECT_EQ(1, ok.shown) << t.what << ": the settings dialog, once";
  int differing = 0;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      for (int c = 0; c < t.channels; ++c) {
        const int seen = pixels[(std::size_t(y) * width + x) * t.channels + c];
        if (std::abs(seen - expected.At(x, y, c)) > tolerance && differing++ < 10)
          ADD_FAILURE() << t.what << ": pixel x=" << x << ",y=" << y << " channel " << c << " expected "
                        << expected.At(x, y, c) << ", got " << seen;
        if (t.alpha && c == t.channels - 1 && seen != original.At(x, y, c))
          ADD_FAILURE() << t.what << ": the transparency changed at x=" << x << ",y=" << y;
      }
  EXPECT_EQ(0, differing) << t.what << ": samples differing from the reference";

  pixels = Bytes(original);
  Answer cancel;
  EXPECT_EQ(5, Execute(t, width, height, pixels, IDCANCEL, &cancel)) << t.what << ": Cancel, the engine's status";
  EXPECT_EQ(1, cancel.shown) << t.what << ": the settings dialog, once";
  EXPECT_TRUE(pixels == Bytes(original)) << t.what << ": Cancel leaves the image as it was";
}

INSTANTIATE_TEST_SUITE_P(ImageTypes, IndependentHost, ::testing::Range(0, 4),
                         [](const ::testing::TestParamInfo<int>& info) {
                           std::string name;
                           for (const char* p = kTypes[info.param].what; *p; ++p)
                             if (isalnum(static_cast<unsigned char>(*p))) name += *p;
                           return name;
                         });

}  // namespace

int main(int argc, char** argv) {
  if (GetFileAttributesW(EngineFile().c_str()) == INVALID_FILE_ATTRIBUTES) {
    std::printf("skipped: the independent host engine is not there (%ls)\n", EngineFile().c_str());
    return 77;
  }
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
