// The order in which a run of frames plays, and where frames smaller than the largest stand.

#include <gtest/gtest.h>

#include <string>

#include "app/unitFramePlayer.h"

namespace {

struct TOrderCase {
  std::string Name;
  int Count;
  TPlayMode Mode;
  int Step;              // each step, forwards or back
  std::string Frames;    // shown, from the first, one digit a frame
  std::string Previous;  // the frame beneath each as its onion skin
};

class FramePlayerOrder : public testing::TestWithParam<TOrderCase> {};

TEST_P(FramePlayerOrder, ShowsTheFramesAndTheOnesBeforeThemInPlayingOrder) {
  const TOrderCase& Case = GetParam();
  TFramePlayer Player;
  Player.SetFrameCount(Case.Count);
  Player.SetMode(Case.Mode);
  std::string Frames, Previous;
  for (std::size_t Shown = 0; Shown < Case.Frames.size(); ++Shown) {
    Frames += char('0' + Player.Frame());
    Previous += char('0' + Player.PreviousFrame());
    Player.Step(Case.Step);
  }
  EXPECT_EQ(Frames, Case.Frames);
  EXPECT_EQ(Previous, Case.Previous);
}

INSTANTIATE_TEST_SUITE_P(
    , FramePlayerOrder,
    testing::Values(
        TOrderCase{"LoopOfThree", 3, TPlayMode::Loop, 1, "0120120", "2012012"},
        TOrderCase{"LoopBackwards", 3, TPlayMode::Loop, -1, "0210", "2102"},
        TOrderCase{"PingPongOfFour", 4, TPlayMode::PingPong, 1, "0123210123", "1012321012"},
        TOrderCase{"PingPongBackwards", 3, TPlayMode::PingPong, -1, "01210", "12101"},
        TOrderCase{"OneFrameIsItsOwnPrevious", 1, TPlayMode::PingPong, 1, "000", "000"}),
    [](const auto& Info) { return Info.param.Name; });

struct TShrinkCase {
  std::string Name;
  int ShownBefore;
  int CountAfter;
  int ShownAfter;
};

class FramePlayerShrink : public testing::TestWithParam<TShrinkCase> {};

TEST_P(FramePlayerShrink, KeepsTheFrameShownWhileItsNumberIsStillThere) {
  TFramePlayer Player;
  Player.SetFrameCount(5);
  Player.SetMode(TPlayMode::PingPong);
  Player.ShowFrame(GetParam().ShownBefore);
  Player.SetFrameCount(GetParam().CountAfter);
  EXPECT_EQ(Player.Frame(), GetParam().ShownAfter);
}

INSTANTIATE_TEST_SUITE_P(, FramePlayerShrink,
                         testing::Values(TShrinkCase{"StillThere", 2, 3, 2},
                                         TShrinkCase{"PastTheEnd", 4, 2, 1},
                                         TShrinkCase{"NoFramesLeftButOne", 3, 0, 0}),
                         [](const auto& Info) { return Info.param.Name; });

struct TOffsetCase {
  std::string Name;
  TFrameAlignment Alignment;
  QSize Frame;
  QSize Box;
  QPoint Offset;
};

class FrameOffsets : public testing::TestWithParam<TOffsetCase> {};

TEST_P(FrameOffsets, PlaceASmallerFrameInTheBox) {
  EXPECT_EQ(FrameOffset(GetParam().Alignment, GetParam().Frame, GetParam().Box), GetParam().Offset);
}

INSTANTIATE_TEST_SUITE_P(
    , FrameOffsets,
    testing::Values(
        TOffsetCase{"TopLeft", TFrameAlignment::TopLeft, {3, 2}, {9, 8}, {0, 0}},
        TOffsetCase{"CentreRoundsUpAndLeft", TFrameAlignment::Centre, {2, 2}, {5, 5}, {1, 1}},
        TOffsetCase{
            "BottomCentreStandsOnTheFloor", TFrameAlignment::BottomCentre, {3, 2}, {9, 8}, {3, 6}}),
    [](const auto& Info) { return Info.param.Name; });

}  // namespace
