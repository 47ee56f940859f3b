// BMP files as other programs see them: what Export To writes opens with the same pixels in
// independent readers (Pillow and ImageMagick, where installed), and every good file of the BMP
// test images imports with the colours Qt reads in it.

#include <gtest/gtest.h>

#include <QImage>
#include <cstdlib>
#include <filesystem>

#include "platform/unitBmpCodec.h"
#include "sprites/unitBitmapRoutes.h"
#include "sprites/unitPixelConversions.h"
#include "tests/support/SpriteFactory.h"
#include "tests/support/ToolRunner.h"

namespace {

// The RGB bytes, row by row from the top, that Command prints for the file; empty when the
// reader is not installed.
TBytes ReadWith(const std::string& Command, const std::string& Path) {
  TTempDir Capture;
  const std::string Out = Capture.File("rgb");
  const std::string Line = Command + " " + ShellQuoted(Path) + " >" + ShellQuoted(Out) + " 2>&1";
  if (std::system(Line.c_str()) != 0) return {};
  return ReadBytes(Out);
}

struct TReader {
  const char* Name;
  const char* Program;  // must exist for the reader to run
  const char* Command;
};

const TReader Readers[] = {
    {"Pillow", "/usr/bin/python3",
     "/usr/bin/python3 -c 'import sys; from PIL import Image; "
     "sys.stdout.buffer.write(Image.open(sys.argv[1]).convert(\"RGB\").tobytes())'"},
    {"ImageMagick", "/usr/bin/convert", "/usr/bin/convert -depth 8 bmp:- rgb:- <"},
};

TEST(BmpExchange, ExportedFilesOpenWithTheirPixelsInIndependentReaders) {
  auto Sprite = MakeSprite(256, 256);
  for (int W = 0; W < 65536; ++W) Sprite->PixelData()[W] = std::uint16_t(W * 7919);
  TTempDir Dir;
  int ReadersRun = 0;
  for (const TReader& Reader : Readers) {
    if (!std::filesystem::exists(Reader.Program)) continue;
    for (int Filter : {ExportFilter24Bit, ExportFilter16Bit, ExportFilter8Bit}) {
      const auto Bitmap = MakeExportBitmap(*Sprite, Filter);
      const std::string Path = Dir.File("export" + std::to_string(Filter) + ".bmp");
      SaveBmpFile(*Bitmap, Path);
      const TBytes Rgb = ReadWith(Reader.Command, Path);
      if (Rgb.empty()) continue;  // the reader is there but cannot read BMP
      ++ReadersRun;
      ASSERT_EQ(Rgb.size(), 65536u * 3) << Reader.Name << " " << Filter;
      for (int I = 0; I < 65536; ++I) {
        const std::uint8_t* P = &Rgb[std::size_t(I) * 3];
        const TColour Expected = Bitmap->GetPixel(I % 256, I / 256);
        if (Filter == ExportFilter16Bit) {
          // Readers widen 5 and 6 bits their own ways; the stored fields stay in the top bits.
          const std::uint16_t Word = Sprite->PixelData()[I];
          ASSERT_EQ((P[0] >> 3) << 11 | (P[1] >> 2) << 5 | P[2] >> 3, Word)
              << Reader.Name << " pixel " << I;
        } else {
          ASSERT_EQ(MakeColour(P[0], P[1], P[2]), Expected)
              << Reader.Name << " " << Filter << " pixel " << I;
        }
      }
    }
  }
  if (ReadersRun == 0) GTEST_SKIP() << "neither Pillow nor ImageMagick is installed";
}

TEST(BmpExchange, EveryGoodSuiteFileImportsWithTheColoursQtReadsInIt) {
  int Files = 0;
  for (const auto& Entry : std::filesystem::directory_iterator(PELBROOK_TESTDATA "/bmpsuite/g")) {
    const std::string Path = Entry.path().string();
    const auto FileBitmap = LoadBmpFile(Path);
    const auto Sprite = SpriteFromImportedBitmap(*FileBitmap);
    const QImage Reference =
        QImage(QString::fromStdString(Path)).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(Sprite->Width(), Reference.width()) << Path;
    ASSERT_EQ(Sprite->Height(), Reference.height()) << Path;
    for (int Y = 0; Y < Reference.height(); ++Y)
      for (int X = 0; X < Reference.width(); ++X) {
        const QRgb C = Reference.pixel(X, Y);
        const std::uint16_t Word = Sprite->PixelData()[Y * Sprite->Width() + X];
        // Qt widens 5 and 6 bits by shifting: the file's fields are its colour's top bits.
        const int R5 = qRed(C) >> 3, G6 = qGreen(C) >> 2, B5 = qBlue(C) >> 3;
        if (FileBitmap->PixelFormat() == TPixelFormat::pf16bit) {
          ASSERT_EQ(Word, R5 << 11 | G6 << 5 | B5) << Path;
          continue;
        }
        if (FileBitmap->PixelFormat() == TPixelFormat::pf15bit) {
          ASSERT_EQ(Word & 0xF81F, R5 << 11 | B5) << Path;
          ASSERT_EQ(Word >> 6 & 0x1F, G6 >> 1) << Path;
          continue;
        }
        const std::uint16_t Narrowed = ColourToWord565(MakeColour(qRed(C), qGreen(C), qBlue(C)));
        ASSERT_EQ(Word == 0, (C & 0xFFFFFF) == 0) << Path << " at " << X << ", " << Y;
        if (Narrowed != 0) {
          ASSERT_EQ(Word, Narrowed) << Path << " at " << X << ", " << Y;
        }
      }
    ++Files;
  }
  EXPECT_EQ(Files, 27);
}

}  // namespace
