#include <sys/stat.h>

#include "config/FileReplace.h"
#include "config/StoreFixture.h"
#include "support/FileSizeLimit.h"

namespace {

class Save : public StoreFixture {
 protected:
  // A store whose text is a few kilobytes long.
  static void fillStore(int index) {
    IConfig::instance(index)->create("Constant");
    for (int i = 0; i < 200; ++i)
      IConfig::instance(index)->add("/", "c" + std::to_string(i), "3.14159265358979323846264338327950288");
  }
  const std::string oldText = "Constant\n{\n\tkeep = me;\n}\n";
};

TEST_F(Save, AWriteThatFailsHalfwayKeepsTheOldFile) {
  const std::string file = dir.file("Constant");
  writeBytes(file, oldText);
  fillStore(2);
  {
    FileSizeLimit limit(1024);
    IConfig::instance(2)->save(file);
  }
  EXPECT_EQ(readBytes(file), oldText);
  EXPECT_EQ(dir.listing(), "Constant\n") << "the unfinished file is removed";

  IConfig::instance(2)->save(file);  // and with room on the disk it is replaced
  IConfig::instance(2)->load(file);
  EXPECT_EQ(IConfig::instance(2)->get("c199"), "3.14159265358979323846264338327950288");
  EXPECT_EQ(dir.listing(), "Constant\n");
}

TEST_F(Save, AFolderThatCannotBeWrittenKeepsTheOldFile) {
  if (geteuid() == 0) GTEST_SKIP() << "permissions do not stop root; the file size limit test covers this";
  const std::string file = dir.file("Constant");
  writeBytes(file, oldText);
  fillStore(2);
  chmod(dir.path().c_str(), 0555);
  IConfig::instance(2)->save(file);
  chmod(dir.path().c_str(), 0755);
  EXPECT_EQ(readBytes(file), oldText);
  EXPECT_EQ(dir.listing(), "Constant\n");
}

TEST_F(Save, TargetsThatCannotBeReplaced) {
  fillStore(0);
  // A folder in the place of the file.
  std::filesystem::create_directory(dir.file("Config"));
  IConfig::instance(0)->save(dir.file("Config"));
  EXPECT_TRUE(std::filesystem::is_directory(dir.file("Config")));
  // A folder that does not exist, and an empty name.
  IConfig::instance(0)->save(dir.file("missing/Config"));
  IConfig::instance(0)->save("");
  EXPECT_EQ(dir.listing(), "Config\n");
  EXPECT_FALSE(replaceFile(dir.file("missing/Config"), "x"));
  EXPECT_FALSE(replaceFile(dir.file("Config"), "x"));
}

TEST_F(Save, ReplacingKeepsPermissionsAndFollowsLinks) {
  const std::string real = dir.file("real");
  writeBytes(real, oldText);
  chmod(real.c_str(), 0640);
  std::filesystem::create_symlink("real", dir.file("link"));
  ASSERT_TRUE(replaceFile(dir.file("link"), "new text"));
  EXPECT_TRUE(std::filesystem::is_symlink(dir.file("link")));
  EXPECT_EQ(readBytes(real), "new text");
  struct stat info {};
  ASSERT_EQ(stat(real.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0640u);

  const mode_t mask = umask(027);
  ASSERT_TRUE(replaceFile(dir.file("fresh"), ""));
  umask(mask);
  ASSERT_EQ(stat(dir.file("fresh").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0640u) << "a new file gets the umask's permissions";
  EXPECT_EQ(readBytes(dir.file("fresh")), "");
  EXPECT_EQ(dir.listing(), "fresh\nlink\nreal\n");
}

TEST_F(Save, ASaveWithoutRootLeavesTheFileAlone) {
  const std::string file = dir.file("Config");
  writeBytes(file, oldText);
  IConfig::instance(0)->save(file);
  EXPECT_EQ(readBytes(file), oldText);
}

}  // namespace
