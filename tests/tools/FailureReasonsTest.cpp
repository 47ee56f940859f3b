// pelbrook-tool's failures say what failed and why, and a failed save leaves the old file.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <random>

#include "platform/unitBmpCodec.h"
#include "tests/support/BitmapFactory.h"
#include "tests/support/SpriteFactory.h"
#include "tests/support/ToolRunner.h"

namespace {

struct TToolFault {
  std::string Label;
  std::vector<std::string> Wrapper;
  std::vector<std::string> Args;  // @ stands for the test's folder, here and in Message
  std::string Message;
};

void PrintTo(const TToolFault& Fault, std::ostream* Out) {
  *Out << Fault.Label;
}

std::string InFolder(std::string Text, const TTempDir& Dir) {
  for (std::size_t At; (At = Text.find('@')) != std::string::npos;)
    Text.replace(At, 1, Dir.Path().string());
  return Text;
}

class ToolFailure : public testing::TestWithParam<TToolFault> {};

TEST_P(ToolFailure, SaysWhatFailedAndWhyAndKeepsTheOldFile) {
  const TToolFault& Fault = GetParam();
#ifdef __SANITIZE_ADDRESS__
  if (Fault.Label == "OutOfMemory")
    GTEST_SKIP() << "AddressSanitizer reserves more address space than the limit allows";
#endif
  TTempDir Dir;
  for (const auto& [Name, Side] : {std::pair("old.s16", 8), std::pair("big.s16", 256)}) {
    TS16File File;
    File.Add(MakeSprite(Side, Side, TWords(std::size_t(Side) * Side, 0xFFFF)));
    File.SaveToFile(Dir.File(Name));
  }
  ASSERT_EQ(mkfifo(Dir.File("pipe.s16").c_str(), 0666), 0);
  WriteBytes(Dir.File("short.s16"), {1, 0, 0, 0, 5, 0});
  std::mt19937 Random(7);
  SaveBmpFile(RandomBitmap(TPixelFormat::pf24bit, 2, 2, Random), Dir.File("small.bmp"));
  const TBytes Old = ReadBytes(Dir.File("old.s16"));

  std::vector<std::string> Args;
  for (const std::string& Arg : Fault.Args) Args.push_back(InFolder(Arg, Dir));
  const TToolRun Run = RunTool(Args, Fault.Wrapper);

  EXPECT_EQ(Run.Status, 1);
  EXPECT_EQ(Run.Err, "pelbrook-tool: " + InFolder(Fault.Message, Dir) + "\n");
  EXPECT_EQ(ReadBytes(Dir.File("old.s16")), Old);
  for (const std::string& Name : Dir.Entries())
    EXPECT_EQ(Name.find(".pelbrook-"), std::string::npos) << Name;
}

INSTANTIATE_TEST_SUITE_P(
    Tool, ToolFailure,
    testing::Values(TToolFault{"FileSizeLimit",
                               {"prlimit", "--fsize=65536"},
                               {"convert", "@/big.s16", "@/old.s16"},
                               "Unable to save to: @/old.s16: File too large"},
                    TToolFault{"MissingFolder",
                               {},
                               {"convert", "@/big.s16", "@/none/old.s16"},
                               "Unable to save to: @/none/old.s16: No such file or directory"},
                    TToolFault{"NamedPipe",
                               {"timeout", "10"},  // an open that waits for a writer fails the row
                               {"info", "@/pipe.s16"},
                               "Unable to open file @/pipe.s16: Not a regular file"},
                    TToolFault{"FileCutShort",
                               {},
                               {"info", "@/short.s16"},
                               "Read beyond end of file: @/short.s16 holds only 6 bytes"},
                    TToolFault{"OutOfMemory",
                               {"prlimit", "--as=1073741824"},
                               {"resample", "@/small.bmp", "@/out.bmp", "40000", "40000"},
                               "Out of memory: scaling @/small.bmp (2 x 2) to 40000 x 40000"}),
    [](const auto& Info) { return Info.param.Label; });

}  // namespace
