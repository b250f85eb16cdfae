#include "MainLayout.h"

#include "jui/ScaleRules.h"

MainLayout ComputeMainLayout(int width, int height, int textLeft) {
  MainLayout layout{};
  const int dropDownWidth = width - 2 * kLeftMargin - 3;
  layout.dropDownLeft = kLeftMargin;
  layout.dropDownTop = height - 60;
  layout.dropDownWidth = dropDownWidth;
  layout.dropDownHeight = kDropDownHeight;
  layout.captionTop = (height - 60) - 26 + 4;
  layout.statusRect = {textLeft, height - 19, kLeftMargin + dropDownWidth - 130, (height - 19) + 20};
  layout.exitButton = {width - 63, height - 21};
  layout.installButton = {width - 125, height - 21};
  layout.finishButton = {width - 65, height - 21};
  layout.indicator32 = {480, 236};
  layout.indicator64 = {510, 236};
  layout.siteLink = {458, 20};
  layout.completionPicture = {0, 0};
  layout.selector = {290, 100, 310, 112};
  return layout;
}

namespace {

LayoutPoint Scaled(LayoutPoint p, int dpi) { return {ScaledLength(p.x, dpi), ScaledLength(p.y, dpi)}; }

LayoutRect Scaled(LayoutRect r, int dpi) {
  return {ScaledLength(r.left, dpi), ScaledLength(r.top, dpi), ScaledLength(r.right, dpi), ScaledLength(r.bottom, dpi)};
}

}  // namespace

MainLayout ScaledMainLayout(int backgroundWidth, int backgroundHeight, int dpi) {
  const MainLayout d = ComputeMainLayout(DesignLength(backgroundWidth, dpi), DesignLength(backgroundHeight, dpi),
                                         kDesignTextLeft);
  MainLayout layout = d;
  layout.dropDownLeft = ScaledLength(d.dropDownLeft, dpi);
  layout.dropDownTop = ScaledLength(d.dropDownTop, dpi);
  // The right edge is scaled, so the drop-down ends where the design's does.
  layout.dropDownWidth = ScaledLength(d.dropDownLeft + d.dropDownWidth, dpi) - layout.dropDownLeft;
  layout.dropDownHeight = ScaledLength(d.dropDownHeight, dpi);
  layout.captionTop = ScaledLength(d.captionTop, dpi);
  layout.statusRect = Scaled(d.statusRect, dpi);
  layout.exitButton = Scaled(d.exitButton, dpi);
  layout.installButton = Scaled(d.installButton, dpi);
  layout.finishButton = Scaled(d.finishButton, dpi);
  layout.indicator32 = Scaled(d.indicator32, dpi);
  layout.indicator64 = Scaled(d.indicator64, dpi);
  layout.siteLink = Scaled(d.siteLink, dpi);
  layout.completionPicture = Scaled(d.completionPicture, dpi);
  // Left and top place the box; right and bottom are the cleared area's size.
  layout.selector = Scaled(d.selector, dpi);
  return layout;
}

WindowPlacement CentredPlacement(const LayoutRect& window, const LayoutRect& client, int width, int height) {
  const int frameWidth = (window.right - window.left) - client.right;
  const int frameHeight = (window.bottom - window.top) - client.bottom;
  // C++ division truncates toward zero, as the placement rule wants.
  WindowPlacement placement{};
  placement.left = (window.left + window.right - width - frameWidth) / 2;
  placement.top = (window.top + window.bottom - height - frameHeight) / 2;
  placement.width = width + frameWidth;
  placement.height = height + frameHeight;
  return placement;
}
