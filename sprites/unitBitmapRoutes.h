#pragma once
// The routes by which single sprites come from and go to BMP files (Import From, Export To)
// and the clipboard (Copy, Paste), shared by the editor and pelbrook-tool.

#include <cstdint>
#include <memory>

#include "platform/unitBitmap.h"
#include "sprites/unitS16Handler.h"

// The export dialog's filter indices: the depth of the file written. A PNG takes the colours
// of the 24-bit bitmap.
constexpr int ExportFilter24Bit = 1;
constexpr int ExportFilter16Bit = 2;
constexpr int ExportFilter8Bit = 3;
constexpr int ExportFilterPng = 4;
// The export dialog's filters, one per filter index in its order.
inline constexpr const char* ExportFileFilter =
    "Bitmap File (24bpp) (*.bmp)|*.bmp|Bitmap File (16bpp) (*.bmp)|*.bmp|T1 Compatible Bitmap "
    "File (8bpp) (*.bmp)|*.bmp|PNG File (32bpp, black transparent) (*.png)|*.png";

// The copy formats: the pixel format Copy renders a sprite into.
constexpr int CopyFormat8Bit = 3;
constexpr int CopyFormat15Bit = 4;
constexpr int CopyFormat16Bit = 5;
constexpr int CopyFormat24Bit = 6;

// The largest picture that may become a sprite: a sprite's sides are 16-bit, and the pixel
// count bounds what one image from outside can make the program allocate.
constexpr std::int64_t MaxImageSide = 65535;
constexpr std::int64_t MaxImagePixels = std::int64_t(1) << 28;
// Raises ESpriteError, naming What, when a Width x Height picture is larger than that.
void CheckImageSize(std::int64_t Width, std::int64_t Height, const char* What);

// A new 5-6-5 sprite of a loaded bitmap of any format, black exactly where it is black.
std::unique_ptr<TS16Sprite> SpriteFromImportedBitmap(const TBitmap& FileBitmap);
// The bitmap that Export To writes for a filter index.
std::unique_ptr<TBitmap> MakeExportBitmap(const TS16Sprite& Sprite, int FilterIndex);
// The bitmap that Copy puts on the clipboard for a copy format.
std::unique_ptr<TBitmap> MakeCopyBitmap(const TS16Sprite& Sprite, int CopyFormat);
// The 5-5-5 bitmap that Paste and Paste Over make of the clipboard's bitmap.
std::unique_ptr<TBitmap> MakePasteBitmap(const TBitmap& ClipboardBitmap);
