#include "ScriptedSettings.h"

namespace relief {

bool PlayingBack(const Scripting& scripting) { return scripting.offered && scripting.descriptor; }

bool DialogUnwanted(const Scripting& scripting) {
  return PlayingBack(scripting) && scripting.playInfo != kPlayDisplay;
}

bool ReadScripted(const Scripting& scripting, ReliefSettings* settings) {
  if (!PlayingBack(scripting) || !scripting.calls.CanRead()) return false;
  const DescriptorCalls& calls = scripting.calls;
  uint32_t keys[] = {kKeyAngle, kKeyHeight, kKeyAmount, kKeyColours, 0};
  void* reader = calls.openRead(scripting.descriptor, keys);
  if (!reader) return false;
  ReliefSettings read = kDefaultSettings;
  uint32_t key = 0, type = 0;
  int32_t flags = 0;
  bool sound = true;
  int seen = 0;
  while (calls.getKey(reader, &key, &type, &flags)) {
    if (++seen > kMaxDescriptorKeys) {
      sound = false;
      break;
    }
    int32_t number = 0;
    unsigned char yes = 0;
    switch (key) {
      case kKeyAngle:
        sound = sound && calls.getInteger(reader, &number) == 0;
        read.angle = number;
        break;
      case kKeyHeight:
        sound = sound && calls.getInteger(reader, &number) == 0;
        read.height = number;
        break;
      case kKeyAmount:
        sound = sound && calls.getInteger(reader, &number) == 0;
        read.amount = number;
        break;
      case kKeyColours:
        sound = sound && calls.getBoolean(reader, &yes) == 0;
        read.result = yes ? ReliefResult::kColours : ReliefResult::kGrey;
        break;
      default:
        break;  // a key of a later version
    }
  }
  calls.closeRead(reader);
  if (!sound || !SettingsAreValid(read)) return false;
  *settings = read;
  return true;
}

bool WriteScripted(const Scripting& scripting, const ReliefSettings& settings, void** descriptor) {
  if (!scripting.offered || !scripting.calls.CanWrite() || !SettingsAreValid(settings)) return false;
  const DescriptorCalls& calls = scripting.calls;
  void* writer = calls.openWrite();
  if (!writer) return false;
  calls.putInteger(writer, kKeyAngle, settings.angle);
  calls.putInteger(writer, kKeyHeight, settings.height);
  calls.putInteger(writer, kKeyAmount, settings.amount);
  calls.putBoolean(writer, kKeyColours, settings.result == ReliefResult::kColours);
  void* made = nullptr;
  // The host disposes of the descriptor it passed in when it takes the new one.
  if (calls.closeWrite(writer, &made) != 0) return false;
  *descriptor = made;
  return true;
}

}  // namespace relief
