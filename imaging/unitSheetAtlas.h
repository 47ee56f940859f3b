#pragma once
// The JSON atlas beside a sprite sheet, in the "frames" form that 2D engines load (Phaser's
// atlas loader, PixiJS's Spritesheet): each frame's rectangle on the sheet, and for a trimmed
// frame where that rectangle sits in the sprite it was cut from and that sprite's size.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct TAtlasFrame {
  std::string Name;
  int X = 0, Y = 0, Width = 0, Height = 0;  // "frame": the pixels on the sheet
  bool Trimmed = false;
  int SourceX = 0, SourceY = 0;           // "spriteSourceSize": where they sit in the sprite
  int SourceWidth = 0, SourceHeight = 0;  // "sourceSize": the whole sprite, the frame's
                                          // own size when it is not trimmed
};

struct TSheetAtlas {
  std::vector<TAtlasFrame> Frames;  // in frame order
  std::string Image;                // the sheet's file name, beside the atlas
  std::int64_t Width = 0, Height = 0;
};

enum class TAtlasForm { Hash, Array };

// The frame name that Pattern gives sprite Index: "{n}" in it becomes the index, "{n:W}" the
// index with zeros before it to W digits (W from 1 to 9); the rest is kept as it is. Raises
// ESpriteError for a pattern that holds no "{n}" or "{n:W}", or a brace that starts neither.
std::string FrameName(std::string_view Pattern, int Index);
constexpr const char* DefaultFramePattern = "{n:4}";

std::string WriteSheetAtlas(const TSheetAtlas& Atlas, TAtlasForm Form, std::string_view Version);

// The frames of an atlas in either form, in frame order: a hash's in the order of its keys.
// Raises ESpriteError saying why for text that is no such atlas, a rotated frame, more frames
// than a sprite file holds, rectangles outside the sides a sprite may have, a trimmed frame
// outside its sprite, or sprites that would take more pixels together than one picture may.
// The frames are checked against the sheet when they are cut from it.
TSheetAtlas ReadSheetAtlas(std::string_view Json);
