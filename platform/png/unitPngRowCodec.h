#pragma once
// PNG pixels moved between a file's rows and 5-6-5 words through libpng a row at a time, so
// that neither a decoded picture nor a 32-bit copy of a sprite is ever whole in memory. The rows
// take the steps Qt's PNG handler takes, so the words and bytes are those of the route through
// QImage.

#include <cstdint>
#include <memory>
#include <span>

#include "platform/unitFileIO.h"
#include "sprites/unitS16Handler.h"

// The sprite of the PNG bytes PngForDecoding kept, whose size the caller has checked. Null for
// the kinds it leaves to Qt (all but 8-bit RGB, RGB with alpha and grey with alpha, not
// interlaced) and for bytes libpng refuses: Qt then gives its own picture or its own error.
std::unique_ptr<TS16Sprite> SpriteOfPngRows(std::span<const std::uint8_t> Png);

// Writes what EncodePng makes of ImageOfSprite(Sprite), byte for byte.
void WritePngOfSprite(const TS16Sprite& Sprite, TSafeFileWriter& File);
