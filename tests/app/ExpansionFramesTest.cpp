// Expand Sprite at display rate: at most one frame a frame time, each letting messages run and
// erasing every box cut since the one before; the last cut's text is always shown. The scripted
// clock moves on by a set step at each reading.

#include <QPaintEvent>
#include <QRegion>

#include "app/unitPacedExpansionView.h"
#include "tests/support/SheetArt.h"
#include "tests/support/WindowFixture.h"

namespace {

constexpr int Across = 10;

// Ten rows of ten 2 x 2 sprites on one-pixel padding: ten passes that cut.
TArt Grid() {
  const std::string Padding(3 * Across + 1, '.');
  std::string Sprites = ".";
  for (int Column = 0; Column < Across; ++Column) Sprites += "AA.";
  TArt Art;
  for (int Row = 0; Row < Across; ++Row) Art.insert(Art.end(), {Padding, Sprites, Sprites});
  Art.push_back(Padding);
  return Art;
}

// The Indexth sprite cut, as the passes take them: row by row, left to right.
QRect CutArea(int Index) {
  return QRect(1 + 3 * (Index % Across), 1 + 3 * (Index / Across), 2, 2);
}

// What the view paints, from the frame after the first on.
class TPaintedArea : public QObject {
 public:
  QRegion Painted;
  bool Counting = false;

 protected:
  bool eventFilter(QObject*, QEvent* Event) override {
    if (Counting && Event->type() == QEvent::Paint)
      Painted += static_cast<QPaintEvent*>(Event)->region();
    return false;
  }
};

class ExpansionFrames : public TWindowTest {
 protected:
  std::vector<std::int64_t> Frames;  // the scripted clock at each frame of the run

  void SetUp() override {
    TWindowTest::SetUp();
    Probe().Document().Add(DrawSheet(Grid()));
    Window->PopulateImageList();
    Probe().SelectItem(0);
    ForgetSeen();
    Services.Answers = {TMsgResult::Yes};
    Services.OnPump = [this] {
      Watch();
      if (Probe().StatusText().startsWith("Splitting")) Frames.push_back(Services.Clock);
    };
  }
  std::vector<std::string> TextsOfTheRun() const {
    std::vector<std::string> Texts;
    for (const std::string& Text : Seen.StatusTexts)
      if (Text.starts_with("Splitting")) Texts.push_back(Text);
    return Texts;
  }
};

const std::string LastCut =
    "Splitting the Bitmap, Pass 10. Found Sprite at: 28,28 - 29,29 - Total now 100";

TEST_F(ExpansionFrames, ARunWithinOneFramePaintsItsStartAndItsLastCut) {
  Services.ClockStep = 0;
  Window->ExpandSprite1Click();
  // The last pass's opening text came after the last cut, and no frame was due since: the
  // last cut's text is what the run leaves on the panel.
  EXPECT_EQ(TextsOfTheRun(), (std::vector<std::string>{"Splitting the Bitmap...", LastCut}));
  EXPECT_EQ(Seen.ProgressValues.at(1), 100);
  EXPECT_EQ(Probe().Document().Count(), 100);
  EXPECT_EQ(Seen.StatusTexts.back(), "Thumbnails generated.");
}

class FrameSpacing : public ExpansionFrames, public testing::WithParamInterface<int> {};

TEST_P(FrameSpacing, FramesComeAFrameTimeApartEachErasingTheBoxesCutSinceTheOneBefore) {
  Services.ClockStep = GetParam();
  TPaintedArea Area;
  Probe().AutoCutImg().installEventFilter(&Area);
  Services.OnPump = [this, &Area, Base = Services.OnPump] {
    Base();
    QCoreApplication::processEvents();
    if (Area.Counting) {
      QRegion Cut;
      for (int Index = 0; Index < Probe().Document().Count(); ++Index) Cut += CutArea(Index);
      EXPECT_TRUE(Cut.subtracted(Area.Painted).isEmpty()) << "at frame " << Frames.size();
    }
    // The first frame paints the whole picture, before any cut.
    Area.Counting = true;
  };
  Window->ExpandSprite1Click();
  ASSERT_GT(Frames.size(), 5u);
  // The last frame is the end of the run, which paints what is left at once.
  for (std::size_t I = 1; I + 1 < Frames.size(); ++I)
    EXPECT_GE(Frames[I] - Frames[I - 1], TPacedExpansionView::FrameMilliseconds);
  EXPECT_EQ(Probe().Document().Count(), 100);
}

// Readings of the clock a millisecond apart, and five.
INSTANTIATE_TEST_SUITE_P(, FrameSpacing, testing::Values(1, 5),
                         [](const auto& Info) { return "Step" + std::to_string(Info.param); });

}  // namespace
