#pragma once
// A bitmap push button with a pressed look and an optional text label.
#include <windows.h>

#include "jui/JElement.h"

// Label placement relative to the button's position: offset and size.
struct JLabelPlacement {
  int dx;
  int dy;
  int width;
  int height;
};

constexpr int kButtonLabelSize = 60;

class JButton : public JElement {
 public:
  JBitmap* normalImage;   // owned; null when none
  JBitmap* pressedImage;  // owned; null when none
  int pressState;         // 0 idle, 1 pressed, 3 clicked
  int imageX;
  int imageY;
  RECT bounds;            // erased, copied and hit-tested area
  char label[kButtonLabelSize];
  RECT labelRect;
  int drawDirect;         // 1: the normal image goes straight onto the target DC
  int pressOffset;        // 1 when both looks are the same resource

  // position: left/top place the button; right/bottom give its extent only
  // without a normal image. Bitmap ids 0 mean none. A label without a
  // placement is drawn in the position rectangle.
  JButton(JContext* context, const char* hoverText, const RECT& position, unsigned int normalId,
          unsigned int pressedId, int commandId, const char* label = nullptr,
          const JLabelPlacement* labelPlacement = nullptr);

  void Place(const RECT& position, unsigned int normalId, unsigned int pressedId, int commandId);
  int OnMouse(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
  void Draw(HDC dc) override;
  void DrawPressed(int pressed);
  ~JButton() override;

  // Enter and Space press it; a button that posts nothing takes no key.
  int HandlesKey(UINT key) override;
  int Activate(HWND window) override;
  int AccState() override;
  RECT AccBounds() override;
  const char* AccAction() override;

 private:
  void DrawLabel(HDC dc);
  RECT FocusRing() const;
};
