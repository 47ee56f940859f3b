#include "platform/png/unitPngRowCodec.h"

#include <png.h>

#include <algorithm>
#include <csetjmp>
#include <cstring>
#include <exception>
#include <future>
#include <vector>

#include "platform/unitPixelRows.h"

// libpng leaves by longjmp on an error: each function that calls it sets the jump itself and
// holds nothing with a destructor, so that no destructor is skipped.

namespace {

struct TMemoryInput {
  const std::uint8_t* Data;
  std::size_t Size;
  std::size_t Offset;
};

void ReadFromMemory(png_structp Png, png_bytep Out, png_size_t Count) {
  auto* In = static_cast<TMemoryInput*>(png_get_io_ptr(Png));
  if (Count > In->Size - In->Offset) png_error(Png, "Read beyond end of data");
  std::memcpy(Out, In->Data + In->Offset, Count);
  In->Offset += Count;
}

void IgnoreWarning(png_structp, png_const_charp) {}

// libpng's state for one picture read or written; Info is null when it could not be made.
class TLibPng {
 public:
  explicit TLibPng(bool Reading) : FReading(Reading) {
    Png = Reading ? png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, IgnoreWarning)
                  : png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, IgnoreWarning);
    if (Png) Info = png_create_info_struct(Png);
  }
  ~TLibPng() {
    if (FReading)
      png_destroy_read_struct(&Png, &Info, nullptr);
    else
      png_destroy_write_struct(&Png, &Info);
  }
  TLibPng(const TLibPng&) = delete;
  TLibPng& operator=(const TLibPng&) = delete;

  png_structp Png = nullptr;
  png_infop Info = nullptr;

 private:
  bool FReading;
};

// Reads the header and sets the steps that give the rows as 32-bit ARGB pixels in memory
// order, as Qt's handler reads the kinds whose image it makes 32-bit; false for a kind left to
// Qt or bytes libpng refuses.
bool StartReading(TLibPng& R, TMemoryInput& In, png_uint_32& Width, png_uint_32& Height) {
  if (setjmp(png_jmpbuf(R.Png))) return false;
  png_set_read_fn(R.Png, &In, ReadFromMemory);
  png_read_info(R.Png, R.Info);
  int Depth = 0, Colour = 0, Interlace = 0;
  png_get_IHDR(R.Png, R.Info, &Width, &Height, &Depth, &Colour, &Interlace, nullptr, nullptr);
  const bool Kept = Colour == PNG_COLOR_TYPE_RGB || Colour == PNG_COLOR_TYPE_RGB_ALPHA ||
                    Colour == PNG_COLOR_TYPE_GRAY_ALPHA;
  if (Depth != 8 || !Kept || Interlace != PNG_INTERLACE_NONE) return false;
  png_set_expand(R.Png);
  if (Colour == PNG_COLOR_TYPE_GRAY_ALPHA) png_set_gray_to_rgb(R.Png);
  if (!(Colour & PNG_COLOR_MASK_ALPHA) && !png_get_valid(R.Png, R.Info, PNG_INFO_tRNS))
    png_set_filler(R.Png, 0xFF, PNG_FILLER_AFTER);
  png_set_bgr(R.Png);
  png_read_update_info(R.Png, R.Info);
  return png_get_rowbytes(R.Png, R.Info) == 4 * std::size_t(Width);
}

bool ReadRows(TLibPng& R, std::uint8_t* Band, std::size_t Stride, int Count) {
  if (setjmp(png_jmpbuf(R.Png))) return false;
  for (int I = 0; I < Count; ++I) png_read_row(R.Png, Band + Stride * std::size_t(I), nullptr);
  return true;
}

bool FinishReading(TLibPng& R) {
  if (setjmp(png_jmpbuf(R.Png))) return false;
  png_read_end(R.Png, nullptr);
  return true;
}

// Rows decoded in bands; while one band is decoded, the one before it is narrowed on another
// core.
constexpr int BandRows = 64;

}  // namespace

std::unique_ptr<TS16Sprite> SpriteOfPngRows(std::span<const std::uint8_t> Bytes) {
  TLibPng R(true);
  if (!R.Info) return nullptr;
  TMemoryInput In{Bytes.data(), Bytes.size(), 0};
  png_uint_32 Width = 0, Height = 0;
  if (!StartReading(R, In, Width, Height)) return nullptr;
  auto Sprite = std::make_unique<TS16Sprite>();
  Sprite->SetHeight(std::uint16_t(Height));
  Sprite->SetWidth(std::uint16_t(Width));
  auto* Words = reinterpret_cast<std::uint8_t*>(Sprite->PixelData());
  const std::size_t Stride = 4 * std::size_t(Width);
  std::vector<std::uint8_t> Bands[2];
  for (auto& Band : Bands)
    Band.resize(Stride * std::size_t(std::min<png_uint_32>(Height, BandRows)));
  std::future<void> Narrowing;
  for (int First = 0, B = 0; First < int(Height); First += BandRows, B ^= 1) {
    const int Count = std::min(BandRows, int(Height) - First);
    const bool Read = ReadRows(R, Bands[B].data(), Stride, Count);
    if (Narrowing.valid()) Narrowing.get();
    if (!Read) return nullptr;
    Narrowing = std::async(std::launch::async, [&, B, First, Count] {
      for (int I = 0; I < Count; ++I)
        NarrowBgraRow(Bands[B].data() + Stride * std::size_t(I),
                      Words + 2 * std::size_t(First + I) * Width, int(Width));
    });
  }
  if (Narrowing.valid()) Narrowing.get();
  if (!FinishReading(R)) return nullptr;
  return Sprite;
}

namespace {

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
  TLibPng W(false);
  if (!W.Info) throw std::bad_alloc();
  TFileOutput Out{&File, nullptr};
  std::vector<std::uint8_t> Row(4 * std::size_t(Sprite.Width()));
  if (WriteRows(W, Out, Sprite, Row.data())) return;
  if (Out.Failure) std::rethrow_exception(Out.Failure);
  throw ESpriteError("The image could not be made into a PNG");
}
