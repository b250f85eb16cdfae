// The thin readers against values of every awkward shape: what they return,
// and that they never write past their 256-byte buffers.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "discovery/RegistryReaders.h"
#include "discovery/RegistryView.h"
#include "discovery_fixture.h"
#include "tests/support/GuardedText.h"

namespace {

const char kKey[] = "Software\\Mirefold\\Readers";

// A reader's output buffer, full of a text no reader writes, so that one
// that leaves it as it was is seen.
const std::string kStale(kRegistryTextCapacity - 1, '#');
GuardedText Output() { return GuardedText(kRegistryTextCapacity, kStale); }

class RegistryReaders : public ::testing::Test {
 protected:
  void SetUp() override { DiscoveryEnvironment::Clean(); }
  void TearDown() override { DiscoveryEnvironment::Clean(); }

  static void SetBytes(const char* name, DWORD type, const std::string& bytes) {
    SetRegistryValue(HKEY_CURRENT_USER, kView32, kKey, name, type, bytes.data(), static_cast<DWORD>(bytes.size()));
  }

  // ReadStringValue into a sentinel-guarded buffer.
  static std::pair<LONG, std::string> Read(const char* name) {
    GuardedText out = Output();
    const LONG status = ReadStringValue(HKEY_CURRENT_USER, kKey, name, out.data());
    EXPECT_TRUE(out.Intact()) << "ReadStringValue wrote past its buffer for " << name;
    return {status, out.Intact() ? out.text() : std::string()};
  }
};

TEST_F(RegistryReaders, ReadStringValueTerminatesAndChecksTheType) {
  const std::string s254(254, 'a'), s255(255, 'b'), s256(256, 'c'), s299(299, 'd');
  SetBytes("fits254", REG_SZ, s254 + '\0');          // 255 bytes
  SetBytes("fits255", REG_SZ, s255 + '\0');          // 256 bytes: the longest that fits
  SetBytes("open256", REG_SZ, s256);                 // 256 bytes, no terminator
  SetBytes("long257", REG_SZ, s256 + '\0');          // 257 bytes
  SetBytes("long300", REG_SZ, s299 + '\0');          // 300 bytes
  SetBytes("noterm", REG_SZ, "C:\\Plug");            // no terminator
  SetBytes("expand", REG_EXPAND_SZ, std::string("C:\\Plug") + '\0');
  SetBytes("binary", REG_BINARY, std::string("C:\\Plug") + '\0');
  SetBytes("dword", REG_DWORD, std::string("\x01\x02\x03\x04", 4));
  SetBytes("empty", REG_SZ, "");
  SetBytes("", REG_SZ, std::string("C:\\Default") + '\0');
  SetBytes("high", REG_SZ, std::string("C:\\\xE9t\xE9\xFF") + '\0');

  EXPECT_EQ(std::make_pair(0L, s254), Read("fits254"));
  EXPECT_EQ(std::make_pair(0L, s255), Read("fits255"));
  EXPECT_EQ(std::make_pair(static_cast<LONG>(ERROR_MORE_DATA), std::string()), Read("open256"))
      << "256 characters without a terminator have no room for one";
  EXPECT_EQ(std::make_pair(static_cast<LONG>(ERROR_MORE_DATA), std::string()), Read("long257"));
  EXPECT_EQ(std::make_pair(static_cast<LONG>(ERROR_MORE_DATA), std::string()), Read("long300"));
  EXPECT_EQ(std::make_pair(0L, std::string("C:\\Plug")), Read("noterm"));
  EXPECT_EQ(std::make_pair(0L, std::string()), Read("expand")) << "REG_EXPAND_SZ reads as empty";
  EXPECT_EQ(std::make_pair(0L, std::string()), Read("binary"));
  EXPECT_EQ(std::make_pair(0L, std::string()), Read("dword"));
  EXPECT_EQ(std::make_pair(0L, std::string()), Read("empty"));
  EXPECT_EQ(std::make_pair(0L, std::string("C:\\Default")), Read(""));
  EXPECT_EQ(std::make_pair(0L, std::string("C:\\\xE9t\xE9\xFF")), Read("high"));
  EXPECT_EQ(static_cast<LONG>(ERROR_FILE_NOT_FOUND), Read("absent").first);

  GuardedText untouched = Output();
  EXPECT_NE(0, ReadStringValue(HKEY_CURRENT_USER, "Software\\Mirefold\\NoSuchKey", "", untouched.data()));
  EXPECT_EQ(kStale, untouched.text()) << "a key that cannot be opened leaves the output alone";
}

TEST_F(RegistryReaders, EnumNextStringValuePassesOverTooLongValuesAndGoesOn) {
  // Named so that creation order and name order agree: systems differ in
  // which of the two they enumerate by.
  const std::string longName = "b" + std::string(300, 'n') + "plug";
  const std::string name255 = "c" + std::string(254, 'm');
  SetBytes("a300", REG_SZ, std::string(299, 'x') + '\0');
  SetBytes(longName.c_str(), REG_SZ, std::string("C:\\Plug") + '\0');
  SetBytes(name255.c_str(), REG_SZ, std::string(255, 'y') + '\0');
  SetBytes("d256", REG_SZ, std::string(256, 'z'));
  SetBytes("e_dword", REG_DWORD, std::string("\x01\x02\x03\x04", 4));
  SetBytes("f_last", REG_SZ, std::string("C:\\Last") + '\0');

  const struct {
    LONG status;
    std::string name, data;
  } expected[] = {
      {ERROR_MORE_DATA, "", ""},
      {ERROR_MORE_DATA, "", ""},
      {0, name255, std::string(255, 'y')},
      {ERROR_MORE_DATA, "", ""},
      {0, "e_dword", ""},
      {0, "f_last", "C:\\Last"},
      {ERROR_NO_MORE_ITEMS, "", ""},
  };
  ValueCursor = 0;
  for (DWORD i = 0; i < sizeof expected / sizeof expected[0]; ++i) {
    GuardedText name = Output(), data = Output();
    const LONG status = EnumNextStringValue(HKEY_CURRENT_USER, kKey, name.data(), data.data());
    ASSERT_TRUE(name.Intact() && data.Intact()) << "value " << i << " wrote past a buffer";
    EXPECT_EQ(expected[i].status, status) << "value " << i;
    EXPECT_EQ(expected[i].name, name.text()) << "value " << i;
    EXPECT_EQ(expected[i].data, data.text()) << "value " << i;
    EXPECT_EQ(status == ERROR_NO_MORE_ITEMS ? 0u : i + 1, ValueCursor) << "cursor after value " << i;
  }
  GuardedText name = Output(), data = Output();
  EXPECT_EQ(static_cast<LONG>(ERROR_FILE_NOT_FOUND),
            EnumNextStringValue(HKEY_CURRENT_USER, "Software\\Mirefold\\NoSuchKey", name.data(), data.data()));
  EXPECT_EQ(0u, ValueCursor);
}

TEST_F(RegistryReaders, EnumSubkeyNameReadsTheLongestNames) {
  const std::string longest(LongestKeyName(HKEY_CURRENT_USER, kKey), 'k');
  ASSERT_GE(longest.size(), 200u);
  CreateRegistryKey(HKEY_CURRENT_USER, kView32, std::string(kKey) + "\\" + longest);
  CreateRegistryKey(HKEY_CURRENT_USER, kView32, std::string(kKey) + "\\\xE9t\xE9");
  GuardedText name = Output();
  EXPECT_EQ(0, EnumSubkeyName(HKEY_CURRENT_USER, kKey, name.data(), 0));
  EXPECT_TRUE(name.Intact());
  EXPECT_EQ(longest, name.text());
  EXPECT_EQ(0, EnumSubkeyName(HKEY_CURRENT_USER, kKey, name.data(), 1));
  EXPECT_EQ("\xE9t\xE9", name.text());
  EXPECT_EQ(static_cast<LONG>(ERROR_NO_MORE_ITEMS), EnumSubkeyName(HKEY_CURRENT_USER, kKey, name.data(), 2));
  EXPECT_TRUE(name.Intact());
}

TEST_F(RegistryReaders, TheViewFlagChoosesTheRegistryView) {
  SetRegistryString(HKEY_LOCAL_MACHINE, kView64, "Software\\Mirefold\\View", "", "sixty-four");
  SetRegistryString(HKEY_LOCAL_MACHINE, kView32, "Software\\Mirefold\\View", "", "thirty-two");
  GuardedText out = Output();
  Use64BitRegistryView = 1;
  EXPECT_EQ(0, ReadStringValue(HKEY_LOCAL_MACHINE, "software\\mirefold\\view", "", out.data()));
  EXPECT_EQ("sixty-four", out.text());
  Use64BitRegistryView = 0;
  EXPECT_EQ(0, ReadStringValue(HKEY_LOCAL_MACHINE, "software\\mirefold\\view", "", out.data()));
  EXPECT_EQ("thirty-two", out.text()) << "flag 0 reads the 32-bit view, as the 32-bit program does";
}

}  // namespace
