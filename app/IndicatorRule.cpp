#include "IndicatorRule.h"

#include "PayloadTypes.h"

IndicatorState IndicatorsFor(int isWow64, const char* folder) {
  int types[2] = {0, 0};
  const int count = ChoosePayloadTypes(isWow64, folder, types);
  IndicatorState state{false, false};
  for (int i = 0; i < count; ++i) {
    if (types[i] == kPayload32) state.show32 = true;
    if (types[i] == kPayload64) state.show64 = true;
  }
  return state;
}
