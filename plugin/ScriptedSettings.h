#pragma once
// The settings in the host's scripting descriptors: recorded after a run,
// played back before one, through the host's descriptor callbacks. Keys:
// 'Angl' (integer, degrees), 'Hght' (integer, pixels), 'Amnt' (integer,
// percent), 'Clrs' (boolean: relief over the colours).
#include "HostRecord.h"
#include "ReliefSettings.h"

namespace relief {

constexpr uint32_t kKeyAngle = 0x416E676C;    // 'Angl'
constexpr uint32_t kKeyHeight = 0x48676874;   // 'Hght'
constexpr uint32_t kKeyAmount = 0x416D6E74;   // 'Amnt'
constexpr uint32_t kKeyColours = 0x436C7273;  // 'Clrs'

// A descriptor holds no more keys than this; one that keeps giving keys is
// not read to its end.
constexpr int kMaxDescriptorKeys = 64;

// True when the host plays a recorded step and asks for no dialog.
bool DialogUnwanted(const Scripting& scripting);

// True when the host plays a recorded step back (with or without its dialog).
bool PlayingBack(const Scripting& scripting);

// Played-back settings: the defaults, with every key the descriptor holds
// taken from it (a key it lacks keeps its default, never the last settings).
// False, leaving *settings alone, when there is no descriptor, it cannot be
// read to its end, or it holds a value out of range.
bool ReadScripted(const Scripting& scripting, ReliefSettings* settings);

// Records the settings; *descriptor is the new descriptor, which replaces
// the one the host passed. False when the host offers no descriptor writing.
bool WriteScripted(const Scripting& scripting, const ReliefSettings& settings, void** descriptor);

}  // namespace relief
