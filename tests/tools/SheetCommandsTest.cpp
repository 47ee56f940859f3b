#include <gtest/gtest.h>

#include <random>

#include "sprites/unitSpriteFileRoutes.h"
#include "tests/support/SpriteFactory.h"
#include "tests/support/ToolRunner.h"

namespace {

struct TPackCase {
  const char* Name;
  const char* Extension;  // of the document, which chooses its format
  std::vector<std::string> Options;
};

class ToolPack : public testing::TestWithParam<TPackCase> {};

// A document of random words, saved in the case's format: what the format holds is what
// the sheet must give back. An .spr file holds no sprite without pixels.
std::string MakeDocument(TTempDir& Dir, const char* Extension) {
  TS16File File;
  std::mt19937 Random(3);
  for (int I = 0; I < 30; ++I) {
    auto Sprite = MakeSprite(1 + int(Random() % 9), 1 + int(Random() % 9));
    std::generate_n(Sprite->PixelData(), Sprite->PixelCount(), [&] { return Random(); });
    File.Add(std::move(Sprite));
  }
  File.Add(MakeSprite(4, 4));
  const std::string Path = Dir.File(std::string("in.") + Extension);
  TNoProgress None;
  SaveDocument(File, std::string(Extension) == "spr" ? SaveFormatSpr : SaveFormatS16_565, Path,
               None);
  return Path;
}

}  // namespace

TEST_P(ToolPack, UnpackGivesTheFileBackByteForByte) {
  const TPackCase& Case = GetParam();
  TTempDir Dir;
  const std::string In = MakeDocument(Dir, Case.Extension);
  std::vector<std::string> Pack = {"pack", In, Dir.File("sheet.png")};
  Pack.insert(Pack.end(), Case.Options.begin(), Case.Options.end());
  const TToolRun Packed = RunTool(Pack);
  ASSERT_EQ(Packed.Status, 0) << Packed.Err;
  const std::string Out = Dir.File(std::string("out.") + Case.Extension);
  const TToolRun Unpacked = RunTool({"unpack", Dir.File("sheet.png"), Dir.File("sheet.json"), Out});
  ASSERT_EQ(Unpacked.Status, 0) << Unpacked.Err;
  EXPECT_EQ(ReadBytes(Out), ReadBytes(In));
}

INSTANTIATE_TEST_SUITE_P(
    , ToolPack,
    testing::Values(TPackCase{"S16Hash", "s16", {}},
                    TPackCase{"S16ArrayTrimmed", "s16", {"--array", "--trim", "--padding", "2"}},
                    TPackCase{"SprMaxRectsPot", "spr", {"--packing", "max-rects", "--pot"}},
                    TPackCase{"SprNamedTrimmed", "spr", {"--names", "f{n}", "--trim"}}),
    [](const testing::TestParamInfo<TPackCase>& Info) { return std::string(Info.param.Name); });

// 5-5-5 words come back as the 5-5-5 file held them, through --to.
TEST(ToolPackOptions, KeepsTheFiveFiveFiveLayout) {
  TTempDir Dir;
  TS16File File;
  std::mt19937 Random(9);
  FillRandomDocument(File, Random, 12);
  TNoProgress None;
  const std::string In = Dir.File("in.s16");
  SaveDocument(File, SaveFormatS16_555, In, None);
  ASSERT_EQ(RunTool({"pack", In, Dir.File("s.png"), "--json", Dir.File("atlas.json")}).Status, 0);
  const std::string Out = Dir.File("out.s16");
  ASSERT_EQ(
      RunTool({"unpack", Dir.File("s.png"), Dir.File("atlas.json"), Out, "--to", "s16-555"}).Status,
      0);
  EXPECT_EQ(ReadBytes(Out), ReadBytes(In));
}

// A range: the sprites from --from to --to, named by their index in the file.
TEST(ToolPackOptions, PacksARange) {
  TTempDir Dir;
  const std::string In = MakeDocument(Dir, "s16");
  ASSERT_EQ(RunTool({"pack", In, Dir.File("s.png"), "--from", "4", "--to", "6"}).Status, 0);
  const TBytes Json = ReadBytes(Dir.File("s.json"));
  const std::string Text(Json.begin(), Json.end());
  EXPECT_NE(Text.find("\"0004\""), std::string::npos);
  EXPECT_NE(Text.find("\"0006\""), std::string::npos);
  EXPECT_EQ(Text.find("\"0003\""), std::string::npos);
  EXPECT_EQ(Text.find("\"0007\""), std::string::npos);
  ASSERT_EQ(RunTool({"unpack", Dir.File("s.png"), Dir.File("s.json"), Dir.File("o.s16")}).Status,
            0);
  EXPECT_EQ(RunTool({"info", Dir.File("o.s16")}).Out.substr(0, 12), "s16 5-6-5\n3\n");
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
  const std::string In = MakeDocument(Dir, "s16");
  WriteBytes(Dir.File("bad.json"), {'{', '}'});
  std::vector<std::string> Args;
  for (const std::string& Arg : GetParam().Args)
    Args.push_back(Arg == "IN" ? In : Arg.rfind("DIR/", 0) == 0 ? Dir.File(Arg.substr(4)) : Arg);
  const TToolRun Run = RunTool(Args);
  EXPECT_EQ(Run.Status, GetParam().Status);
  EXPECT_NE(Run.Err.find(GetParam().Message), std::string::npos) << Run.Err;
}

INSTANTIATE_TEST_SUITE_P(
    , ToolPackRefusals,
    testing::Values(
        TPackRefusal{"NotPng", {"pack", "IN", "DIR/s.bmp"}, 2, "must end in .png"},
        TPackRefusal{"Padding",
                     {"pack", "IN", "DIR/s.png", "--padding", "17"},
                     2,
                     "--padding takes 0 to 16"},
        TPackRefusal{"Packing",
                     {"pack", "IN", "DIR/s.png", "--packing", "shelf"},
                     2,
                     "--packing takes rows or max-rects"},
        TPackRefusal{"Range",
                     {"pack", "IN", "DIR/s.png", "--from", "5", "--to", "2"},
                     2,
                     "--from must not come after --to"},
        TPackRefusal{"NoSuchSprite",
                     {"pack", "IN", "DIR/s.png", "--to", "99"},
                     1,
                     "sprite 99 does not exist"},
        TPackRefusal{"Pattern", {"pack", "IN", "DIR/s.png", "--names", "same"}, 1, "holds no {n}"},
        TPackRefusal{"NoFrames",
                     {"unpack", "DIR/s.png", "DIR/bad.json", "DIR/o.s16"},
                     1,
                     "The atlas has no \"frames\" object or array"}),
    [](const testing::TestParamInfo<TPackRefusal>& Info) { return std::string(Info.param.Name); });
