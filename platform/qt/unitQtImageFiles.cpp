#include "platform/qt/unitQtImageFiles.h"

#include <QBuffer>
#include <QImageReader>
#include <algorithm>
#include <string>

#include "platform/qt/unitQtImageBridge.h"
#include "platform/unitBmpCodec.h"
#include "platform/unitFileIO.h"
#include "platform/unitPngChunks.h"
#include "sprites/unitBitmapRoutes.h"

namespace {

[[noreturn]] void RaiseUnreadablePng(const EPngError& Error) {
  throw ESpriteError(std::string("The PNG file could not be read: ") + Error.what());
}

}  // namespace

std::unique_ptr<TBitmap> ReadPng(std::span<const std::uint8_t> Bytes) {
  TPngForDecoding Png;
  try {
    Png = PngForDecoding(Bytes);
  } catch (const EPngError& Error) {
    RaiseUnreadablePng(Error);
  }
  // Deflate packs at most 1032 bytes into one, and a pixel takes at least one bit of them: a
  // header claiming more pixels than that lies, and must not make the decoder allocate them.
  const TPngHeader& Header = Png.Header;
  if (double(Header.Width) * Header.Height > 8.0 * 1032 * double(Bytes.size()))
    throw ESpriteError("The PNG file is too large for its data: " + std::to_string(Header.Width) +
                       " by " + std::to_string(Header.Height) + " pixels in " +
                       std::to_string(Bytes.size()) + " bytes");
  CheckImageSize(Header.Width, Header.Height, "The PNG file");
  QByteArray Data = QByteArray::fromRawData(reinterpret_cast<const char*>(Png.Bytes.data()),
                                            qsizetype(Png.Bytes.size()));
  QBuffer Buffer(&Data);
  QImageReader Reader(&Buffer, "png");
  // Otherwise bytes that are not PNG reach whichever decoder claims them.
  Reader.setAutoDetectImageFormat(false);
  return BitmapOfImage(ReadImageWithinLimits(Reader, "The PNG file"));
}

std::unique_ptr<TBitmap> LoadImageFile(const std::string& Path) {
  TFileReader Reader;
  Reader.OpenOrThrow(Path);
  std::uint8_t First[PngSignatureSize] = {};
  const std::size_t Count = Reader.ReadUpTo(First, sizeof First);
  Reader.Seek(0);
  if (!IsPngSignature({First, Count})) return ReadBmp(ReadBmpBytes(Reader));
  TLargeBytes Bytes;
  try {
    // A PNG file holds no more than a BMP may.
    Bytes = ReadPngFile(Reader, MaxBmpFileSize);
  } catch (const EPngError& Error) {
    RaiseUnreadablePng(Error);
  }
  return ReadPng(Bytes);
}

void SaveImageFile(const TBitmap& Bitmap, bool AsPng, const std::string& Path) {
  if (!AsPng) {
    SaveBmpFile(Bitmap, Path);
    return;
  }
  const QByteArray Png = EncodePng(ImageOfBitmap(Bitmap));
  SaveWholeFile(Path, Png.constData(), std::size_t(Png.size()));
}

void SaveExportFile(const TS16Sprite& Sprite, int FilterIndex, const std::string& Path) {
  SaveImageFile(*MakeExportBitmap(Sprite, FilterIndex), FilterIndex == ExportFilterPng, Path);
}
