#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "platform/unitFileIO.h"
#include "sprites/unitS16Handler.h"
#include "tests/support/CaseNames.h"
#include "tests/support/SpriteFactory.h"
#include "tests/support/TempDir.h"

namespace {

struct TSpriteShape {
  int Width, Height;
  TWords Words;
};

void AddSprites(TS16File& File, const std::vector<TSpriteShape>& Shapes) {
  for (const TSpriteShape& Shape : Shapes)
    File.Add(MakeSprite(Shape.Width, Shape.Height, Shape.Words));
}

std::vector<int> Widths(const TS16File& File) {
  std::vector<int> Result;
  for (int I = 0; I < File.Count(); ++I) Result.push_back(File.GetSprite(I).Width());
  return Result;
}

void ExpectSameDocument(const TS16File& Loaded, const TS16File& Saved) {
  EXPECT_EQ(Loaded.Is555, Saved.Is555);
  ASSERT_EQ(Loaded.Count(), Saved.Count());
  for (int I = 0; I < Saved.Count(); ++I) {
    const TS16Sprite &A = Loaded.GetSprite(I), &B = Saved.GetSprite(I);
    EXPECT_EQ(std::tuple(A.Width(), A.Height(), A.Is555(), SpriteWords(A)),
              std::tuple(B.Width(), B.Height(), B.Is555(), SpriteWords(B)))
        << "sprite " << I;
  }
}

// Every sprite's pixel bytes, one after another.
TBytes PixelBytes(const TS16File& File) {
  TBytes Bytes;
  for (int I = 0; I < File.Count(); ++I) {
    const auto* Data = reinterpret_cast<const std::uint8_t*>(File.GetSprite(I).PixelData());
    Bytes.insert(Bytes.end(), Data, Data + File.GetSprite(I).PixelCount() * 2);
  }
  return Bytes;
}

// Three 2 x 2 sprites: directory up to 30, pixel blocks at 30, 38 and 46, 54 bytes in all.
TBytes ThreeSpriteFile(std::uint32_t Flags, std::uint32_t Offset = 30, std::uint32_t Step = 8) {
  TLeBytes File;
  File.U32(Flags).U16(3);
  for (std::uint32_t I = 0; I < 3; ++I) File.U32(Offset + I * Step).U16(2).U16(2);
  for (std::uint16_t W = 1; W <= 12; ++W) File.U16(std::uint16_t(W * 0x1111));
  return File.Bytes;
}

TEST(S16FileList, KeepsOrderAndChecksIndices) {
  TS16File File;
  EXPECT_EQ(File.Add(MakeSprite(1, 1)), 0);
  EXPECT_EQ(File.Add(MakeSprite(2, 1)), 1);
  File.Insert(MakeSprite(3, 1), 0);
  EXPECT_EQ(Widths(File), (std::vector{3, 1, 2}));
  File.Insert(MakeSprite(4, 1), File.Count());
  File.Delete(1);
  EXPECT_ANY_THROW(File.Insert(MakeSprite(5, 1), -1));
  EXPECT_ANY_THROW(File.Insert(MakeSprite(5, 1), 4));
  EXPECT_ANY_THROW(File.Delete(-1));
  EXPECT_ANY_THROW(File.Delete(3));
  EXPECT_EQ(Widths(File), (std::vector{3, 2, 4}));
  for (int Index : {-1, 3})
    EXPECT_EQ(ErrorText<ESpriteError>([&] { File.GetSprite(Index); }), "List Index Out of Bounds");
}

TEST(S16FileList, SetFormatAndClearCoverEverySprite) {
  TS16File File;
  AddSprites(File, {{1, 1, {0xF800}}, {1, 1, {0xF800}}});
  File.Add(MakeSprite(1, 1, {0x7C00}, true));  // already 5-5-5: left as it is
  File.SetFormat(true);
  EXPECT_TRUE(File.Is555);
  for (int I = 0; I < 3; ++I)
    EXPECT_EQ(std::pair(File.GetSprite(I).Is555(), SpriteWords(File.GetSprite(I))),
              std::pair(true, TWords{0x7C00}));
  File.FilePath = "somewhere.s16";
  File.Clear();
  EXPECT_EQ(std::tuple(File.Count(), File.FilePath, File.Is555), std::tuple(0, "", false));
}

struct TLayoutCase {
  bool Is555;
  std::vector<TSpriteShape> Sprites;  // 5-6-5 words
  TBytes Expected;
};

class S16Layout : public testing::TestWithParam<TLayoutCase> {};

TEST_P(S16Layout, SavesExactBytesAndLoadsThemBack) {
  const TLayoutCase& Case = GetParam();
  TTempDir Dir;
  const std::string Path = Dir.File("list.s16");
  WriteBytes(Path, TBytes(100, 0xEE));  // a longer old file, replaced whole
  TS16File Saved, Loaded;
  AddSprites(Saved, Case.Sprites);
  Saved.Is555 = Case.Is555;
  Saved.SaveToFile(Path);
  EXPECT_EQ(Saved.FilePath, Path);
  EXPECT_EQ(ReadBytes(Path), Case.Expected);
  EXPECT_EQ(Dir.Entries(), std::vector<std::string>{"list.s16"});
  AddSprites(Loaded, {{4, 4, {}}});
  Loaded.LoadFromFile(Path);
  EXPECT_EQ(Loaded.FilePath, Path);
  ExpectSameDocument(Loaded, Saved);  // the saved list stays in the file's layout
}

// clang-format off
const TLayoutCase LayoutCases[] = {
    {false, {}, {1, 0, 0, 0, 0, 0}},
    {true, {}, {0, 0, 0, 0, 0, 0}},
    {false, {{2, 1, {0xF800, 0x001F}}}, {1, 0, 0, 0, 1, 0, 14, 0, 0, 0, 2, 0, 1, 0, 0, 0xF8, 0x1F, 0}},
    {false, {{3, 2, {1, 2, 3, 4, 5, 6}}, {1, 1, {7}}},
     {1, 0, 0, 0, 2, 0, 22, 0, 0, 0, 3, 0, 2, 0, 34, 0, 0, 0, 1, 0, 1, 0, 1, 0, 2, 0, 3, 0, 4, 0, 5, 0, 6, 0, 7, 0}},
    {false, {{0, 2, {}}, {1, 1, {0xABCD}}},  // no pixel bytes for width 0
     {1, 0, 0, 0, 2, 0, 22, 0, 0, 0, 0, 0, 2, 0, 22, 0, 0, 0, 1, 0, 1, 0, 0xCD, 0xAB}},
    {true, {{3, 1, {0x0020, 0xF800, 0xFFFF}}},  // converted to 5-5-5 on the way
     {0, 0, 0, 0, 1, 0, 14, 0, 0, 0, 3, 0, 1, 0, 0x20, 0, 0, 0x7C, 0xFF, 0x7F}},
};
// clang-format on
INSTANTIATE_TEST_SUITE_P(Examples, S16Layout, testing::ValuesIn(LayoutCases), [](const auto& Info) {
  std::string Name = LayoutName(Info.param.Is555);
  for (const TSpriteShape& Sprite : Info.param.Sprites)
    Name += "_" + SizeName(Sprite.Width, Sprite.Height);
  return Info.param.Sprites.empty() ? Name + "_NoSprites" : Name;
});

TEST(S16RoundTrip, RandomDocumentsSaveTheSameBytesAgain) {
  TTempDir Dir;
  std::mt19937 Random(2024);
  for (int Trial = 0; Trial < 40; ++Trial) {
    TS16File Saved, Loaded;
    FillRandomDocument(Saved, Random, int(Random() % 13));
    Saved.Is555 = Trial % 2 == 1;
    Saved.SaveToFile(Dir.File("first.s16"));
    Loaded.LoadFromFile(Dir.File("first.s16"));
    ExpectSameDocument(Loaded, Saved);
    Loaded.SaveToFile(Dir.File("second.s16"));
    ASSERT_EQ(ReadBytes(Dir.File("second.s16")), ReadBytes(Dir.File("first.s16"))) << Trial;
  }
}

// The layout comes from bit 0 of the flags alone; the blocks are read back to back whatever
// the directory's offsets say.
TEST(S16Load, FlagsBitZeroAndBlocksBackToBack) {
  struct {
    std::uint32_t Flags;
    bool Is555;
    std::uint32_t Offset, Step;
  } const Cases[] = {{0, true, 30, 8},       {1, false, 0, 0},           {2, true, 0xFFFFFFFF, 0},
                     {3, false, 46, 0u - 8}, {0xFFFFFFFF, false, 30, 8}, {0xFFFFFFFE, true, 30, 8}};
  TTempDir Dir;
  for (const auto& Case : Cases) {
    const TBytes Contents = ThreeSpriteFile(Case.Flags, Case.Offset, Case.Step);
    WriteBytes(Dir.File("f.s16"), Contents);
    TS16File File;
    File.LoadFromFile(Dir.File("f.s16"));
    EXPECT_EQ(File.Is555, Case.Is555) << Case.Flags;
    for (int I = 0; I < 3; ++I) EXPECT_EQ(File.GetSprite(I).Is555(), Case.Is555) << Case.Flags;
    EXPECT_EQ(PixelBytes(File), TBytes(Contents.begin() + 30, Contents.end()));  // as stored
  }
}

TEST(S16Load, FileCutShortAtEveryLength) {
  TTempDir Dir;
  const TBytes Whole = ThreeSpriteFile(1);
  for (std::size_t Length = 0; Length < Whole.size(); ++Length) {
    WriteBytes(Dir.File("cut.s16"), TBytes(Whole.begin(), Whole.begin() + long(Length)));
    TS16File File;
    if (Length < 30) {  // in the header or the directory
      EXPECT_THROW(File.LoadFromFile(Dir.File("cut.s16")), EInOutError) << Length;
      EXPECT_EQ(File.FilePath, "");
      continue;
    }
    ASSERT_NO_THROW(File.LoadFromFile(Dir.File("cut.s16"))) << Length;
    TBytes Expected(Whole.begin() + 30, Whole.end());  // what is left, then zeros
    std::fill(Expected.begin() + long(Length - 30), Expected.end(), 0);
    EXPECT_EQ(PixelBytes(File), Expected) << Length;
  }
}

struct THostileCase {
  const char* Name;
  std::vector<std::pair<int, int>> Sides;
  std::size_t PixelBytesPresent;
  bool Loads;
};

class S16HostileDirectory : public testing::TestWithParam<THostileCase> {};

TEST_P(S16HostileDirectory, BoundsWhatTheLoadAllocates) {
  const THostileCase& Case = GetParam();
  TLeBytes Bytes;
  Bytes.U32(1).U16(std::uint16_t(Case.Sides.size()));
  for (auto [Width, Height] : Case.Sides)
    Bytes.U32(0).U16(std::uint16_t(Width)).U16(std::uint16_t(Height));
  Bytes.Bytes.resize(Bytes.Bytes.size() + Case.PixelBytesPresent, 0x5A);
  TTempDir Dir;
  WriteBytes(Dir.File("h.s16"), Bytes.Bytes);
  TS16File File;
  if (Case.Loads)
    EXPECT_NO_THROW(File.LoadFromFile(Dir.File("h.s16")));
  else
    EXPECT_THROW(File.LoadFromFile(Dir.File("h.s16")), ESpriteError);
}

// 4096 x 8192 words are exactly the 64 MiB that may be missing.
const THostileCase HostileCases[] = {
    {"HugeSprites", std::vector(100, std::pair{65535, 65535}), 200, false},
    {"MissingAsMuchAsAllowed", {{1, 1}, {4096, 8192}}, 2, true},
    {"MissingMoreThanAllowed", {{1, 1}, {4096, 8192}, {1, 1}}, 2, false}};
INSTANTIATE_TEST_SUITE_P(Directories, S16HostileDirectory, testing::ValuesIn(HostileCases),
                         [](const auto& Info) { return std::string(Info.param.Name); });

TEST(S16Load, UnopenablePathIsReportedAfterClearing) {
  TTempDir Dir;
  for (const std::string& Path : {Dir.File("missing.s16"), Dir.Path().string()}) {
    TS16File File;
    AddSprites(File, {{1, 1, {}}});
    File.Is555 = true;
    EXPECT_EQ(ErrorText<ESpriteError>([&] { File.LoadFromFile(Path); }),
              "Unable to open file " + Path);
    EXPECT_EQ(std::tuple(File.Count(), File.FilePath, File.Is555), std::tuple(0, "", false));
  }
}

TEST(S16Save, UncreatableFileIsReportedBeforeConverting) {
  TTempDir Dir;
  std::filesystem::create_directory(Dir.File("taken"));
  for (const std::string& Path : {Dir.File("no/such/folder.s16"), Dir.File("taken")}) {
    TS16File File;
    AddSprites(File, {{1, 1, {0x07E0}}});
    File.Is555 = true;
    EXPECT_EQ(ErrorText<ESpriteError>([&] { File.SaveToFile(Path); }),
              "Unable to save to: " + Path);
    EXPECT_EQ(std::pair(File.GetSprite(0).Is555(), File.GetSprite(0).PixelData()[0]),
              std::pair(false, std::uint16_t(0x07E0)));
    EXPECT_EQ(Dir.Entries(), std::vector<std::string>{"taken"});
    EXPECT_TRUE(std::filesystem::is_directory(Dir.File("taken")));
  }
}

TEST(S16Save, MoreSpritesThanTheCountHoldsAreRefused) {
  TTempDir Dir;
  const std::string Path = Dir.File("many.s16");
  TS16File File;
  for (int I = 0; I < 65535; ++I) File.Add(std::make_unique<TS16Sprite>());
  File.SaveToFile(Path);
  const TBytes Old = ReadBytes(Path);
  EXPECT_EQ(Old.size(), 6u + 8u * 65535u);
  File.Add(std::make_unique<TS16Sprite>());
  EXPECT_THROW(File.Save(), ESpriteError);
  EXPECT_EQ(ReadBytes(Path), Old);
  EXPECT_EQ(Dir.Entries(), std::vector<std::string>{"many.s16"});
}

}  // namespace
