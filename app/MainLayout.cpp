#include "MainLayout.h"

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
