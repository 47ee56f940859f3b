// Saves that the disk or the path refuses, as the user meets them: the reason is shown, the old
// file stays byte for byte, the document stays modified under its title, and no temporary file
// is left behind.

#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <optional>

#include "platform/unitFileIO.h"
#include "tests/support/FileSizeLimit.h"
#include "tests/support/ScratchDisk.h"
#include "tests/support/WindowFixture.h"

namespace {

namespace fs = std::filesystem;

enum class TDisk { TestFolder, Full, ReadOnly };
enum class TTarget { OldFile, LinkedOldFile, Folder, Device, Pipe, LinkLoop };

struct TDiskFault {
  std::string Label;
  TDisk Disk;
  TTarget Target;
  std::string Reason;
  rlim_t FileSizeLimit = RLIM_INFINITY;
};

void PrintTo(const TDiskFault& Fault, std::ostream* Out) {
  *Out << Fault.Label;
}

class FailingDisk : public TWindowTest, public testing::WithParamInterface<TDiskFault> {
 protected:
  // The place Save As is pointed at, or the opened file itself; empty where it cannot be made.
  std::string MakeTarget(TTarget Target, const std::string& Old) {
    const std::string Path = Dir.File("target.s16");
    switch (Target) {
      case TTarget::OldFile:
        return Old;
      case TTarget::LinkedOldFile:  // written in place, so that the link stays
        fs::create_hard_link(Old, Old + ".link");
        return Old;
      case TTarget::Folder:
        fs::create_directory(Path);
        return Path;
      case TTarget::Device:  // a null device of the test's own, so that /dev stays untouched
        return mknod(Path.c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0 ? Path : "";
      case TTarget::Pipe:
        return mkfifo(Path.c_str(), 0666) == 0 ? Path : "";
      case TTarget::LinkLoop:
        fs::create_symlink("loop.s16", Path);
        fs::create_symlink("target.s16", Dir.File("loop.s16"));
        return Path;
    }
    return "";
  }
};

TEST_P(FailingDisk, ShowsWhyAndKeepsTheOldFileAndTheModifiedDocument) {
  const TDiskFault& Fault = GetParam();
  IgnoreFileSizeSignal();  // as the editor's main does
  std::optional<TScratchDisk> Disk;
  std::string Folder = Dir.Path().string();
  if (Fault.Disk != TDisk::TestFolder) {
    Disk.emplace(Dir.File("disk"), 64 * 1024);
    if (!Disk->Mounted()) GTEST_SKIP() << "this system refuses " << Disk->Refusal();
    Folder = Dir.File("disk");
  }
  const std::string Old = WriteS16(fs::relative(Folder, Dir.Path()) / "old.s16", {{8, 8}});
  if (Fault.Disk == TDisk::ReadOnly) {
    ASSERT_TRUE(Disk->MakeReadOnly());
  }
  const std::string Target = MakeTarget(Fault.Target, Old);
  if (Target.empty()) GTEST_SKIP() << "this system refuses the target: " << std::strerror(errno);

  Open(Old);
  // 128 KiB: more than the full disk and the file-size limit leave room for.
  Probe().Document().Add(MakeSprite(256, 256, TWords(65536, 0xFFFF)));
  Window->MarkModified();
  const TBytes OldBytes = ReadBytes(Old);
  const fs::file_type TargetType = fs::symlink_status(Target).type();
  const QString Title = Window->windowTitle();
  {
    const TFileSizeLimit Limit(Fault.FileSizeLimit);
    if (Target == Old) {
      Run("Save1");
    } else {
      Services.DialogAnswers.push_back(TDialogAnswer{Target, 1});
      Run("SaveAs1");
    }
  }

  EXPECT_EQ(
      Services.Shown,
      (std::vector<TMessageBoxRequest>{{"Unable to save to: " + Target, "pelbrook", TMsgButtons::Ok,
                                        TMsgIcon::Stop, false, Fault.Reason}}));
  EXPECT_TRUE(Probe().Modified());
  EXPECT_EQ(Window->windowTitle(), Title);
  EXPECT_EQ(ReadBytes(Old), OldBytes);
  EXPECT_EQ(fs::symlink_status(Target).type(), TargetType);
  for (const std::string& Checked : {Folder, Dir.Path().string()})
    for (const auto& Entry : fs::directory_iterator(Checked))
      EXPECT_EQ(Entry.path().filename().string().find(".pelbrook-"), std::string::npos)
          << Entry.path();
}

INSTANTIATE_TEST_SUITE_P(
    Saves, FailingDisk,
    testing::Values(
        TDiskFault{"FileSizeLimit", TDisk::TestFolder, TTarget::OldFile, "File too large",
                   64 * 1024},
        TDiskFault{"FileSizeLimitInPlace", TDisk::TestFolder, TTarget::LinkedOldFile,
                   "File too large", 64 * 1024},
        TDiskFault{"FullDisk", TDisk::Full, TTarget::OldFile, "No space left on device"},
        TDiskFault{"FullDiskInPlace", TDisk::Full, TTarget::LinkedOldFile,
                   "No space left on device"},
        TDiskFault{"ReadOnlyFolder", TDisk::ReadOnly, TTarget::OldFile, "Read-only file system"},
        TDiskFault{"OntoAFolder", TDisk::TestFolder, TTarget::Folder, "Is a directory"},
        TDiskFault{"OntoADevice", TDisk::TestFolder, TTarget::Device, "Not a regular file"},
        TDiskFault{"OntoAPipe", TDisk::TestFolder, TTarget::Pipe, "Not a regular file"},
        TDiskFault{"ThroughALinkLoop", TDisk::TestFolder, TTarget::LinkLoop,
                   "Too many levels of symbolic links"}),
    [](const auto& Info) { return Info.param.Label; });

}  // namespace
