// Saves by a user other than root (nobody, through setpriv), as careful editors make them: a
// file the user could not write is not replaced, and a saved file keeps its owner, mode and
// hard links, also where the folder cannot be written; any name the folder takes can be saved.
// The suite runs as root in CI; where no other user can be taken on, the cases are skipped.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "sprites/unitS16Handler.h"
#include "tests/support/SpriteFactory.h"
#include "tests/support/ToolRunner.h"

namespace {

namespace fs = std::filesystem;

constexpr uid_t Nobody = 65534;

struct TUnprivilegedSave {
  std::string Label;
  mode_t FolderMode;  // the folder is root's
  uid_t FileOwner;
  mode_t FileMode;
  bool SecondLink;
  std::size_t NameLength;
  bool Saved;  // otherwise refused, the file untouched
};

void PrintTo(const TUnprivilegedSave& Case, std::ostream* Out) {
  *Out << Case.Label;
}

// A copy of the tool in a folder open to all: the build's own folder may be closed to other
// users (CI builds a clone in a private temporary folder).
const std::string& ToolForNobody() {
  static const TTempDir Folder;
  static const std::string Tool = [] {
    fs::permissions(Folder.Path(), fs::perms(0755));
    fs::copy_file(PELBROOK_TOOL, Folder.File("pelbrook-tool"));
    return Folder.File("pelbrook-tool");
  }();
  return Tool;
}

TToolRun RunAsNobody(const std::vector<std::string>& Args) {
  return RunTool(Args, {"setpriv", "--reuid=65534", "--regid=65534", "--clear-groups"},
                 ToolForNobody());
}

// Why nobody cannot run the tool here; empty when it can.
std::string WhyNotAsNobody() {
  if (geteuid() != 0) return "only root can run the tool as another user";
  const TToolRun Run = RunAsNobody({"--help"});
  if (Run.Status != 0) return "setpriv cannot run the tool as nobody: " + Run.Err;
  return {};
}

class UnprivilegedSave : public testing::TestWithParam<TUnprivilegedSave> {};

TEST_P(UnprivilegedSave, ReplacesOnlyWhatTheUserCouldWriteAndKeepsOwnerModeAndLinks) {
  const TUnprivilegedSave& Case = GetParam();
  const std::string Refusal = WhyNotAsNobody();
  if (!Refusal.empty()) GTEST_SKIP() << Refusal;
  TTempDir Dir;
  fs::permissions(Dir.Path(), fs::perms(0755));
  const std::string In = Dir.File("new.s16"), Folder = Dir.File("work");
  TS16File New;
  New.Add(MakeSprite(2, 2, TWords(4, 0x07E0)));
  New.SaveToFile(In);
  fs::create_directory(Folder);
  const std::string Target = Folder + "/" + std::string(Case.NameLength - 4, 'n') + ".s16";
  const TBytes Old = {1, 0, 0, 0, 0, 0};
  WriteBytes(Target, Old);
  ASSERT_EQ(chown(Target.c_str(), Case.FileOwner, Case.FileOwner), 0);
  ASSERT_EQ(chmod(Target.c_str(), Case.FileMode), 0);
  if (Case.SecondLink) fs::create_hard_link(Target, Folder + "/link.s16");
  ASSERT_EQ(chmod(Folder.c_str(), Case.FolderMode), 0);
  struct stat Before {};
  ASSERT_EQ(stat(Target.c_str(), &Before), 0);

  const TToolRun Run = RunAsNobody({"convert", In, Target});

  struct stat After {};
  ASSERT_EQ(stat(Target.c_str(), &After), 0);
  EXPECT_EQ(ReadBytes(Target), Case.Saved ? ReadBytes(In) : Old);
  if (Case.Saved) {
    EXPECT_EQ(Run.Status, 0) << Run.Err;
  } else {
    EXPECT_EQ(Run.Status, 1);
    EXPECT_EQ(Run.Err, "pelbrook-tool: Unable to save to: " + Target + ": " + Target +
                           ": permission denied\n");
  }
  EXPECT_EQ(std::tuple(After.st_uid, After.st_gid, After.st_mode, After.st_nlink),
            std::tuple(Before.st_uid, Before.st_gid, Before.st_mode, Before.st_nlink));
  if (Case.SecondLink) {
    EXPECT_EQ(ReadBytes(Folder + "/link.s16"), ReadBytes(Target));
  }
  EXPECT_EQ(std::distance(fs::directory_iterator(Folder), fs::directory_iterator()),
            Case.SecondLink ? 2 : 1)
      << "a temporary file was left";
}

INSTANTIATE_TEST_SUITE_P(
    Saves, UnprivilegedSave,
    testing::Values(TUnprivilegedSave{"ReadOnlyFile", 0777, Nobody, 0444, false, 10, false},
                    TUnprivilegedSave{"AnotherUsersFile", 0777, 0, 0644, false, 10, false},
                    TUnprivilegedSave{"AnotherUsersWritableFile", 0777, 0, 0666, false, 10, true},
                    TUnprivilegedSave{"FolderNotWritable", 0755, Nobody, 0644, false, 10, true},
                    TUnprivilegedSave{"TwoHardLinks", 0777, Nobody, 0640, true, 10, true},
                    TUnprivilegedSave{"NameOf250Bytes", 0777, Nobody, 0600, false, 250, true}),
    [](const auto& Info) { return Info.param.Label; });

}  // namespace
