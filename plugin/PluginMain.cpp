// The filter's entry point. Hosts find its name in the plug-in's property
// list and call it with a selector, their record, a word of data kept for the
// plug-in between calls, and a place for the result code.
#include <cstdint>

#include "AboutBox.h"
#include "FilterRecord.h"
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
ReliefSettings CurrentSettings(const FilterRecordView* record) {
  ReliefSettings settings = kDefaultSettings;
  if (LoadFromHandle(record, &settings) == BlockRead::kRead) return settings;
  if (LoadFromRegistry(&settings) == BlockRead::kRead) return settings;
  return kDefaultSettings;
}

// The host asks for the settings: the dialog, starting from the settings in
// force or those of a recorded step being played back; a step played back
// without its dialog takes its settings as they are. OK keeps them in the
// host's handle and the user's copy; Cancel changes nothing.
int16_t Parameters(FilterRecordView* record) {
  if (!record) return kResultBadParameters;
  ReliefSettings settings = CurrentSettings(record);
  const bool played = ReadScripted(record, &settings);
  // A recorded step run without its dialog whose settings cannot be read
  // fails rather than running with other settings unseen.
  if (DialogUnwanted(record) && !played) return kResultBadParameters;
  if (!played || !DialogUnwanted(record)) {
    const int16_t answer = RunSettingsDialog(record, &settings);
    if (answer != kResultOk) return answer;
    StoreInRegistry(settings);
  }
  StoreInHandle(record, settings);
  return kResultOk;
}

// Start: the settings of a step being played back, else those in force;
// recorded for the host's scripting and kept in the data word for Continue.
int16_t Start(FilterRecordView* record, intptr_t* data) {
  if (!record) return kResultBadParameters;
  ReliefSettings settings = CurrentSettings(record);
  if (ReadScripted(record, &settings)) StoreInHandle(record, settings);
  const int16_t result = StartFilter(record, settings);
  if (result == kResultOk) {
    WriteScripted(record, settings);
    if (data) *data = PackSettings(settings);
  }
  return result;
}

int16_t Continue(FilterRecordView* record, const intptr_t* data) {
  if (!record) return kResultBadParameters;
  ReliefSettings settings{};
  if (!data || !UnpackSettings(*data, &settings)) settings = CurrentSettings(record);
  return ContinueFilter(record, settings, RunRowsOnAllCores);
}

}  // namespace

extern "C" __declspec(dllexport) void PluginMain(int16_t selector, void* record, intptr_t* data, int16_t* result) {
  if (!result) return;
  auto* filter = static_cast<FilterRecordView*>(record);
  switch (selector) {
    case kSelectAbout:
      *result = ShowAbout(static_cast<const AboutRecordView*>(record));
      break;
    case kSelectParameters:
      *result = Parameters(filter);
      break;
    case kSelectPrepare:
      *result = PrepareFilter(filter);
      break;
    case kSelectStart:
      *result = Start(filter, data);
      break;
    case kSelectContinue:
      *result = Continue(filter, data);
      break;
    case kSelectFinish:
      *result = FinishFilter(filter);
      break;
    default:
      *result = kResultBadParameters;
      break;
  }
}
