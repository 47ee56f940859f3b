#include <gtest/gtest.h>

#include <random>

#include "sprites/unitSpriteFileRoutes.h"
#include "tests/support/SpriteFactory.h"
#include "tests/support/ToolRunner.h"

namespace {

// A document of random words, saved in Format: what the format holds is what the sheet must
// give back. An .spr file holds no sprite without pixels.
std::string MakeDocument(TTempDir& Dir, int Format) {
  TS16File File;
  std::mt19937 Random(3);
  for (int I = 0; I < 30; ++I) {
    auto Sprite = MakeSprite(1 + int(Random() % 9), 1 + int(Random() % 9));
    std::generate_n(Sprite->PixelData(), Sprite->PixelCount(), [&] { return Random(); });
    File.Add(std::move(Sprite));
  }
  File.Add(MakeSprite(4, 4));
  const std::string Path = Dir.File(Format == SaveFormatSpr ? "in.spr" : "in.s16");
  TNoProgress None;
  SaveDocument(File, Format, Path, None);
  return Path;
}

}  // namespace

// Every layout option at once: whatever the layout, unpacking gives the file back byte for byte.
TEST(ToolPack, UnpackGivesTheFileBackByteForByte) {
  TTempDir Dir;
  const std::string In = MakeDocument(Dir, SaveFormatSpr);
  const TToolRun Packed =
      RunTool({"pack", In, Dir.File("sheet.png"), "--array", "--trim", "--padding", "2",
               "--packing", "max-rects", "--pot", "--names", "f{n}"});
  ASSERT_EQ(Packed.Status, 0) << Packed.Err;
  const TToolRun Unpacked = RunTool(
      {"unpack", Dir.File("sheet.png"), Dir.File("sheet.json"), Dir.File("out"), "--to", "spr"});
  ASSERT_EQ(Unpacked.Status, 0) << Unpacked.Err;
  EXPECT_EQ(ReadBytes(Dir.File("out")), ReadBytes(In));
}

// A range: the sprites from --from to --to.
TEST(ToolPack, PacksARange) {
  TTempDir Dir;
  const std::string In = MakeDocument(Dir, SaveFormatS16_565);
  ASSERT_EQ(RunTool({"pack", In, Dir.File("s.png"), "--from", "4", "--to", "6"}).Status, 0);
  ASSERT_EQ(RunTool({"unpack", Dir.File("s.png"), Dir.File("s.json"), Dir.File("o.s16")}).Status,
            0);
  TS16File Packed, Whole;
  OpenS16Document(Packed, Dir.File("o.s16"));
  OpenS16Document(Whole, In);
  ASSERT_EQ(Packed.Count(), 3);
  for (int I = 0; I < 3; ++I) EXPECT_TRUE(Packed.GetSprite(I).SamePixels(Whole.GetSprite(I + 4)));
}

// A disk that takes the new sheet but not its atlas leaves the old pair as it was.
TEST(ToolPack, ThatTheDiskCannotHoldKeepsTheOldSheetAndAtlas) {
  TTempDir Dir;
  const std::string In = MakeDocument(Dir, SaveFormatS16_565);
  ASSERT_EQ(RunTool({"pack", In, Dir.File("s.png")}).Status, 0);
  const TBytes Sheet = ReadBytes(Dir.File("s.png")), Atlas = ReadBytes(Dir.File("s.json"));
  ASSERT_LT(Sheet.size() + 1024, Atlas.size());
  const TToolRun Full = RunTool({"pack", In, Dir.File("s.png"), "--padding", "3"},
                                {"prlimit", "--fsize=" + std::to_string(Sheet.size() + 1024)});
  EXPECT_NE(Full.Status, 0);
  EXPECT_NE(Full.Err.find("File too large"), std::string::npos) << Full.Err;
  EXPECT_EQ(ReadBytes(Dir.File("s.png")), Sheet);
  EXPECT_EQ(ReadBytes(Dir.File("s.json")), Atlas);
}

struct TPackRefusal {
  const char* Name;
  std::vector<std::string> Args;  // IN and DIR/ stand for the document and the folder
  int Status;
  const char* Message;  // found in standard error
};

class ToolPackRefusals : public testing::TestWithParam<TPackRefusal> {};

TEST_P(ToolPackRefusals, SayWhy) {
  TTempDir Dir;
  const std::string In = MakeDocument(Dir, SaveFormatS16_565);
  std::vector<std::string> Args;
  for (const std::string& Arg : GetParam().Args)
    Args.push_back(Arg == "IN" ? In : Arg.rfind("DIR/", 0) == 0 ? Dir.File(Arg.substr(4)) : Arg);
  const TToolRun Run = RunTool(Args);
  EXPECT_EQ(Run.Status, GetParam().Status);
  EXPECT_NE(Run.Err.find(GetParam().Message), std::string::npos) << Run.Err;
}

INSTANTIATE_TEST_SUITE_P(
    , ToolPackRefusals,
    testing::Values(TPackRefusal{"NotPng", {"pack", "IN", "DIR/s.bmp"}, 2, "must end in .png"},
                    TPackRefusal{"Padding",
                                 {"pack", "IN", "DIR/s.png", "--padding", "17"},
                                 2,
                                 "--padding takes 0 to 16"},
                    TPackRefusal{"Range",
                                 {"pack", "IN", "DIR/s.png", "--from", "5", "--to", "2"},
                                 2,
                                 "--from must not come after --to"},
                    TPackRefusal{"AtlasOverInput",
                                 {"pack", "IN", "DIR/s.png", "--json", "IN"},
                                 2,
                                 "must be a file of its own"}),
    [](const testing::TestParamInfo<TPackRefusal>& Info) { return std::string(Info.param.Name); });
