#include "ResourceNameEncode.h"

#include <cstring>
#include <vector>

#include "ResourceName.h"

// The decoder read as a machine over the resource name: the character at
// the head is either upper-cased already ("capital") or not, and a lone "_"
// that became a space must not be followed by another "_", which would make
// a pair of it. A file name is produced character by character, each by one
// of a few short pieces of resource name; the shortest sequence of pieces is
// found by working back from the end of the name.

namespace {

bool IsUpper(char c) { return c >= 'A' && c <= 'Z'; }
bool IsLower(char c) { return c >= 'a' && c <= 'z'; }
bool IsLetter(char c) { return IsUpper(c) || IsLower(c); }
char Upper(char c) { return IsLower(c) ? static_cast<char>(c - 32) : c; }

// One piece of resource name that yields one file-name character.
struct Piece {
  char raw[5];
  bool capital;     // the next head is upper-cased
  bool noPairNext;  // the next piece must not begin with "_"
};

// The pieces that give character c from a head in state (capital, noPair),
// in order of preference; last tells whether c ends the file name.
int PiecesFor(char c, bool capital, bool noPair, bool last, Piece* out) {
  int n = 0;
  auto add = [&](const char* raw, bool nextCapital, bool nextNoPair) {
    std::strcpy(out[n].raw, raw);
    out[n].capital = nextCapital;
    out[n].noPairNext = nextNoPair;
    ++n;
  };
  const char u[2] = {Upper(c), '\0'};
  char shielded[3] = {':', Upper(c), '\0'};
  char paired[4] = {'_', '_', Upper(c), '\0'};
  char pairedShield[5] = {'_', '_', ':', Upper(c), '\0'};

  if (c == ' ' && !last && !noPair) add("_", true, true);                      // a lone "_" becomes a space
  if (IsLetter(c) && IsUpper(c) == capital) add(u, false, false);  // the letter as the head's state has it
  if (!IsLetter(c) && c != '_' && c != ':') add(u, CapitalisesNext(c), false);
  if (c == '_' && last && !noPair) add("_", false, false);          // the last character is never examined
  if (!IsUpper(c)) add(shielded, false, false);                     // ":" keeps the next one as it is
  if (!noPair) {
    if (c == ' ') add("___", true, false);                          // pair, then a third "_"
    if (IsUpper(c) || (!IsLetter(c) && c != '_' && c != ':')) add(paired, CapitalisesNext(c), false);
    if (!IsUpper(c)) add(pairedShield, false, false);
  }
  return n;
}

constexpr short kNone = 0x7FFF;

}  // namespace

const char* DescribeNameProblem(NameProblem problem) {
  switch (problem) {
    case NameProblem::None: return "";
    case NameProblem::Empty: return "the name is empty";
    case NameProblem::ForbiddenCharacter: return "Windows does not allow this character in a file name";
    case NameProblem::NotPrintableAscii: return "only printable ASCII characters can be encoded";
    case NameProblem::TrailingSpaceOrDot: return "Windows drops a space or full stop at the end of a file name";
    case NameProblem::ReservedDeviceName: return "Windows reserves this name for a device";
    case NameProblem::TooLong: return "the resource name would be 400 characters or longer";
    case NameProblem::NoNameInOrder: return "no resource name for it sorts after the previous one";
    case NameProblem::NoEncoding: return "no resource name decodes to exactly this name";
  }
  return "";
}

namespace {

bool IsReservedDeviceName(const char* name, int n) {
  int stem = 0;
  while (stem < n && name[stem] != '.') ++stem;
  while (stem > 0 && name[stem - 1] == ' ') --stem;  // "nul .txt" is the device too
  char base[5] = "";
  if (stem < 3 || stem > 4) return false;
  for (int i = 0; i < stem; ++i) base[i] = Upper(name[i]);
  base[stem] = '\0';
  static const char* const kThree[] = {"CON", "PRN", "AUX", "NUL"};
  if (stem == 3) {
    for (const char* r : kThree)
      if (std::strcmp(base, r) == 0) return true;
    return false;
  }
  return (std::strncmp(base, "COM", 3) == 0 || std::strncmp(base, "LPT", 3) == 0) && base[3] >= '1' && base[3] <= '9';
}

}  // namespace

NameEncoding EncodeResourceName(const char* fileName, char* out, int cap, const char* after) {
  if (out && cap > 0) out[0] = '\0';
  const int n = static_cast<int>(strnlen(fileName, kResourceNameCapacity));
  if (n == 0) return {NameProblem::Empty, -1, 0};
  for (int i = 0; i < n; ++i) {
    if (!IsPrintableAscii(fileName[i])) return {NameProblem::NotPrintableAscii, i, 0};
    if (std::strchr("<>:\"/\\|?*", fileName[i])) return {NameProblem::ForbiddenCharacter, i, 0};
  }
  // Never shorter than the file name: the decoded name is never longer.
  if (n >= kResourceNameCapacity) return {NameProblem::TooLong, -1, n};
  if (fileName[n - 1] == ' ' || fileName[n - 1] == '.') return {NameProblem::TrailingSpaceOrDot, n - 1, 0};
  if (IsReservedDeviceName(fileName, n)) return {NameProblem::ReservedDeviceName, -1, 0};

  // State: position j in the file name, head capital, no pair next, and how
  // the name so far compares with after: equal to its first k characters
  // (0..m) or already greater (m + 1).
  const int m = after ? static_cast<int>(strnlen(after, kResourceNameCapacity)) : 0;
  const int greater = m + 1;
  const int ks = m + 2;
  auto at = [&](int j, int capital, int noPair, int k) {
    return ((static_cast<std::size_t>(j) * 2 + capital) * 2 + noPair) * ks + k;
  };
  // Where the comparison stands after raw, from k; -1 when the name now sorts before after.
  auto compare = [&](int k, const char* raw) {
    for (const char* r = raw; *r && k != greater; ++r) {
      const unsigned char here = static_cast<unsigned char>(*r), there = static_cast<unsigned char>(after[k]);
      if (k == m || here > there) return greater;
      if (here < there) return -1;
      ++k;
    }
    return k;
  };
  std::vector<short> best(static_cast<std::size_t>(n + 1) * 4 * ks, kNone);
  for (int capital = 0; capital < 2; ++capital)
    for (int noPair = 0; noPair < 2; ++noPair) best[at(n, capital, noPair, greater)] = 0;

  Piece pieces[8];
  for (int j = n - 1; j >= 0; --j) {
    for (int capital = 0; capital < 2; ++capital) {
      for (int noPair = 0; noPair < 2; ++noPair) {
        const int count = PiecesFor(fileName[j], capital, noPair, j == n - 1, pieces);
        for (int k = 0; k < ks; ++k) {
          if (k != greater && !after) continue;
          short& here = best[at(j, capital, noPair, k)];
          for (int p = 0; p < count; ++p) {
            const int next = compare(k, pieces[p].raw);
            if (next < 0) continue;
            const short rest = best[at(j + 1, pieces[p].capital, pieces[p].noPairNext, next)];
            if (rest == kNone) continue;
            const int total = rest + static_cast<int>(std::strlen(pieces[p].raw));
            if (total < here) here = static_cast<short>(total);
          }
        }
      }
    }
  }

  int k = after ? 0 : greater;
  const short length = best[at(0, 1, 0, k)];
  if (length == kNone) return {NameProblem::NoNameInOrder, -1, 0};
  if (length >= kResourceNameCapacity) return {NameProblem::TooLong, -1, length};
  if (!out || length >= cap) return {NameProblem::TooLong, -1, length};

  // Walk forward along the pieces that keep the shortest length.
  int capital = 1, noPair = 0, written = 0;
  for (int j = 0; j < n; ++j) {
    const short want = best[at(j, capital, noPair, k)];
    const int count = PiecesFor(fileName[j], capital, noPair, j == n - 1, pieces);
    for (int p = 0; p < count; ++p) {
      const int next = compare(k, pieces[p].raw);
      if (next < 0) continue;
      const int len = static_cast<int>(std::strlen(pieces[p].raw));
      if (best[at(j + 1, pieces[p].capital, pieces[p].noPairNext, next)] + len != want) continue;
      std::memcpy(out + written, pieces[p].raw, static_cast<std::size_t>(len));
      written += len;
      capital = pieces[p].capital;
      noPair = pieces[p].noPairNext;
      k = next;
      break;
    }
  }
  out[written] = '\0';

  // The decoder has the last word.
  char check[kResourceNameCapacity];
  std::memcpy(check, out, static_cast<std::size_t>(written) + 1);
  if (written != length || std::strcmp(DecodeResourceName(check), fileName) != 0) {
    out[0] = '\0';
    return {NameProblem::NoEncoding, -1, 0};
  }
  return {NameProblem::None, -1, length};
}
