// The signed release installs as the ordinary build does: started under
// Wine, it writes both signed plug-ins, each with its signature, and ends.
// Built against the release that release_test.py leaves in release-test/.
#include <cstring>

#include "EndToEnd.h"

namespace {

const std::string kRoot = kTestRoot;

// The size of a PE file's certificate table (its Authenticode signature).
DWORD CertificateTableSize(const Bytes& file) {
  if (file.size() < 0x40) return 0;
  DWORD pe = 0;
  std::memcpy(&pe, &file[0x3C], 4);
  if (pe + 24 + 2 > file.size()) return 0;
  WORD magic = 0;
  std::memcpy(&magic, &file[pe + 24], 2);
  const size_t entry = pe + 24 + (magic == 0x20B ? 112 : 96) + 8 * IMAGE_DIRECTORY_ENTRY_SECURITY;
  if (entry + 8 > file.size()) return 0;
  DWORD size = 0;
  std::memcpy(&size, &file[entry + 4], 4);
  return size;
}

class SignedRelease : public EndToEnd {};

TEST_F(SignedRelease, InstallsBothSignedPluginsAndFinishes) {
  ASSERT_TRUE(MakeFolders(kRoot + "Release\\Plug-ins"));
  RegisterMakerFolder("Host1", (kRoot + "Release\\Plug-ins").c_str());
  Bytes exe;
  ASSERT_TRUE(ReadFileBytes(INSTALLER_EXE, &exe));
  EXPECT_GT(CertificateTableSize(exe), 0u) << "the installer under test is signed";

  InstallerSession s;
  Launch(s);
  ASSERT_EQ("C:\\Setup Test\\Release\\Plug-Ins\\Mirefold\\", s.Entries().at(0));
  ClickButton(s, layout_.installButton, install_);
  EXPECT_TRUE(WaitForScreen(s, [](const Picture& p) { return Shows(p, done_, layout_.completionPicture); }))
      << "completion screen";
  EXPECT_EQ(nullptr, s.FindMessageBox()) << "no failure message";

  const std::string target = kRoot + "Release\\Plug-ins\\Mirefold\\";
  const struct {
    const char* name;
    const Bytes& expected;
  } files[] = {{"iRelief.8bf", plugin32_}, {"iRelief(X64).8bf", plugin64_}};
  for (const auto& file : files) {
    Bytes seen;
    ASSERT_TRUE(ReadFileBytes(target + file.name, &seen)) << file.name;
    EXPECT_TRUE(seen == file.expected) << file.name << " is not the release's signed plug-in (" << seen.size()
                                       << " bytes, expected " << file.expected.size() << ")";
    EXPECT_GT(CertificateTableSize(seen), 0u) << file.name << " as installed carries its signature";
  }
  s.Key(VK_ESCAPE);
  ASSERT_TRUE(s.WaitForExit()) << "the installer did not end";
  EXPECT_EQ(0u, s.ExitCode());
}

}  // namespace
