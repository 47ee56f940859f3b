// Cut by Grid as a user's session goes: the entry under Edit, the dialog answered by the test,
// the cells in the sheet's place, and the history that gives the sheet back.

#include <QMenu>

#include "tests/support/WindowFixture.h"

namespace {

class GridCutterCommands : public TWindowTest {
 protected:
  void SetUp() override {
    TWindowTest::SetUp();
    Probe().Document().Add(MakeSprite(1, 1, {0x1234}));
    // Two cells of 2 x 2 a column apart: the left one holds only a near-black pixel.
    Probe().Document().Add(MakeSprite(5, 2, {0, 1, 0x8410, 3, 4, 0, 0, 0x8410, 0, 0}));
    Window->PopulateImageList();
    Probe().SelectItem(1);
  }
  std::vector<TWords> Contents() const {
    std::vector<TWords> Result;
    for (int I = 0; I < Probe().Document().Count(); ++I)
      Result.push_back(SpriteWords(Probe().Document().GetSprite(I)));
    return Result;
  }
  // As the user picks it from the Edit menu, which enables its entries as it opens.
  void Pick(std::string_view Entry) {
    Window->Edit1Click();
    Run(Entry);
  }
  std::string Title() const { return Window->windowTitle().toStdString(); }
};

TEST_F(GridCutterCommands, CutsTheSheetIntoItsPlaceAsOneStepThatUndoGivesBack) {
  const std::vector<TWords> Before = Contents();
  Services.GridAnswers = {TGridLayout{2, 2, 0, 1}};
  Pick("CutByGrid1");
  ASSERT_EQ(Services.GridDialogs.size(), 1u);
  EXPECT_EQ(Services.GridDialogs[0].Outcome, "No whole cell of the grid fits in the sprite");
  const std::vector<TWords> Cut = {{0x1234}, {0, 1, 0, 0}, {3, 4, 0, 0}};
  EXPECT_EQ(Contents(), Cut);
  EXPECT_EQ(Probe().Items().Count(), 3);
  EXPECT_EQ(Probe().StatusText(), "Cut by Grid: 2 sprites in place of sprite 1");
  EXPECT_EQ(Title(), "The Pelbrook - [Untitled] *");

  Pick("Undo1");
  EXPECT_EQ(Contents(), Before);
  EXPECT_EQ(Probe().Items().Count(), 2);
  EXPECT_EQ(Title(), "The Pelbrook - [Untitled]");
  Pick("Redo1");
  EXPECT_EQ(Contents(), Cut);
}

TEST_F(GridCutterCommands, TheEntryFollowsTheCuttersBehindASeparatorAndNeedsASelection) {
  const QList<QAction*> Edit = Probe().Entry("Edit1").menu()->actions();
  const qsizetype Manual = Edit.indexOf(&Probe().Entry("ExpandManual"));
  ASSERT_EQ(Edit.size(), Manual + 3);
  EXPECT_TRUE(Edit[Manual + 1]->isSeparator());
  EXPECT_EQ(Edit[Manual + 2], &Probe().Entry("CutByGrid1"));
  EXPECT_FALSE(Edit[Manual + 2]->statusTip().isEmpty());
  Window->Edit1Click();
  EXPECT_TRUE(Probe().Enabled("CutByGrid1"));
  Probe().Images().setCurrentIndex({});
  Window->Edit1Click();
  EXPECT_FALSE(Probe().Enabled("CutByGrid1"));
}

TEST_F(GridCutterCommands, ACutPastTheSpriteLimitIsRefusedWithTheFileLeftAsItWas) {
  while (Probe().Document().Count() < TS16File::MaxSprites - 1)
    Probe().Document().Add(MakeSprite(0, 0));
  Services.GridAnswers = {TGridLayout{1, 1, 0, 0, false}};  // 10 cells in place of 1
  Window->CutByGrid1Click();
  ASSERT_EQ(Services.Shown.size(), 1u);
  EXPECT_EQ(Services.Shown[0].Text,
            "Sorry. A sprite file can only hold 65535 sprites, and cutting this sprite by its "
            "grid would make more. Your file has been left as it was.");
  EXPECT_EQ(Probe().Document().Count(), TS16File::MaxSprites - 1);
  EXPECT_EQ(Probe().History().Count(), 0);
}

}  // namespace
