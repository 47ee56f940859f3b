#pragma once
// Pictures between the program's bitmaps and Qt's images, as other programs expect them:
// black, the game's transparent colour, is fully transparent outside the program, and a pixel
// less than half opaque comes in as black.

#include <QImage>
#include <memory>

#include "platform/unitBitmap.h"

// ARGB32: every pixel opaque in its colour, but black, which has alpha 0.
QImage ImageOfBitmap(const TBitmap& Bitmap);
// 24 bits; raises ESpriteError when the image is too large to become a sprite.
std::unique_ptr<TBitmap> BitmapOfImage(const QImage& Image);
