// Whether a save would replace a file that someone else changed since the document read it:
// what another program may do to the file, and the names a save may reach it by.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <functional>

#include "platform/unitFileStamp.h"
#include "tests/support/TempDir.h"

namespace {

struct TStampCase {
  std::string Label;
  std::function<void(const TTempDir&)> Meanwhile;  // done to known.s16 after it was read
  std::string SaveName;
  bool Changed;
};

void PrintTo(const TStampCase& Case, std::ostream* Out) {
  *Out << Case.Label;
}

// Gives Path the modification time of From, or From's plus Seconds.
void CopyTime(const std::string& From, const std::string& Path, int Seconds = 0) {
  struct stat Info {};
  ASSERT_EQ(stat(From.c_str(), &Info), 0);
  timespec Times[2] = {Info.st_atim, Info.st_mtim};
  Times[1].tv_sec += Seconds;
  ASSERT_EQ(utimensat(AT_FDCWD, Path.c_str(), Times, 0), 0);
}

class KnownFile : public testing::TestWithParam<TStampCase> {};

TEST_P(KnownFile, TellsAChangeBeforeTheSaveThatWouldReplaceIt) {
  TTempDir Dir;
  const std::string Path = Dir.File("known.s16");
  WriteBytes(Path, {1, 2, 3});
  const TKnownFile Known{Path, FileStampOf(Path)};
  GetParam().Meanwhile(Dir);
  EXPECT_EQ(Known.ChangedBeforeSaveTo(Dir.File(GetParam().SaveName)), GetParam().Changed);
}

const auto Untouched = [](const TTempDir&) {};
const auto Longer = [](const TTempDir& Dir) { WriteBytes(Dir.File("known.s16"), {1, 2, 3, 4}); };

INSTANTIATE_TEST_SUITE_P(
    Saves, KnownFile,
    testing::Values(TStampCase{"Untouched", Untouched, "known.s16", false},
                    TStampCase{"WrittenLonger", Longer, "known.s16", true},
                    TStampCase{"SameBytesLaterTime",
                               [](const TTempDir& Dir) {
                                 const std::string Path = Dir.File("known.s16");
                                 WriteBytes(Path, {1, 2, 3});
                                 CopyTime(Path, Path, 1);
                               },
                               "known.s16", true},
                    // Only the inode tells: same size, same time.
                    TStampCase{"ReplacedByAnotherOfTheSameSizeAndTime",
                               [](const TTempDir& Dir) {
                                 WriteBytes(Dir.File("new"), {9, 9, 9});
                                 CopyTime(Dir.File("known.s16"), Dir.File("new"));
                                 std::filesystem::rename(Dir.File("new"), Dir.File("known.s16"));
                               },
                               "known.s16", true},
                    TStampCase{
                        "Removed",
                        [](const TTempDir& Dir) { std::filesystem::remove(Dir.File("known.s16")); },
                        "known.s16", false},
                    TStampCase{"AnotherFileSavedTo",
                               [](const TTempDir& Dir) {
                                 WriteBytes(Dir.File("other.s16"), {5});
                                 WriteBytes(Dir.File("known.s16"), {1, 2, 3, 4});
                               },
                               "other.s16", false},
                    TStampCase{"ChangedAndSavedToThroughAHardLink",
                               [](const TTempDir& Dir) {
                                 std::filesystem::create_hard_link(Dir.File("known.s16"),
                                                                   Dir.File("hard.s16"));
                                 WriteBytes(Dir.File("known.s16"), {1, 2, 3, 4});
                               },
                               "hard.s16", true},
                    TStampCase{"ReplacedAndSavedToThroughASymbolicLink",
                               [](const TTempDir& Dir) {
                                 std::filesystem::create_symlink("known.s16", Dir.File("soft.s16"));
                                 WriteBytes(Dir.File("new"), {1, 2, 3});
                                 std::filesystem::rename(Dir.File("new"), Dir.File("known.s16"));
                               },
                               "soft.s16", true}),
    [](const auto& Info) { return Info.param.Label; });

}  // namespace
