#include "platform/png/unitPngRowWriter.h"

#include <png.h>

#include <csetjmp>
#include <exception>
#include <vector>

#include "platform/unitPixelRows.h"

// libpng leaves by longjmp on an error: each function that calls it sets the jump itself and
// holds nothing with a destructor, so that no destructor is skipped.

namespace {

void IgnoreWarning(png_structp, png_const_charp) {}

// libpng's state for one picture written; Info is null when it could not be made.
class TLibPng {
 public:
  TLibPng() {
    Png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, IgnoreWarning);
    if (Png) Info = png_create_info_struct(Png);
  }
  ~TLibPng() { png_destroy_write_struct(&Png, &Info); }
  TLibPng(const TLibPng&) = delete;
  TLibPng& operator=(const TLibPng&) = delete;

  png_structp Png = nullptr;
  png_infop Info = nullptr;
};

// Qt's quality 50: deflate level 4.
constexpr int PngDeflateLevel = 4;

struct TFileOutput {
  TSafeFileWriter* File;
  std::exception_ptr Failure;
};

void WriteToFile(png_structp Png, png_bytep Data, png_size_t Count) {
  auto* Out = static_cast<TFileOutput*>(png_get_io_ptr(Png));
  try {
    Out->File->Write(Data, Count);
  } catch (...) {
    Out->Failure = std::current_exception();
    png_error(Png, "write failed");
  }
}

void FlushNothing(png_structp) {}

bool WriteRows(TLibPng& W, TFileOutput& Out, const TS16Sprite& Sprite, std::uint8_t* Row) {
  if (setjmp(png_jmpbuf(W.Png))) return false;
  png_set_write_fn(W.Png, &Out, WriteToFile, FlushNothing);
  png_set_compression_level(W.Png, PngDeflateLevel);
  png_set_IHDR(W.Png, W.Info, Sprite.Width(), Sprite.Height(), 8, PNG_COLOR_TYPE_RGB_ALPHA,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_BASE, PNG_FILTER_TYPE_BASE);
  // 72 dpi, as in the BMP files.
  png_set_pHYs(W.Png, W.Info, 2835, 2835, PNG_RESOLUTION_METER);
  png_write_info(W.Png, W.Info);
  png_set_bgr(W.Png);
  const auto* Words = reinterpret_cast<const std::uint8_t*>(Sprite.PixelData());
  for (int Y = 0; Y < Sprite.Height(); ++Y) {
    ArgbRowOf565(Words + 2 * std::size_t(Y) * Sprite.Width(), Row, Sprite.Width());
    png_write_row(W.Png, Row);
  }
  png_write_end(W.Png, W.Info);
  return true;
}

}  // namespace

void WritePngOfSprite(const TS16Sprite& Sprite, TSafeFileWriter& File) {
  TLibPng W;
  if (!W.Info) throw std::bad_alloc();
  TFileOutput Out{&File, nullptr};
  std::vector<std::uint8_t> Row(4 * std::size_t(Sprite.Width()));
  if (WriteRows(W, Out, Sprite, Row.data())) return;
  if (Out.Failure) std::rethrow_exception(Out.Failure);
  throw ESpriteError("The image could not be made into a PNG");
}
