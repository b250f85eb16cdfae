// The filter's entry point. Hosts find its name in the plug-in's property
// list and call it with a selector, their record, a word of data kept for the
// plug-in between calls, and a place for the result code.
#include <cstdint>

#include "AboutBox.h"
#include "HostRecord.h"
#include "ImageProxy.h"
#include "PreviewPicture.h"
#include "ParallelRows.h"
#include "ReliefFilter.h"
#include "ScriptedSettings.h"
#include "SettingsDialog.h"
#include "SettingsHandle.h"
#include "SettingsRegistry.h"

namespace {

using namespace relief;

// The settings in force: the host's parameters handle, else the per-user
// copy, else the defaults.
ReliefSettings CurrentSettings(const HostRecord& host) {
  ReliefSettings settings = kDefaultSettings;
  if (LoadFromHandle(host.Handles(), host.Parameters(), &settings) == BlockRead::kRead) return settings;
  if (LoadFromRegistry(&settings) == BlockRead::kRead) return settings;
  return kDefaultSettings;
}

void Keep(HostRecord& host, const ReliefSettings& settings) {
  void* handle = host.Parameters();
  StoreInHandle(host.Handles(), &handle, settings);
  host.SetParameters(handle);
}

// The data word between the selectors of one run (bit 0 clear: no packed
// settings). The dialog left for Start, where the host hands the image
// over: set by Parameters, passed on by the Prepare that follows, shown by
// Start; a second Prepare finds it stale (its run stopped before Start) and
// drops it, so that no later run shows a dialog it did not ask for.
constexpr intptr_t kDialogAfterParameters = 2;
constexpr intptr_t kDialogAtStart = 4;
// Settings chosen (or played back) at Parameters for the Start of the same
// run: packed, with this bit on top.
constexpr intptr_t kChosenAtParameters = intptr_t(1) << 24;

intptr_t ChosenWord(const ReliefSettings& s) { return PackSettings(s) | kChosenAtParameters; }

bool FromChosenWord(intptr_t word, ReliefSettings* s) {
  return (word & kChosenAtParameters) && UnpackSettings(word & ~kChosenAtParameters, s);
}

// The host asks for the settings: the dialog, starting from the settings in
// force or those of a recorded step being played back; a step played back
// without its dialog takes its settings as they are. OK keeps them in the
// host's handle and the user's copy; Cancel changes nothing. A host that
// samples its image for us gets the dialog at Start instead, with a preview
// of that image.
int16_t Parameters(HostRecord& host, intptr_t* data) {
  if (!host.Present()) return kResultBadParameters;
  if (data) *data = 0;
  const Scripting scripting = host.ScriptingParameters();
  ReliefSettings settings = CurrentSettings(host);
  ReliefSettings played = kDefaultSettings;
  const bool replayed = ReadScripted(scripting, &played);
  if (DialogUnwanted(scripting)) {
    // A recorded step run without its dialog whose settings cannot be read
    // fails rather than running with other settings unseen.
    if (!replayed) return kResultBadParameters;
    Keep(host, played);
    if (data) *data = ChosenWord(played);
    return kResultOk;
  }
  if (data && host.ImageSampler().Offered()) {
    *data = kDialogAfterParameters;
    return kResultOk;
  }
  if (replayed) settings = played;
  const int16_t answer = RunSettingsDialog(host.HostWindow(), host.Drawer(), &settings);
  if (answer != kResultOk) return answer;
  StoreInRegistry(settings);
  Keep(host, settings);
  if (data) *data = ChosenWord(settings);
  return kResultOk;
}

int16_t Prepare(HostRecord& host, intptr_t* data) {
  if (!host.Present()) return kResultBadParameters;
  if (data && *data == kDialogAfterParameters) {
    *data = kDialogAtStart;
  } else if (data && *data == kDialogAtStart) {
    *data = 0;
  }
  host.NeedNoBufferSpace();
  return PrepareFilter(host.Image());
}

// Start: the settings chosen at Parameters, else those of a step being
// played back, else those in force; recorded for the host's scripting and
// kept in the data word for Continue. When Parameters left the dialog for
// Start, it shows here first, previewing a proxy of the image; Cancel ends
// the filter with nothing written.
int16_t Start(HostRecord& host, intptr_t* data) {
  if (!host.Present()) return kResultBadParameters;
  const HostImage image = host.Image();
  const Scripting scripting = host.ScriptingParameters();
  const intptr_t word = data ? *data : 0;
  if (data) *data = 0;
  ReliefSettings settings = kDefaultSettings;
  const bool dialog = (word == kDialogAfterParameters || word == kDialogAtStart) && ColourPlanes(image.imageMode) != 0;
  if (dialog) {
    if (!ReadScripted(scripting, &settings)) settings = CurrentSettings(host);
    ImageProxy proxy;
    const Fetch fetched = FetchProxy(image, host.ImageSampler(), kPreviewWidth, kPreviewHeight, &proxy);
    const int16_t answer =
        fetched == Fetch::kNoMemory
            ? int16_t(kResultOutOfMemory)
            : RunSettingsDialog(host.HostWindow(), host.Drawer(), &settings, fetched == Fetch::kFetched ? &proxy : nullptr);
    if (answer != kResultOk) {
      host.AskForNothing();
      return answer;
    }
    StoreInRegistry(settings);
    Keep(host, settings);
  } else if (FromChosenWord(word, &settings)) {
    // chosen in this run's dialog, or played back without it
  } else if (ReadScripted(scripting, &settings)) {
    Keep(host, settings);
  } else {
    settings = CurrentSettings(host);
  }
  BandRequest first;
  const int16_t result = StartFilter(image, settings, &first);
  host.Ask(first);
  if (result == kResultOk) {
    void* descriptor = nullptr;
    if (WriteScripted(scripting, settings, &descriptor)) host.SetDescriptor(descriptor);
    if (data) *data = PackSettings(settings);
  }
  return result;
}

// Continue: honours an abort request, reliefs the band the host handed
// over, reports progress and asks for the next band.
int16_t Continue(HostRecord& host, const intptr_t* data) {
  if (!host.Present()) return kResultBadParameters;
  ReliefSettings settings{};
  if (!data || !UnpackSettings(*data, &settings)) settings = CurrentSettings(host);
  const HostImage image = host.Image();
  const HandedBand band = host.Handed();
  if (!IsEmpty(band.outArea) && host.AbortRequested()) {
    host.AskForNothing();
    return kResultUserCancelled;
  }
  BandRequest next;
  int done = -1;
  const int16_t result = ContinueFilter(image, band, settings, RunRowsOnAllCores, &next, &done);
  if (result == kResultOk && done >= 0) host.Progress(done, image.filter.bottom - image.filter.top);
  host.Ask(next);
  return result;
}

}  // namespace

extern "C" __declspec(dllexport) void PluginMain(int16_t selector, void* record, intptr_t* data, int16_t* result) {
  if (!result) return;
  HostRecord host(selector == kSelectAbout ? nullptr : record);
  switch (selector) {
    case kSelectAbout:
      *result = ShowAbout(AboutOwner(record));
      break;
    case kSelectParameters:
      *result = Parameters(host, data);
      break;
    case kSelectPrepare:
      *result = Prepare(host, data);
      break;
    case kSelectStart:
      *result = Start(host, data);
      break;
    case kSelectContinue:
      *result = Continue(host, data);
      break;
    case kSelectFinish:
      if (host.Present()) host.AskForNothing();
      *result = host.Present() ? kResultOk : kResultBadParameters;
      break;
    default:
      *result = kResultBadParameters;
      break;
  }
}
