#pragma once
// A small filter host for the tests: loads a plug-in file, finds its property
// list and entry point, and runs the filter selectors on an image in memory
// the way image editors do: it hands over the rectangles the filter asks
// for, in buffers with padded rows and sentinel bytes, input read from the
// unfiltered picture, output pre-filled with it and written back after each
// call. It lays its record out by the interface's documented offsets
// (InterfaceOffsets.h), never by the filter's own declaration; every field
// the filter has no business reading holds poison, and the record ends at a
// page the process may not read.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "tests/plugin/TestImage.h"
#include "tests/plugin/TestModes.h"

using EntryPoint = void (*)(int16_t selector, void* record, intptr_t* data, int16_t* result);

// Selectors and result codes as the interface numbers them.
namespace host {
constexpr int16_t kAbout = 0, kParameters = 1, kPrepare = 2, kStart = 3, kContinue = 4, kFinish = 5;
constexpr int16_t kOk = 0, kOutOfMemory = -108, kUserCancelled = -128, kBadParameters = -30100,
                  kBadMode = -30101;
// playInfo of a step being played back.
constexpr int16_t kPlayDontDisplay = 0, kPlayDisplay = 1;
}  // namespace host

struct PluginFile {
  HMODULE module = nullptr;
  std::vector<uint8_t> propertyList;  // the first PIPL resource
  std::string entryName;              // found under this architecture's key
  EntryPoint entry = nullptr;
  std::string problem;                // why loading stopped, when it did

  bool Load(const char* path);
  ~PluginFile();
};

// One value of a scripting descriptor.
struct ScriptItem {
  uint32_t key;
  int32_t value;
  bool boolean;
};

// What the planes past the mode's colour planes are, as the host says in
// its record.
enum class ExtraPlanes {
  kLayerTransparency,  // a layer's transparency (counted, editable-transparency case)
  kNonLayerChannel,    // an extra channel of a flat image (counted as non-layer planes)
  kUncounted,          // an older host: no counts, no filter case
};

struct RunOptions {
  int16_t mode = modes::kRgb;
  TestRect filter{};
  int32_t maxSpace = 64 * 1024 * 1024;
  int abortAtCheck = 0;  // the abort callback answers yes from this call on (0: never)
  int rowPadding = 3;    // extra samples at the end of every buffer row
  ExtraPlanes extraPlanes = ExtraPlanes::kLayerTransparency;
  // The parameters handle the host keeps for the filter, passed in and kept
  // after the run; empty: no handle. offerHandles: the record carries the
  // handle callbacks (without them the filter cannot keep a handle).
  std::vector<uint8_t>* parameters = nullptr;
  bool offerHandles = true;
  // The run starts with the Parameters selector, which shows the settings
  // dialog (as when the user picks the filter from the menu); otherwise the
  // host repeats the filter with the settings it kept.
  bool askParameters = false;
  // The host stops the run after this selector has answered (-1: never), as
  // a host does that runs out of memory or is closed in between.
  int16_t stopAfter = -1;
  // The data word the host keeps for the filter, across runs when set
  // (as hosts keep it while they are loaded); null: a fresh word each run.
  intptr_t* dataWord = nullptr;
  HWND hostWindow = nullptr;  // named in the record's platform data
  // Scripting: when set, the record offers the descriptor callbacks; the
  // items are played back (none: nothing to play back) and replaced by what
  // the filter recorded. endlessScript: the reader keeps giving keys.
  std::vector<ScriptItem>* script = nullptr;
  int16_t playInfo = host::kPlayDisplay;
  bool endlessScript = false;
  bool offerDisplay = false;  // the record offers displayPixels (see DisplayedPixels)
  // The record offers advanceState with integral sampling (inputRate above
  // 1 reads every rate-th pixel of every rate-th row); see TakeProxyRequests.
  bool offerAdvanceState = false;
};

// What the filter asked of advanceState since the last call.
struct ProxyRequest {
  TestRect inRect;
  int32_t inputRate;
  int16_t inLoPlane, inHiPlane;
};
std::vector<ProxyRequest> TakeProxyRequests();

// What the filter drew through the host's displayPixels since the last call.
struct DisplayedPixels {
  int calls = 0;
  int width = 0, height = 0;
  bool sound = true;                // every pixel map was interleaved RGB as described
  std::vector<uint32_t> checksums;  // of each drawing's pixels
};
DisplayedPixels TakeDisplayedPixels();

struct RunOutcome {
  int16_t failedSelector = -1;  // the selector that returned an error, -1 when none did
  int16_t failedCode = 0;
  int continueCalls = 0;
  int abortChecks = 0;
  int descriptorKeysGiven = 0;  // keys the scripting reader handed out
  std::vector<std::pair<int32_t, int32_t>> progress;
  std::vector<std::string> problems;  // protocol faults the host saw
};

// Runs Parameters, Prepare, Start, Continue... and Finish; stops at the first
// error, as hosts do (the filter's rectangles are then ignored).
RunOutcome RunFilter(EntryPoint entry, TestImage& image, const RunOptions& options);

// Calls one selector on a fresh record describing `image`, nothing else.
int16_t CallOnce(EntryPoint entry, int16_t selector, TestImage& image, const RunOptions& options);

// Calls the About selector with an About record naming `owner`.
int16_t CallAbout(EntryPoint entry, HWND owner);

// A host short of memory: the plug-in's C heap (its imported malloc) fails
// from the `failFrom`-th allocation on; 0 gives it back its heap. False
// when the plug-in imports no malloc.
bool FailPluginAllocations(HMODULE plugin, int failFrom);
// Allocations the plug-in asked for since the last FailPluginAllocations.
int PluginAllocations();
