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

namespace {

constexpr unsigned char kSentinel = 0xC3;

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

template <std::size_t Capacity>
struct GuardedBuffer {
  char text[Capacity];
  unsigned char guard[16];
  explicit GuardedBuffer(const std::string& s) {
    std::memset(this, kSentinel, sizeof *this);
    std::memcpy(text, s.c_str(), s.size() + 1);
  }
  bool Intact() const {
    for (unsigned char b : guard)
      if (b != kSentinel) return false;
    return strnlen(text, Capacity) < Capacity;
  }
};

TEST(DiscoveryRulesFuzz, RandomTextsStayInsideTheirBuffers) {
  Random random(20240611u);
  for (int round = 0; round < 20000; ++round) {
    const std::string data = random.Text(255);
    const std::string name = random.Text(255);
    const std::string key = random.Text(399);
    const std::string word = random.Text(4);

    GuardedBuffer<400> keyPath(key);
    GuardedBuffer<256> valueName(name);
    GuardedBuffer<256> valueData(data);
    const bool taken = IsPluginFolderValue(keyPath.text, valueName.text, valueData.text, word.c_str());
    ASSERT_TRUE(keyPath.Intact() && valueName.Intact() && valueData.Intact()) << "round " << round;
    if (taken) {
      ASSERT_EQ(':', valueData.text[1]) << "round " << round;
    }

    GuardedBuffer<400> foundAt("");
    if (FormatFoundAt(foundAt.text, 400, "HKEY_LOCAL_MACHINE", keyPath.text, valueName.text)) {
      ASSERT_EQ(18 + 2 + std::strlen(keyPath.text) + 2 + std::strlen(valueName.text) + 2, std::strlen(foundAt.text));
    }
    ASSERT_TRUE(foundAt.Intact()) << "round " << round;

    GuardedBuffer<400> candidate(data);
    if (NormaliseCandidate(candidate.text, 400)) {
      const std::size_t length = std::strlen(candidate.text);
      ASSERT_EQ('\\', candidate.text[length - 1]) << "round " << round;
      ASSERT_LE(length + std::strlen(kMakerFolderSuffix), 399u) << "round " << round;
    }
    ASSERT_TRUE(candidate.Intact()) << "round " << round;

    GuardedBuffer<400> command(key);
    FolderFromCommandLine(command.text);
    ASSERT_TRUE(command.Intact()) << "round " << round;

    GuardedBuffer<400> joined("");
    if (JoinPath(joined.text, 400, "plug-ins", command.text)) {
      ASSERT_EQ(0, std::strncmp(joined.text, command.text, std::strlen(command.text)));
    }
    ASSERT_TRUE(joined.Intact()) << "round " << round;
  }
}

TEST(DiscoveryRulesFuzz, KeyPathStackWalksRandomTreesBackToItsStart) {
  Random random(7u);
  for (int round = 0; round < 2000; ++round) {
    GuardedBuffer<400> path("software\\vendor");
    KeyPathStack stack;
    stack.Reset();
    int index = 0;
    for (int step = 0; step < 200; ++step) {
      if (random.Next() % 3) {
        const std::string name = random.Text(255);
        stack.Push(path.text, 400, name.c_str(), index);
      } else {
        stack.Pop(path.text);
      }
      ASSERT_TRUE(path.Intact()) << "round " << round << " step " << step;
      ASSERT_LT(stack.top, kKeyPathStackDepth);
    }
    while (stack.Pop(path.text) >= 0) {
    }
    ASSERT_STREQ("software\\vendor", path.text) << "round " << round;
  }
}

}  // namespace
