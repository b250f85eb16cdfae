// The filter's entry point. Hosts find its name in the plug-in's property
// list and call it with a selector, their record, a word of data kept for the
// plug-in between calls, and a place for the result code.
#include <cstdint>

#include "AboutBox.h"
#include "FilterRecord.h"
#include "ReliefFilter.h"

extern "C" __declspec(dllexport) void PluginMain(int16_t selector, void* record, intptr_t* data, int16_t* result) {
  (void)data;  // the filter has no settings to keep between calls
  if (!result) return;
  auto* filter = static_cast<relief::FilterRecordView*>(record);
  switch (selector) {
    case relief::kSelectAbout:
      *result = relief::ShowAbout(static_cast<const relief::AboutRecordView*>(record));
      break;
    case relief::kSelectParameters:
      *result = record ? relief::kResultOk : relief::kResultBadParameters;
      break;
    case relief::kSelectPrepare:
      *result = relief::PrepareFilter(filter);
      break;
    case relief::kSelectStart:
      *result = relief::StartFilter(filter);
      break;
    case relief::kSelectContinue:
      *result = relief::ContinueFilter(filter);
      break;
    case relief::kSelectFinish:
      *result = relief::FinishFilter(filter);
      break;
    default:
      *result = relief::kResultBadParameters;
      break;
  }
}
