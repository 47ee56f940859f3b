#pragma once
// The system clipboard as other desktop programs use it: typed data offered by its owner,
// PNG above all. The editor writes image/png (black transparent), then image/bmp (24 bits,
// opaque), then Qt's own image form, in one write; it reads image/png, then image/bmp, then
// any other image form offered. A form's size is checked before its pixels are decoded.

#include <memory>

#include "platform/unitBitmap.h"

void PutBitmapOnClipboard(const TBitmap& Bitmap);
// The first offered form that reads; for Palette, whether that form is palette-based.
bool ClipboardOffersImage();
bool ClipboardOffersPalette();
// Raises ESpriteError with the reason when no offered form can become a sprite.
std::unique_ptr<TBitmap> ReadClipboardImage();
