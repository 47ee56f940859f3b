#pragma once
// The system clipboard as other desktop programs use it: typed data offered by its owner,
// PNG above all. The editor offers image/png (black transparent) and image/bmp (24 bits,
// opaque), and Qt's own image form to itself, in one write; it reads image/png, then image/bmp,
// then any other image form offered. PNG and BMP bytes go through the program's own checks and
// codec, as from files, and a form's size is checked before its pixels are decoded.

#include <memory>

#include "platform/unitBitmap.h"

void PutBitmapOnClipboard(const TBitmap& Bitmap);
// Whether the clipboard names an image form, from the names alone: nothing is fetched or
// decoded.
bool ClipboardOffersImage();
// Whether the first offered form that reads is palette-based, from its header.
bool ClipboardOffersPalette();
// Raises ESpriteError with the reason when no offered form can become a sprite.
std::unique_ptr<TBitmap> ReadClipboardImage();
