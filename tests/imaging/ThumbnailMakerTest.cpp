#include <gtest/gtest.h>

#include <random>

#include "imaging/unitThumbnailMaker.h"
#include "tests/support/BitmapFactory.h"
#include "tests/support/CaseNames.h"
#include "tests/support/SpriteFactory.h"

namespace {

struct TGeometryCase {
  int Width, Height, Size;
  bool Fit;
  TScaledSize Expected;
};

class ThumbnailGeometryTable : public testing::TestWithParam<TGeometryCase> {};

TEST_P(ThumbnailGeometryTable, GivesTheScaledSize) {
  const TGeometryCase& Case = GetParam();
  const TScaledSize Size = ThumbnailGeometry(Case.Width, Case.Height, {Case.Size, Case.Fit, 0});
  EXPECT_EQ(Size, Case.Expected) << Size.Width << " x " << Size.Height;
}

INSTANTIATE_TEST_SUITE_P(
    ThumbnailGeometry, ThumbnailGeometryTable,
    testing::Values(
        // 12.5 and 37.5 round to even.
        TGeometryCase{40, 20, 25, true, {25, 12}}, TGeometryCase{20, 40, 25, true, {12, 25}},
        TGeometryCase{8, 3, 100, true, {100, 38}}, TGeometryCase{7, 3, 100, true, {100, 43}},
        TGeometryCase{30, 30, 25, true, {25, 25}}, TGeometryCase{30, 1, 25, true, {25, 1}},
        TGeometryCase{100, 3, 25, true, {25, 1}}, TGeometryCase{50, 1, 25, true, {25, 0}},
        TGeometryCase{0, 5, 50, true, {0, 50}}, TGeometryCase{65535, 1, 100, true, {100, 0}},
        TGeometryCase{40, 20, 25, false, {25, 25}}, TGeometryCase{0, 0, 75, false, {75, 75}}),
    [](const auto& Info) {
      const TGeometryCase& Case = Info.param;
      return SizeName(Case.Width, Case.Height) + "_In" + std::to_string(Case.Size) +
             (Case.Fit ? "_KeepsShape" : "_Square");
    });

TEST(ThumbnailGeometry, HasNoAspectRatioForNoPixels) {
  EXPECT_THROW(ThumbnailGeometry(0, 0, {25, true, 0}), EThumbnailError);
}

std::unique_ptr<TS16Sprite> RandomSprite(int Width, int Height) {
  std::mt19937 Random(9);
  TWords Words(std::size_t(Width) * std::size_t(Height));
  for (std::uint16_t& Word : Words) Word = std::uint16_t(Random());
  return MakeSprite(Width, Height, Words);
}

// At its own size a sprite comes through unchanged, whichever filter; the strip below it stays
// black.
class MakeThumbnailFilters : public testing::TestWithParam<int> {};

TEST_P(MakeThumbnailFilters, CopiesASpriteOfTheScaledSize) {
  const auto Sprite = RandomSprite(25, 12);
  const TThumbnail Thumbnail = MakeThumbnail(*Sprite, {25, true, GetParam()});
  EXPECT_EQ(Thumbnail.ResampleError, "");
  ASSERT_EQ(Thumbnail.Image.PixelFormat(), TPixelFormat::pf16bit);
  ASSERT_EQ(Thumbnail.Image.Width(), 25);
  ASSERT_EQ(Thumbnail.Image.Height(), 25);
  for (int Y = 0; Y < 25; ++Y)
    for (int X = 0; X < 25; ++X)
      ASSERT_EQ(Thumbnail.Image.GetPixel(X, Y), Y < 12 ? Sprite->ReadPixel(X, Y) : 0)
          << X << ", " << Y;
}

INSTANTIATE_TEST_SUITE_P(MakeThumbnail, MakeThumbnailFilters, testing::Values(0, 1), FilterRowName);

struct TFailureCase {
  int Width, Height;
  const char* Error;
};

class MakeThumbnailFailures : public testing::TestWithParam<TFailureCase> {};

TEST_P(MakeThumbnailFailures, StillGiveAPicture) {
  const TThumbnail Thumbnail =
      MakeThumbnail(*RandomSprite(GetParam().Width, GetParam().Height), {25, true, 0});
  EXPECT_EQ(Thumbnail.ResampleError, GetParam().Error);
  EXPECT_EQ(Thumbnail.Image.Width(), 25);
  EXPECT_EQ(Thumbnail.Image.Height(), 25);
}

INSTANTIATE_TEST_SUITE_P(MakeThumbnail, MakeThumbnailFailures,
                         testing::Values(TFailureCase{100, 3, "Floating point division by zero"},
                                         TFailureCase{50, 1, "Floating point division by zero"},
                                         TFailureCase{0, 5, "Source bitmap too small"}),
                         [](const auto& Info) {
                           return SizeName(Info.param.Width, Info.param.Height);
                         });

// Made on two cores, the thumbnails are those made one at a time, in order, and a sprite that
// cannot have one (0 x 0, no aspect ratio) fails alone.
TEST(MakeThumbnails, GiveWhatEachSpriteGivesInOrder) {
  std::vector<std::unique_ptr<TS16Sprite>> Owned;
  for (int I = 0; I < 9; ++I) Owned.push_back(RandomSprite(30 + 41 * I, 200 - 17 * I));
  Owned.insert(Owned.begin() + 6, RandomSprite(0, 0));
  std::vector<const TS16Sprite*> Sprites;
  for (const auto& Sprite : Owned) Sprites.push_back(Sprite.get());
  const TThumbnailSettings Settings{50, true, 1};
  const auto Made = MakeThumbnails(Sprites, Settings);
  ASSERT_EQ(Made.size(), Sprites.size());
  for (std::size_t I = 0; I < Sprites.size(); ++I) {
    if (I == 6) {
      EXPECT_THROW(std::rethrow_exception(Made[I].Failure), EThumbnailError);
      continue;
    }
    ASSERT_FALSE(Made[I].Failure) << I;
    EXPECT_EQ(RawBits(Made[I].Made.Image), RawBits(MakeThumbnail(*Sprites[I], Settings).Image))
        << I;
  }
}

}  // namespace
