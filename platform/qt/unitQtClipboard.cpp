#include "platform/qt/unitQtClipboard.h"

#include <QBuffer>
#include <QClipboard>
#include <QGuiApplication>
#include <QImageReader>
#include <QMimeData>
#include <optional>

#include "platform/qt/unitQtImageBridge.h"
#include "platform/unitBmpCodec.h"
#include "sprites/unitBitmapRoutes.h"

namespace {

const QString PngType = QStringLiteral("image/png");
const QString BmpType = QStringLiteral("image/bmp");

// One form of the clipboard's image, looked at but not yet decoded.
struct TOfferedImage {
  QByteArray Bytes;  // empty for an image already decoded in this process
  QByteArray Format;
  QImage Decoded;
  bool Indexed = false;
};

bool IsIndexed(QImage::Format Format) {
  return Format == QImage::Format_Indexed8 || Format == QImage::Format_Mono ||
         Format == QImage::Format_MonoLSB;
}

std::optional<TOfferedImage> OfferedForm(const QMimeData& Data, const QString& Type) {
  TOfferedImage Offer;
  Offer.Bytes = Data.data(Type);
  Offer.Format = Type.mid(int(sizeof("image/")) - 1).toLatin1();
  QBuffer Buffer(&Offer.Bytes);
  QImageReader Reader(&Buffer, Offer.Format);
  if (Offer.Bytes.isEmpty() || !Reader.canRead()) return std::nullopt;
  Offer.Indexed = IsIndexed(Reader.imageFormat());
  return Offer;
}

std::optional<TOfferedImage> OfferedImage() {
  const QMimeData* Data = QGuiApplication::clipboard()->mimeData();
  if (!Data) return std::nullopt;
  QStringList Types = {PngType, BmpType};
  for (const QString& Type : Data->formats())
    if (Type.startsWith(QStringLiteral("image/")) && !Types.contains(Type)) Types << Type;
  for (const QString& Type : Types)
    if (Data->hasFormat(Type))
      if (auto Offer = OfferedForm(*Data, Type)) return Offer;
  // An image put there by this process is already decoded.
  if (!Data->hasImage()) return std::nullopt;
  TOfferedImage Offer;
  Offer.Decoded = qvariant_cast<QImage>(Data->imageData());
  if (Offer.Decoded.isNull()) return std::nullopt;
  Offer.Indexed = Offer.Decoded.colorCount() > 0;
  return Offer;
}

QImage Decode(TOfferedImage& Offer) {
  if (Offer.Bytes.isEmpty()) return Offer.Decoded;
  QBuffer Buffer(&Offer.Bytes);
  QImageReader Reader(&Buffer, Offer.Format);
  return ReadImageWithinLimits(Reader, "The image on the clipboard");
}

QByteArray BmpBytes(const TBitmap& Bitmap) {
  TBitmap Opaque(TPixelFormat::pf24bit, Bitmap.Width(), Bitmap.Height());
  Opaque.Draw(Bitmap);
  const std::vector<std::uint8_t> Bytes = EncodeBmp(Opaque);
  return QByteArray(reinterpret_cast<const char*>(Bytes.data()), qsizetype(Bytes.size()));
}

}  // namespace

void PutBitmapOnClipboard(const TBitmap& Bitmap) {
  // A sprite without pixels has nothing to offer: the copy still replaces what was there, and
  // Cut, the only way to take such a sprite out, goes on.
  if (Bitmap.Width() == 0 || Bitmap.Height() == 0) {
    QGuiApplication::clipboard()->clear();
    return;
  }
  const QImage Image = ImageOfBitmap(Bitmap);
  auto* Data = new QMimeData;
  Data->setData(PngType, EncodePng(Image));
  Data->setData(BmpType, BmpBytes(Bitmap));
  Data->setImageData(Image);
  QGuiApplication::clipboard()->setMimeData(Data);
}

bool ClipboardOffersImage() {
  return OfferedImage().has_value();
}

bool ClipboardOffersPalette() {
  const auto Offer = OfferedImage();
  return Offer && Offer->Indexed;
}

std::unique_ptr<TBitmap> ReadClipboardImage() {
  auto Offer = OfferedImage();
  if (!Offer) throw ESpriteError("The clipboard holds no image that can be read");
  return BitmapOfImage(Decode(*Offer));
}
