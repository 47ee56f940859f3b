#include "platform/qt/unitQtClipboard.h"

#include <QBuffer>
#include <QClipboard>
#include <QGuiApplication>
#include <QImageReader>
#include <QMimeData>
#include <algorithm>
#include <optional>

#include "platform/qt/unitQtImageBridge.h"
#include "platform/qt/unitQtImageFiles.h"
#include "platform/unitBmpCodec.h"
#include "platform/unitPngChunks.h"
#include "sprites/unitBitmapRoutes.h"

namespace {

const QString PngType = QStringLiteral("image/png");
const QString BmpType = QStringLiteral("image/bmp");
const QString QtImageType = QStringLiteral("application/x-qt-image");

std::span<const std::uint8_t> SpanOf(const QByteArray& Bytes) {
  return {reinterpret_cast<const std::uint8_t*>(Bytes.constData()), std::size_t(Bytes.size())};
}

bool IsBmpData(const QByteArray& Bytes) {
  return Bytes.startsWith("BM");
}

// The reader of a form: PNG and BMP bytes, under whatever name they come, are read by the
// program's own checks and codec; other bytes by Qt's reader of their kind.
enum class TReader { Png, Bmp, Qt, Decoded };

// One form of the clipboard's image, looked at but not yet decoded.
struct TOfferedImage {
  QByteArray Bytes;
  QByteArray Format;  // Qt's name of the form, for TReader::Qt
  TReader Reader = TReader::Qt;
  QImage Decoded;  // for an image already decoded in this process
  bool Indexed = false;
};

TReader ReaderOf(const QString& Type, const QByteArray& Bytes) {
  if (Type == PngType || IsPngSignature(SpanOf(Bytes))) return TReader::Png;
  if (Type == BmpType || IsBmpData(Bytes)) return TReader::Bmp;
  return TReader::Qt;
}

bool IsIndexed(QImage::Format Format) {
  return Format == QImage::Format_Indexed8 || Format == QImage::Format_Mono ||
         Format == QImage::Format_MonoLSB;
}

// Whether the form reads, from its header alone, and whether it is palette-based.
std::optional<bool> IndexedForm(TOfferedImage& Offer) try {
  switch (Offer.Reader) {
    case TReader::Png:
      return ReadPngHeader(SpanOf(Offer.Bytes)).IsIndexed();
    case TReader::Bmp:
      return BmpPixelFormat(SpanOf(Offer.Bytes)) == TPixelFormat::pf8bit;
    default: {
      QBuffer Buffer(&Offer.Bytes);
      QImageReader Reader(&Buffer, Offer.Format);
      if (!Reader.canRead()) return std::nullopt;
      return IsIndexed(Reader.imageFormat());
    }
  }
} catch (const std::runtime_error&) {
  return std::nullopt;
}

std::optional<TOfferedImage> OfferedForm(const QMimeData& Data, const QString& Type) {
  TOfferedImage Offer;
  Offer.Bytes = Data.data(Type);
  if (Offer.Bytes.isEmpty()) return std::nullopt;
  Offer.Format = Type.mid(Type.indexOf('/') + 1).toLatin1();
  Offer.Reader = ReaderOf(Type, Offer.Bytes);
  const auto Indexed = IndexedForm(Offer);
  if (!Indexed) return std::nullopt;
  Offer.Indexed = *Indexed;
  return Offer;
}

QByteArray BmpBytes(const TBitmap& Bitmap) {
  TBitmap Opaque(TPixelFormat::pf24bit, Bitmap.Width(), Bitmap.Height());
  Opaque.Draw(Bitmap);
  const std::vector<std::uint8_t> Bytes = EncodeBmp(Opaque);
  return QByteArray(reinterpret_cast<const char*>(Bytes.data()), qsizetype(Bytes.size()));
}

// What Copy offers: PNG, then BMP, each encoded only when a program asks for it, so that the
// copy owns the clipboard at once; and Qt's own image to this process only. Named among the
// forms, Qt's image would make Qt offer the desktop every form it can write as well: JPEG and
// the one-bit forms break the black rule, and XPM is palette-based.
class TCopiedImage : public QMimeData {
 public:
  explicit TCopiedImage(const TBitmap& Bitmap) : FBitmap(Bitmap) {}

  // Black transparent, as the PNG has it.
  const QImage& Image() const {
    if (FImage.isNull()) FImage = ImageOfBitmap(FBitmap);
    return FImage;
  }
  QStringList formats() const override { return {PngType, BmpType}; }
  bool hasFormat(const QString& Type) const override {
    return Type == PngType || Type == BmpType || Type == QtImageType;
  }

 protected:
  QVariant retrieveData(const QString& Type, QMetaType) const override try {
    if (Type == QtImageType) return Image();
    if (Type == PngType) return Kept(FPng, [this] { return EncodePng(Image()); });
    if (Type == BmpType) return Kept(FBmp, [this] { return BmpBytes(FBitmap); });
    return {};
  } catch (const std::exception&) {
    // Asked from the event loop: the asking program gets nothing, and the editor goes on.
    return {};
  }

 private:
  template <class TEncode>
  static const QByteArray& Kept(QByteArray& Bytes, const TEncode& Encode) {
    if (Bytes.isEmpty()) Bytes = Encode();
    return Bytes;
  }

  const TBitmap FBitmap;
  mutable QImage FImage;
  mutable QByteArray FPng, FBmp;  // made on the first request
};

TOfferedImage DecodedOffer(const QImage& Image) {
  TOfferedImage Offer;
  Offer.Reader = TReader::Decoded;
  Offer.Decoded = Image;
  Offer.Indexed = Image.colorCount() > 0;
  return Offer;
}

std::optional<TOfferedImage> OfferedImage() {
  const QMimeData* Data = QGuiApplication::clipboard()->mimeData();
  if (!Data) return std::nullopt;
  // This process's own copy is read from its picture: nothing is encoded to be decoded again.
  if (const auto* Copied = dynamic_cast<const TCopiedImage*>(Data))
    return DecodedOffer(Copied->Image());
  QStringList Types = {PngType, BmpType};
  for (const QString& Type : Data->formats())
    if (Type.startsWith(QStringLiteral("image/")) && !Types.contains(Type)) Types << Type;
  // Qt's own form comes as bytes from another program, and is read as they are.
  Types << QtImageType;
  for (const QString& Type : Types)
    if (Data->hasFormat(Type))
      if (auto Offer = OfferedForm(*Data, Type)) return Offer;
  // An image put there by this process is already decoded, and has no bytes.
  if (!Data->hasImage() || !Data->data(QtImageType).isEmpty()) return std::nullopt;
  const QImage Image = qvariant_cast<QImage>(Data->imageData());
  if (Image.isNull()) return std::nullopt;
  return DecodedOffer(Image);
}

std::unique_ptr<TBitmap> Decode(TOfferedImage& Offer) {
  switch (Offer.Reader) {
    case TReader::Png:
      return ReadPng(SpanOf(Offer.Bytes));
    case TReader::Bmp:
      return ReadBmp(SpanOf(Offer.Bytes));
    case TReader::Decoded:
      return BitmapOfImage(Offer.Decoded);
    default: {
      QBuffer Buffer(&Offer.Bytes);
      QImageReader Reader(&Buffer, Offer.Format);
      return BitmapOfImage(ReadImageWithinLimits(Reader, "The image on the clipboard"));
    }
  }
}

}  // namespace

void PutBitmapOnClipboard(const TBitmap& Bitmap) {
  // A sprite without pixels has nothing to offer: the copy still replaces what was there, and
  // Cut, the only way to take such a sprite out, goes on.
  if (Bitmap.Width() == 0 || Bitmap.Height() == 0) {
    QGuiApplication::clipboard()->clear();
    return;
  }
  QGuiApplication::clipboard()->setMimeData(new TCopiedImage(Bitmap));
}

bool ClipboardOffersImage() {
  const QMimeData* Data = QGuiApplication::clipboard()->mimeData();
  if (!Data) return false;
  const QStringList Types = Data->formats();
  return Data->hasImage() || std::any_of(Types.begin(), Types.end(), [](const QString& Type) {
           return Type.startsWith(QStringLiteral("image/"));
         });
}

bool ClipboardOffersPalette() {
  const auto Offer = OfferedImage();
  return Offer && Offer->Indexed;
}

std::unique_ptr<TBitmap> ReadClipboardImage() {
  auto Offer = OfferedImage();
  if (!Offer) throw ESpriteError("The clipboard holds no image that can be read");
  return Decode(*Offer);
}
