#pragma once
// The settings dialog: angle, height, amount and result, with a preview
// that follows every change. Owned by the host's window. OK hands the
// settings back; Cancel leaves *settings as it was.
#include "FilterRecord.h"
#include "ReliefSettings.h"

namespace relief {

// Dialog and result texts, as the dialog shows them.
extern const wchar_t kResultGreyText[];
extern const wchar_t kResultColoursText[];

// kResultOk with *settings replaced, or kResultUserCancelled.
int16_t RunSettingsDialog(const FilterRecordView* record, ReliefSettings* settings);

}  // namespace relief
