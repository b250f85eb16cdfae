// Installing onto a nearly full disk (drive T:, a 1 MiB tmpfs mapped by the
// test fixture): the old plug-in stays byte for byte, no temporary file is
// left, and the failure is recorded as a full disk.
#include <gtest/gtest.h>

#include <cstring>

#include "payload/PayloadOutcome.h"
#include "payload/SkipList.h"
#include "payload_fixture.h"
#include "tests/support/FillDrive.h"

namespace {

TEST(DiskFull, TheOldPluginSurvivesAndTheFailureIsRecorded) {
  if (GetDriveTypeA("T:\\") == DRIVE_NO_ROOT_DIR) GTEST_SKIP() << "no small disk mapped as T: (mount needs root)";
  std::memset(SkipList, 0, sizeof SkipList);
  CreateDirectoryA("T:\\Host", nullptr);
  std::string folder = "T:\\Host\\";
  DeleteFileA((folder + "filler").c_str());
  Bytes old(2000, 'o');
  WriteFileBytes(folder + "iRelief.8bf", old);
  Bytes payload = ResourceBytes(3000, ":I__RELIEF.8BF");
  ASSERT_GT(payload.size(), 8192u) << "the plug-in must be larger than what is left free";
  FillDrive("T:\\", folder + "filler", 4096);

  InstallType(folder, 3000);
  DeleteFileA((folder + "filler").c_str());

  EXPECT_EQ(old, ReadFileBytes(folder + "iRelief.8bf")) << "the existing plug-in changed on a full disk";
  EXPECT_EQ(0, CountTemporaryFiles(folder)) << "a temporary file was left on the full disk";
  ASSERT_EQ(1, Outcomes.count);
  EXPECT_EQ(OutcomeKind::Failed, Outcomes.items[0].kind);
  EXPECT_EQ(static_cast<std::uint32_t>(ERROR_DISK_FULL), Outcomes.items[0].error)
      << "expected ERROR_DISK_FULL (112), got " << Outcomes.items[0].error;
}

}  // namespace
