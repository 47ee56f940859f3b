#include "platform/png/unitPngRows.h"

#include <cstdlib>

#include "platform/unitRowLoop.h"

namespace {

enum EFilter : std::uint8_t { None, Sub, Up, Average, Paeth };

// Each filter reaches back a whole pixel, so N, the bytes of a pixel, is a constant that keeps
// the loops' N chains of bytes in registers.
template <int N>
void UndoSub(std::uint8_t* Row, std::size_t Bytes) {
  for (std::size_t I = N; I < Bytes; ++I) Row[I] = std::uint8_t(Row[I] + Row[I - N]);
}

void UndoUp(std::uint8_t* Row, const std::uint8_t* Prior, std::size_t Bytes) {
  for (std::size_t I = 0; I < Bytes; ++I) Row[I] = std::uint8_t(Row[I] + Prior[I]);
}

template <int N>
void UndoAverage(std::uint8_t* Row, const std::uint8_t* Prior, std::size_t Bytes) {
  for (std::size_t I = 0; I < N && I < Bytes; ++I) Row[I] = std::uint8_t(Row[I] + (Prior[I] >> 1));
  for (std::size_t I = N; I < Bytes; ++I)
    Row[I] = std::uint8_t(Row[I] + ((Row[I - N] + Prior[I]) >> 1));
}

template <int N>
void UndoPaeth(std::uint8_t* Row, const std::uint8_t* Prior, std::size_t Bytes) {
  // With nothing to the left, the predictor is the byte above.
  for (std::size_t I = 0; I < N && I < Bytes; ++I) Row[I] = std::uint8_t(Row[I] + Prior[I]);
  for (std::size_t I = N; I < Bytes; ++I) {
    const int Left = Row[I - N], Above = Prior[I], Corner = Prior[I - N];
    const int ToLeft = std::abs(Above - Corner), ToAbove = std::abs(Left - Corner),
              ToCorner = std::abs(Left + Above - 2 * Corner);
    const int Predicted = ToLeft <= ToAbove && ToLeft <= ToCorner ? Left
                          : ToAbove <= ToCorner                   ? Above
                                                                  : Corner;
    Row[I] = std::uint8_t(Row[I] + Predicted);
  }
}

template <int N>
bool Unfilter(std::uint8_t Filter, std::uint8_t* Row, const std::uint8_t* Prior,
              std::size_t Bytes) {
  switch (Filter) {
    case None:
      return true;
    case Sub:
      UndoSub<N>(Row, Bytes);
      return true;
    case Up:
      UndoUp(Row, Prior, Bytes);
      return true;
    case Average:
      UndoAverage<N>(Row, Prior, Bytes);
      return true;
    case Paeth:
      UndoPaeth<N>(Row, Prior, Bytes);
      return true;
    default:
      return false;
  }
}

PELBROOK_ROW_LOOP void BgraOfRgb(const std::uint8_t* Row, std::uint8_t* Bgra, int Count) {
  for (int I = 0; I < Count; ++I) {
    const std::uint8_t* P = Row + 3 * I;
    std::uint8_t* Q = Bgra + 4 * I;
    Q[0] = P[2], Q[1] = P[1], Q[2] = P[0], Q[3] = 0xFF;
  }
}

PELBROOK_ROW_LOOP void BgraOfKeyedRgb(const std::uint8_t* Row, const std::uint8_t* Key,
                                      std::uint8_t* Bgra, int Count) {
  for (int I = 0; I < Count; ++I) {
    const std::uint8_t* P = Row + 3 * I;
    std::uint8_t* Q = Bgra + 4 * I;
    const bool Clear = P[0] == Key[0] && P[1] == Key[1] && P[2] == Key[2];
    Q[0] = P[2], Q[1] = P[1], Q[2] = P[0], Q[3] = Clear ? 0 : 0xFF;
  }
}

PELBROOK_ROW_LOOP void BgraOfRgba(const std::uint8_t* Row, std::uint8_t* Bgra, int Count) {
  for (int I = 0; I < Count; ++I) {
    const std::uint8_t* P = Row + 4 * I;
    std::uint8_t* Q = Bgra + 4 * I;
    Q[0] = P[2], Q[1] = P[1], Q[2] = P[0], Q[3] = P[3];
  }
}

PELBROOK_ROW_LOOP void BgraOfGreyAlpha(const std::uint8_t* Row, std::uint8_t* Bgra, int Count) {
  for (int I = 0; I < Count; ++I) {
    const std::uint8_t* P = Row + 2 * I;
    std::uint8_t* Q = Bgra + 4 * I;
    Q[0] = Q[1] = Q[2] = P[0], Q[3] = P[1];
  }
}

}  // namespace

int TPngPixelForm::PixelBytes() const {
  switch (Pixels) {
    case EPngPixels::Rgb:
      return 3;
    case EPngPixels::Rgba:
      return 4;
    case EPngPixels::GreyAlpha:
      return 2;
  }
  return 0;
}

bool UnfilterPngRow(std::uint8_t Filter, std::uint8_t* Row, const std::uint8_t* Prior,
                    std::size_t Bytes, int PixelBytes) {
  switch (PixelBytes) {
    case 2:
      return Unfilter<2>(Filter, Row, Prior, Bytes);
    case 3:
      return Unfilter<3>(Filter, Row, Prior, Bytes);
    default:
      return Unfilter<4>(Filter, Row, Prior, Bytes);
  }
}

void BgraRowOfPng(const TPngPixelForm& Form, const std::uint8_t* Row, std::uint8_t* Bgra,
                  int Count) {
  switch (Form.Pixels) {
    case EPngPixels::Rgb:
      if (Form.Keyed)
        BgraOfKeyedRgb(Row, Form.Key, Bgra, Count);
      else
        BgraOfRgb(Row, Bgra, Count);
      return;
    case EPngPixels::Rgba:
      BgraOfRgba(Row, Bgra, Count);
      return;
    case EPngPixels::GreyAlpha:
      BgraOfGreyAlpha(Row, Bgra, Count);
      return;
  }
}
