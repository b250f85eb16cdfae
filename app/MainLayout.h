#pragma once
// Where everything sits on the main window, worked out from the size of the
// background picture. Client-area pixels throughout.

constexpr int kLeftMargin = 16;
constexpr int kDropDownHeight = 10;

struct LayoutPoint {
  int x;
  int y;
};

struct LayoutRect {
  int left;
  int top;
  int right;
  int bottom;
};

struct MainLayout {
  int dropDownLeft;
  int dropDownTop;
  int dropDownWidth;
  int dropDownHeight;
  int captionTop;          // the folder caption is drawn at TextLeft
  LayoutRect statusRect;   // where hover texts appear
  LayoutPoint exitButton;
  LayoutPoint installButton;
  LayoutPoint finishButton;
  LayoutPoint indicator32;
  LayoutPoint indicator64;
  LayoutPoint siteLink;
  LayoutPoint completionPicture;
  LayoutRect selector;     // left/top place the box; right/bottom size the cleared area
};

// width and height of the background; textLeft is the toolkit's TextLeft
// after the margin has been added to it.
MainLayout ComputeMainLayout(int width, int height, int textLeft);

// The toolkit's TextLeft with the margin added, in the 100 % design.
constexpr int kDesignTextLeft = 4 + kLeftMargin;

// The layout of the window at dpi: the 100 % design's (worked out from
// the background's size at that scale) with every position and length
// scaled. At 96 dots per inch it is ComputeMainLayout's.
MainLayout ScaledMainLayout(int backgroundWidth, int backgroundHeight, int dpi);

// The window position and size that make the client area exactly
// width x height while keeping the centre of the current window rectangle.
// window is the window rectangle in screen coordinates, client the client
// rectangle (left and top 0).
struct WindowPlacement {
  int left;
  int top;
  int width;
  int height;
};
WindowPlacement CentredPlacement(const LayoutRect& window, const LayoutRect& client, int width, int height);
