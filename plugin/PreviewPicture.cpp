#include "PreviewPicture.h"

#include "ImageModes.h"
#include "ReliefKernel.h"

namespace relief {

bool PreviewPicture(Bytes* out) {
  if (!out->Assign(std::size_t(kPreviewWidth) * kPreviewHeight * 3)) return false;
  uint8_t* rgb = out->data();
  for (int y = 0; y < kPreviewHeight; ++y)
    for (int x = 0; x < kPreviewWidth; ++x) {
      uint8_t* p = &rgb[(std::size_t(y) * kPreviewWidth + x) * 3];
      const int t = y * 255 / (kPreviewHeight - 1);
      int r = 90 + t * 140 / 255, g = 140 + t * 80 / 255, b = 220 - t * 120 / 255;  // sky to sand
      const int dx = x - 70, dy = y - 70;
      if (dx * dx + dy * dy < 38 * 38) r = 200, g = 60, b = 40;      // a disc
      if (x >= 120 && x < 180 && y >= 30 && y < 120) r = 40, g = 110, b = 60;  // a bar
      if ((x + y) % 23 == 0 && y > 115) r = g = b = 30;              // thin lines
      p[0] = static_cast<uint8_t>(r);
      p[1] = static_cast<uint8_t>(g);
      p[2] = static_cast<uint8_t>(b);
    }
  return true;
}

bool RenderPreview(const Bytes& picture, const ReliefSettings& settings, Bytes* relieved) {
  ReliefPlan plan;
  relieved->Clear();
  const std::size_t pixels = std::size_t(kPreviewWidth) * kPreviewHeight;
  if (picture.size() != pixels * 3 || !MakePlan(settings, kModeRgb, false, &plan)) return false;
  if (!relieved->Assign(picture.size())) return false;
  const PixelBlock block{0, 0, kPreviewWidth, kPreviewHeight, kPreviewWidth * 3, 3};
  ReliefRows(plan, picture.data(), block, relieved->data(), block, 0, kPreviewHeight);
  return true;
}

bool ToBgrx(const Bytes& rgb, Bytes* out) {
  const std::size_t pixels = rgb.size() / 3;
  if (!out->Assign(pixels * 4)) return false;
  uint8_t* bgrx = out->data();
  for (std::size_t i = 0; i < pixels; ++i) {
    bgrx[i * 4] = rgb[i * 3 + 2];
    bgrx[i * 4 + 1] = rgb[i * 3 + 1];
    bgrx[i * 4 + 2] = rgb[i * 3];
    bgrx[i * 4 + 3] = 0;
  }
  return true;
}

}  // namespace relief
