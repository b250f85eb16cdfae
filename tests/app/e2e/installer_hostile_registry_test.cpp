// The real installer started on a registry written to hurt: its window
// opens, the drop-down lists exactly the good folders, and it installs.
#include <cstdio>

#include "EndToEnd.h"
#include "../../discovery/hostile_registry.h"

namespace {

class HostileRegistry : public EndToEnd {};

TEST_F(HostileRegistry, TheWindowOpensListsTheGoodFoldersAndInstalls) {
  std::vector<std::string> expected;
  for (const std::string& folder : LoadHostileRegistry(kTestRoot)) expected.push_back(folder + "Mirefold\\");
  expected.push_back(kBrowseEntry);

  InstallerSession s;
  Launch(s);
  const DWORD opened = GetTickCount() - s.StartTick();
  std::printf("hostile registry: first complete paint %lu ms after start\n", static_cast<unsigned long>(opened));
  const std::vector<std::string> seen = s.Entries();
  std::string all;
  for (const auto& e : seen) all += "\n    " + e;
  EXPECT_EQ(expected, seen) << "seen:" << all;

  ClickButton(s, layout_.installButton, install_);
  EXPECT_TRUE(WaitForScreen(s, [](const Picture& p) { return Shows(p, done_, layout_.completionPicture); }))
      << "completion screen";
  EXPECT_EQ(nullptr, s.FindMessageBox()) << "no failure message";
  const std::string target = std::string(kTestRoot) + "adv\\deep01\\Mirefold\\";
  Bytes bytes;
  ASSERT_TRUE(ReadFileBytes(target + "iRelief.8bf", &bytes)) << target;
  EXPECT_TRUE(bytes == plugin32_) << "iRelief.8bf: " << bytes.size() << " bytes, expected " << plugin32_.size();
  ASSERT_TRUE(ReadFileBytes(target + "iRelief(X64).8bf", &bytes)) << target;
  EXPECT_TRUE(bytes == plugin64_) << "iRelief(X64).8bf: " << bytes.size() << " bytes, expected " << plugin64_.size();

  s.Key(VK_ESCAPE);
  ASSERT_TRUE(s.WaitForExit()) << "the installer did not end";
  EXPECT_EQ(0u, s.ExitCode());
}

}  // namespace
