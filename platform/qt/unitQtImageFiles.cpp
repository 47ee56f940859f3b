#include "platform/qt/unitQtImageFiles.h"

#include <QBuffer>
#include <QImageReader>
#include <algorithm>
#include <string>

#include "platform/qt/unitQtImageBridge.h"
#include "platform/unitBmpCodec.h"
#include "platform/unitFileIO.h"
#include "sprites/unitBitmapRoutes.h"
#include "sprites/unitBmpStreamRoutes.h"

bool IsPngData(std::span<const std::uint8_t> Bytes) {
  static constexpr std::uint8_t Signature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  return Bytes.size() >= sizeof(Signature) &&
         std::equal(std::begin(Signature), std::end(Signature), Bytes.begin());
}

QImage DecodePng(std::span<const std::uint8_t> Bytes) {
  QByteArray Data =
      QByteArray::fromRawData(reinterpret_cast<const char*>(Bytes.data()), qsizetype(Bytes.size()));
  QBuffer Buffer(&Data);
  QImageReader Reader(&Buffer, "png");
  // Otherwise bytes that are not PNG reach whichever decoder claims them, past the check below.
  Reader.setAutoDetectImageFormat(false);
  // Deflate packs at most 1032 bytes into one, and a pixel takes at least one bit of them: a
  // header claiming more pixels than that lies, and must not make the decoder allocate them.
  const QSize Size = Reader.size();
  if (Size.isValid() && double(Size.width()) * Size.height() > 8.0 * 1032 * double(Bytes.size()))
    throw ESpriteError("The PNG file is too large for its data: " + std::to_string(Size.width()) +
                       " by " + std::to_string(Size.height()) + " pixels in " +
                       std::to_string(Bytes.size()) + " bytes");
  return ReadImageWithinLimits(Reader, "The PNG file");
}

std::unique_ptr<TBitmap> ReadPng(std::span<const std::uint8_t> Bytes) {
  return BitmapOfImage(DecodePng(Bytes));
}

std::unique_ptr<TBitmap> LoadImageFile(const std::string& Path) {
  // A PNG file holds no more than a BMP may.
  const TLargeBytes Bytes = ReadWholeFile(Path, MaxBmpFileSize);
  return IsPngData(Bytes) ? ReadPng(Bytes) : ReadBmp(Bytes);
}

void SaveExportFile(const TS16Sprite& Sprite, int FilterIndex, const std::string& Path) {
  if (FilterIndex != ExportFilterPng) {
    SaveExportBmp(Sprite, FilterIndex, Path);
    return;
  }
  const QByteArray Png = EncodePng(ImageOfSprite(Sprite));
  SaveWholeFile(Path, Png.constData(), std::size_t(Png.size()));
}
