#include "ScriptedSettings.h"

namespace relief {

const DescriptorParametersView* ScriptingOf(const FilterRecordView* record) {
  return record ? static_cast<const DescriptorParametersView*>(record->descriptorParameters) : nullptr;
}

bool DialogUnwanted(const FilterRecordView* record) {
  const DescriptorParametersView* scripting = ScriptingOf(record);
  return scripting && scripting->descriptor && scripting->playInfo != kPlayDisplay;
}

bool ReadScripted(const FilterRecordView* record, ReliefSettings* settings) {
  const DescriptorParametersView* scripting = ScriptingOf(record);
  if (!scripting || !scripting->descriptor || !scripting->readProcs) return false;
  const ReadDescriptorProcsView* procs = scripting->readProcs;
  if (procs->count < 7 || !procs->open || !procs->close || !procs->getKey || !procs->getInteger ||
      !procs->getBoolean)
    return false;
  uint32_t keys[] = {kKeyAngle, kKeyHeight, kKeyAmount, kKeyColours, 0};
  void* reader = procs->open(scripting->descriptor, keys);
  if (!reader) return false;
  ReliefSettings read = *settings;
  uint32_t key = 0, type = 0;
  int32_t flags = 0;
  bool sound = true;
  while (procs->getKey(reader, &key, &type, &flags)) {
    int32_t number = 0;
    unsigned char yes = 0;
    switch (key) {
      case kKeyAngle:
        sound = sound && procs->getInteger(reader, &number) == 0;
        read.angle = number;
        break;
      case kKeyHeight:
        sound = sound && procs->getInteger(reader, &number) == 0;
        read.height = number;
        break;
      case kKeyAmount:
        sound = sound && procs->getInteger(reader, &number) == 0;
        read.amount = number;
        break;
      case kKeyColours:
        sound = sound && procs->getBoolean(reader, &yes) == 0;
        read.result = yes ? ReliefResult::kColours : ReliefResult::kGrey;
        break;
      default:
        break;  // a key of a later version
    }
  }
  procs->close(reader);
  if (!sound || !SettingsAreValid(read)) return false;
  *settings = read;
  return true;
}

bool WriteScripted(const FilterRecordView* record, const ReliefSettings& settings) {
  auto* scripting = static_cast<DescriptorParametersView*>(record ? record->descriptorParameters : nullptr);
  if (!scripting || !scripting->writeProcs || !SettingsAreValid(settings)) return false;
  const WriteDescriptorProcsView* procs = scripting->writeProcs;
  if (procs->count < 6 || !procs->open || !procs->close || !procs->putInteger || !procs->putBoolean) return false;
  void* writer = procs->open();
  if (!writer) return false;
  procs->putInteger(writer, kKeyAngle, settings.angle);
  procs->putInteger(writer, kKeyHeight, settings.height);
  procs->putInteger(writer, kKeyAmount, settings.amount);
  procs->putBoolean(writer, kKeyColours, settings.result == ReliefResult::kColours);
  void* descriptor = nullptr;
  // The host disposes of the descriptor it passed in when it takes the new one.
  const bool closed = procs->close(writer, &descriptor) == 0;
  if (closed) scripting->descriptor = descriptor;
  return closed;
}

}  // namespace relief
