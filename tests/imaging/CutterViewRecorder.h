#pragma once
// A cutter view that keeps what the window would be shown, and checks at each cut that the
// working image changed inside the reported box only.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "imaging/unitExpansionScan.h"
#include "tests/support/BitmapFactory.h"

template <class TView>
class TCutterViewRecorder : public TView {
 public:
  std::vector<std::string> Texts;
  std::vector<TCutBox> Cuts;
  // "|" at each pass, then " Left,Top-Right,Bottom" for each cut.
  std::string Trace;

  void SetStatusText(const std::string& Text) override {
    Texts.push_back(Text);
    if (Text.find(" - Total Images now ") != std::string::npos) Trace += "|";
  }
  void ShowWorkingImage(const TBitmap& Image) override {
    FImage = &Image;
    FBefore = RawBits(Image);
  }
  void BoxCut(const TCutBox& Box) override {
    Cuts.push_back(Box);
    for (const auto& [Lead, Value] :
         {std::pair{" ", Box.Left}, {",", Box.Top}, {"-", Box.Right}, {",", Box.Bottom}})
      Trace.append(Lead).append(std::to_string(Value));
    const std::vector<std::uint8_t> After = RawBits(*FImage);
    for (int Y = 0; Y < FImage->Height(); ++Y)
      for (int X = 0; X < FImage->Width(); ++X) {
        const std::size_t I = 2 * (std::size_t(Y) * std::size_t(FImage->Width()) + std::size_t(X));
        const bool Inside = Box.Left <= X && X <= Box.Right && Box.Top <= Y && Y <= Box.Bottom;
        const bool Changed = After[I] != FBefore[I] || After[I + 1] != FBefore[I + 1];
        EXPECT_FALSE(Changed && !Inside) << "pixel " << X << "," << Y << " outside the box";
      }
    FBefore = After;
  }

 private:
  const TBitmap* FImage = nullptr;
  std::vector<std::uint8_t> FBefore;
};

class TRecordedExpansion : public TCutterViewRecorder<IExpansionView> {
 public:
  std::vector<int> Progress;
  void SetProgress(int Percent) override { Progress.push_back(Percent); }
};
