#include "jui/JButton.h"

#include <oleacc.h>

#include "common/bounded.h"
#include "jui/BitmapCache.h"
#include "jui/PixelCopies.h"
#include "jui/RectConversion.h"
#include "jui/ScaleRules.h"
#include "jui/ScaledPictures.h"
#include "jui/TextDrawing.h"
#include "jui/TileBitmap.h"

namespace {

JBitmap* LoadImage(JContext* context, unsigned int id) {
  if (id == 0) return nullptr;
  JBitmap* image = new JBitmap();
  image->fresh = LoadPictureAtDpi(id, context->dpi, image, context->instance, context->paintDC);
  return image;
}

void FreeImage(JBitmap*& image) {
  if (!image) return;
  ReleaseCachedBitmap(image);
  delete image;
  image = nullptr;
}

}  // namespace

JButton::JButton(JContext* ctx, const char* text, const RECT& position, unsigned int normalId,
                 unsigned int pressedId, int command, const char* labelText, const JLabelPlacement* placement)
    : JElement(ctx, text),
      normalImage(nullptr),
      pressedImage(nullptr),
      pressState(0),
      imageX(0),
      imageY(0),
      bounds(),
      label(),
      labelRect(),
      drawDirect(0),
      pressOffset(0) {
  focusable = 1;
  accRole = ROLE_SYSTEM_PUSHBUTTON;
  CopyCut(label, sizeof label, labelText);
  if (placement) {
    labelRect.left = position.left + placement->dx;
    labelRect.top = position.top + placement->dy;
    labelRect.right = labelRect.left + placement->width;
    labelRect.bottom = labelRect.top + placement->height;
  } else {
    // No placement: the label goes into the position rectangle as given
    // (nothing is drawn when that rectangle is empty).
    labelRect = position;
  }
  Place(position, normalId, pressedId, command);
}

void JButton::Place(const RECT& position, unsigned int normalId, unsigned int pressedId, int command) {
  bounds = position;
  FreeImage(normalImage);
  FreeImage(pressedImage);
  normalImage = LoadImage(context, normalId);
  pressedImage = LoadImage(context, pressedId);
  imageX = position.left;
  imageY = position.top;
  if (normalImage) {
    bounds.right = imageX + normalImage->width;
    bounds.bottom = imageY + normalImage->height;
  }
  pressState = 0;
  if (normalId == pressedId) {
    // One pixel of the 100 % design, at the display's scale.
    pressOffset = ScaledLength(1, context->dpi);
    bounds.right += pressOffset;
    bounds.bottom += pressOffset;
  } else {
    pressOffset = 0;
  }
  commandId = command;
}

JButton::~JButton() {
  FreeImage(pressedImage);
  FreeImage(normalImage);
}

int JButton::OnMouse(HWND window, UINT message, WPARAM, LPARAM lParam) {
  const int x = PointerX(static_cast<std::uintptr_t>(lParam));
  const int y = PointerY(static_cast<std::uintptr_t>(lParam));
  const bool inside = InsideStrict(ToPlainRect(bounds), x, y);  // bounds start at the image's corner
  switch (message & 0xFFFF) {
    case WM_MOUSEMOVE:
      if (inside) {
        ShowHover(1);
      } else {
        if (pressState == 1) {
          DrawPressed(0);
          pressState = 0;
        }
        ShowHover(0);
      }
      return 0;
    case WM_LBUTTONDOWN:
      if (inside) {
        DrawPressed(1);
        pressState = 1;
      }
      return 0;
    case WM_LBUTTONUP:
      if (pressState == 1) {
        DrawPressed(0);
        Notify(window, commandId);
        pressState = 3;
        return 1;
      }
      pressState = 0;
      return 0;
    default:
      return 0;
  }
}

void JButton::Draw(HDC dc) {
  EraseFocusCue(dc);
  if (!visible) {
    TileBitmap(context->background, dc, bounds);
  } else if (normalImage) {
    TileBitmap(context->background, context->backDC, bounds);
    if (drawDirect) {
      DrawTransparentDirect(normalImage, dc, imageX, imageY);
    } else {
      DrawTransparent(normalImage, context->backDC, imageX, imageY, 0, 0);
      BlitRect(bounds, dc, context->backDC);
    }
  }
  DrawLabel(dc);
  DrawFocusCue(dc, FocusRing());
}

void JButton::DrawPressed(int pressed) {
  if (!normalImage || !pressedImage) return;
  TileBitmap(context->background, context->backDC, bounds);
  if (pressed)
    DrawTransparent(pressedImage, context->backDC, imageX, imageY, pressOffset, pressOffset);
  else
    DrawTransparent(normalImage, context->backDC, imageX, imageY, 0, 0);
  BlitRect(bounds, context->paintDC, context->backDC);
  DrawLabel(context->paintDC);
  DrawFocusCue(context->paintDC, FocusRing());
}

void JButton::DrawLabel(HDC dc) {
  if (label[0] == '\0' || IsEmptyRect(ToPlainRect(labelRect))) return;
  TileBitmap(context->background, context->backDC, labelRect);
  PutText(label, context->backDC, labelRect.left, labelRect.top);
  BlitRect(labelRect, dc, context->backDC);
}

// --- keyboard and assistive technology -----------------------------------

namespace {

constexpr int kFocusInset = 2;  // the cue runs this far inside the picture

}  // namespace

RECT JButton::FocusRing() const {
  RECT ring = bounds;
  ring.right -= pressOffset;
  ring.bottom -= pressOffset;
  const int inset = ScaledLength(kFocusInset, context->dpi);
  InflateRect(&ring, -inset, -inset);
  return ring;
}

int JButton::HandlesKey(UINT key) { return commandId != 0 && (key == VK_RETURN || key == VK_SPACE); }

int JButton::Activate(HWND window) {
  if (commandId == 0 || !visible || !active) return 0;
  Notify(window, commandId);
  return 1;
}

int JButton::AccState() {
  int state = JElement::AccState();
  if (pressState == 1) state |= STATE_SYSTEM_PRESSED;
  return state;
}

RECT JButton::AccBounds() {
  RECT shown = bounds;
  shown.right -= pressOffset;
  shown.bottom -= pressOffset;
  return shown;
}

const char* JButton::AccAction() { return commandId != 0 ? "Press" : ""; }
