#pragma once
// The routes by which single sprites come from and go to BMP files (Import From, Export To),
// shared by the editor and pelbrook-tool.

#include <memory>

#include "platform/unitBitmap.h"
#include "sprites/unitS16Handler.h"

// The export dialog's filter indices: the depth of the file written.
constexpr int ExportFilter24Bit = 1;
constexpr int ExportFilter16Bit = 2;
constexpr int ExportFilter8Bit = 3;

// A new 5-6-5 sprite of a loaded bitmap of any format, black exactly where it is black.
std::unique_ptr<TS16Sprite> SpriteFromImportedBitmap(const TBitmap& FileBitmap);
// The bitmap that Export To writes for a filter index.
std::unique_ptr<TBitmap> MakeExportBitmap(const TS16Sprite& Sprite, int FilterIndex);
