// The filter's entry point. Hosts find its name in the plug-in's property
// list and call it with a selector, their record, a word of data kept for the
// plug-in between calls, and a place for the result code.
#include <cstdint>

#include "AboutBox.h"
#include "FilterRecord.h"
#include "ParallelRows.h"
#include "ReliefFilter.h"
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
// force. OK keeps them in the host's handle and the user's copy; Cancel
// changes nothing.
int16_t Parameters(FilterRecordView* record) {
  if (!record) return kResultBadParameters;
  ReliefSettings settings = CurrentSettings(record);
  const int16_t answer = RunSettingsDialog(record, &settings);
  if (answer != kResultOk) return answer;
  StoreInHandle(record, settings);
  StoreInRegistry(settings);
  return kResultOk;
}

}  // namespace

extern "C" __declspec(dllexport) void PluginMain(int16_t selector, void* record, intptr_t* data, int16_t* result) {
  (void)data;  // the settings live in the host's parameters handle
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
      *result = filter ? StartFilter(filter, CurrentSettings(filter)) : int16_t(kResultBadParameters);
      break;
    case kSelectContinue:
      *result = filter ? ContinueFilter(filter, CurrentSettings(filter), RunRowsOnAllCores) : int16_t(kResultBadParameters);
      break;
    case kSelectFinish:
      *result = FinishFilter(filter);
      break;
    default:
      *result = kResultBadParameters;
      break;
  }
}
