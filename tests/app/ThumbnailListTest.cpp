// The thumbnail list: rebuilds, the warnings of sprites that cannot be scaled well, and the
// preference commands that rebuild it.

#include <QImage>
#include <QListView>

#include "tests/support/WindowFixture.h"

namespace {

const TMessageBoxRequest Inaccurate{"The Thumbnails may be inaccurate", "Pelbrook", TMsgButtons::Ok,
                                    TMsgIcon::Exclamation};

class ThumbnailList : public TWindowTest {
 protected:
  void AddSprites(const std::vector<std::pair<int, int>>& Sizes, std::uint16_t Word = 0xFFFF) {
    for (const auto& [Width, Height] : Sizes)
      Probe().Document().Add(MakeSprite(Width, Height, TWords(std::size_t(Width) * Height, Word)));
  }
};

TEST_F(ThumbnailList, AnEmptyDocumentOnlyReturnsTheBarToIdle) {
  Window->SetProgress(7);
  ForgetSeen();
  Window->PopulateImageList();
  EXPECT_EQ(Seen.ProgressValues, (std::vector<int>{7, -1}));
  EXPECT_EQ(Seen.StatusTexts.back(), "Thumbnails generated.");
}

TEST_F(ThumbnailList, OneSpriteShowsNoPercentage) {
  AddSprites({{5, 5}});
  Window->PopulateImageList();
  EXPECT_EQ(Seen.ProgressValues, std::vector<int>{-1});
  EXPECT_EQ(Probe().Thumbnails().Count(), 1);
}

TEST_F(ThumbnailList, SpritesThatScaleBadlyStillGetAPictureSoTheImagesStayAligned) {
  // 50 x 1 scales to a height of 0 and 100 x 3 to a height of 1: both fail in the resampler
  // and still get a picture.
  AddSprites({{50, 1}, {100, 3}, {30, 1}});
  Window->PopulateImageList();
  EXPECT_EQ(Probe().Thumbnails().Count(), 3);
}

TEST_F(ThumbnailList, ASpriteWithoutSizeGetsNoPictureSoLaterItemsShiftByOne) {
  AddSprites({{0, 0}, {6, 6}});
  Window->PopulateImageList();
  EXPECT_EQ(Probe().Thumbnails().Count(), 1);
  EXPECT_EQ(Probe().Items().Count(), 2);
  // Item 0 shows the second sprite's picture; item 1 points at no image.
  EXPECT_FALSE(Probe().Items().data(Probe().Items().index(0), Qt::DecorationRole).isNull());
  EXPECT_TRUE(Probe().Items().data(Probe().Items().index(1), Qt::DecorationRole).isNull());
}

struct TInaccurateCase {
  std::string Name;
  std::vector<std::pair<int, int>> Sizes;
  std::string Counted;  // "N of M"
  std::string First;
};

class InaccurateThumbnails : public ThumbnailList,
                             public testing::WithParamInterface<TInaccurateCase> {};

TEST_P(InaccurateThumbnails, WarnOnceARebuildAndCountThemInTheStatus) {
  const TInaccurateCase& Case = GetParam();
  AddSprites(Case.Sizes);
  Window->PopulateImageList();
  TMessageBoxRequest Warning = Inaccurate;
  Warning.Detail =
      "Sprites without an accurate thumbnail: " + Case.Counted + ". The first is " + Case.First;
  EXPECT_EQ(Services.Shown, std::vector<TMessageBoxRequest>{Warning});
  EXPECT_EQ(Seen.StatusTexts.back(),
            "Thumbnails generated. " + Case.Counted + " may be inaccurate.");
  EXPECT_TRUE(Window->MenuAttached());
}

INSTANTIATE_TEST_SUITE_P(
    , InaccurateThumbnails,
    testing::Values(TInaccurateCase{"ResamplerFailures",
                                    {{30, 1}, {50, 1}, {100, 3}},
                                    "2 of 3",
                                    "sprite 1: Floating point division by zero"},
                    TInaccurateCase{"NoAspectRatio",
                                    {{6, 6}, {0, 0}},
                                    "1 of 2",
                                    "sprite 1: A sprite of 0 by 0 pixels has no aspect ratio"},
                    TInaccurateCase{"ThousandsWithoutSize",
                                    std::vector<std::pair<int, int>>(3000, {0, 0}), "3000 of 3000",
                                    "sprite 0: A sprite of 0 by 0 pixels has no aspect ratio"}),
    [](const auto& Info) { return Info.param.Name; });

TEST_F(ThumbnailList, SquareModeFillsTheWholeThumbnail) {
  AddSprites({{40, 10}}, 0x07E0);
  Run("Scalestosquare1");
  EXPECT_FALSE(Probe().FitIntoThumbnail());
  Window->PopulateImageList();
  const QImage Picture = Probe().Thumbnails().Image(0);
  EXPECT_EQ(Picture.pixelColor(24, 24), QColor(0, 255, 0));
}

TEST_F(ThumbnailList, OffMakesItemsOnlyAndASecondChoiceRestoresThePictures) {
  AddSprites({{4, 4}, {8, 8}});
  Window->PopulateImageList();
  ForgetSeen();
  Run("Off1");
  EXPECT_EQ(Seen.StatusTexts,
            (std::vector<std::string>{"Populating Images List...", "Listbox Updated"}));
  EXPECT_EQ(Probe().Thumbnails().Count(), 0);
  EXPECT_TRUE(Probe().Items().data(Probe().Items().index(0), Qt::DecorationRole).isNull());
  Run("Off1");
  EXPECT_EQ(Probe().Thumbnails().Count(), 2);
}

// Captions stand still while pictures arrive and with "&Off" ticked: below the picture, an item
// is drawn alike with and without it.
TEST_F(ThumbnailList, AnItemWithoutAPictureKeepsThePicturesPlace) {
  AddSprites({{30, 30}}, 0xF800);
  Window->PopulateImageList();
  const auto ItemAsDrawn = [this] {
    QListView& Images = Probe().Images();
    return Images.viewport()->grab(Images.visualRect(Images.model()->index(0, 0))).toImage();
  };
  const QImage WithPicture = ItemAsDrawn();
  Run("Off1");
  const QImage WithoutPicture = ItemAsDrawn();
  ASSERT_EQ(WithPicture.size(), WithoutPicture.size());
  int BelowPicture = 0;
  for (int Y = 0; Y < WithPicture.height(); ++Y)
    for (int X = 0; X < WithPicture.width(); ++X)
      if (WithPicture.pixelColor(X, Y) == Qt::red) BelowPicture = Y + 1;
  ASSERT_GT(BelowPicture, 0);
  ASSERT_LT(BelowPicture, WithPicture.height());
  const QRect Rest(0, BelowPicture, WithPicture.width(), WithPicture.height() - BelowPicture);
  EXPECT_EQ(WithPicture.copy(Rest), WithoutPicture.copy(Rest));
}

TEST_F(ThumbnailList, PreferenceCommandsStoreAndRebuildOnlyAFilledList) {
  Run("N1001");
  Run("BetterResample1");
  Run("FastResample1");
  EXPECT_TRUE(Seen.StatusTexts.empty());
  EXPECT_EQ(Probe().UseBetterResample(), 0);
  EXPECT_TRUE(Probe().FasterUpdate());
  const std::optional<TRegistryKey> Stored = Services.Store.OpenKey(PreferencesKeyPath);
  ASSERT_TRUE(Stored);
  EXPECT_EQ(Stored->ReadDword("Thumbnail Size"), 100u);
  EXPECT_EQ(Stored->ReadDword("Faster Resample Code"), 0u);
  EXPECT_EQ(Stored->ReadDword("Faster Resample Update"), 1u);

  AddSprites({{4, 4}, {8, 8}});
  Window->PopulateImageList();
  ForgetSeen();
  Run("N501");
  EXPECT_EQ(Seen.StatusTexts.front(), "Populating Images List...");
  EXPECT_EQ(Probe().Thumbnails().Size(), 50);
  EXPECT_EQ(Probe().Thumbnails().Image(1).size(), QSize(50, 50));
  EXPECT_EQ(Probe().Images().iconSize(), QSize(50, 50));
  EXPECT_TRUE(Services.Shown.empty());
}

TEST_F(ThumbnailList, FasterUpdateKeepsTheListFromRedrawingWhileThumbnailsAreMade) {
  AddSprites({{4, 4}, {8, 8}, {2, 2}});
  Run("FastResample1");
  bool RedrawnDuringGeneration = false;
  Services.OnPump = [&] {
    Watch();
    if (InThumbnailLoop && Probe().Images().updatesEnabled()) RedrawnDuringGeneration = true;
  };
  Window->PopulateImageList();
  EXPECT_FALSE(RedrawnDuringGeneration);
  EXPECT_TRUE(Probe().Images().updatesEnabled());
}

}  // namespace

namespace {

// Commands may run inside a rebuild, since its loops let messages run.
TEST_F(ThumbnailList, ARebuildStartedInsideARunningOneLeavesOneWholeList) {
  const std::string Path = WriteS16("nested.s16", {{4, 4}, {8, 8}, {2, 2}, {6, 6}});
  Open(Path);
  Window->MarkModified();
  bool Closed = false;
  bool ChoseSize = false;
  Services.OnPump = [&] {
    Watch();
    // A preference chosen while the items are made, then a close answered Yes (save) while
    // the thumbnails are made: each rebuilds the list from inside the running rebuild.
    if (!ChoseSize && Seen.StatusTexts.back() == "Populating Images List..." &&
        Probe().Progress() == 33) {
      ChoseSize = true;
      Run("N501");
    }
    if (!Closed && InThumbnailLoop && Probe().ThumbnailSize() == 50) {
      Closed = true;
      Services.Answers = {TMsgResult::Yes, TMsgResult::Cancel};
      Window->close();
    }
  };
  Run("N751");
  ASSERT_TRUE(ChoseSize && Closed);
  EXPECT_EQ(Probe().Items().Count(), 4);
  EXPECT_EQ(Probe().Items().rowCount(), 4);
  EXPECT_EQ(Probe().Thumbnails().Count(), 4);
  EXPECT_EQ(Probe().Thumbnails().Size(), 50);
  EXPECT_TRUE(Window->MenuAttached());
  EXPECT_FALSE(Seen.MenuAttachedWhileGenerating);
  EXPECT_EQ(Seen.StatusTexts.back(), "Thumbnails generated.");
  EXPECT_EQ(Probe().Progress(), -1);
  EXPECT_FALSE(Probe().Modified());
}

// The program ends when control is back in its event loop: a rebuild left running under the
// closed window would keep it alive until the last thumbnail.
TEST_F(ThumbnailList, ClosingTheWindowStopsARunningRebuild) {
  AddSprites({{4, 4}, {8, 8}, {2, 2}, {6, 6}});
  bool Closed = false;
  Services.OnPump = [&] {
    Watch();
    if (!Closed && InThumbnailLoop) Closed = Window->close();
  };
  Window->PopulateImageList();
  ASSERT_TRUE(Closed);
  EXPECT_EQ(Probe().Thumbnails().Count(), 0);
  EXPECT_TRUE(Window->MenuAttached());
}

}  // namespace
