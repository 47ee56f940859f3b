#pragma once
// Pictures between the program's bitmaps and Qt's images, as other programs expect them:
// black, the game's transparent colour, is fully transparent outside the program, and a pixel
// less than half opaque comes in as black.

#include <QByteArray>
#include <QImage>
#include <QImageReader>
#include <memory>

#include "platform/unitBitmap.h"
#include "sprites/unitS16Handler.h"

// ARGB32: every pixel opaque in its colour, but black, which has alpha 0.
QImage ImageOfBitmap(const TBitmap& Bitmap);
// 24 bits; raises ESpriteError when the image is too large to become a sprite.
std::unique_ptr<TBitmap> BitmapOfImage(const QImage& Image);
// ImageOfBitmap of the sprite's 24-bit export bitmap, and the sprite that
// SpriteFromImportedBitmap makes of BitmapOfImage(Image): made straight from the words and
// the image's pixels, a band of rows on each of the processor's cores.
QImage ImageOfSprite(const TS16Sprite& Sprite);
std::unique_ptr<TS16Sprite> SpriteOfImage(const QImage& Image);

// Decodes what Reader reads once the size in its header has passed the sprite limits, which
// are above Qt's own allocation limit; a form that does not tell its size keeps Qt's limit.
// Raises ESpriteError, naming What, when it is too large or does not read.
QImage ReadImageWithinLimits(QImageReader& Reader, const char* What);
// A PNG of Image in Qt's encoding, the same bytes for the same image in every program built
// from this code. Deflate works at level 4 of 9: its files are a few percent larger than the
// default level's, in less than half the time.
// Taken by value: an image handed over whole is not copied to have its resolution set.
QByteArray EncodePng(QImage Image);
