#include <gtest/gtest.h>

#include <random>

#include "imaging/resample.h"
#include "imaging/unitThumbnailMaker.h"
#include "platform/qt/unitQtImageFiles.h"
#include "platform/unitBmpCodec.h"
#include "platform/unitPngChunks.h"
#include "tests/support/BitmapFactory.h"
#include "tests/support/CaseNames.h"
#include "tests/support/SpriteFactory.h"
#include "tests/support/ToolRunner.h"

namespace {

std::string MakeBmp(const TTempDir& Dir, int Width, int Height) {
  std::mt19937 Random(4);
  const std::string Path = Dir.File("in.bmp");
  SaveBmpFile(RandomBitmap(TPixelFormat::pf16bit, Width, Height, Random), Path);
  return Path;
}

TBitmap ResampledInProcess(const std::string& Path, int Width, int Height,
                           const TFilterRow& Filter) {
  TBitmap Destination(TPixelFormat::pf24bit, Width, Height);
  ResampleBitmap(*LoadBmpFile(Path), Destination, Filter.Weight, Filter.Support);
  return Destination;
}

class ToolResampleFilters : public testing::TestWithParam<std::pair<const char*, int>> {};

TEST_P(ToolResampleFilters, WriteWhatTheResamplerGives) {
  TTempDir Dir;
  const std::string In = MakeBmp(Dir, 13, 6);
  const std::string Out = Dir.File("out.bmp");
  std::vector<std::string> Args = {"resample", In, Out, "9", "11"};
  if (*GetParam().first) Args.insert(Args.end(), {"--filter", GetParam().first});
  const TToolRun Run = RunTool(Args);
  ASSERT_EQ(Run.Status, 0) << Run.Err;
  const auto Written = LoadBmpFile(Out);
  EXPECT_EQ(Written->PixelFormat(), TPixelFormat::pf24bit);
  EXPECT_EQ(RawBits(*Written),
            RawBits(ResampledInProcess(In, 9, 11, FilterTable[GetParam().second])));
}

// Without --filter the tool uses Triangle.
INSTANTIATE_TEST_SUITE_P(ToolResample, ToolResampleFilters,
                         testing::Values(std::pair{"", 1}, std::pair{"box", 0},
                                         std::pair{"Lanczos3", 5}),
                         [](const auto& Info) {
                           return *Info.param.first ? std::string(Info.param.first) : "Default";
                         });

std::string MakeDocument(const TTempDir& Dir) {
  std::mt19937 Random(8);
  TWords Words(40 * 17);
  for (std::uint16_t& Word : Words) Word = std::uint16_t(Random());
  TS16File File;
  File.Add(MakeSprite(3, 3, TWords(9, 0xFFFF)));
  File.Add(MakeSprite(40, 17, Words));
  File.Add(MakeSprite(50, 1, TWords(50, 0xFFFF)));
  const std::string Path = Dir.File("doc.s16");
  File.SaveToFile(Path);
  return Path;
}

struct TThumbnailCase {
  std::vector<std::string> Options;
  TThumbnailSettings Settings;
};

class ToolThumbnailOptions : public testing::TestWithParam<TThumbnailCase> {};

TEST_P(ToolThumbnailOptions, WriteTheListsThumbnail) {
  TTempDir Dir;
  const std::string In = MakeDocument(Dir);
  const std::string Out = Dir.File("thumb.bmp");
  std::vector<std::string> Args = {"thumbnail", In, "1", Out};
  Args.insert(Args.end(), GetParam().Options.begin(), GetParam().Options.end());
  const TToolRun Run = RunTool(Args);
  ASSERT_EQ(Run.Status, 0) << Run.Err;
  TS16File File;
  File.LoadFromFile(In);
  TBitmap Expected = MakeThumbnail(File.GetSprite(1), GetParam().Settings).Image;
  Expected.SetPixelFormat(TPixelFormat::pf24bit);
  EXPECT_EQ(RawBits(*LoadBmpFile(Out)), RawBits(Expected));
}

INSTANTIATE_TEST_SUITE_P(
    ToolThumbnail, ToolThumbnailOptions,
    testing::Values(TThumbnailCase{{}, {25, true, 0}},
                    TThumbnailCase{{"--size", "100", "--better"}, {100, true, 1}},
                    TThumbnailCase{{"--square", "--size", "50"}, {50, false, 0}}),
    [](const auto& Info) {
      std::string Name;
      for (const std::string& Option : Info.param.Options)
        Name += (Name.empty() ? "" : "_") + CaseName(Option.substr(Option.find_first_not_of('-')));
      return Name.empty() ? "Defaults" : Name;
    });

// The picture subcommands' words before OUT, and after it.
struct TPictureCase {
  std::string Name;
  std::vector<std::string> Before, After;
};

class ToolPictureOutputs : public testing::TestWithParam<TPictureCase> {};

TEST_P(ToolPictureOutputs, APngNameGetsAPngOfTheSamePixels) {
  TTempDir Dir;
  const std::string Document = MakeDocument(Dir), Bmp = MakeBmp(Dir, 7, 5);
  const auto Args = [&](const std::string& Out) {
    std::vector<std::string> Words = {GetParam().Name,
                                      GetParam().Name == "resample" ? Bmp : Document};
    Words.insert(Words.end(), GetParam().Before.begin(), GetParam().Before.end());
    Words.push_back(Out);
    Words.insert(Words.end(), GetParam().After.begin(), GetParam().After.end());
    return Words;
  };
  ASSERT_EQ(RunTool(Args(Dir.File("out.bmp"))).Status, 0);
  const TToolRun Run = RunTool(Args(Dir.File("out.PNG")));
  ASSERT_EQ(Run.Status, 0) << Run.Err;
  ASSERT_TRUE(IsPngSignature(ReadBytes(Dir.File("out.PNG"))));
  EXPECT_EQ(RawBits(*LoadImageFile(Dir.File("out.PNG"))),
            RawBits(*LoadBmpFile(Dir.File("out.bmp"))));
}

INSTANTIATE_TEST_SUITE_P(, ToolPictureOutputs,
                         testing::Values(TPictureCase{"thumbnail", {"1"}, {"--size", "50"}},
                                         TPictureCase{"resample", {}, {"9", "4"}}),
                         [](const auto& Info) { return Info.param.Name; });

TEST(ToolImagingFailures, ExitNonZeroWithoutWritingAFile) {
  TTempDir Dir;
  const std::string Bmp = MakeBmp(Dir, 5, 4);
  const std::string Document = MakeDocument(Dir);
  const std::string Out = Dir.File("out.bmp");
  struct TCase {
    std::vector<std::string> Args;
    std::string Message;
  };
  const std::vector<TCase> Cases = {
      {{"resample", Bmp, Out, "1", "3"}, "Floating point division by zero"},
      {{"resample", Bmp, Out, "3", "3", "--filter", "gauss"}, "--filter takes box"},
      {{"resample", Bmp, Out, "0", "3"}, "at least 1"},
      {{"resample", Dir.File("none.bmp"), Out, "3", "3"}, "none.bmp"},
      {{"thumbnail", Document, "2", Out}, "The Thumbnails may be inaccurate"},
      {{"thumbnail", Document, "0", Out, "--size", "30"}, "--size takes 25, 50, 75 or 100"},
      {{"thumbnail", Document, "3", Out}, "sprite 3 does not exist"},
      {{"thumbnail", Document, "0", Dir.File("out.gif")}, "it writes .bmp and .png files only"},
      {{"resample", Bmp, Dir.File("out.jpg"), "3", "3"}, "it writes .bmp and .png files only"},
  };
  for (const TCase& Case : Cases) {
    const TToolRun Run = RunTool(Case.Args);
    EXPECT_NE(Run.Status, 0) << Case.Message;
    EXPECT_NE(Run.Err.find(Case.Message), std::string::npos) << Run.Err;
    EXPECT_FALSE(std::filesystem::exists(Out)) << Case.Message;
  }
  const TToolRun Help = RunTool({"--help"});
  for (const char* Word : {"resample", "thumbnail"})
    EXPECT_NE(Help.Out.find("pelbrook-tool " + std::string(Word)), std::string::npos) << Word;
}

}  // namespace
