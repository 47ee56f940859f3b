#include "imaging/unitThumbnailMaker.h"

#include <cstdint>
#include <functional>

#include "imaging/resample.h"
#include "platform/unitPixelRows.h"
#include "platform/unitSecondCore.h"

namespace {

// Numerator / Denominator to the nearest integer, ties to even, without rounding on the way.
int RoundedQuotient(std::int64_t Numerator, std::int64_t Denominator) {
  const std::int64_t Quotient = Numerator / Denominator;
  const std::int64_t Twice = 2 * (Numerator % Denominator);
  if (Twice > Denominator || (Twice == Denominator && Quotient % 2 != 0)) return int(Quotient + 1);
  return int(Quotient);
}

}  // namespace

TScaledSize ThumbnailGeometry(int Width, int Height, const TThumbnailSettings& Settings) {
  const int T = Settings.Size;
  if (!Settings.FitIntoThumbnail) return {T, T};
  if (Width > Height) return {T, RoundedQuotient(std::int64_t(Height) * T, Width)};
  if (Height == 0) throw EThumbnailError("A sprite of 0 by 0 pixels has no aspect ratio");
  return {RoundedQuotient(std::int64_t(Width) * T, Height), T};
}

namespace {

// Scale(Scaled) fills the 24-bit picture of the sprite's scaled size.
TThumbnail ThumbnailScaledBy(const std::function<void(TBitmap&, const TFilterRow&)>& Scale,
                             int SpriteWidth, int SpriteHeight,
                             const TThumbnailSettings& Settings) {
  const TScaledSize Size = ThumbnailGeometry(SpriteWidth, SpriteHeight, Settings);
  const TFilterRow& Filter = FilterTable.at(std::size_t(Settings.FilterRow));
  TThumbnail Result;
  TBitmap Scaled(TPixelFormat::pf24bit, Size.Width, Size.Height);
  try {
    Scale(Scaled, Filter);
  } catch (const std::exception& Error) {
    // The list warns and still shows the unfinished picture, to keep its indices aligned.
    Result.ResampleError = Error.what();
  }
  // The image list keeps the top-left T x T of a (T + 1) square 5-6-5 bitmap: the same
  // picture as a T x T one.
  const int T = Settings.Size;
  TBitmap Square(TPixelFormat::pf16bit, T, T);
  Square.CopyRect(0, 0, Scaled, 0, 0, T, T);
  Result.Image = std::move(Square);
  return Result;
}

}  // namespace

TThumbnail MakeThumbnail(TBitmap& Source, int SpriteWidth, int SpriteHeight,
                         const TThumbnailSettings& Settings) {
  return ThumbnailScaledBy(
      [&](TBitmap& Scaled, const TFilterRow& Filter) {
        ResampleBitmap(Source, Scaled, Filter.Weight, Filter.Support);
      },
      SpriteWidth, SpriteHeight, Settings);
}

TThumbnail MakeThumbnail(const TS16Sprite& Sprite, const TThumbnailSettings& Settings) {
  const auto* Words = reinterpret_cast<const std::uint8_t*>(Sprite.PixelData());
  return ThumbnailScaledBy(
      [&](TBitmap& Scaled, const TFilterRow& Filter) {
        ResampleWords(Words, Sprite.Width(), Sprite.Height(), Scaled, Filter.Weight,
                      Filter.Support);
      },
      Sprite.Width(), Sprite.Height(), Settings);
}

namespace {

// Fewer pixels than this are made on one core: handing them over costs more than they take.
constexpr std::size_t PixelsWorthAThread = 64 * 1024;

void MakeEach(std::span<const TS16Sprite* const> Sprites, const TThumbnailSettings& Settings,
              TThumbnailOutcome* Out) {
  for (std::size_t I = 0; I < Sprites.size(); ++I) try {
      Out[I].Made = MakeThumbnail(*Sprites[I], Settings);
    } catch (...) {
      Out[I].Failure = std::current_exception();
    }
}

}  // namespace

std::vector<TThumbnailOutcome> MakeThumbnails(std::span<const TS16Sprite* const> Sprites,
                                              const TThumbnailSettings& Settings) {
  std::vector<TThumbnailOutcome> Outcomes(Sprites.size());
  std::size_t Pixels = 0;
  for (const TS16Sprite* Sprite : Sprites) Pixels += Sprite->PixelCount();
  std::size_t Split = 0;
  for (std::size_t Before = 0; Split < Sprites.size() && 2 * Before < Pixels; ++Split)
    Before += Sprites[Split]->PixelCount();
  if (Pixels >= PixelsWorthAThread && Split > 0 && Split < Sprites.size()) {
    RunBeside([&] { MakeEach(Sprites.subspan(Split), Settings, Outcomes.data() + Split); },
              [&] { MakeEach(Sprites.first(Split), Settings, Outcomes.data()); });
    return Outcomes;
  }
  MakeEach(Sprites, Settings, Outcomes.data());
  return Outcomes;
}

// Widened straight from the words, which is what the resampler would make of the sprite's
// 5-6-5 bitmap.
TBitmap WidenedSprite(const TS16Sprite& Sprite) {
  TBitmap Source(TPixelFormat::pf24bit, Sprite.Width(), Sprite.Height());
  const auto* Words = reinterpret_cast<const std::uint8_t*>(Sprite.PixelData());
  for (int Y = 0; Y < Source.Height(); ++Y)
    Widen565Row(Words + 2 * std::size_t(Y) * Sprite.Width(), Source.ScanLine(Y), Source.Width());
  return Source;
}
