#pragma once
// A one-line text link, acting on the press.
#include <windows.h>

#include "jui/JElement.h"

constexpr int kLinkTextSize = 60;

class JAncor : public JElement {
 public:
  int visited;                    // 1 once clicked: purple instead of blue
  RECT linkRect;                  // left/top fixed; right/bottom measured by Draw
  char linkText[kLinkTextSize];

  // Only the position's left and top are used.
  JAncor(JContext* context, const char* hoverText, const RECT& position, const char* linkText, int commandId);

  int OnMouse(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
  void Draw(HDC dc) override;

  // Enter and Space follow it, as a press does.
  int HandlesKey(UINT key) override;
  int Activate(HWND window) override;
  int AccState() override;
  RECT AccBounds() override;
  const char* AccAction() override;
};
