#include <gtest/gtest.h>

#include "platform/unitFileIO.h"
#include "sprites/unitSpriteFileRoutes.h"
#include "sprites/unitT1Palette.h"
#include "tests/support/ScriptedWindowServices.h"
#include "tests/support/SpriteFactory.h"

namespace {

class TRecordedProgress : public IProgressReport {
 public:
  std::vector<int> Values;
  void SetProgress(int Percent) override { Values.push_back(Percent); }
};

// An .spr file of the given directory followed by Pixels.
TBytes SprBytes(const std::vector<TSprEntry>& Entries, const TBytes& Pixels) {
  TLeBytes Bytes;
  Bytes.U16(std::uint16_t(Entries.size()));
  for (const TSprEntry& E : Entries) Bytes.U32(E.Offset).U16(E.Width).U16(E.Height);
  TBytes All = Bytes.Bytes;
  All.insert(All.end(), Pixels.begin(), Pixels.end());
  return All;
}

TBytes WrittenSpr(const TS16File& File, TTempDir& Dir, IProgressReport& Progress) {
  const std::string Path = Dir.File("out.spr");
  WriteSprFile(File, Path, Progress);
  return ReadBytes(Path);
}

TBytes WrittenSpr(const TS16File& File, TTempDir& Dir) {
  TNoProgress None;
  return WrittenSpr(File, Dir, None);
}

const TMessageBoxRequest WronglySized{"Erm, Wrongly sized bitmap?", "Sprite Loader",
                                      TMsgButtons::Ok, TMsgIcon::Stop};

TBytes Pixels(const TBitmap& Bitmap) {
  return TBytes(Bitmap.ScanLine(0), Bitmap.ScanLine(0) + Bitmap.RawSize());
}

// A folder for the files and a reader whose message boxes are recorded.
class SprReading : public ::testing::Test {
 protected:
  std::string WriteSpr(const std::string& Name, const std::vector<TSprEntry>& Entries,
                       const TBytes& Pixels) {
    const std::string Path = Dir.File(Name);
    WriteBytes(Path, SprBytes(Entries, Pixels));
    return Path;
  }

  TTempDir Dir;
  TScriptedWindowServices Services;
  TSprLoader Loader{Services};
};

}  // namespace

TEST(SprWriter, WritesTheDirectoryAndPixelBlocksBackToBack) {
  TTempDir Dir;
  TS16File File;
  EXPECT_EQ(WrittenSpr(File, Dir), (TBytes{0, 0}));

  File.Add(MakeSprite(3, 1, {0, 0, 0}));
  EXPECT_EQ(WrittenSpr(File, Dir), (TBytes{1, 0, 10, 0, 0, 0, 3, 0, 1, 0, 0, 0, 0}));

  TS16File Two;
  Two.Add(MakeSprite(3, 2, TWords(6, 0xFFFF)));
  Two.Add(MakeSprite(5, 1, TWords(5, 0xF800)));
  const TBytes Bytes = WrittenSpr(Two, Dir);
  ASSERT_EQ(Bytes.size(), 29u);  // no row padding for the odd width
  EXPECT_EQ(TBytes(Bytes.begin() + 2, Bytes.begin() + 18),
            (TBytes{18, 0, 0, 0, 3, 0, 2, 0, 24, 0, 0, 0, 5, 0, 1, 0}));
}

TEST(SprWriter, StoresIndexZeroExactlyForBlackPixels) {
  // Every 5-6-5 word once: a 256 x 256 sprite.
  TWords Words(65536);
  for (int W = 0; W < 65536; ++W) Words[std::size_t(W)] = std::uint16_t(W);
  TS16File File;
  File.Add(MakeSprite(256, 256, Words));
  TTempDir Dir;
  const TBytes Bytes = WrittenSpr(File, Dir);
  ASSERT_EQ(Bytes.size(), 10u + 65536u);
  for (int W = 0; W < 65536; ++W) {
    const std::uint8_t Index = Bytes[10 + std::size_t(W)];
    ASSERT_EQ(Index == 0, W == 0) << "word " << W;
  }
  const TPaletteEntry White = T1Palette[Bytes[10 + 0xFFFF]];
  EXPECT_EQ(White, (TPaletteEntry{252, 252, 252, 0}));
  // Blue 1 alone lands near black, and not on it.
  EXPECT_NE(Bytes[10 + 0x0001], 0);
}

TEST(SprWriter, ReportsProgressBeforeEachSpriteOnlyForSeveral) {
  TTempDir Dir;
  TS16File File;
  File.Add(MakeSprite(1, 1, {0}));
  TRecordedProgress One;
  WrittenSpr(File, Dir, One);
  EXPECT_TRUE(One.Values.empty());

  for (int I = 1; I < 9; ++I) File.Add(MakeSprite(1, 1, {0}));
  TRecordedProgress Nine;
  WrittenSpr(File, Dir, Nine);
  // Halves go to the even neighbour: 12.5 gives 12 and 37.5 gives 38.
  EXPECT_EQ(Nine.Values, (std::vector<int>{0, 12, 25, 38, 50, 62, 75, 88, 100}));
}

TEST(SprWriter, RefusesMoreSpritesThanTheCountHoldsBeforeWriting) {
  TTempDir Dir;
  const std::string Path = Dir.File("big.spr");
  WriteBytes(Path, {0, 0});
  TS16File File;
  for (int I = 0; I <= TS16File::MaxSprites; ++I) File.Add(MakeSprite(0, 0));
  TNoProgress None;
  EXPECT_THROW(WriteSprFile(File, Path, None), ESpriteError);
  EXPECT_EQ(ReadBytes(Path), (TBytes{0, 0}));
  EXPECT_EQ(Dir.Entries().size(), 1u);
}

TEST_F(SprReading, ReadsEachSpriteFromItsOwnOffset) {
  // Blocks stored in the opposite order to the directory.
  const TBytes File = SprBytes({{22, 2, 1}, {18, 2, 2}}, {5, 6, 7, 8, 1, 2});
  EXPECT_EQ(Loader.ReadSprCount(File), 2);
  const TBitmap* First = Loader.ReadSprSprite(File, 0);
  ASSERT_NE(First, nullptr);
  EXPECT_EQ(First->PixelFormat(), TPixelFormat::pf8bit);
  EXPECT_EQ(Pixels(*First), (TBytes{1, 2}));
  EXPECT_EQ(First->Palette().Entries(), T1Palette);
  const TBitmap* Second = Loader.ReadSprSprite(File, 1);
  ASSERT_EQ(Second, First);  // the one shared bitmap
  EXPECT_EQ(Second->Width(), 2);
  EXPECT_EQ(Second->Height(), 2);
  EXPECT_EQ(Pixels(*Second), (TBytes{5, 6, 7, 8}));
  EXPECT_TRUE(Services.Shown.empty());
}

TEST_F(SprReading, TellsTheUserAboutBadSprites) {
  const TBytes File = SprBytes({{18, 0, 4}, {18, 1, 1}}, {9});

  EXPECT_EQ(Loader.ReadSprSprite(File, 0), nullptr);
  EXPECT_EQ(Services.Shown, std::vector{WronglySized});
  EXPECT_FALSE(Services.Terminated);
  ASSERT_NE(Loader.ReadSprSprite(File, 1), nullptr);

  EXPECT_EQ(Loader.ReadSprSprite(File, 2), nullptr);
  const TMessageBoxRequest NonExistent{
      "Major error in SprSize, attempt to read non-existant sprite!", "Tamblings Editor (32bit)",
      TMsgButtons::Ok, TMsgIcon::Stop};
  EXPECT_EQ(Services.Shown, (std::vector{WronglySized, NonExistent}));
  EXPECT_TRUE(Services.Terminated);
}

TEST_F(SprReading, RefusesBlocksBeyondTheFileBeforeAllocating) {
  const TBytes File = SprBytes({{26, 65535, 65535}, {0xFFFFFFF0, 4, 4}, {26, 2, 2}}, {1, 2, 3});
  EXPECT_THROW(Loader.ReadSprSprite(File, 0), EInOutError);
  EXPECT_THROW(Loader.ReadSprSprite(File, 1), EInOutError);
  EXPECT_THROW(Loader.ReadSprSprite(File, 2), EInOutError);  // one byte short
  EXPECT_THROW(Loader.ReadSprCount(TBytes{7}), EInOutError);
  TS16File Document;
  EXPECT_THROW(OpenSprDocument(Document, Dir.File("missing.spr"), Loader), EInOutError);
}

TEST_F(SprReading, RouteLeavesOutUnreadableSpritesAndKeepsTheOthers) {
  const std::string Path =
      WriteSpr("three.spr", {{26, 1, 1}, {27, 0, 1}, {27, 2, 1}}, {0, 16, 243});
  TS16File File;
  File.Add(MakeSprite(1, 1));
  const TSprOpenResult Result = OpenSprDocument(File, Path, Loader);
  EXPECT_EQ(Result.Count, 3);
  EXPECT_EQ(Result.LeftOut, 1);
  EXPECT_EQ(Result.Told, 1);
  ASSERT_EQ(File.Count(), 2);
  EXPECT_EQ(Services.Shown, std::vector{WronglySized});
  EXPECT_FALSE(File.Is555);
  EXPECT_EQ(SpriteWords(File.GetSprite(0)), TWords{0});
  // Entry 16 (40,24,36) and the near-black 243 (0,0,1) stay visible.
  const TWords Second = SpriteWords(File.GetSprite(1));
  EXPECT_EQ(Second, (TWords{ColourToWord565(MakeColour(40, 24, 36)), ColourToWord565(0x010000)}));
}

TEST_F(SprReading, RouteBoundsSpritesSharingABlockByTheFileBeforeAllocating) {
  TS16File File;
  OpenSprDocument(File, WriteSpr("two.spr", {{18, 2, 1}, {18, 1, 2}}, {3, 4}), Loader);
  EXPECT_EQ(File.Count(), 2);
  // One 64 x 64 block named by as many entries as take the sprites past the bound.
  const int Entries = int(MaxSharedSprPixels / 4096) + 2;
  const std::string Path = WriteSpr(
      "many.spr",
      std::vector<TSprEntry>(std::size_t(Entries), {std::uint32_t(2 + 8 * Entries), 64, 64}),
      TBytes(4096, 7));
  EXPECT_EQ(ErrorText<ESpriteError>([&] { OpenSprDocument(File, Path, Loader); }),
            "The sprite directory of " + Path + " claims far more pixel data than the file holds");
  EXPECT_EQ(File.Count(), 0);
}

struct TLeftOutCase {
  const char* Name;
  TBytes File;
  int Loaded, LeftOut, Told;
};

class SprLeftOut : public testing::TestWithParam<TLeftOutCase> {};

// The reader's message for the first bad sprite at most: the caller sums up the rest.
TEST_P(SprLeftOut, TheReaderSpeaksOnceAndTheRestAreCounted) {
  const TLeftOutCase& Case = GetParam();
  TTempDir Dir;
  WriteBytes(Dir.File("f.spr"), Case.File);
  TScriptedWindowServices Services;
  TSprLoader Loader(Services);
  TS16File File;
  const TSprOpenResult Result = OpenSprDocument(File, Dir.File("f.spr"), Loader);
  EXPECT_EQ(File.Count(), Case.Loaded);
  EXPECT_EQ(std::tuple(Result.Count, Result.LeftOut, Result.Told),
            std::tuple(Case.Loaded + Case.LeftOut, Case.LeftOut, Case.Told));
  EXPECT_EQ(Services.Shown, std::vector(std::size_t(Case.Told), WronglySized));
  Loader.ReadSprSprite(SprBytes({{10, 0, 0}}, {}), 0);  // the next file's reader speaks again
  EXPECT_EQ(Services.Shown.size(), std::size_t(Case.Told) + 1);
}

INSTANTIATE_TEST_SUITE_P(
    Files, SprLeftOut,
    testing::Values(TLeftOutCase{"AThousandWithoutSize",
                                 SprBytes(std::vector<TSprEntry>(1000, {8002, 0, 1}), {1}), 0, 1000,
                                 1},
                    TLeftOutCase{"PixelsBeyondTheEndFirst",
                                 SprBytes({{99, 1, 1}, {0, 0, 1}, {26, 1, 1}}, {5}), 1, 2, 0},
                    TLeftOutCase{"DirectoryCutShort", {0xFF, 0xFF}, 0, 65535, 0}),
    [](const auto& Info) { return std::string(Info.param.Name); });

TEST_F(SprReading, RouteOpenThenSaveKeepsTheColourOfEveryPixel) {
  TBytes Indices(256);
  for (int I = 0; I < 256; ++I) Indices[std::size_t(I)] = std::uint8_t(I);
  const std::string Path = WriteSpr("all.spr", {{10, 16, 16}}, Indices);
  TS16File File;
  OpenSprDocument(File, Path, Loader);
  TNoProgress None;
  const std::string Saved = Dir.File("again.spr");
  SaveDocument(File, SaveFormatSpr, Saved, None);
  const TBytes Bytes = ReadBytes(Saved);
  ASSERT_EQ(Bytes.size(), 10u + 256u);
  for (int I = 0; I < 256; ++I)
    EXPECT_EQ(T1Palette[Bytes[10 + std::size_t(I)]], T1Palette[std::size_t(I)]) << "index " << I;
}

TEST(LoopPercent, RoundsHalvesToEven) {
  EXPECT_EQ(LoopPercent(0, 2), 0);
  EXPECT_EQ(LoopPercent(1, 2), 100);
  EXPECT_EQ(LoopPercent(1, 9), 12);
  EXPECT_EQ(LoopPercent(3, 9), 38);
  EXPECT_EQ(LoopPercent(1, 201), 0);  // 0.5
  EXPECT_EQ(LoopPercent(3, 201), 2);  // 1.5
}
