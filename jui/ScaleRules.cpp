#include "jui/ScaleRules.h"

namespace {

int Effective(int dpi) { return dpi > 0 ? dpi : kDesignDpi; }

// n * num / den rounded to the nearest, halves away from zero (den > 0).
int RoundedRatio(int n, int num, int den) {
  const long long product = static_cast<long long>(n) * num;
  const long long half = den / 2;
  return static_cast<int>(product >= 0 ? (product + half) / den : -((-product + half) / den));
}

}  // namespace

int ScaledLength(int designLength, int dpi) { return RoundedRatio(designLength, Effective(dpi), kDesignDpi); }

int DesignLength(int length, int dpi) { return RoundedRatio(length, kDesignDpi, Effective(dpi)); }

int PictureSetFor(int dpi) {
  dpi = Effective(dpi);
  for (int set : kPictureSetDpis)
    if (set >= dpi) return set;
  return kPictureSetDpis[kPictureSetCount - 1];
}

unsigned PictureSetResourceId(unsigned designId, int setDpi) {
  if (Effective(setDpi) == kDesignDpi) return designId;
  // 144 -> 14400 + id: the set's dots per inch can be read off the id.
  return static_cast<unsigned>(Effective(setDpi)) * 100u + designId;
}

void ScaledPictureSize(int designWidth, int designHeight, int dpi, int* width, int* height) {
  *height = ScaledLength(designHeight, dpi);
  if (designHeight > 0 && designWidth > designHeight && designWidth % designHeight == 0)
    *width = designWidth / designHeight * *height;
  else
    *width = ScaledLength(designWidth, dpi);
}
