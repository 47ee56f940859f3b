#pragma once
// A sprite written as a PNG through libpng a row at a time, so that no 32-bit copy of it is
// ever whole in memory. The rows take the steps Qt's PNG handler takes, so the bytes are those
// of the route through QImage.

#include "platform/unitFileIO.h"
#include "sprites/unitS16Handler.h"

// Writes what EncodePng makes of ImageOfSprite(Sprite), byte for byte.
void WritePngOfSprite(const TS16Sprite& Sprite, TSafeFileWriter& File);
