#pragma once
// The common PNG kinds read straight into a sprite, a band of rows at a time, so that a decoded
// picture is never whole in memory: while one band is inflated, the one before it is unfiltered
// and narrowed on another core. The words are those of the route through Qt's image.

#include <cstdint>
#include <memory>
#include <span>

#include "sprites/unitS16Handler.h"

// The sprite of the PNG bytes PngForDecoding kept, whose size the caller has checked. Null for
// the kinds it leaves to Qt (all but 8-bit RGB, RGB with alpha and grey with alpha, not
// interlaced, with no chunk but the header, an RGB picture's transparent colour, the data and
// the end) and for any damage: Qt then gives its own picture or its own error.
std::unique_ptr<TS16Sprite> SpriteOfPngRows(std::span<const std::uint8_t> Png);
