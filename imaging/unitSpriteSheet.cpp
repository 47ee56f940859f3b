#include "imaging/unitSpriteSheet.h"

#include <algorithm>

#include "sprites/unitBitmapRoutes.h"

namespace {

struct TArea {
  int X = 0, Y = 0, Width = 0, Height = 0;
};

// The rectangle of the sprite that is not black.
TArea OpaqueArea(const TS16Sprite& Sprite) {
  int Left = Sprite.Width(), Top = Sprite.Height(), Right = -1, Bottom = -1;
  const std::uint16_t* Words = Sprite.PixelData();
  for (int Y = 0; Y < Sprite.Height(); ++Y)
    for (int X = 0; X < Sprite.Width(); ++X)
      if (Words[std::size_t(Y) * Sprite.Width() + X] != 0) {
        Left = std::min(Left, X);
        Right = std::max(Right, X);
        Top = std::min(Top, Y);
        Bottom = std::max(Bottom, Y);
      }
  if (Right < 0) return {0, 0, std::min<int>(Sprite.Width(), 1), std::min<int>(Sprite.Height(), 1)};
  return {Left, Top, Right - Left + 1, Bottom - Top + 1};
}

}  // namespace

TSpriteSheet MakeSpriteSheet(const TS16File& File, int First, int Last,
                             const TSheetOptions& Options) {
  TSpriteSheet Sheet;
  std::vector<TFrameSize> Sizes;
  for (int I = First; I <= Last; ++I) {
    const TS16Sprite& Sprite = File.GetSprite(I);
    const TArea Area =
        Options.Trim ? OpaqueArea(Sprite) : TArea{0, 0, Sprite.Width(), Sprite.Height()};
    TAtlasFrame Frame;
    Frame.Name = FrameName(Options.NamePattern, I);
    Frame.Width = Area.Width;
    Frame.Height = Area.Height;
    Frame.Trimmed = Options.Trim;
    Frame.SourceX = Area.X;
    Frame.SourceY = Area.Y;
    Frame.SourceWidth = Sprite.Width();
    Frame.SourceHeight = Sprite.Height();
    Sheet.Atlas.Frames.push_back(Frame);
    Sizes.push_back({Area.Width, Area.Height});
  }
  const TPackedSheet Packed = PackSheet(Sizes, Options.Pack);
  CheckImageSize(Packed.Width, Packed.Height, "The sprite sheet");
  Sheet.Atlas.Width = Packed.Width;
  Sheet.Atlas.Height = Packed.Height;
  Sheet.Picture = std::make_unique<TS16Sprite>();
  Sheet.Picture->SetWidth(std::uint16_t(Packed.Width));
  Sheet.Picture->SetHeight(std::uint16_t(Packed.Height));
  for (std::size_t I = 0; I < Sheet.Atlas.Frames.size(); ++I) {
    TAtlasFrame& Frame = Sheet.Atlas.Frames[I];
    Frame.X = int(Packed.Places[I].X);
    Frame.Y = int(Packed.Places[I].Y);
    Sheet.Picture->CopyWords(File.GetSprite(First + int(I)), Frame.SourceX, Frame.SourceY, Frame.X,
                             Frame.Y, Frame.Width, Frame.Height);
  }
  return Sheet;
}

std::vector<std::unique_ptr<TS16Sprite>> CutSpriteSheet(const TS16Sprite& Sheet,
                                                        const TSheetAtlas& Atlas) {
  // A frame without pixels takes no room, as the packer places it: it lies on any sheet.
  for (const TAtlasFrame& Frame : Atlas.Frames)
    if (Frame.Width > 0 && Frame.Height > 0 &&
        (Frame.X + Frame.Width > Sheet.Width() || Frame.Y + Frame.Height > Sheet.Height()))
      throw ESpriteError("The atlas's frame \"" + Frame.Name + "\" lies outside the " +
                         std::to_string(Sheet.Width()) + " by " + std::to_string(Sheet.Height()) +
                         " sheet");
  std::vector<std::unique_ptr<TS16Sprite>> Sprites;
  for (const TAtlasFrame& Frame : Atlas.Frames) {
    auto Sprite = std::make_unique<TS16Sprite>();
    Sprite->SetWidth(std::uint16_t(Frame.SourceWidth));
    Sprite->SetHeight(std::uint16_t(Frame.SourceHeight));
    Sprite->CopyWords(Sheet, Frame.X, Frame.Y, Frame.SourceX, Frame.SourceY, Frame.Width,
                      Frame.Height);
    Sprites.push_back(std::move(Sprite));
  }
  return Sprites;
}
