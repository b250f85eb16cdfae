#pragma once
// The settings in the host's scripting descriptors: recorded after a run,
// played back before one, through the host's descriptor callbacks. Keys:
// 'Angl' (integer, degrees), 'Hght' (integer, pixels), 'Amnt' (integer,
// percent), 'Clrs' (boolean: relief over the colours).
#include "FilterRecord.h"
#include "ReliefSettings.h"

namespace relief {

constexpr uint32_t kKeyAngle = 0x416E676C;    // 'Angl'
constexpr uint32_t kKeyHeight = 0x48676874;   // 'Hght'
constexpr uint32_t kKeyAmount = 0x416D6E74;   // 'Amnt'
constexpr uint32_t kKeyColours = 0x436C7273;  // 'Clrs'

// The record's scripting parameters, or null when the host offers none.
const DescriptorParametersView* ScriptingOf(const FilterRecordView* record);

// True when the host plays a recorded step and asks for no dialog.
bool DialogUnwanted(const FilterRecordView* record);

// Played-back settings: starts from *settings and takes every key the
// descriptor holds; false, leaving *settings alone, when there is no
// descriptor or it holds a value out of range.
bool ReadScripted(const FilterRecordView* record, ReliefSettings* settings);

// Records the settings, replacing the descriptor the host passed. False
// when the host offers no descriptor writing.
bool WriteScripted(const FilterRecordView* record, const ReliefSettings& settings);

}  // namespace relief
