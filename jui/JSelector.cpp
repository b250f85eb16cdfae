#include "jui/JSelector.h"

#include "common/bounded.h"
#include "jui/BitmapCache.h"
#include "jui/BitmapDraw.h"
#include "jui/SelectorRules.h"

namespace {

SelectorEvent EventOf(UINT message) {
  switch (message & 0xFFFF) {
    case WM_MOUSEMOVE:
      return kSelectorMove;
    case WM_LBUTTONDOWN:
      return kSelectorLeftDown;
    case WM_RBUTTONDOWN:
      return kSelectorRightDown;
    case WM_LBUTTONUP:
      return kSelectorLeftUp;
    case WM_RBUTTONUP:
      return kSelectorRightUp;
    default:
      return kSelectorOther;
  }
}

}  // namespace

JSelector::JSelector(JContext* ctx, const char* text, const RECT& position, unsigned int stripId,
                     unsigned int labelPlacement, const char* labelText, int minimumValue, int count, int command,
                     int styleFlags, const char* key)
    : JElement(ctx, text),
      value(minimumValue),
      hitRect(),
      eraseRect(),
      flags(styleFlags),
      strip(nullptr),
      minimum(minimumValue),
      maximum(0),
      componentKey(),
      toggle(0),
      labelDx(0),
      labelDy(0),
      label() {
  CopyCut(componentKey, sizeof componentKey, key);
  // A plain value holder keeps only its value range and command id; it has no geometry and no strip.
  commandId = command;
  SelectorRange(count, &toggle, &maximum);
  if (flags & JS_VALUE_ONLY) return;

  hitRect = position;
  strip = new JBitmap();
  strip->fresh = LoadCachedBitmap(stripId, strip, context->instance, context->paintDC);
  SetRect(&eraseRect, position.left, position.top, position.left + position.right, position.top + position.bottom);
  const PlainRect box = SelectorBox(position.left, position.top, strip->height, (flags & JS_GRID) != 0,
                                    (flags & JS_WIDE) != 0);
  SetRect(&hitRect, box.left, box.top, box.right, box.bottom);
  SelectorLabelOffsets(labelPlacement, &labelDx, &labelDy);
  CopyCut(label, sizeof label, labelText);
}

JSelector::~JSelector() {
  if (!strip) return;
  ReleaseCachedBitmap(strip);
  delete strip;
  strip = nullptr;
}

int JSelector::GetValue() { return (flags & JS_VALUE_ONLY) ? value : SelectorRelativeValue(value, minimum); }

void JSelector::SetValue(int v) { value = (flags & JS_VALUE_ONLY) ? v : SelectorClampedValue(v, minimum, maximum); }

void JSelector::Draw(HDC dc) {
  if ((flags & JS_VALUE_ONLY) || !strip) return;
  if (!visible) {
    TileBitmap(context->background, dc, eraseRect);
    return;
  }
  HDC back = context->backDC;
  const bool transpose = (flags & JS_TRANSPOSE) != 0;
  if (flags & JS_GRID) {
    int sx = 0;
    int sy = 0;
    // A value without a cell in the strip leaves the box as it was.
    if (!GridFrameOrigin(value, strip->width, strip->height, &sx, &sy)) return;
    if (transpose)
      CopyRegionTransposed(strip, back, hitRect, sx, sy);
    else
      CopyRegion(strip, back, hitRect, sx, sy);
    BlitRect(hitRect, dc, back);
    return;
  }
  int start = 0;
  int end = 0;
  if (!StripFrameColumns(value, strip->height, strip->width, (flags & JS_WIDE) != 0, &start, &end)) return;
  if (transpose) {
    CopyColumnsTransposed(strip, back, start, hitRect.left, end, hitRect.top);
  } else if (flags & JS_TRANSPARENT) {
    if (context->background) TileBitmap(context->background, back, hitRect);
    CopyColumnsTransparent(strip, back, start, hitRect.left, end, hitRect.top);
  } else {
    CopyColumns(strip, back, start, hitRect.left, end, hitRect.top);
  }
  BlitRect(hitRect, dc, back);
  PutText(label, dc, hitRect.left + labelDx, hitRect.top - labelDy);
}

int JSelector::OnMouse(HWND window, UINT message, WPARAM, LPARAM lParam) {
  if (flags & JS_VALUE_ONLY) return 0;
  const PlainRect box{static_cast<int>(hitRect.left), static_cast<int>(hitRect.top),
                      static_cast<int>(hitRect.right), static_cast<int>(hitRect.bottom)};
  const bool inside = InsideInclusive(box, PointerX(static_cast<std::uintptr_t>(lParam)),
                                      PointerY(static_cast<std::uintptr_t>(lParam)));
  const SelectorStep step =
      StepSelector(value, minimum, maximum, toggle != 0, (flags & JS_GRID) != 0, inside, EventOf(message));
  if (step.hover >= 0) ShowHover(step.hover);
  if (step.openPicker) return OpenPicker(window);
  value = step.value;
  if (step.draw) DrawNow();
  if (step.post) Notify(window, commandId);
  if (step.postNext && commandId != 0) Notify(window, commandId + 1);
  return step.consumed;
}

int JSelector::CompleteChange(HWND window) {
  value = WrapSelectorValue(value, minimum, maximum);
  DrawNow();
  Notify(window, commandId);
  return 1;
}
