#pragma once
// Moving pixels between sprites and device bitmaps. Black is the transparent background: every
// conversion keeps black pixels black and never lets another pixel become black, which the
// MatchBlack family repairs after each colour conversion.

#include <memory>

#include "platform/unitBitmap.h"
#include "sprites/unitS16Handler.h"

constexpr TColour FirstSubstitute = 0x202020;
constexpr TColour SecondSubstitute = 0x20FFFF;

// A new 16-bit bitmap holding the sprite's 5-6-5 words unchanged.
std::unique_ptr<TBitmap> SpriteToBitmap(const TS16Sprite& Sprite);
// Target's format (and for 8 bits its palette) is set by the caller.
void ConvertBitmap(const TBitmap& Source, TBitmap& Target);
void MatchBlack(const TBitmap& Source, TBitmap& Target);
void BitmapToSprite(const TBitmap& Bitmap, TS16Sprite& Sprite);
void Bitmap15ToSprite(const TBitmap& Bitmap, TS16Sprite& Sprite);
void MatchBlackFromSprite(const TS16Sprite& Sprite, TBitmap& Bitmap);
void MatchBlackIntoSprite(TS16Sprite& Sprite, const TBitmap& Bitmap);
