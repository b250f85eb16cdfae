// Registry data is written by any user: the rules run here on many thousand
// random texts of every length up to their buffers, including bytes 0x80 to
// 0xFF and no letters at all. Natively this runs under AddressSanitizer;
// every buffer is also followed by sentinel bytes.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>

#include "discovery/CandidateForm.h"
#include "discovery/CommandLineFolder.h"
#include "discovery/FoundAt.h"
#include "discovery/KeyPathStack.h"
#include "discovery/PathRules.h"
#include "discovery/PluginFolderValue.h"
#include "tests/support/GuardedText.h"

namespace {

class Random {
 public:
  explicit Random(std::uint32_t seed) : state_(seed) {}
  std::uint32_t Next() {
    state_ = state_ * 1664525u + 1013904223u;
    return state_ >> 8;
  }
  // A text of up to maxLength characters drawn mostly from path-like characters.
  std::string Text(std::size_t maxLength) {
    static const char kAlphabet[] = "cC:\\\\\\ \"-.mireMIREplugPLUGdirectory1230 ";
    std::size_t length = Next() % (maxLength + 1);
    if (Next() % 4 == 0) length = maxLength - Next() % 3 * (maxLength > 2);  // buffers filled to the brim
    std::string text;
    for (std::size_t i = 0; i < length; ++i) {
      const std::uint32_t r = Next();
      char c = (r % 3 == 0) ? static_cast<char>(0x80 + r % 0x80) : kAlphabet[r % (sizeof kAlphabet - 1)];
      text += c ? c : 'x';
    }
    return text;
  }

 private:
  std::uint32_t state_;
};


TEST(DiscoveryRulesFuzz, RandomTextsStayInsideTheirBuffers) {
  Random random(20240611u);
  for (int round = 0; round < 20000; ++round) {
    const std::string data = random.Text(255);
    const std::string name = random.Text(255);
    const std::string key = random.Text(399);
    const std::string word = random.Text(4);

    GuardedText keyPath(400, key);
    GuardedText valueName(256, name);
    GuardedText valueData(256, data);
    const bool taken = IsPluginFolderValue(keyPath.data(), valueName.data(), valueData.data(), word.c_str());
    ASSERT_TRUE(keyPath.Intact() && valueName.Intact() && valueData.Intact()) << "round " << round;
    if (taken) {
      ASSERT_EQ(':', valueData.data()[1]) << "round " << round;
    }

    GuardedText foundAt(400, "");
    if (FormatFoundAt(foundAt.data(), 400, "HKEY_LOCAL_MACHINE", keyPath.data(), valueName.data())) {
      ASSERT_EQ(18 + 2 + std::strlen(keyPath.data()) + 2 + std::strlen(valueName.data()) + 2, std::strlen(foundAt.data()));
    }
    ASSERT_TRUE(foundAt.Intact()) << "round " << round;

    GuardedText candidate(400, data);
    if (NormaliseCandidate(candidate.data(), 400)) {
      const std::size_t length = std::strlen(candidate.data());
      ASSERT_EQ('\\', candidate.data()[length - 1]) << "round " << round;
      ASSERT_LE(length + std::strlen(kMakerFolderSuffix), 399u) << "round " << round;
    }
    ASSERT_TRUE(candidate.Intact()) << "round " << round;

    GuardedText command(400, key);
    FolderFromCommandLine(command.data());
    ASSERT_TRUE(command.Intact()) << "round " << round;

    GuardedText joined(400, "");
    if (JoinPath(joined.data(), 400, "plug-ins", command.data())) {
      ASSERT_EQ(0, std::strncmp(joined.data(), command.data(), std::strlen(command.data())));
    }
    ASSERT_TRUE(joined.Intact()) << "round " << round;
  }
}

TEST(DiscoveryRulesFuzz, KeyPathStackWalksRandomTreesBackToItsStart) {
  Random random(7u);
  for (int round = 0; round < 2000; ++round) {
    GuardedText path(400, "software\\vendor");
    KeyPathStack stack;
    stack.Reset();
    int index = 0;
    for (int step = 0; step < 200; ++step) {
      if (random.Next() % 3) {
        const std::string name = random.Text(255);
        stack.Push(path.data(), 400, name.c_str(), index);
      } else {
        stack.Pop(path.data());
      }
      ASSERT_TRUE(path.Intact()) << "round " << round << " step " << step;
      ASSERT_LT(stack.top, kKeyPathStackDepth);
    }
    while (stack.Pop(path.data()) >= 0) {
    }
    ASSERT_STREQ("software\\vendor", path.data()) << "round " << round;
  }
}

}  // namespace
