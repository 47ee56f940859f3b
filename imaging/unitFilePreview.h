#pragma once
// The picture a file manager shows for a sprite file: its only sprite scaled to fit the size
// asked for, or a contact sheet of its first sprites, each fitted into a square cell of its own.

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/unitBitmap.h"
#include "sprites/unitS16Handler.h"

// A sheet of up to 3 x 3 sprites.
constexpr int MaxPreviewSprites = 9;
// What the sprites of one preview may hold together (a sprite of 4096 x 4096 at most): a file
// claiming more, or a first sprite larger, costs no more than this to read and scale.
constexpr std::uint64_t MaxPreviewPixels = std::uint64_t(1) << 24;
// The sides a preview may be asked for.
constexpr int MinPreviewSize = 8;
constexpr int MaxPreviewSize = 2048;

struct TPreviewGrid {
  int Columns;
  int Rows;
  int Cell;  // the side of each square cell
  friend bool operator==(const TPreviewGrid&, const TPreviewGrid&) = default;
};

// The cells of a sheet of Count sprites within Size x Size: as few columns as make it square,
// rows filled first.
TPreviewGrid PreviewGrid(int Count, int Size);

// 24 bits, black (the transparent colour) where no sprite stands. A single sprite is scaled to
// Size on its longer side, keeping its shape; several are scaled into the cells of their grid,
// each centred within a margin. Sprites are scaled with the Box filter, so pixels stay sharp.
// A sprite that cannot be scaled (0 by 0, or one pixel thin) leaves its cell empty. Raises
// EThumbnailError when no sprite could be shown.
TBitmap MakePreview(const std::vector<std::unique_ptr<TS16Sprite>>& Sprites, int Size);
