#pragma once
// Which architecture indicators the folder chooser shows: exactly the builds
// that the install command will write into the folder.

struct IndicatorState {
  bool show32;
  bool show64;
};

IndicatorState IndicatorsFor(int isWow64, const char* folder);
