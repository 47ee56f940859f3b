#pragma once
// Sprites laid out on one sheet picture with the atlas that names where each one is, and cut
// back out of such a sheet. The sheet is a 5-6-5 sprite, black between the frames; the sheet's
// file takes its colours as a PNG export takes a sprite's.

#include <memory>
#include <string>
#include <vector>

#include "imaging/unitSheetAtlas.h"
#include "imaging/unitSheetPacker.h"
#include "sprites/unitS16Handler.h"

struct TSheetOptions {
  TPackOptions Pack;
  // A frame holds only the sprite's rectangle that is not black; a sprite all black keeps one
  // pixel, its top-left, which both engines draw as they draw any other frame.
  bool Trim = false;
  std::string NamePattern = DefaultFramePattern;
};

struct TSpriteSheet {
  std::unique_ptr<TS16Sprite> Picture;
  TSheetAtlas Atlas;  // its Image left empty, for the caller to name
};

// The sheet of sprites First to Last of File (both included, in their order), named by their
// index in File. Raises ESpriteError for a bad name pattern and a sheet larger than one picture
// may be.
TSpriteSheet MakeSpriteSheet(const TS16File& File, int First, int Last,
                             const TSheetOptions& Options);

// The sprites of the atlas's frames, in its order: trimmed frames back in their place on black
// of their source size. Raises ESpriteError for a frame with pixels that is not wholly on the
// sheet.
std::vector<std::unique_ptr<TS16Sprite>> CutSpriteSheet(const TS16Sprite& Sheet,
                                                        const TSheetAtlas& Atlas);
