// File access at its edges: a named pipe to read, saves through symbolic links, and what killed
// saves leave behind.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

#include "platform/unitFileIO.h"
#include "platform/unitRegistryStore.h"
#include "tests/support/TempDir.h"

namespace {

namespace fs = std::filesystem;

std::vector<std::string> SortedEntries(const TTempDir& Dir) {
  std::vector<std::string> Names = Dir.Entries();
  std::sort(Names.begin(), Names.end());
  return Names;
}

// Every reader opens through TFileReader. One that opened the pipe would wait for a writer for
// ever; the alarm ends the test then.
TEST(FileReader, RefusesAPipeAtOnceAndSoDoesThePreferenceStore) {
  TTempDir Dir;
  const std::string Path = Dir.File("pipe");
  ASSERT_EQ(mkfifo(Path.c_str(), 0666), 0);
  alarm(10);
  TFileReader Reader;
  EXPECT_FALSE(Reader.Open(Path));
  EXPECT_EQ(Reader.Failure(), "Not a regular file");
  TRegistryStore Store(Path);
  EXPECT_FALSE(Store.OpenKey(PreferencesKeyPath));
  EXPECT_FALSE(Store.CreateKey(PreferencesKeyPath));
  alarm(0);
  EXPECT_TRUE(fs::is_fifo(Path));
}

TEST(SafeFileWriter, SavesThroughLinksIntoTheFileTheyEndAtKeepingItsOwnerAndMode) {
  TTempDir Dir;
  fs::create_directory(Dir.File("real"));
  const std::string Target = Dir.File("real/sprites.s16");
  WriteBytes(Target, {1, 2, 3});
  ASSERT_EQ(chmod(Target.c_str(), 0640), 0);
  const bool Root = geteuid() == 0;  // only root may give a file away
  if (Root) {
    ASSERT_EQ(chown(Target.c_str(), 1234, 5678), 0);
  }
  fs::create_symlink("real/sprites.s16", Dir.File("inner.s16"));
  fs::create_symlink(Dir.File("inner.s16"), Dir.File("outer.s16"));

  TSafeFileWriter Writer;
  ASSERT_TRUE(Writer.Create(Dir.File("outer.s16"))) << Writer.Failure();
  Writer.Write("new", 3);
  Writer.Commit();

  EXPECT_EQ(ReadBytes(Target), (TBytes{'n', 'e', 'w'}));
  EXPECT_EQ(fs::read_symlink(Dir.File("inner.s16")), "real/sprites.s16");
  EXPECT_EQ(fs::read_symlink(Dir.File("outer.s16")), Dir.File("inner.s16"));
  struct stat Info {};
  ASSERT_EQ(stat(Target.c_str(), &Info), 0);
  EXPECT_EQ(Info.st_mode & 07777, 0640u);
  if (Root) {
    EXPECT_EQ(std::pair(Info.st_uid, Info.st_gid), std::pair(1234u, 5678u));
  }
  EXPECT_EQ(SortedEntries(Dir), (std::vector<std::string>{"inner.s16", "outer.s16", "real"}));
  EXPECT_EQ(fs::directory_iterator(Dir.File("real"))->path(), Target);
}

TEST(SafeFileWriter, RemovesWhatKilledSavesLeftAndNothingElse) {
  TTempDir Dir;
  const std::vector<std::string> Stale = {".pelbrook-Qx3Zz0", ".a.s16.pelbrook-Ab12Cd",
                                          "a.s16.pelbrook-xyZ789"};
  const std::vector<std::string> Kept = {".pelbrook-Ab12",          // not a name the writer makes
                                         ".pelbrook-Locked",        // another save is writing it
                                         ".a.s16.pelbrook-Locked",  // so is this older one
                                         ".b.s16.pelbrook-Ab12Cd",  // an older one of another file
                                         "a.s16.pelbrook-Ab_12C"};
  for (const std::string& Name : Stale) WriteBytes(Dir.File(Name), {0});
  for (const std::string& Name : Kept) WriteBytes(Dir.File(Name), {0});
  std::vector<int> Running;
  for (const char* Name : {".pelbrook-Locked", ".a.s16.pelbrook-Locked"}) {
    Running.push_back(open(Dir.File(Name).c_str(), O_RDONLY));
    ASSERT_EQ(flock(Running.back(), LOCK_EX), 0);
  }

  TSafeFileWriter Writer;
  ASSERT_TRUE(Writer.Create(Dir.File("a.s16")));
  Writer.Commit();
  for (const int Fd : Running) close(Fd);

  std::vector<std::string> Expected = Kept;
  Expected.push_back("a.s16");
  std::sort(Expected.begin(), Expected.end());
  EXPECT_EQ(SortedEntries(Dir), Expected);
}

}  // namespace
