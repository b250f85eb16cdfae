// Encoding file names into resource names: the inverse of the decoding rule,
// the shortest such name, the names there are none for, and names that must
// sort after a given one.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <unordered_map>

#include "payload/ResourceName.h"
#include "payload/ResourceNameEncode.h"
#include "tests/support/GuardedText.h"

namespace {

struct Encoded {
  NameEncoding result;
  std::string name;
};

Encoded Encode(const std::string& file, int cap = kResourceNameCapacity, const char* after = nullptr) {
  GuardedText buffer(static_cast<std::size_t>(cap));
  Encoded e{EncodeResourceName(file.c_str(), buffer.data(), cap, after), ""};
  EXPECT_TRUE(buffer.Terminated()) << "no terminator within the buffer for " << file;
  EXPECT_EQ(-1, buffer.FirstTouchedGuard()) << "byte past the buffer, for " << file;
  e.name = buffer.text();
  return e;
}

std::string Decode(std::string raw) {
  char buffer[kResourceNameCapacity];
  std::strcpy(buffer, raw.c_str());
  return DecodeResourceName(buffer);
}

TEST(EncodeResourceName, GivesThePluginNamesAndRoundTripsTheWorkedExamples) {
  EXPECT_EQ(":I__RELIEF.8BF", Encode("iRelief.8bf").name);
  EXPECT_EQ(":I__RELIEF(X64).8BF", Encode("iRelief(X64).8bf").name);
  EXPECT_EQ("README_FIRST.TXT", Encode("Readme First.txt").name) << "a space is a single underscore";
  EXPECT_EQ("A_B", Encode("A B").name) << "shorter than the worked example's A___B";
  for (const char* file : {"Readme First.txt", "Photographer's Guide.pdf", "3D Tools.8bf", "8x Test", "A B", "Abc",
                           "A(b", "X_y", "Ab_", "PresetsSketchesbin", "a  b", "sample_Grid MIXED.dat"}) {
    Encoded e = Encode(file);
    ASSERT_EQ(NameProblem::None, e.result.problem) << file;
    EXPECT_EQ(file, Decode(e.name)) << "resource name " << e.name;
    EXPECT_EQ(static_cast<int>(e.name.size()), e.result.length);
    for (char c : e.name) EXPECT_FALSE(c >= 'a' && c <= 'z') << "lower case in " << e.name;
  }
}

TEST(EncodeResourceName, SaysWhyThereIsNone) {
  const struct {
    std::string file;
    NameProblem problem;
    int position;
  } cases[] = {
      {"", NameProblem::Empty, -1},
      {"say \"hi\"", NameProblem::ForbiddenCharacter, 4},
      {"*.txt", NameProblem::ForbiddenCharacter, 0},
      {"tab\there", NameProblem::NotPrintableAscii, 3},
      {"del\x7F", NameProblem::NotPrintableAscii, 3},
      {"caf\xE9.txt", NameProblem::NotPrintableAscii, 3},
      {"notes.", NameProblem::TrailingSpaceOrDot, 5},
      {"notes ", NameProblem::TrailingSpaceOrDot, 5},
      {"CON", NameProblem::ReservedDeviceName, -1},
      {"nul.txt", NameProblem::ReservedDeviceName, -1},
      {"Com7.dat", NameProblem::ReservedDeviceName, -1},
      {"lpt1", NameProblem::ReservedDeviceName, -1},
  };
  for (const auto& c : cases) {
    Encoded e = Encode(c.file);
    EXPECT_EQ(c.problem, e.result.problem) << "\"" << c.file << "\"";
    EXPECT_EQ(c.position, e.result.position) << "\"" << c.file << "\"";
    EXPECT_EQ("", e.name) << "\"" << c.file << "\"";
    EXPECT_STRNE("", DescribeNameProblem(c.problem));
  }
  for (const char* c = "<>:\"/\\|?*"; *c; ++c) {
    EXPECT_EQ(NameProblem::ForbiddenCharacter, Encode(std::string("a") + *c + "b").result.problem) << *c;
    EXPECT_EQ(1, Encode(std::string("a") + *c + "b").result.position) << *c;
  }
  for (const char* fine : {"CONSOLE.txt", "Com0.dat", "AUXILIARY", "nul2"})
    EXPECT_EQ(NameProblem::None, Encode(fine).result.problem) << fine;
}

TEST(EncodeResourceName, LongNamesStopAt399Characters) {
  Encoded e = Encode(std::string(398, 'a'));
  ASSERT_EQ(NameProblem::None, e.result.problem);
  EXPECT_EQ(399u, e.name.size()) << "a colon and 398 letters";
  e = Encode(std::string(399, 'a'));
  EXPECT_EQ(NameProblem::TooLong, e.result.problem);
  EXPECT_EQ(400, e.result.length) << "the length it would need";
  e = Encode(std::string(600, 'a'));
  EXPECT_EQ(NameProblem::TooLong, e.result.problem) << "a name longer than any buffer is read no further";
  e = Encode("iRelief.8bf", 14);
  EXPECT_EQ(NameProblem::TooLong, e.result.problem) << "14 characters with the terminator do not fit 14";
  EXPECT_EQ(14, e.result.length);
  EXPECT_EQ(":I__RELIEF.8BF", Encode("iRelief.8bf", 15).name);
}

// Every resource name of up to seven characters from an alphabet that has
// one of each kind of character is decoded; the file names that come out
// must encode to a name of the least length any of them had.
TEST(EncodeResourceName, SweepOfShortNamesIsShortestAndRoundTrips) {
  const char alphabet[] = {'A', ':', '_', ' ', '.', '1', '8'};
  const int kinds = sizeof alphabet;
  std::unordered_map<std::string, int> shortest;
  for (int length = 1; length <= 6; ++length) {
    int total = 1;
    for (int i = 0; i < length; ++i) total *= kinds;
    for (int index = 0; index < total; ++index) {
      std::string raw;
      for (int i = 0, v = index; i < length; ++i, v /= kinds) raw += alphabet[v % kinds];
      shortest.emplace(Decode(raw), length);  // lengths rise, so the first one is the least
    }
  }
  int checked = 0;
  for (const auto& [file, least] : shortest) {
    Encoded e = Encode(file);
    const bool forbidden = file.empty() || file.find(':') != std::string::npos || file.back() == ' ' ||
                           file.back() == '.';
    if (forbidden) {
      EXPECT_NE(NameProblem::None, e.result.problem) << "\"" << file << "\" should have no encoding";
      continue;
    }
    ASSERT_EQ(NameProblem::None, e.result.problem) << "\"" << file << "\": " << DescribeNameProblem(e.result.problem);
    ASSERT_EQ(file, Decode(e.name)) << "resource name \"" << e.name << "\"";
    ASSERT_EQ(least, static_cast<int>(e.name.size())) << "\"" << file << "\" encoded as \"" << e.name << "\"";
    ++checked;
  }
  EXPECT_GT(checked, 10000);

  // And every file name of up to five characters from letters of both cases
  // and the characters the rule treats apart.
  const char files[] = {'a', 'B', '_', ' ', '.', '1', '8', '\''};
  const int fileKinds = sizeof files;
  for (int length = 1; length <= 5; ++length) {
    int total = 1;
    for (int i = 0; i < length; ++i) total *= fileKinds;
    for (int index = 0; index < total; ++index) {
      std::string file;
      for (int i = 0, v = index; i < length; ++i, v /= fileKinds) file += files[v % fileKinds];
      Encoded e = Encode(file);
      if (file.back() == ' ' || file.back() == '.') {
        ASSERT_EQ(NameProblem::TrailingSpaceOrDot, e.result.problem) << "\"" << file << "\"";
        continue;
      }
      ASSERT_EQ(NameProblem::None, e.result.problem) << "\"" << file << "\"";
      ASSERT_EQ(file, Decode(e.name)) << "resource name \"" << e.name << "\"";
    }
  }
}

// The encoder and the decoder share one rule for what capitalises the next
// character: every printable character that a file name may hold, first,
// between two letters and last, comes back as it went in.
TEST(EncodeResourceName, EveryPrintableCharacterRoundTrips) {
  for (int c = 0x20; c <= 0x7E; ++c) {
    if (std::strchr("<>:\"/\\|?*", c)) continue;
    const char ch = static_cast<char>(c);
    for (const std::string& file : {std::string(1, ch) + "b", "a" + std::string(1, ch) + "b", "a" + std::string(1, ch),
                                    "A" + std::string(1, ch) + "B"}) {
      Encoded e = Encode(file);
      if (file.back() == ' ' || file.back() == '.') continue;
      ASSERT_EQ(NameProblem::None, e.result.problem) << "\"" << file << "\"";
      EXPECT_EQ(file, Decode(e.name)) << "\"" << file << "\" encoded as \"" << e.name << "\"";
    }
  }
  for (const char* outside : {"a\x1F", "a\x7F", "caf\xE9", "\x8A" "a"})
    EXPECT_EQ(NameProblem::NotPrintableAscii, Encode(outside).result.problem) << "byte outside printable ASCII";
}

TEST(EncodeResourceName, CanSortAfterAGivenName) {
  Encoded e = Encode("License.txt", kResourceNameCapacity, "README.TXT");
  ASSERT_EQ(NameProblem::None, e.result.problem);
  EXPECT_EQ("__LICENSE.TXT", e.name) << "a leading pair changes nothing but the order";
  EXPECT_EQ("README.TXT", Encode("Readme.txt", kResourceNameCapacity, ":I__RELIEF.8BF").name)
      << "a name that already sorts after keeps its shortest form";
  e = Encode("Readme.txt", kResourceNameCapacity, "README.TXT");
  ASSERT_EQ(NameProblem::None, e.result.problem) << "an equal name does not sort after";
  EXPECT_GT(e.name, "README.TXT");
  EXPECT_EQ("Readme.txt", Decode(e.name));
  e = Encode("About.txt", kResourceNameCapacity, "__LICENSE.TXT");
  EXPECT_EQ(NameProblem::NoNameInOrder, e.result.problem) << e.name;
  EXPECT_EQ("", e.name);

  // Whatever comes out sorts after the given name and decodes right.
  const char* names[] = {"a", "B", "ab", "Ab", "a b", "a_b", "1x", "8x", "x.Y", "__", "a'b"};
  for (const char* file : names) {
    for (const char* other : names) {
      const std::string previous = Encode(other).name;
      for (const std::string& after : {previous, "__" + previous, std::string("~")}) {
        e = Encode(file, kResourceNameCapacity, after.c_str());
        if (e.result.problem == NameProblem::NoNameInOrder) continue;
        ASSERT_EQ(NameProblem::None, e.result.problem) << file << " after " << after;
        EXPECT_GT(e.name, after) << file;
        EXPECT_EQ(file, Decode(e.name)) << e.name;
      }
    }
  }
}

}  // namespace
