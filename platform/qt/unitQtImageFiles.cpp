#include "platform/qt/unitQtImageFiles.h"

#include <QBuffer>
#include <QImageReader>
#include <algorithm>
#include <optional>
#include <string>
#include <utility>

#include "platform/png/unitPngRowReader.h"
#include "platform/png/unitPngRowWriter.h"
#include "platform/qt/unitQtImageBridge.h"
#include "platform/unitBmpCodec.h"
#include "platform/unitFileIO.h"
#include "platform/unitPngChunks.h"
#include "sprites/unitBitmapRoutes.h"
#include "sprites/unitBmpStreamRoutes.h"

namespace {

[[noreturn]] void RaiseUnreadablePng(const EPngError& Error) {
  throw ESpriteError(std::string("The PNG file could not be read: ") + Error.what());
}

void SavePngFile(QImage Image, const std::string& Path) {
  const QByteArray Png = EncodePng(std::move(Image));
  SaveWholeFile(Path, Png.constData(), std::size_t(Png.size()));
}

}  // namespace

TPngForDecoding CheckedPng(TLargeBytes Bytes) {
  const std::size_t Size = Bytes.size();
  TPngForDecoding Png;
  try {
    Png = PngForDecoding(std::move(Bytes));
  } catch (const EPngError& Error) {
    RaiseUnreadablePng(Error);
  }
  // Deflate packs at most 1032 bytes into one, and a pixel takes at least one bit of them: a
  // header claiming more pixels than that lies, and must not make the decoder allocate them.
  const TPngHeader& Header = Png.Header;
  if (double(Header.Width) * Header.Height > 8.0 * 1032 * double(Size))
    throw ESpriteError("The PNG file is too large for its data: " + std::to_string(Header.Width) +
                       " by " + std::to_string(Header.Height) + " pixels in " +
                       std::to_string(Size) + " bytes");
  CheckImageSize(Header.Width, Header.Height, "The PNG file");
  return Png;
}

namespace {

QImage DecodeWithQt(std::span<const std::uint8_t> Bytes) {
  QByteArray Data =
      QByteArray::fromRawData(reinterpret_cast<const char*>(Bytes.data()), qsizetype(Bytes.size()));
  QBuffer Buffer(&Data);
  QImageReader Reader(&Buffer, "png");
  // Otherwise bytes that are not PNG reach whichever decoder claims them.
  Reader.setAutoDetectImageFormat(false);
  return ReadImageWithinLimits(Reader, "The PNG file");
}

// Qt reads a 16-bit RGB picture with a transparent colour as if its pixels had alpha: the
// colours come out shifted and a quarter of each row is never written. Such a picture is read
// without its tRNS chunks, and the colour (the first chunk's, before the data) made
// transparent here.
QImage DecodeKeyedRgb16(const TPngForDecoding& Png) {
  TLargeBytes Unkeyed(Png.Bytes.begin(), Png.Bytes.begin() + PngSignatureSize);
  std::optional<QRgba64> Key;
  bool Data = false, Keyed = false;
  for (std::size_t At = PngSignatureSize; At < Png.Bytes.size();) {
    const std::size_t Start = At;
    const TPngChunk Chunk = NextPngChunk(Png.Bytes, At);
    Data = Data || Chunk.Is("IDAT");
    if (Chunk.Is("tRNS")) {
      const std::uint8_t* T = Chunk.Data.data();
      if (!Data && !Keyed && Chunk.Data.size() == 6)
        Key = QRgba64::fromRgba64(std::uint16_t(T[0] << 8 | T[1]), std::uint16_t(T[2] << 8 | T[3]),
                                  std::uint16_t(T[4] << 8 | T[5]), 0xFFFF);
      Keyed = true;
      continue;
    }
    Unkeyed.insert(Unkeyed.end(), Png.Bytes.begin() + std::ptrdiff_t(Start),
                   Png.Bytes.begin() + std::ptrdiff_t(At));
  }
  QImage Image = DecodeWithQt(Unkeyed);
  if (!Key || Image.isNull()) return Image;
  Image.convertTo(QImage::Format_RGBA64);
  for (int Y = 0; Y < Image.height(); ++Y) {
    auto* Row = reinterpret_cast<QRgba64*>(Image.scanLine(Y));
    for (int X = 0; X < Image.width(); ++X)
      if (Row[X] == *Key) Row[X] = QRgba64::fromRgba64(0);
  }
  return Image;
}

}  // namespace

QImage DecodeCheckedPng(const TPngForDecoding& Png) {
  if (Png.Header.BitDepth == 16 && Png.Header.ColourType == 2) return DecodeKeyedRgb16(Png);
  return DecodeWithQt(Png.Bytes);
}

QImage DecodePng(std::span<const std::uint8_t> Bytes) {
  return DecodeCheckedPng(CheckedPng(TLargeBytes(Bytes.begin(), Bytes.end())));
}

std::unique_ptr<TBitmap> ReadPng(std::span<const std::uint8_t> Bytes) {
  return BitmapOfImage(DecodePng(Bytes));
}

bool StartsAsPng(TFileReader& Reader) {
  std::uint8_t First[PngSignatureSize] = {};
  const std::size_t Count = Reader.ReadUpTo(First, sizeof First);
  Reader.Seek(0);
  return IsPngSignature({First, Count});
}

TPngForDecoding ReadCheckedPng(TFileReader& Reader) {
  TLargeBytes Bytes;
  try {
    // A PNG file holds no more than a BMP may.
    Bytes = ReadPngFile(Reader, MaxBmpFileSize);
  } catch (const EPngError& Error) {
    RaiseUnreadablePng(Error);
  }
  return CheckedPng(std::move(Bytes));
}

QImage ReadPngImage(TFileReader& Reader) {
  return DecodeCheckedPng(ReadCheckedPng(Reader));
}

std::unique_ptr<TS16Sprite> ReadPngSprite(TFileReader& Reader) {
  const TPngForDecoding Png = ReadCheckedPng(Reader);
  if (auto Sprite = SpriteOfPngRows(Png.Bytes)) return Sprite;
  return SpriteOfImage(DecodeCheckedPng(Png));
}

std::unique_ptr<TBitmap> LoadImageFile(const std::string& Path) {
  TFileReader Reader;
  Reader.OpenOrThrow(Path);
  if (!StartsAsPng(Reader)) return ReadBmp(ReadBmpBytes(Reader));
  return BitmapOfImage(ReadPngImage(Reader));
}

void SaveImageFile(const TBitmap& Bitmap, bool AsPng, const std::string& Path) {
  if (!AsPng) {
    SaveBmpFile(Bitmap, Path);
    return;
  }
  SavePngFile(ImageOfBitmap(Bitmap), Path);
}

void SaveExportFile(const TS16Sprite& Sprite, int FilterIndex, const std::string& Path) {
  if (FilterIndex != ExportFilterPng) {
    SaveExportBmp(Sprite, FilterIndex, Path);
    return;
  }
  SavePngOfSprite(Sprite, Path);
}

void SavePngOfSprite(const TS16Sprite& Sprite, const std::string& Path) {
  TSafeFileWriter File;
  File.CreateOrThrow(Path);
  WritePngOfSprite(Sprite, File);
  File.Commit();
}
