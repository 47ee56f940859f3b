#pragma once
// Single pictures in files, for Import From, Export To, drops and pelbrook-tool: BMP through
// the program's own codec, PNG through Qt's image I/O with black as the transparent colour,
// as on the clipboard.

#include <QImage>
#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "platform/unitBitmap.h"
#include "platform/unitFileIO.h"
#include "platform/unitPngChunks.h"
#include "sprites/unitS16Handler.h"

// The image as Qt decodes it. The chunks are checked and the size in the header is bounded by
// the bytes before the decoder sees them; raises ESpriteError with the reason when the PNG does
// not read.
QImage DecodePng(std::span<const std::uint8_t> Bytes);
// 24 bits, a pixel less than half opaque as black; raises what DecodePng raises.
std::unique_ptr<TBitmap> ReadPng(std::span<const std::uint8_t> Bytes);
// The chunks PngForDecoding keeps of Bytes, checked as DecodePng checks them.
TPngForDecoding CheckedPng(TLargeBytes Bytes);
// Qt's image of a checked PNG; raises what DecodePng raises.
QImage DecodeCheckedPng(const TPngForDecoding& Png);
// Whether Reader's file begins with the PNG signature; the reader is at the start afterwards.
bool StartsAsPng(TFileReader& Reader);
// The checked PNG of Reader's file, reading no more of it than its chunks use; raises what
// DecodePng raises, or EInOutError when the file cannot be read.
TPngForDecoding ReadCheckedPng(TFileReader& Reader);
// Qt's image of the PNG of Reader's file; raises what ReadCheckedPng raises.
QImage ReadPngImage(TFileReader& Reader);
// The sprite SpriteOfImage makes of ReadPngImage's image, for the common kinds straight from
// the rows; raises what ReadPngImage raises.
std::unique_ptr<TS16Sprite> ReadPngSprite(TFileReader& Reader);
// A PNG by its signature, anything else as a BMP; reads no more of the file than the format
// uses. Raises an error that says why it does not read.
std::unique_ptr<TBitmap> LoadImageFile(const std::string& Path);

// Writes Bitmap as a PNG, black transparent, or else as a BMP of its own depth. Replaces the
// file only once the new one is complete.
void SaveImageFile(const TBitmap& Bitmap, bool AsPng, const std::string& Path);
// What Export To writes for a filter index: a BMP of the depth of filters 1 to 3, or for the
// PNG filter the 24-bit colours with black transparent. Replaces the file only once the new
// one is complete.
void SaveExportFile(const TS16Sprite& Sprite, int FilterIndex, const std::string& Path);
// The PNG that EncodePng makes of ImageOfSprite's image, written a row at a time. Replaces the
// file only once the new one is complete.
void SavePngOfSprite(const TS16Sprite& Sprite, const std::string& Path);
