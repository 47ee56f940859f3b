#pragma once
// The pictures of the image list: each sprite scaled into the top-left corner of a T x T
// thumbnail, either keeping its aspect ratio or filling the square.

#include <exception>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/unitBitmap.h"
#include "sprites/unitS16Handler.h"

class EThumbnailError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct TThumbnailSettings {
  int Size = 25;                 // T: 25, 50, 75 or 100
  bool FitIntoThumbnail = true;  // keep the aspect ratio
  int FilterRow = 0;             // of FilterTable: 0 "Box", 1 "Triangle"
};

struct TScaledSize {
  int Width;
  int Height;
  friend bool operator==(const TScaledSize&, const TScaledSize&) = default;
};

// The size a Width x Height sprite is scaled to. A 0 x 0 sprite has no aspect ratio: with
// FitIntoThumbnail it raises EThumbnailError.
TScaledSize ThumbnailGeometry(int Width, int Height, const TThumbnailSettings& Settings);

struct TThumbnail {
  TBitmap Image;              // T x T, 5-6-5
  std::string ResampleError;  // why scaling failed, leaving the picture undefined; or empty
};

// Source, converted to 24 bits in place, scaled to the geometry of a SpriteWidth x
// SpriteHeight sprite and stored through 5-6-5, as the image list keeps its pictures.
TThumbnail MakeThumbnail(TBitmap& Source, int SpriteWidth, int SpriteHeight,
                         const TThumbnailSettings& Settings);
TThumbnail MakeThumbnail(const TS16Sprite& Sprite, const TThumbnailSettings& Settings);
// One sprite's thumbnail, or what making it raised.
struct TThumbnailOutcome {
  TThumbnail Made;
  std::exception_ptr Failure;
};
// The thumbnails of Sprites in order, each as MakeThumbnail makes it, on two cores when the
// work repays a thread: the second takes the sprites past the middle of the pixels.
std::vector<TThumbnailOutcome> MakeThumbnails(std::span<const TS16Sprite* const> Sprites,
                                              const TThumbnailSettings& Settings);

// A 5-6-5 sprite as a 24-bit bitmap for the resampler.
TBitmap WidenedSprite(const TS16Sprite& Sprite);
