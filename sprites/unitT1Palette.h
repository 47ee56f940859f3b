#pragma once
// The fixed 256-colour palette of Tamblings 1: every .spr pixel and every 8-bit bitmap the
// program makes indexes it. Entry 0 is the only pure black; 243-245 are a near-black that is
// not transparent.

#include <memory>

#include "platform/unitPalette.h"

extern const TPaletteEntries T1Palette;

// A new palette object made from T1Palette; the bitmap that receives it takes it over.
std::unique_ptr<TPalette> CreateT1Palette();
