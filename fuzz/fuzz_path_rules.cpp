// The single path rules on registry text: title case, strip to the first
// letter, cut after the last backslash, trailing backslash and join. None
// writes past its buffer; each keeps the relation to its input it promises.
#include <cstdlib>
#include <cstring>
#include <string>

#include "common/chars.h"
#include "discovery/PathRules.h"
#include "fuzz_input.h"

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

std::string Lowered(std::string text) {
  for (char& c : text) c = LowerAscii(c);
  return text;
}

void TitleCase(const std::string& input) {
  FuzzText path(reinterpret_cast<const std::uint8_t*>(input.c_str()), input.size() + 1, 400);
  const std::string before = path.text();
  TitleCasePath(path.text());
  path.CheckBounds();
  const std::string once = path.text();
  Check(once.size() == before.size());
  // Only the first character may change beyond ASCII letter case; a second
  // pass changes nothing, and the input's letter case does not matter.
  if (!once.empty()) Check(Lowered(once).substr(1) == Lowered(before).substr(1));
  FuzzText again(reinterpret_cast<const std::uint8_t*>(once.c_str()), once.size() + 1, 400);
  TitleCasePath(again.text());
  Check(once == again.text());
  FuzzText lowered(reinterpret_cast<const std::uint8_t*>(Lowered(before).c_str()), before.size() + 1, 400);
  TitleCasePath(lowered.text());
  Check(once == lowered.text());
  // A letter after a non-letter is upper case (ASCII letters only).
  for (std::size_t i = 1; i < once.size(); ++i)
    if (!IsAlphaChar(once[i - 1]) && once[i] >= 'a' && once[i] <= 'z') std::abort();
}

void Strip(const std::string& input) {
  FuzzText text(reinterpret_cast<const std::uint8_t*>(input.c_str()), input.size() + 1, 400);
  const std::string before = text.text();
  StripToFirstLetter(text.text());
  text.CheckBounds();
  const std::string after = text.text();
  // What is left is the tail of the input from its first letter on.
  Check(after.size() <= before.size());
  Check(before.compare(before.size() - after.size(), after.size(), after) == 0);
  for (std::size_t i = 0; i < before.size() - after.size(); ++i) Check(!IsAlphaChar(before[i]));
  Check(after.empty() || IsAlphaChar(after[0]));
}

void Cut(const std::string& input) {
  FuzzText text(reinterpret_cast<const std::uint8_t*>(input.c_str()), input.size() + 1, 400);
  const std::string before = text.text();
  CutAfterLastChar(text.text(), '\\');
  text.CheckBounds();
  const std::string after = text.text();
  // A prefix; when cut, it ends in the backslash that was last among the
  // characters strictly inside the input.
  Check(before.compare(0, after.size(), after) == 0);
  if (after.size() < before.size()) {
    Check(after.size() >= 2 && after.back() == '\\');
    Check(before.find('\\', after.size()) == std::string::npos || before.find('\\', after.size()) == before.size() - 1);
  } else if (before.size() >= 3) {
    Check(before.substr(1, before.size() - 2).find('\\') == std::string::npos);
  }
}

void Trailing(const std::string& input, std::size_t capacity) {
  FuzzText path(reinterpret_cast<const std::uint8_t*>(input.c_str()), input.size() + 1, capacity);
  const std::string before = path.text();
  char* result = EnsureTrailingBackslash(path.text(), capacity);
  path.CheckBounds();
  const std::string after = path.text();
  if (!result) {
    Check(after == before);
    Check(before.empty() || before.size() + 2 > capacity);
    return;
  }
  Check(after.back() == '\\');
  Check(after == before || after == before + "\\");
}

void Join(const std::string& base, const std::string& name, std::size_t capacity) {
  FuzzText destination(reinterpret_cast<const std::uint8_t*>(""), 1, capacity);
  char* result = JoinPath(destination.text(), capacity, name.c_str(), base.empty() ? nullptr : base.c_str());
  destination.CheckBounds();
  const std::string joined = destination.text();
  if (!result) {
    Check(joined.empty());
    return;
  }
  const std::string expected = (base.back() == '\\' ? base : base + "\\") + name;
  Check(joined == expected && joined.size() < capacity);
}

}  // namespace

// Input: one byte of capacity, then two texts separated by the first NUL.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  const std::size_t capacity = 1 + data[0] % 64 + (data[0] >= 192 ? 300 : 0);
  const std::string first(reinterpret_cast<const char*>(data + 1), strnlen(reinterpret_cast<const char*>(data + 1), size - 1));
  const std::size_t rest = first.size() + 2 <= size ? first.size() + 2 : size;
  const std::string second(reinterpret_cast<const char*>(data + rest), strnlen(reinterpret_cast<const char*>(data + rest), size - rest));

  TitleCase(first);
  Strip(first);
  Cut(first);
  Trailing(first, capacity);
  Join(first, second, capacity);
  return 0;
}
