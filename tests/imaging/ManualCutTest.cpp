#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <optional>

#include "imaging/unitManualCut.h"
#include "tests/imaging/CutterViewRecorder.h"
#include "tests/support/ScriptedDesktopServices.h"
#include "tests/support/SheetArt.h"

namespace {

using TStep = std::function<void(TManualCut&)>;

TStep Press(int X, int Y, TMouseButton Button = TMouseButton::Left) {
  return [=](TManualCut& Cutter) { Cutter.ClipperMouseDown(Button, X, Y); };
}
TStep Release(int X, int Y) {
  return [=](TManualCut& Cutter) { Cutter.ClipperMouseUp(TMouseButton::Left, X, Y); };
}

// The cutter on a drawn composite, sprite 0 of a document that ends with a 1 x 1 sprite. Run
// takes one step at each wait for messages and finishes when they run out.
class TManualSession : public TCutterViewRecorder<IManualCutView> {
 public:
  TTempDir Dir;
  TScriptedDesktopServices Services{Dir.File("preferences.reg")};
  TS16File File;
  std::optional<TManualCut> Cutter;
  std::vector<TMarker> Markers;                // as shown, in order
  std::deque<TStep> Steps, OnPump, OnCutText;  // at the waits, the pumps, the cuts' texts

  explicit TManualSession(const TArt& Art) {
    File.Add(DrawSheet(Art));
    File.Add(MakeSprite(1, 1, {0x2222}));
    Cutter.emplace(File, 0, Services, *this);
    Services.OnPump = [this] { Next(OnPump); };
  }
  void Run(std::deque<TStep> Script) {
    Steps = std::move(Script);
    Cutter->Run();
  }

 private:
  void ShowMarker(const TMarker& Marker) override { Markers.push_back(Marker); }
  void HideMarker() override {}
  void WaitForMessages() override {
    if (Steps.empty()) Cutter->Finish();
    Next(Steps);
  }
  void SetStatusText(const std::string& Text) override {
    TCutterViewRecorder::SetStatusText(Text);
    if (Text.find("Found") != std::string::npos) Next(OnCutText);
  }
  void Next(std::deque<TStep>& Queue) {
    if (Queue.empty()) return;
    const TStep Step = Queue.front();
    Queue.pop_front();
    Step(*Cutter);
  }
};

const TArt Holed = {"......", ".aaaa.", ".a.aa.", ".aaaa.", "......"};
constexpr const char* Mask = "You have clicked in some mask...";
constexpr const char* Mismatch =
    "Warning, the vertical scanner encountered some mask pixels within the image. Please try "
    "again at a different point in the sprite.";

struct TPressCase {
  const char* Name;
  TArt Art;
  TStep Step;
  const char* Message;  // accepted, marking Target, when empty; ignored when null
  TMarker Target;
  friend void PrintTo(const TPressCase& Case, std::ostream* Out) { *Out << Case.Name; }
};

class ManualCutPresses : public testing::TestWithParam<TPressCase> {};

TEST_P(ManualCutPresses, MeasureTheSpriteOrSayWhyNot) {
  const TPressCase& Case = GetParam();
  TManualSession Session(Case.Art);
  Session.Run({Case.Step});
  const std::vector<TMessageBoxRequest>& Shown = Session.Services.Shown;
  const bool Warned = Case.Message && *Case.Message, Accepted = Case.Message && !Warned;
  ASSERT_EQ(Shown.size(), Warned ? 1u : 0u);
  if (Warned) {
    EXPECT_EQ(Shown[0].Text, Case.Message);
    EXPECT_EQ(Shown[0].Icon, Case.Message == Mask ? TMsgIcon::Stop : TMsgIcon::Exclamation);
  }
  ASSERT_EQ(Session.Markers.empty(), !Accepted);
  if (!Accepted) return;
  EXPECT_EQ(Session.Cutter->MarkerTarget, Case.Target);
  EXPECT_EQ(Session.Markers.back(), Case.Target);
  EXPECT_EQ(Session.Services.SoundsPlayed,
            std::vector<std::string>{"/opt/pelbrook/bin/cutter.wav"});
}

INSTANTIATE_TEST_SUITE_P(
    Composites, ManualCutPresses,
    testing::Values(
        TPressCase{"OnPadding", Holed, Press(0, 2), Mask, {}},
        TPressCase{"OnNothing", {}, Press(0, 0), Mask, {}},
        TPressCase{"RightButtonDoesNothing", Holed, Press(1, 1, TMouseButton::Right), nullptr, {}},
        TPressCase{"AboveTheHole", Holed, Press(2, 1), Mismatch, {}},
        TPressCase{"BelowTheHole", Holed, Press(2, 3), Mismatch, {}},
        TPressCase{"LeftColumn", Holed, Press(1, 2), "", {1, 1, 3, 2}},
        TPressCase{"RightOfTheHole", Holed, Press(3, 2), "", {1, 1, 3, 2}},
        TPressCase{"OnePixelSprite", {"...", ".a.", "..."}, Press(1, 1), "", {1, 1, 0, 0}}),
    [](const auto& Info) { return std::string(Info.param.Name); });

TEST(ManualCut, SolidRectangleIsAcceptedAnywhereWithBlackInside) {
  for (int Y = 1; Y <= 2; ++Y)
    for (int X = 1; X <= 3; ++X) {
      TManualSession Session({".....", ".ab0.", ".0de.", "....."});
      Session.Run({Press(X, Y)});
      EXPECT_EQ(Session.Cutter->MarkerTarget, (TMarker{1, 1, 2, 1})) << X << "," << Y;
    }
}

TEST(ManualCut, MarkerGrowsFromThePressToTheBoxLettingMessagesRun) {
  TManualSession Session({"......", ".aaaaa", ".aaaaa", ".aaaaa"});
  Session.Run({Press(3, 2)});
  EXPECT_EQ(Session.Markers,
            (std::vector<TMarker>{{3, 2, 1, 1}, {2, 1, 3, 3}, {1, 1, 5, 3}, {1, 1, 4, 2}}));
  EXPECT_EQ(Session.Services.PumpCount, 2);
}

TEST(ManualCut, SoundIsTriedThreeTimesAtMostAndNeverStopsTheMarker) {
  for (const std::deque<bool>& Answers :
       {std::deque<bool>{true}, {false, true}, {false, false, false}}) {
    TManualSession Session({"..", ".a"});
    Session.Services.SoundAnswers = Answers;
    Session.Run({Press(1, 1)});
    EXPECT_EQ(Session.Services.SoundsPlayed.size(), Answers.size());
    EXPECT_EQ(Session.Services.Sleeps, std::vector<int>(Answers.size() - 1, 100));
    EXPECT_TRUE(Session.Cutter->MarkerVisible());
  }
}

TEST(ManualCut, CutsStandInTheCompositesPlaceInTheOrderCut) {
  TManualSession Session({"......", ".ab.c.", ".00.c.", "......"});
  Session.Run({Press(4, 2), Release(4, 1), Press(1, 1), Release(2, 2)});
  EXPECT_EQ(Session.Texts, (std::vector<std::string>{
                               "Splitting the Bitmap...",
                               "Splitting the Bitmap, Found Sprite at: 4,1 - 4,2 - Total now 1",
                               "Splitting the Bitmap, Found Sprite at: 1,1 - 2,2 - Total now 2"}));
  ASSERT_EQ(Session.File.Count(), 3);
  EXPECT_EQ(SpriteWords(Session.File.GetSprite(0)), (TWords{ArtWord('c'), ArtWord('c')}));
  EXPECT_EQ(SpriteWords(Session.File.GetSprite(1)), (TWords{ArtWord('a'), ArtWord('b'), 0, 0}));
  EXPECT_EQ(SpriteWords(Session.File.GetSprite(2)), TWords{0x2222});
  EXPECT_FALSE(Session.Cutter->MarkerVisible());
}

TEST(ManualCut, OnlyAReleaseInsideTheShownMarkerCuts) {
  TManualSession Session({"...", ".a."});
  const TStep PressOnMarker = [](TManualCut& Cutter) { Cutter.MarkerMouseDown(); };
  Session.Run(
      {Press(1, 1), Release(2, 1), PressOnMarker, Release(1, 1), Press(1, 1), Release(1, 1)});
  EXPECT_EQ(Session.Cuts, std::vector<TCutBox>{(TCutBox{1, 1, 1, 1})});
  EXPECT_EQ(SpriteWords(Session.File.GetSprite(0)), TWords{ArtWord('a')});
}

TEST(ManualCut, ReleaseWhileTheMarkerGrowsIsCutOnceThePressReturns) {
  TManualSession Session({"....", ".aa.", ".aa."});
  Session.OnPump = {Release(2, 2)};
  Session.Run({Press(2, 2)});
  EXPECT_EQ(Session.Cuts, std::vector<TCutBox>{(TCutBox{1, 1, 2, 2})});
}

TEST(ManualCut, WhileTheCutsTextLetsMessagesRunAFinishIsKeptAndAReleaseDropped) {
  TManualSession Finished({"....", ".aa.", "...."});
  Finished.OnCutText = {[](TManualCut& Cutter) { Cutter.Finish(); }};
  bool WaitedAgain = false;
  Finished.Run({Press(1, 1), Release(1, 1), [&](TManualCut&) { WaitedAgain = true; }});
  EXPECT_FALSE(WaitedAgain);

  TManualSession Released({"....", ".aa.", "...."});
  Released.OnCutText = {Release(1, 1)};
  Released.Run({Press(1, 1), Release(1, 1)});
  EXPECT_EQ(Released.Cuts.size(), 1u);
}

// What a save made at a wait would write: the sheet whole, right after the cuts so far; and
// the cutter goes on with it out of the document, whether the save worked or failed.
TEST(ManualCut, TheSheetIsKeptAfterTheCutsForAnActionWhileCutting) {
  for (const bool ActionFails : {false, true}) {
    SCOPED_TRACE(ActionFails);
    const TArt Sheet = {".....", ".a.b.", "....."};
    TManualSession Session(Sheet);
    std::vector<TWords> Seen;
    const TStep Save = [&](TManualCut& Cutter) {
      const auto Action = [&] {
        for (int I = 0; I < Session.File.Count(); ++I)
          Seen.push_back(SpriteWords(Session.File.GetSprite(I)));
        if (ActionFails) throw std::runtime_error("No space left on device");
      };
      EXPECT_EQ(ErrorText<std::runtime_error>([&] { Cutter.WithCompositeKept(Action); }),
                ActionFails ? "No space left on device" : "(no error)");
    };
    Session.Run({Press(1, 1), Release(1, 1), Save, Press(3, 1), Release(3, 1)});
    EXPECT_EQ(Seen,
              (std::vector<TWords>{{ArtWord('a')}, SpriteWords(*DrawSheet(Sheet)), {0x2222}}));
    ASSERT_EQ(Session.File.Count(), 3);
    EXPECT_EQ(SpriteWords(Session.File.GetSprite(1)), TWords{ArtWord('b')});
  }
}

}  // namespace
