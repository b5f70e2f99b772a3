#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <vector>

#include "config/FileReplace.h"
#include "config/StaleFiles.h"
#include "config/StoreFixture.h"
#include "support/FileSizeLimit.h"

namespace {

namespace fs = std::filesystem;

mode_t modeOf(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0 ? info.st_mode & 07777 : 0;
}

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

// A save that cannot finish (the disk full halfway, a folder that cannot be
// written, a target that cannot be a file) keeps the old file whole and
// leaves nothing beside it.
TEST_F(Save, ASaveThatFailsKeepsTheOldFile) {
  const std::string file = dir.file("Constant");
  writeBytes(file, oldText);
  fillStore(2);
  {
    FileSizeLimit limit(1024);
    EXPECT_EQ(IConfig::instance(2)->save(file), ReplaceResult::NotWritten);
  }
  EXPECT_EQ(readBytes(file) + dir.listing(), oldText + "Constant\n") << "the unfinished file is removed";
  if (geteuid() != 0) {  // permissions do not stop root
    chmod(dir.path().c_str(), 0555);
    EXPECT_EQ(IConfig::instance(2)->save(file), ReplaceResult::NotCreated);
    chmod(dir.path().c_str(), 0755);
    EXPECT_EQ(readBytes(file) + dir.listing(), oldText + "Constant\n");
  }
  // A folder in the place of the file, a folder that does not exist, an empty name.
  std::filesystem::create_directory(dir.file("Config"));
  for (const std::string& target : {dir.file("Config"), dir.file("missing/Config"), std::string()})
    EXPECT_EQ(IConfig::instance(2)->save(target), ReplaceResult::NotCreated) << target;
  EXPECT_TRUE(std::filesystem::is_directory(dir.file("Config")));
  EXPECT_EQ(IConfig::instance(2)->save(file), ReplaceResult::Replaced);  // with room on the disk it is replaced
  IConfig::instance(2)->load(file);
  EXPECT_EQ(IConfig::instance(2)->get("c199"), "3.14159265358979323846264338327950288");
  EXPECT_EQ(dir.listing(), "Config\nConstant\n");
}

TEST_F(Save, ReplacingKeepsPermissionsAndFollowsLinks) {
  const std::string real = dir.file("real");
  writeBytes(real, oldText);
  chmod(real.c_str(), 0640);
  std::filesystem::create_symlink("real", dir.file("link"));
  ASSERT_TRUE(replaceFile(dir.file("link"), "new text"));
  EXPECT_TRUE(std::filesystem::is_symlink(dir.file("link")) && readBytes(real) == "new text" && modeOf(real) == 0640u);

  const mode_t mask = umask(027);
  ASSERT_TRUE(replaceFile(dir.file("fresh"), ""));
  umask(mask);
  EXPECT_TRUE(modeOf(dir.file("fresh")) == 0640u && readBytes(dir.file("fresh")).empty()) << "the umask's permissions";
  EXPECT_EQ(dir.listing(), "fresh\nlink\nreal\n");
}

// A file without write permission is left alone, even by root, whom the
// permission bits do not stop.
TEST_F(Save, OnlyWritableFilesAreReplaced) {
  const struct {
    mode_t mode;
    bool replaced;
  } cases[] = {{0555, false}, {0600, true}};
  fillStore(2);
  for (const auto& c : cases) {
    const std::string file = dir.file("Constant");
    writeBytes(file, oldText);
    chmod(file.c_str(), c.mode);
    IConfig::instance(2)->save(file);
    EXPECT_EQ(readBytes(file) != oldText, c.replaced) << std::oct << c.mode;
    EXPECT_EQ(dir.listing() + std::to_string(modeOf(file)), "Constant\n" + std::to_string(c.mode));
    chmod(file.c_str(), 0644);
  }
}

// A save killed halfway leaves its new file behind, named after the process
// that wrote it. Once that process is gone the file is cleared away, and
// nothing else is: not the files of live processes, links, other users'
// files, nor names that only look alike.
TEST_F(Save, TheTemporaryOfAKilledSaveIsRemovedLater) {
  const std::string file = dir.file("Config");
  writeBytes(file, oldText);
  const std::string large(100 << 20, '7');
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    replaceFile(file, large);
    _exit(0);
  }
  std::string temporary;
  for (int i = 0; i < 20000 && temporary.empty(); ++i) {
    for (const auto& entry : fs::directory_iterator(dir.path()))
      if (entry.path().filename() != "Config") temporary = entry.path().filename();
    if (temporary.empty()) usleep(500);
  }
  kill(child, SIGKILL);
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFSIGNALED(status)) << "the save ended before it could be killed";
  ASSERT_EQ(temporary.rfind("Config.numbrix-" + std::to_string(child) + "-", 0), 0u) << temporary;
  EXPECT_EQ(temporaryWriter(temporary), child);
  EXPECT_EQ(readBytes(file), oldText);

  const std::string dead = "Config.numbrix-" + std::to_string(child) + "-";
  writeBytes(dir.file("victim"), "kept");
  fs::create_symlink("victim", dir.file(dead + "link01"));
  std::vector<std::string> kept = {"Config", "victim", dead + "link01"};
  // A live writer, names that only look alike (a pid with a leading zero too).
  for (const std::string& name :
       {"Config.numbrix-" + std::to_string(getpid()) + "-live01", dead + "short", dead + "toolong", dead + "abc.ef",
        "Config.numbrix-0" + std::to_string(child) + "-zero01", std::string("Config.abcdef")}) {
    writeBytes(dir.file(name), "");
    kept.push_back(name);
  }
  if (geteuid() == 0) {  // only root can give a file away
    kept.push_back(dead + "other1");
    writeBytes(dir.file(kept.back()), "");
    ASSERT_EQ(chown(dir.file(kept.back()).c_str(), 65534, 65534), 0);
  }
  EXPECT_EQ(removeStaleTemporaries(dir.path()), 1);
  std::sort(kept.begin(), kept.end());
  std::string expected;
  for (const auto& name : kept) expected += name + "\n";
  EXPECT_EQ(dir.listing(), expected);
  EXPECT_EQ(readBytes(dir.file("victim")), "kept");
  EXPECT_EQ(removeStaleTemporaries(dir.file("missing")), 0);
}

}  // namespace
