// The selector's wrap and step rules over any range the count can give and
// any starting value: every step lands on a value the wrap rule allows, a
// toggle never stays half done outside the box, and nothing overflows
// (UndefinedBehaviorSanitizer traps signed overflow).
#include <climits>
#include <cstdlib>
#include <cstring>

#include "jui/SelectorRules.h"

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

int Take(const std::uint8_t*& data, std::size_t& size) {
  int v = 0;
  const std::size_t n = size < sizeof v ? size : sizeof v;
  std::memcpy(&v, data, n);
  data += n;
  size -= n;
  return v;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const int count = Take(data, size);
  const int minimum = Take(data, size);
  int value = Take(data, size);
  int toggle = 0;
  int maximum = 0;
  if (count == INT_MIN) return 0;  // no range: -count does not exist
  SelectorRange(count, &toggle, &maximum);
  Check(maximum >= 0 && (toggle != 0) == (count <= 0));

  // The wrap rule itself: values inside [0, maximum] stay, above goes to the
  // minimum, below zero goes to the maximum.
  const int wrapped = WrapSelectorValue(value, minimum, maximum);
  if (value >= 0 && value <= maximum) Check(wrapped == value);
  if (value > maximum) Check(wrapped == (minimum < 0 ? maximum : minimum));
  if (value < 0) Check(wrapped == maximum);

  // A run of mouse events, one byte each.
  for (std::size_t i = 0; i < size; ++i) {
    const std::uint8_t b = data[i];
    const bool grid = b & 0x80;
    const bool inside = b & 0x40;
    const SelectorEvent event = static_cast<SelectorEvent>((b & 0x3F) % (kSelectorOther + 1));
    const SelectorStep s = StepSelector(value, minimum, maximum, toggle != 0, grid, inside, event);
    // A change inside the box went through the wrap rule: never below zero,
    // and above the maximum only when the minimum itself is.
    if (inside && s.value != value) Check(s.draw && s.value >= 0 && (s.value <= maximum || s.value == minimum));
    if (!inside && toggle && (value % 2 != 0)) Check(s.value == value - 1);
    if (grid && inside) Check(s.value == value);
    Check(!(s.openPicker && s.postNext));
    value = s.value;
  }
  return 0;
}
