#include "imaging/unitSheetPacker.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <tuple>

namespace {

// Frames are packed as if each had the padding on its right and bottom, in a sheet that much
// wider: the padding then lies between frames and past the outer edge, where it is cut off.
struct TBox {
  std::int64_t X, Y, Width, Height;
  std::int64_t Right() const { return X + Width; }
  std::int64_t Bottom() const { return Y + Height; }
  bool Contains(const TBox& Other) const {
    return Other.X >= X && Other.Y >= Y && Other.Right() <= Right() && Other.Bottom() <= Bottom();
  }
  bool Overlaps(const TBox& Other) const {
    return Other.X < Right() && X < Other.Right() && Other.Y < Bottom() && Y < Other.Bottom();
  }
};

bool HasPixels(const TFrameSize& Frame) {
  return Frame.Width > 0 && Frame.Height > 0;
}

std::int64_t RowWidth(const std::vector<TFrameSize>& Frames, int Padding) {
  std::int64_t Area = 0, Widest = 0;
  for (const TFrameSize& Frame : Frames) {
    if (!HasPixels(Frame)) continue;
    Area += std::int64_t(Frame.Width + Padding) * (Frame.Height + Padding);
    Widest = std::max<std::int64_t>(Widest, Frame.Width + Padding);
  }
  auto Side = std::int64_t(std::sqrt(double(Area)));
  while (Side * Side < Area) ++Side;
  return std::max(Widest, Side);
}

void PackRows(const std::vector<TFrameSize>& Frames, int Padding, std::int64_t Width,
              std::vector<TFramePlace>& Places) {
  std::int64_t X = 0, Y = 0, RowHeight = 0;
  for (std::size_t I = 0; I < Frames.size(); ++I) {
    if (!HasPixels(Frames[I])) continue;
    const std::int64_t W = Frames[I].Width + Padding, H = Frames[I].Height + Padding;
    if (X + W > Width) {
      X = 0;
      Y += RowHeight;
      RowHeight = 0;
    }
    Places[I] = {X, Y};
    X += W;
    RowHeight = std::max(RowHeight, H);
  }
}

// The free rectangles of a sheet Width wide and tall enough for every frame in one column.
class TMaxRects {
 public:
  TMaxRects(std::int64_t Width, std::int64_t Height) : FFree{{0, 0, Width, Height}} {}

  TFramePlace Place(std::int64_t Width, std::int64_t Height) {
    const TBox* Best = nullptr;
    std::tuple<std::int64_t, std::int64_t, std::int64_t, std::int64_t> BestScore;
    for (const TBox& Free : FFree) {
      if (Free.Width < Width || Free.Height < Height) continue;
      const std::int64_t OverX = Free.Width - Width, OverY = Free.Height - Height;
      const auto Score =
          std::make_tuple(std::min(OverX, OverY), std::max(OverX, OverY), Free.Y, Free.X);
      if (!Best || Score < BestScore) {
        Best = &Free;
        BestScore = Score;
      }
    }
    // The first free rectangle holds a column of all frames: there is always one.
    const TBox Used{Best->X, Best->Y, Width, Height};
    Split(Used);
    return {Used.X, Used.Y};
  }

 private:
  void Split(const TBox& Used) {
    std::vector<TBox> Kept, Pieces;
    for (const TBox& Free : FFree) {
      if (!Free.Overlaps(Used)) {
        Kept.push_back(Free);
        continue;
      }
      if (Used.X > Free.X) Pieces.push_back({Free.X, Free.Y, Used.X - Free.X, Free.Height});
      if (Used.Right() < Free.Right())
        Pieces.push_back({Used.Right(), Free.Y, Free.Right() - Used.Right(), Free.Height});
      if (Used.Y > Free.Y) Pieces.push_back({Free.X, Free.Y, Free.Width, Used.Y - Free.Y});
      if (Used.Bottom() < Free.Bottom())
        Pieces.push_back({Free.X, Used.Bottom(), Free.Width, Free.Bottom() - Used.Bottom()});
    }
    // A kept rectangle lies in none of the pieces, which lie in rectangles that held none:
    // only pieces can be held by others.
    std::vector<bool> Dropped(Pieces.size());
    for (std::size_t I = 0; I < Pieces.size(); ++I) {
      for (std::size_t J = 0; J < Pieces.size() && !Dropped[I]; ++J)
        Dropped[I] = J != I && !Dropped[J] && Pieces[J].Contains(Pieces[I]);
      for (std::size_t J = 0; J < Kept.size() && !Dropped[I]; ++J)
        Dropped[I] = Kept[J].Contains(Pieces[I]);
    }
    for (std::size_t I = 0; I < Pieces.size(); ++I)
      if (!Dropped[I]) Kept.push_back(Pieces[I]);
    FFree = std::move(Kept);
  }

  std::vector<TBox> FFree;
};

void PackMaxRects(const std::vector<TFrameSize>& Frames, int Padding, std::int64_t Width,
                  std::vector<TFramePlace>& Places) {
  std::vector<std::size_t> Order(Frames.size());
  std::iota(Order.begin(), Order.end(), 0);
  std::stable_sort(Order.begin(), Order.end(), [&](std::size_t A, std::size_t B) {
    return Frames[A].Height > Frames[B].Height;
  });
  std::int64_t Column = 0;
  for (const TFrameSize& Frame : Frames)
    if (HasPixels(Frame)) Column += Frame.Height + Padding;
  TMaxRects Sheet(Width, Column);
  for (std::size_t I : Order)
    if (HasPixels(Frames[I]))
      Places[I] = Sheet.Place(Frames[I].Width + Padding, Frames[I].Height + Padding);
}

std::int64_t PowerOfTwoAtLeast(std::int64_t Side) {
  std::int64_t Power = 1;
  while (Power < Side) Power *= 2;
  return Power;
}

}  // namespace

TPackedSheet PackSheet(const std::vector<TFrameSize>& Frames, const TPackOptions& Options) {
  const int Padding = std::clamp(Options.Padding, 0, MaxSheetPadding);
  TPackedSheet Sheet;
  Sheet.Places.resize(Frames.size());
  const std::int64_t Width = RowWidth(Frames, Padding);
  if (Options.Packing == TSheetPacking::Rows)
    PackRows(Frames, Padding, Width, Sheet.Places);
  else
    PackMaxRects(Frames, Padding, Width, Sheet.Places);
  for (std::size_t I = 0; I < Frames.size(); ++I) {
    if (!HasPixels(Frames[I])) continue;
    Sheet.Width = std::max(Sheet.Width, Sheet.Places[I].X + Frames[I].Width);
    Sheet.Height = std::max(Sheet.Height, Sheet.Places[I].Y + Frames[I].Height);
  }
  if (Options.PowerOfTwo) {
    Sheet.Width = PowerOfTwoAtLeast(Sheet.Width);
    Sheet.Height = PowerOfTwoAtLeast(Sheet.Height);
  }
  return Sheet;
}
