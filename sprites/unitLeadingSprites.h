#pragma once
// The first sprites of a sprite file, for a preview of it: read without the rest of the file,
// so that neither a file's size nor what its header claims costs more than the pixels shown.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "sprites/unitS16Handler.h"

// Up to Most of the first sprites of the file at Path (an .spr file when AsSpr), in 5-6-5,
// holding at most MaxPixels pixels together: the sprites from the first that would pass it on
// are left out. Raises ESpriteError or EInOutError, naming the file, when it holds no sprite,
// when its first sprite alone holds more than MaxPixels, or when the pixels of a sprite read
// lie beyond its end.
std::vector<std::unique_ptr<TS16Sprite>> ReadLeadingSprites(const std::string& Path, bool AsSpr,
                                                            int Most, std::uint64_t MaxPixels);
