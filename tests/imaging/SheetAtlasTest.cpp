#include <gtest/gtest.h>

#include "imaging/unitSheetAtlas.h"
#include "sprites/unitS16Handler.h"
#include "tests/support/CaseNames.h"
#include "tests/support/SpriteFactory.h"

namespace {

// Names that need escaping in JSON, and that do not sort in their order ("w_10" before "w_2").
TSheetAtlas MakeAtlas(int Count, bool Trimmed) {
  TSheetAtlas Atlas;
  Atlas.Image = "sheet \"one\".png";
  Atlas.Width = 200;
  Atlas.Height = 30;
  for (int I = 0; I < Count; ++I) {
    TAtlasFrame Frame{
        FrameName("w_\"{n}\\\n", I), 15 * I, I % 3, 3 + I, 2, Trimmed, 0, 0, 3 + I, 2};
    if (Trimmed) Frame = {Frame.Name, Frame.X, Frame.Y, 2, 1, true, I % 2, 1, 4 + I, 5};
    Atlas.Frames.push_back(Frame);
  }
  return Atlas;
}

void ExpectSameFrames(const TSheetAtlas& Read, const TSheetAtlas& Written) {
  ASSERT_EQ(Read.Frames.size(), Written.Frames.size());
  EXPECT_EQ(Read.Image, Written.Image);
  for (std::size_t I = 0; I < Read.Frames.size(); ++I) {
    const TAtlasFrame &A = Read.Frames[I], &B = Written.Frames[I];
    EXPECT_EQ(std::tie(A.Name, A.X, A.Y, A.Width, A.Height, A.Trimmed, A.SourceX, A.SourceY,
                       A.SourceWidth, A.SourceHeight),
              std::tie(B.Name, B.X, B.Y, B.Width, B.Height, B.Trimmed, B.SourceX, B.SourceY,
                       B.SourceWidth, B.SourceHeight))
        << I;
  }
}

using TAtlasParam = std::tuple<TAtlasForm, bool>;
class SheetAtlasRoundTrip : public testing::TestWithParam<TAtlasParam> {};

std::string AtlasCaseName(const testing::TestParamInfo<TAtlasParam>& Info) {
  const auto& [Form, Trimmed] = Info.param;
  return std::string(Form == TAtlasForm::Hash ? "Hash" : "Array") + (Trimmed ? "Trimmed" : "Whole");
}

}  // namespace

// The frames come back in their order, also where the names do not sort in it.
TEST_P(SheetAtlasRoundTrip, ReadsBackWhatItWrites) {
  const auto& [Form, Trimmed] = GetParam();
  const TSheetAtlas Atlas = MakeAtlas(12, Trimmed);
  ExpectSameFrames(ReadSheetAtlas(WriteSheetAtlas(Atlas, Form, "1.0")), Atlas);
}

INSTANTIATE_TEST_SUITE_P(, SheetAtlasRoundTrip,
                         testing::Combine(testing::Values(TAtlasForm::Hash, TAtlasForm::Array),
                                          testing::Bool()),
                         AtlasCaseName);

// The layout the engines' loaders read, field for field.
TEST(SheetAtlas, WritesTheEnginesFrameLayout) {
  TSheetAtlas Atlas;
  Atlas.Image = "s.png";
  Atlas.Width = 8;
  Atlas.Height = 4;
  Atlas.Frames = {{"0003", 1, 2, 3, 2, true, 4, 5, 9, 8}};
  EXPECT_EQ(WriteSheetAtlas(Atlas, TAtlasForm::Array, "2.1"),
            "{\"frames\": [\n\n{\n\t\"filename\": \"0003\",\n"
            "\t\"frame\": {\"x\":1,\"y\":2,\"w\":3,\"h\":2},\n"
            "\t\"rotated\": false,\n\t\"trimmed\": true,\n"
            "\t\"spriteSourceSize\": {\"x\":4,\"y\":5,\"w\":3,\"h\":2},\n"
            "\t\"sourceSize\": {\"w\":9,\"h\":8}\n}],\n"
            "\"meta\": {\n\t\"app\": \"Pelbrook\",\n\t\"version\": \"2.1\",\n"
            "\t\"image\": \"s.png\",\n\t\"format\": \"RGBA8888\",\n"
            "\t\"size\": {\"w\":8,\"h\":4},\n\t\"scale\": \"1\"\n}\n}\n");
}

struct TNameCase {
  const char* Pattern;
  int Index;
  const char* Name;  // or the start of the error's message
};

class FrameNames : public testing::TestWithParam<TNameCase> {};

TEST_P(FrameNames, FollowThePattern) {
  const TNameCase& Case = GetParam();
  std::string Got;
  try {
    Got = FrameName(Case.Pattern, Case.Index);
  } catch (const ESpriteError& Error) {
    Got = Error.what();
  }
  EXPECT_EQ(Got.substr(0, std::string(Case.Name).size()), Case.Name);
}

INSTANTIATE_TEST_SUITE_P(
    , FrameNames,
    testing::Values(TNameCase{"{n:4}", 7, "0007"}, TNameCase{"{n:2}", 123, "123"},
                    TNameCase{"{n}-{n:3}", 5, "5-005"},
                    TNameCase{"walk", 1, "The name pattern \"walk\" holds no {n}"},
                    TNameCase{"{x}{n}", 1, "The name pattern \"{x}{n}\" has a brace"},
                    TNameCase{"{n:0}", 1, "The name pattern \"{n:0}\" has a brace"},
                    TNameCase{"{n", 1, "The name pattern \"{n\" has a brace"}),
    [](const testing::TestParamInfo<TNameCase>& Info) {
      return CaseName(Info.param.Pattern) + "_" + std::to_string(Info.index);
    });

struct THostileAtlas {
  const char* Name;
  std::string Json;
  const char* Message;  // the start of the refusal's message
};

class HostileAtlases : public testing::TestWithParam<THostileAtlas> {};

TEST_P(HostileAtlases, AreRefusedWithTheirReason) {
  const THostileAtlas& Case = GetParam();
  const std::string Message = ErrorText<ESpriteError>([&] { ReadSheetAtlas(Case.Json); });
  EXPECT_EQ(Message.substr(0, std::string(Case.Message).size()), Case.Message) << Message;
}

namespace {

std::string Frame(const std::string& Fields) {
  return "{\"frames\":{\"a\":{\"frame\":{\"x\":0,\"y\":0,\"w\":2,\"h\":2}" + Fields + "}}}";
}

std::string Nested(int Depth) {
  return std::string(Depth, '[') + std::string(Depth, ']');
}

std::string ManyFrames(int Count, const char* SourceSize) {
  std::string Json = "{\"frames\":[";
  for (int I = 0; I < Count; ++I)
    Json += std::string(I ? "," : "") +
            "{\"frame\":{\"x\":0,\"y\":0,\"w\":1,\"h\":1},\"trimmed\":true,"
            "\"spriteSourceSize\":{\"x\":0,\"y\":0},\"sourceSize\":" +
            SourceSize + "}";
  return Json + "]}";
}

}  // namespace

INSTANTIATE_TEST_SUITE_P(
    , HostileAtlases,
    testing::Values(
        THostileAtlas{"NotJson",
                      "{\"frames\":", "The atlas is not JSON: Not valid JSON at byte 10"},
        THostileAtlas{"TrailingText", "{} x", "The atlas is not JSON: Not valid JSON at byte 3"},
        THostileAtlas{"BadNumber", Frame(",\"q\":01"), "The atlas is not JSON"},
        THostileAtlas{"LoneSurrogate", "[\"\\ud800\"]", "The atlas is not JSON"},
        THostileAtlas{"DeepNesting", Nested(40),
                      "The atlas is not JSON: Not valid JSON at byte 33: nested deeper"},
        THostileAtlas{"NoFrames", "{\"meta\":{}}", "The atlas has no \"frames\" object or array"},
        THostileAtlas{"Rotated", Frame(",\"rotated\":true"), "The atlas's frame \"a\" is rotated"},
        THostileAtlas{"NoRectangle", "{\"frames\":{\"a\":{}}}",
                      "The atlas's frame \"a\" has no \"frame\" object"},
        THostileAtlas{"Negative", "{\"frames\":[{\"frame\":{\"x\":-1,\"y\":0,\"w\":1,\"h\":1}}]}",
                      "The atlas's frame \"#0\" has a frame.x that is no whole number"},
        THostileAtlas{
            "Fraction",
            "{\"frames\":[{\"filename\":\"f\",\"frame\":{\"x\":0.5,\"y\":0,\"w\":1,\"h\":1}}]}",
            "The atlas's frame \"f\" has a frame.x"},
        THostileAtlas{"TooWide", "{\"frames\":[{\"frame\":{\"x\":0,\"y\":0,\"w\":1e9,\"h\":1}}]}",
                      "The atlas's frame \"#0\" has a frame.w"},
        THostileAtlas{"TrimmedOutside",
                      Frame(",\"trimmed\":true,\"spriteSourceSize\":{\"x\":1,\"y\":0},"
                            "\"sourceSize\":{\"w\":2,\"h\":2}"),
                      "The atlas's frame \"a\" is trimmed to pixels outside its sourceSize"},
        THostileAtlas{"TrimmedNoSource", Frame(",\"trimmed\":true"),
                      "The atlas's frame \"a\" has no \"spriteSourceSize\" object"},
        THostileAtlas{"TwiceNamed",
                      "{\"frames\":{\"a\":{\"frame\":{\"x\":0,\"y\":0,\"w\":1,\"h\":1}},"
                      "\"a\":{\"frame\":{\"x\":0,\"y\":0,\"w\":1,\"h\":1}}}}",
                      "The atlas names the frame \"a\" twice"},
        THostileAtlas{"TooManyFrames", ManyFrames(65536, "{\"w\":1,\"h\":1}"),
                      "The atlas has 65536 frames, more than the 65535 sprites"},
        THostileAtlas{"HugeSources", ManyFrames(100, "{\"w\":65535,\"h\":65535}"),
                      "The atlas has frames of more than 268435456 pixels together"}),
    [](const testing::TestParamInfo<THostileAtlas>& Info) { return std::string(Info.param.Name); });
