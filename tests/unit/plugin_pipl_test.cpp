// Reading plug-in property lists: well-formed lists and damaged ones, which
// must be refused without reading past their end.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "plugin/PiplReader.h"

using namespace relief;

namespace {

void Put32(std::vector<uint8_t>& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

struct ListBuilder {
  std::vector<uint8_t> bytes{1, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  int count = 0;
  ListBuilder& Add(const char (&key)[5], std::vector<uint8_t> data) {
    while (data.size() % 4) data.push_back(0);
    Put32(bytes, FourCC("8BIM"));
    Put32(bytes, FourCC(key));
    Put32(bytes, 0);
    Put32(bytes, static_cast<uint32_t>(data.size()));
    bytes.insert(bytes.end(), data.begin(), data.end());
    ++count;
    std::memcpy(&bytes[6], &count, 4);  // little-endian host
    return *this;
  }
};

std::vector<uint8_t> Text(const std::string& s) { return std::vector<uint8_t>(s.begin(), s.end()); }

ListBuilder Sample() {
  ListBuilder b;
  b.Add("kind", {'M', 'F', 'B', '8'})
      .Add("8664", Text(std::string("PluginMain") + '\0'))
      .Add("name", Text("\x07iRelief"))
      .Add("mode", {0x00, 0x50});
  return b;
}

TEST(PiplReader, FourCharacterCodesLieReversedInTheFile) {
  EXPECT_EQ(0x6B696E64u, FourCC("kind"));
  const std::vector<uint8_t> list = Sample().bytes;
  EXPECT_EQ(0, std::memcmp(&list[10], "MIB8dnik", 8)) << "vendor and key as stored";
}

TEST(PiplReader, ReadsEveryKindOfValue) {
  const std::vector<uint8_t> list = Sample().bytes;
  ASSERT_EQ(4, PiplCount(list.data(), list.size()));
  PiplProperty p{};
  uint32_t kind = 0;
  ASSERT_TRUE(PiplFind(list.data(), list.size(), FourCC("8BIM"), FourCC("kind"), &p));
  ASSERT_TRUE(PiplNumber(p, &kind));
  EXPECT_EQ(FourCC("8BFM"), kind);
  char text[16];
  ASSERT_TRUE(PiplFind(list.data(), list.size(), FourCC("8BIM"), FourCC("8664"), &p));
  EXPECT_EQ(12u, p.length) << "stored length counts the padding";
  ASSERT_TRUE(PiplCText(p, text, sizeof text));
  EXPECT_STREQ("PluginMain", text);
  EXPECT_FALSE(PiplCText(p, text, 10)) << "does not fit with its terminator";
  ASSERT_TRUE(PiplFind(list.data(), list.size(), FourCC("8BIM"), FourCC("name"), &p));
  ASSERT_TRUE(PiplPascalText(p, text, sizeof text));
  EXPECT_STREQ("iRelief", text);
  EXPECT_FALSE(PiplPascalText(p, text, 7)) << "does not fit with its terminator";
  uint16_t modes = 0;
  ASSERT_TRUE(PiplFind(list.data(), list.size(), FourCC("8BIM"), FourCC("mode"), &p));
  ASSERT_TRUE(PiplWord(p, &modes));
  EXPECT_EQ(0x5000, modes);
  EXPECT_FALSE(PiplFind(list.data(), list.size(), FourCC("8BIM"), FourCC("wx86"), &p));
  EXPECT_FALSE(PiplFind(list.data(), list.size(), FourCC("ADBE"), FourCC("kind"), &p)) << "other vendor";
  EXPECT_FALSE(PiplAt(list.data(), list.size(), 4, &p));
  EXPECT_FALSE(PiplAt(list.data(), list.size(), -1, &p));
}

TEST(PiplReader, DamagedListsAreRefused) {
  const std::vector<uint8_t> good = Sample().bytes;
  for (std::size_t cut = 0; cut < good.size(); ++cut) {
    // A copy of exactly `cut` bytes, so that ASan sees any read past it.
    std::vector<uint8_t> shorter(good.begin(), good.begin() + cut);
    EXPECT_EQ(-1, PiplCount(shorter.data(), shorter.size())) << "cut to " << cut << " bytes";
  }
  std::vector<uint8_t> bad = good;
  bad[0] = 0;
  EXPECT_EQ(-1, PiplCount(bad.data(), bad.size())) << "leading word not 1";
  bad = good;
  bad[2] = 1;
  EXPECT_EQ(-1, PiplCount(bad.data(), bad.size())) << "unknown list version";
  bad = good;
  bad[9] = 0x7F;
  EXPECT_EQ(-1, PiplCount(bad.data(), bad.size())) << "huge count";
  bad = good;
  bad[10 + 12 + 3] = 0xFF;  // first property's length near 4 GB
  EXPECT_EQ(-1, PiplCount(bad.data(), bad.size())) << "length past the end";
  EXPECT_EQ(-1, PiplCount(nullptr, 100));

  PiplProperty p{};
  bad = good;
  PiplFind(bad.data(), bad.size(), FourCC("8BIM"), FourCC("name"), &p);
  const_cast<uint8_t*>(p.data)[0] = 8;  // length byte claims the whole padded property
  char text[16];
  EXPECT_FALSE(PiplPascalText(p, text, sizeof text));
  PiplFind(bad.data(), bad.size(), FourCC("8BIM"), FourCC("8664"), &p);
  std::memset(const_cast<uint8_t*>(p.data), 'A', p.length);  // no terminator
  EXPECT_FALSE(PiplCText(p, text, sizeof text));
  const PiplProperty empty{0, 0, 0, nullptr, 0};
  uint32_t n = 0;
  uint16_t w = 0;
  EXPECT_FALSE(PiplNumber(empty, &n));
  EXPECT_FALSE(PiplWord(empty, &w));
  EXPECT_FALSE(PiplCText(empty, text, sizeof text));
  EXPECT_FALSE(PiplPascalText(empty, text, sizeof text));
}

}  // namespace
