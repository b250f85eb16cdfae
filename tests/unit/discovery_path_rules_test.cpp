// The in-place path rules of the folder discovery, on worked examples and on
// the corner cases that break such rules: empty and very short strings, no
// letters at all, bytes 0x80 to 0xFF, and buffers filled to the last byte.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "discovery/PathRules.h"
#include "tests/support/GuardedText.h"

namespace {

// A buffer of a given capacity (by default exactly the text's size),
// followed by sentinel bytes that no rule may touch.
class Guarded : public GuardedText {
 public:
  using GuardedText::GuardedText;
  explicit Guarded(const std::string& text) : GuardedText(text.size() + 1, text) {}
  void ExpectGuardIntact() const { EXPECT_EQ(-1, FirstTouchedGuard()) << "sentinel byte after the buffer"; }
};

std::string TitleCase(const std::string& in) {
  Guarded b(in);
  TitleCasePath(b.data());
  b.ExpectGuardIntact();
  return b.text();
}

std::string Strip(const std::string& in) {
  Guarded b(in);
  EXPECT_EQ(b.data(), StripToFirstLetter(b.data()));
  b.ExpectGuardIntact();
  return b.text();
}

std::string CutAfterBackslash(const std::string& in) {
  Guarded b(in);
  EXPECT_EQ(b.data(), CutAfterLastChar(b.data(), '\\'));
  b.ExpectGuardIntact();
  return b.text();
}

TEST(TitleCasePath, UpperCasesEveryLetterAfterANonLetter) {
  EXPECT_EQ("C:\\Program Files\\Adobe\\Photoshop Cs5\\Plug-Ins\\", TitleCase("c:\\program files\\adobe\\photoshop cs5\\plug-ins\\"));
  EXPECT_EQ("C:\\Program Files\\Host\\Plug-Ins\\", TitleCase("C:\\PROGRAM FILES\\HOST\\PLUG-INS\\"));
  EXPECT_EQ("C:\\A1B_C.D\\", TitleCase("c:\\a1b_c.d\\")) << "digits, underscores and dots are non-letters";
  EXPECT_EQ("C:\\A-[B\\", TitleCase("c:\\a-[b\\")) << "'[' lies between 'A' and 'z' but has no upper case";
}

TEST(TitleCasePath, ShortAndLetterlessStrings) {
  EXPECT_EQ("", TitleCase(""));
  EXPECT_EQ("A", TitleCase("a"));
  EXPECT_EQ("Ab", TitleCase("AB"));
  EXPECT_EQ("1A", TitleCase("1a"));
  EXPECT_EQ("A1B", TitleCase("a1b"));
  EXPECT_EQ("\\:-", TitleCase("\\:-"));
  EXPECT_EQ("123 456", TitleCase("123 456"));
}

TEST(TitleCasePath, HighBytesAreNeverChangedAfterTheFirstCharacter) {
  std::string in = "c:\\";
  for (int c = 0x80; c <= 0xFF; ++c) {
    in += static_cast<char>(c);
    in += '\\';
  }
  const std::string out = TitleCase(in);
  ASSERT_EQ(in.size(), out.size());
  for (std::size_t i = 3; i < in.size(); i += 2)
    EXPECT_EQ(static_cast<unsigned char>(in[i]), static_cast<unsigned char>(out[i])) << "byte at " << i;
}

TEST(TitleCasePath, ExactlyFullBuffer) {
  std::string in(799, 'x');
  in[1] = '-';
  const std::string out = TitleCase(in);
  EXPECT_EQ(799u, out.size());
  EXPECT_EQ("X-X", out.substr(0, 3));
  EXPECT_EQ(std::string(796, 'x'), out.substr(3));
}

TEST(EnsureTrailingBackslash, AppendsOnlyWhenMissingAndWhenItFits) {
  Guarded a(8, "C:\\A");
  EXPECT_EQ(a.data(), EnsureTrailingBackslash(a.data(), 8));
  EXPECT_EQ("C:\\A\\", a.text());
  EXPECT_EQ(a.data(), EnsureTrailingBackslash(a.data(), 8));
  EXPECT_EQ("C:\\A\\", a.text()) << "a second call changes nothing";

  Guarded room(6, "C:\\a");  // four characters: the backslash and terminator just fit
  EXPECT_NE(nullptr, EnsureTrailingBackslash(room.data(), 6));
  EXPECT_EQ("C:\\a\\", room.text());
  room.ExpectGuardIntact();

  Guarded full(6, "C:\\ab");  // filled to the last byte: no room for the backslash
  EXPECT_EQ(nullptr, EnsureTrailingBackslash(full.data(), 6));
  EXPECT_EQ("C:\\ab", full.text()) << "a path that cannot take its backslash stays as it was";
  full.ExpectGuardIntact();

  Guarded empty(4, "");
  EXPECT_EQ(nullptr, EnsureTrailingBackslash(empty.data(), 4));
  EXPECT_EQ("", empty.text());
}

TEST(StripToFirstLetter, RemovesEverythingBeforeTheFirstLetter) {
  EXPECT_EQ("C:\\Apps\\Ed\\ed.exe\" \"%1\"", Strip("\"C:\\Apps\\Ed\\ed.exe\" \"%1\""));
  EXPECT_EQ("", Strip("123"));
  EXPECT_EQ("", Strip(""));
  EXPECT_EQ("a", Strip("a"));
  EXPECT_EQ("a", Strip("1a"));
  EXPECT_EQ("C:", Strip(" \\C:"));
  EXPECT_EQ("", Strip("\\\\\\"));
}

TEST(StripToFirstLetter, LongTextsAreNotCut) {
  const std::string in = std::string(600, ' ') + "C:\\Plug";
  EXPECT_EQ("C:\\Plug", Strip(in));
  const std::string letters = std::string(500, 'a');
  EXPECT_EQ(letters, Strip(letters)) << "a text starting with a letter is left whole";
  EXPECT_EQ(std::string(399, 'b'), Strip("\"" + std::string(399, 'b')));
}

TEST(CutAfterLastChar, CutsAfterTheLastInnerBackslash) {
  EXPECT_EQ("C:\\Apps\\Tool\\", CutAfterBackslash("C:\\Apps\\Tool\\tool.exe"));
  EXPECT_EQ("C:\\Apps\\", CutAfterBackslash("C:\\Apps\\Tool\\")) << "the last character is not examined";
  EXPECT_EQ("C:\\", CutAfterBackslash("C:\\"));
  EXPECT_EQ("\"C:\\Ed\\", CutAfterBackslash("\"C:\\Ed\\ed.exe\" \"%1\""));
  EXPECT_EQ("tool.exe", CutAfterBackslash("tool.exe")) << "no backslash: no change";
}

TEST(CutAfterLastChar, FirstAndLastCharacterAreNeverExamined) {
  EXPECT_EQ("", CutAfterBackslash(""));
  EXPECT_EQ("\\", CutAfterBackslash("\\"));
  EXPECT_EQ("\\\\", CutAfterBackslash("\\\\"));
  EXPECT_EQ("a\\", CutAfterBackslash("a\\b"));
  EXPECT_EQ("\\ab", CutAfterBackslash("\\ab"));
  EXPECT_EQ("\\\\", CutAfterBackslash("\\\\\\")) << "index 1 is the innermost examined";
}

TEST(JoinPath, JoinsWithOneBackslash) {
  char out[32];
  EXPECT_EQ(out, JoinPath(out, sizeof out, "plug-ins", "C:\\Fw\\"));
  EXPECT_STREQ("C:\\Fw\\plug-ins", out);
  EXPECT_EQ(out, JoinPath(out, sizeof out, "plugin", "C:\\Ed"));
  EXPECT_STREQ("C:\\Ed\\plugin", out);
  std::strcpy(out, "C:\\Base");
  EXPECT_EQ(out, JoinPath(out, sizeof out, "x"));
  EXPECT_STREQ("C:\\Base\\x", out) << "without a base the destination itself is the base";
}

TEST(JoinPath, ResultMustFitWhole) {
  Guarded fits(10, "");
  EXPECT_NE(nullptr, JoinPath(fits.data(), 10, "abcd", "C:\\A"));  // 9 characters
  EXPECT_EQ("C:\\A\\abcd", fits.text());
  fits.ExpectGuardIntact();

  Guarded tooLong(10, "keep");
  EXPECT_EQ(nullptr, JoinPath(tooLong.data(), 10, "abcde", "C:\\A"));
  EXPECT_EQ("keep", tooLong.text()) << "nothing is written when the join does not fit";
  tooLong.ExpectGuardIntact();

  Guarded noBase(4, "");
  EXPECT_EQ(nullptr, JoinPath(noBase.data(), 4, "x")) << "an empty base takes no backslash";
}

}  // namespace
