#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "imaging/unitExpansionScan.h"
#include "tests/imaging/CutterViewRecorder.h"
#include "tests/support/SheetArt.h"

namespace {

// The composite alone in a document, expanded; returns the view's trace.
std::string Expand(std::unique_ptr<TS16Sprite> Composite, TS16File& File) {
  File.Add(std::move(Composite));
  TRecordedExpansion View;
  TExpansionScan(File, 0, View).Run();
  return View.Trace;
}

struct TExpansionCase {
  const char* Name;
  TArt Art;
  const char* Trace;
  friend void PrintTo(const TExpansionCase& Case, std::ostream* Out) { *Out << Case.Name; }
};

class ExpansionScanCases : public testing::TestWithParam<TExpansionCase> {};

TEST_P(ExpansionScanCases, CutsTheBoxesInPassOrder) {
  TS16File File;
  EXPECT_EQ(Expand(DrawSheet(GetParam().Art), File), GetParam().Trace);
}

INSTANTIATE_TEST_SUITE_P(
    Sheets, ExpansionScanCases,
    testing::Values(
        TExpansionCase{"GridRowByRow",
                       {"..........", ".ab.cd.ef.", ".ab.cd.ef.", "..........", ".gh.ij.kl.",
                        ".gh.ij.kl.", ".........."},
                       "| 1,1-2,2 4,1-5,2 7,1-8,2| 1,4-2,5 4,4-5,5 7,4-8,5|"},
        TExpansionCase{"AllBackground", {"...", "..."}, "|"},
        TExpansionCase{"OnePixel", {"a"}, "|"}, TExpansionCase{"Empty", {}, "|"},
        TExpansionCase{"TopLeftColourIsBackgroundEverywhere", {"ab", "aa"}, "| 1,0-1,0|"},
        TExpansionCase{"BlackPadding", {"000", "0a0", "000"}, "| 1,1-1,1|"},
        TExpansionCase{"SpritesTouchingEachEdge",
                       {"..t..", "l.t.r", "l...r", "l.b.r"},
                       "| 0,1-0,3 2,0-2,1 4,1-4,3| 2,3-2,3|"},
        TExpansionCase{
            "TwoWideRightAfterACut", {".....", ".aa..", ".aabb", "...bb"}, "| 1,1-2,2 3,2-4,3|"},
        TExpansionCase{
            "OneWideRightAfterACut", {"....", ".aa.", ".aab", "...b"}, "| 1,1-2,2| 3,2-3,3|"},
        TExpansionCase{
            "LowerRowsWider", {"......", ".aa...", ".aaaa.", "......"}, "| 1,1-2,2 3,2-4,2|"},
        TExpansionCase{"PaddingPixelInTopRow",
                       {".......", ".a.aa..", ".aaaa..", "......."},
                       "| 1,1-1,2 3,1-4,2| 2,2-2,2|"},
        TExpansionCase{"OnePixelWide", {".", "a", "a", ".", "b"}, "| 0,1-0,2| 0,4-0,4|"}),
    [](const auto& Info) { return std::string(Info.param.Name); });

TEST(ExpansionScan, NewSpritesTakeTheCompositesPlaceWithTheirStatusAndProgress) {
  TS16File File;
  File.Add(MakeSprite(1, 1, {0x1111}));
  File.Add(DrawSheet({"......", ".a0.b.", ".0c...", "......"}));
  File.Add(MakeSprite(1, 1, {0x2222}));
  TRecordedExpansion View;
  TExpansionScan(File, 1, View).Run();

  EXPECT_EQ(View.Texts,
            (std::vector<std::string>{
                "Splitting the Bitmap...", "Splitting the Bitmap, Pass 1 - Total Images now 0",
                "Splitting the Bitmap, Pass 1. Found Sprite at: 1,1 - 2,2 - Total now 1",
                "Splitting the Bitmap, Pass 1. Found Sprite at: 4,1 - 4,1 - Total now 2",
                "Splitting the Bitmap, Pass 2 - Total Images now 2"}));
  // Before each examined column: 0, 1 and 4 of 6 in the first pass, all of them in the last.
  EXPECT_EQ(View.Progress, (std::vector<int>{0, 20, 80, 0, 20, 40, 60, 80, 100}));
  ASSERT_EQ(File.Count(), 4);
  EXPECT_EQ(SpriteWords(File.GetSprite(0)), TWords{0x1111});
  EXPECT_EQ(SpriteWords(File.GetSprite(1)), (TWords{ArtWord('a'), 0, 0, ArtWord('c')}));
  EXPECT_EQ(File.GetSprite(1).Width(), 2);
  EXPECT_EQ(SpriteWords(File.GetSprite(2)), TWords{ArtWord('b')});
  EXPECT_EQ(SpriteWords(File.GetSprite(3)), TWords{0x2222});
}

TEST(ExpansionScan, CompositesWithoutPixelsAreDeletedAndNothingTakesTheirPlace) {
  for (const auto& [Width, Height] : {std::pair{0, 0}, {4, 0}, {0, 3}}) {
    TS16File File;
    EXPECT_EQ(Expand(MakeSprite(Width, Height), File), "|");
    EXPECT_EQ(File.Count(), 0);
  }
}

// Whatever the composite, every pixel off the background lands in exactly one new sprite, at
// its place in the composite.
TEST(ExpansionScan, RandomCompositesComeApartWhole) {
  std::mt19937 Random(3);
  for (int Run = 0; Run < 3000; ++Run) {
    auto Composite = MakeSprite(int(Random() % 7), int(Random() % 7));
    std::generate_n(Composite->PixelData(), Composite->PixelCount(), [&] { return Random() % 3; });
    const TWords Words = SpriteWords(*Composite);
    const int Width = Composite->Width();
    TS16File File;
    File.Add(std::move(Composite));
    TRecordedExpansion View;
    TExpansionScan(File, 0, View).Run();
    const std::uint16_t Background = Words.empty() ? 0 : Words[0];
    TWords Together(Words.size(), Background);
    for (int I = 0; I < File.Count(); ++I) {
      const TCutBox& Box = View.Cuts[std::size_t(I)];
      const TS16Sprite& Sprite = File.GetSprite(I);
      for (int Y = 0; Y < Sprite.Height(); ++Y)
        for (int X = 0; X < Sprite.Width(); ++X) {
          const std::uint16_t Word = Sprite.PixelData()[Y * Sprite.Width() + X];
          if (Word == Background) continue;
          std::uint16_t& To = Together[std::size_t((Box.Top + Y) * Width + Box.Left + X)];
          EXPECT_EQ(To, Background) << "cut twice";
          To = Word;
        }
    }
    ASSERT_EQ(Together, Words) << "run " << Run;
  }
}

// Each sprite's size and words, in order.
std::vector<std::pair<int, TWords>> Contents(const TS16File& File) {
  std::vector<std::pair<int, TWords>> Result;
  for (int I = 0; I < File.Count(); ++I)
    Result.emplace_back(File.GetSprite(I).Width(), SpriteWords(File.GetSprite(I)));
  return Result;
}

TEST(ExpansionScan, FailsAtTheMostSpritesADocumentHoldsLeavingItAsItWas) {
  TS16File File;
  for (int I = 1; I < TS16File::MaxSprites; ++I) File.Add(MakeSprite(0, 0));
  File.Add(DrawSheet({"..", "a.", ".b"}));
  const auto Before = Contents(File);
  TRecordedExpansion View;
  EXPECT_EQ(
      ErrorText<ESpriteLimitError>([&] { TExpansionScan(File, File.Count() - 1, View).Run(); }),
      "A sprite file holds at most 65535 sprites");
  EXPECT_EQ(View.Trace, "| 0,1-0,1|");
  EXPECT_EQ(Contents(File), Before);
}

// The scan is stopped at its Nth report (status texts and progress counted together).
class TStoppedExpansion : public TRecordedExpansion {
 public:
  TExpansionScan* Scan = nullptr;
  int StopAt = 0;
  std::size_t ProgressAtStop = 0;

  void SetStatusText(const std::string& Text) override {
    TRecordedExpansion::SetStatusText(Text);
    Report();
  }
  void SetProgress(int Percent) override {
    TRecordedExpansion::SetProgress(Percent);
    Report();
  }

 private:
  void Report() {
    if (--StopAt != 0) return;
    ProgressAtStop = Progress.size();
    Scan->Stop();
  }
};

struct TStopCase {
  const char* Name;
  int StopAt;
};

class ExpansionStops : public testing::TestWithParam<TStopCase> {};

TEST_P(ExpansionStops, LeaveTheDocumentAsItWasWithoutAnotherColumn) {
  TS16File File;
  File.Add(MakeSprite(1, 1, {0x1111}));
  File.Add(DrawSheet({"......", ".a0.b.", ".0c...", "......", "...d.."}));
  File.Add(MakeSprite(1, 1, {0x2222}));
  const auto Before = Contents(File);
  TStoppedExpansion View;
  View.StopAt = GetParam().StopAt;
  TExpansionScan Scan(File, 1, View);
  View.Scan = &Scan;
  EXPECT_FALSE(Scan.Run());
  EXPECT_EQ(Contents(File), Before);
  EXPECT_EQ(View.Progress.size(), View.ProgressAtStop);
}

// Reports: 1 "Splitting the Bitmap...", 2 the pass, 3 column 0's progress, 4 column 1's,
// 5 the first cut's text, 6 column 4's progress, 7 the second cut's text.
INSTANTIATE_TEST_SUITE_P(Reports, ExpansionStops,
                         testing::Values(TStopCase{"BeforeTheCompositeLeaves", 1},
                                         TStopCase{"AtAPassText", 2},
                                         TStopCase{"AtAColumnWithNothing", 3},
                                         TStopCase{"AtAColumnWithASprite", 4},
                                         TStopCase{"AtACutsText", 7}),
                         [](const auto& Info) { return std::string(Info.param.Name); });

}  // namespace
