// PNG files imported and exported a band of rows at a time must give the words and bytes of the
// route through Qt's whole image, for every kind of PNG and every damaged one.

#include <gtest/gtest.h>

#include <random>

#include "platform/png/unitPngRowReader.h"
#include "platform/png/unitPngRowWriter.h"
#include "platform/qt/unitImageImport.h"
#include "platform/qt/unitQtImageBridge.h"
#include "platform/qt/unitQtImageFiles.h"
#include "platform/unitPngChunks.h"
#include "sprites/unitBitmapRoutes.h"
#include "tests/support/CaseNames.h"
#include "tests/support/FileSizeLimit.h"
#include "tests/support/RawPng.h"
#include "tests/support/SpriteFactory.h"

namespace {

struct TPngKind {
  std::string Name;
  TPngBytes Bytes;
  bool ByRows;  // decoded a band of rows at a time; the other kinds go through Qt
};

void PrintTo(const TPngKind& Kind, std::ostream* Out) {
  *Out << Kind.Name;
}

// The sprite, or the error, of each route.
struct TImportResult {
  TWords Words;
  int Width = 0, Height = 0;
  std::string Error;
  friend bool operator==(const TImportResult&, const TImportResult&) = default;
};

template <class F>
TImportResult ResultOf(F&& Import) {
  TImportResult Result;
  try {
    const std::unique_ptr<TS16Sprite> Sprite = Import();
    Result.Words = SpriteWords(*Sprite);
    Result.Width = Sprite->Width();
    Result.Height = Sprite->Height();
  } catch (const std::exception& Error) {
    Result.Error = Error.what();
  }
  return Result;
}

class PngKinds : public testing::TestWithParam<TPngKind> {};

TEST_P(PngKinds, ImportAsQtsImageOfThemDoes) {
  const TPngKind& Kind = GetParam();
  const TImportResult ThroughQt = ResultOf([&] { return SpriteOfImage(DecodePng(Kind.Bytes)); });
  TTempDir Dir;
  const std::string Path = Dir.File("picture.png");
  WriteBytes(Path, Kind.Bytes);
  EXPECT_EQ(ResultOf([&] { return TImageImport(Path).MakeSprite(); }), ThroughQt);
  EXPECT_EQ(SpriteOfPngRows(PngForDecoding(Kind.Bytes).Bytes) != nullptr, Kind.ByRows);
}

// A noisy picture with black in it, as Qt compresses it: bands of rows over several IDAT
// chunks, inflated from Huffman blocks.
TPngBytes PngWrittenByQt(QImage::Format Format) {
  QImage Image(173, 150, Format);
  std::mt19937 Random(5);
  for (int Y = 0; Y < Image.height(); ++Y)
    for (int X = 0; X < Image.width(); ++X)
      Image.setPixel(X, Y, (X + Y) % 7 ? std::uint32_t(Random()) | 0x80000000u : 0);
  const QByteArray Png = EncodePng(Image);
  return TPngBytes(Png.begin(), Png.end());
}

// The zlib stream of the data of Png, and the chunks before it.
std::pair<TRawPng, TPngBytes> SplitAtData(const TPngBytes& Png) {
  TRawPng Before;
  TPngBytes Stream;
  for (std::size_t At = PngSignatureSize; At < Png.size();) {
    const TPngChunk Chunk = NextPngChunk(Png, At);
    if (Chunk.Is("IDAT"))
      Stream.insert(Stream.end(), Chunk.Data.begin(), Chunk.Data.end());
    else if (Stream.empty())
      Before.Chunk(Chunk.Type, {Chunk.Data.begin(), Chunk.Data.end()});
  }
  return {Before, Stream};
}

// Stream in IDAT chunks of the given sizes (the last takes the rest), then Extra and IEND.
TPngBytes Rechunked(const TPngBytes& Png, const std::vector<std::size_t>& Sizes,
                    const std::function<void(TPngBytes&)>& Change = {},
                    const std::string& Extra = "") {
  auto [Out, Stream] = SplitAtData(Png);
  if (Change) Change(Stream);
  std::size_t At = 0;
  for (const std::size_t Size : Sizes) {
    Out.Chunk("IDAT",
              {Stream.begin() + std::ptrdiff_t(At), Stream.begin() + std::ptrdiff_t(At + Size)});
    At += Size;
  }
  Out.Chunk("IDAT", {Stream.begin() + std::ptrdiff_t(At), Stream.end()});
  if (!Extra.empty()) Out.Chunk(Extra, {});
  return Out.End().Bytes;
}

// Files deflated as encoders write them, and their streams cut, split and damaged.
std::vector<TPngKind> DeflatedKinds() {
  const TPngBytes Rgba = PngWrittenByQt(QImage::Format_ARGB32);
  const TPngBytes Rgb = PngWrittenByQt(QImage::Format_RGB32);
  TPngBytes BadFilter = PngRows(29, 11, 8, 6, false);
  BadFilter[(1 + 29 * 4) * 3] = 5;  // the fourth row's
  const auto Flip = [](std::size_t FromEnd) {
    return [FromEnd](TPngBytes& Stream) { Stream[Stream.size() - FromEnd] ^= 0x10; };
  };
  return {
      {"RgbaWrittenByQt", Rgba, true},
      {"RgbWrittenByQt", Rgb, true},
      {"StreamHeaderSplitAndEmptyChunks", Rechunked(Rgba, {1, 0, 1, 0, 7, 3000}), true},
      {"WrongAdler32", Rechunked(Rgba, {}, Flip(1)), false},
      {"DamagedDeflateBlock", Rechunked(Rgba, {}, Flip(5000)), false},
      {"DataAfterTheStream", Rechunked(Rgba, {}, [](TPngBytes& S) { S.push_back(0); }), false},
      {"WindowUnder32KiB", Rechunked(Rgb, {}, [](TPngBytes& S) { S[0] = 0x68, S[1] = 0x81; }),
       false},
      {"EndWithAWrongCrc",
       [&] {
         TPngBytes Bytes = Rgb;
         Bytes.back() ^= 1;
         return Bytes;
       }(),
       false},
      {"ChunkAfterTheData", Rechunked(Rgb, {}, {}, "tRNS"), false},
      {"FilterTypeFive",
       TRawPng().Header(29, 11, 8, 6).Chunk("IDAT", ZlibStored(BadFilter)).End().Bytes, false},
  };
}

// Every colour type and bit depth, plain and interlaced, with transparency chunks, and files
// damaged where libpng and Qt must agree.
std::vector<TPngKind> PngKindCases() {
  std::vector<TPngKind> Kinds;
  const std::pair<int, std::vector<int>> Depths[] = {
      {0, {1, 2, 4, 8, 16}}, {2, {8, 16}}, {3, {1, 2, 4, 8}}, {4, {8, 16}}, {6, {8, 16}}};
  for (const auto& [Type, TypeDepths] : Depths)
    for (const int Depth : TypeDepths)
      for (const bool Interlaced : {false, true})
        Kinds.push_back({"Type" + std::to_string(Type) + "Depth" + std::to_string(Depth) +
                             (Interlaced ? "Interlaced" : ""),
                         MakeRawPng(29, 11, Depth, Type, Interlaced),
                         Depth == 8 && Type != 0 && Type != 3 && !Interlaced});
  Kinds.push_back({"RgbWithTransparentColour",
                   MakeRawPng(29, 11, 8, 2, false, {{"tRNS", {0, 37, 0, 74, 0, 111}}}), true});
  Kinds.push_back(
      {"GreyWithTransparentLevel", MakeRawPng(29, 11, 8, 0, false, {{"tRNS", {0, 37}}}), false});
  Kinds.push_back(
      {"PaletteWithAlpha", MakeRawPng(29, 11, 8, 3, false, {{"tRNS", {0, 128, 255}}}), false});
  TPngBytes WrongCrc = MakeRawPng(29, 11, 8, 6, false);
  WrongCrc[WrongCrc.size() - 13] ^= 1;  // the last byte of the data's CRC
  Kinds.push_back({"DataWithAWrongCrc", WrongCrc, false});
  const TPngBytes Rows = PngRows(29, 11, 8, 2, false);
  Kinds.push_back({"DataCutShort",
                   TRawPng()
                       .Header(29, 11, 8, 2)
                       .Chunk("IDAT", ZlibStored({Rows.begin(), Rows.begin() + 200}))
                       .End()
                       .Bytes,
                   false});
  Kinds.push_back(
      {"NoEnd", TRawPng().Header(29, 11, 8, 2).Chunk("IDAT", ZlibStored(Rows)).Bytes, false});
  for (auto& Kind : DeflatedKinds()) Kinds.push_back(std::move(Kind));
  return Kinds;
}

INSTANTIATE_TEST_SUITE_P(Files, PngKinds, testing::ValuesIn(PngKindCases()),
                         [](const auto& Info) { return CaseName(Info.param.Name); });

// Qt alone reads a 16-bit RGB picture with a transparent colour wrongly (shifted colours, a
// quarter of each row left unwritten): it must be the picture without the colour, where only
// the pixel of that colour is black. Every route reads PNGs of this kind through DecodePng.
TEST(PngOfRgb16, WithATransparentColourIsThePictureWithThatPixelBlack) {
  constexpr int Width = 7, Height = 3, Keyed = 9;
  TPngBytes Rows, Key;
  for (int Y = 0; Y < Height; ++Y) {
    Rows.push_back(0);
    for (int X = 0; X < Width; ++X)
      for (const int Channel : {1, 2, 3}) {
        const int Value = (Y * Width + X) * 997 * Channel % 65536;
        Rows.insert(Rows.end(), {std::uint8_t(Value >> 8), std::uint8_t(Value)});
      }
  }
  const auto Start = Rows.begin() + 1 + (Keyed / Width) * (1 + 6 * Width) + 6 * (Keyed % Width);
  Key.assign(Start, Start + 6);
  const auto Png = [&](bool WithKey) {
    TRawPng File;
    File.Header(Width, Height, 16, 2);
    if (WithKey) File.Chunk("tRNS", Key);
    return File.Chunk("IDAT", ZlibStored(Rows)).End().Bytes;
  };
  TWords Expected = SpriteWords(*SpriteOfImage(DecodePng(Png(false))));
  ASSERT_NE(Expected[Keyed], 0);
  Expected[Keyed] = 0;
  EXPECT_EQ(SpriteWords(*SpriteOfImage(DecodePng(Png(true)))), Expected);
}

struct TSpriteCase {
  const char* Name;
  int Width;
  int Height;
  int BlackEvery;  // every so many pixels black; 0 for none
};

class PngOfSprite : public testing::TestWithParam<TSpriteCase> {};

TEST_P(PngOfSprite, IsTheFileQtWritesOfItsImage) {
  const TSpriteCase& Case = GetParam();
  std::mt19937 Random(11);
  auto Sprite = MakeSprite(Case.Width, Case.Height);
  for (std::size_t I = 0; I < Sprite->PixelCount(); ++I)
    Sprite->PixelData()[I] =
        Case.BlackEvery && I % std::size_t(Case.BlackEvery) == 0 ? 0 : std::uint16_t(Random());
  TTempDir Dir;
  const std::string Path = Dir.File("sprite.png");
  SaveExportFile(*Sprite, ExportFilterPng, Path);
  const QByteArray Qt = EncodePng(ImageOfSprite(*Sprite));
  EXPECT_TRUE(ReadBytes(Path) == TBytes(Qt.begin(), Qt.end()));
}

INSTANTIATE_TEST_SUITE_P(Sprites, PngOfSprite,
                         testing::Values(TSpriteCase{"OneBlackPixel", 1, 1, 1},
                                         TSpriteCase{"OddWithBlack", 7, 5, 3},
                                         TSpriteCase{"Tall", 3, 3000, 0}),
                         [](const auto& Info) { return CaseName(Info.param.Name); });

TEST(PngOfSprite, ThatTheDiskCannotHoldFailsAsAnyFileAndLeavesNoFile) {
  IgnoreFileSizeSignal();
  auto Sprite = MakeSprite(300, 300, TWords(90000, 0x1234));
  TTempDir Dir;
  const std::string Path = Dir.File("sprite.png");
  const TBytes Large(4096, 1);
  const TFileSizeLimit Limit(1024);
  const std::string Expected =
      ErrorText<EInOutError>([&] { SaveWholeFile(Path, Large.data(), Large.size()); });
  EXPECT_EQ(ErrorText<EInOutError>([&] { SaveExportFile(*Sprite, ExportFilterPng, Path); }),
            Expected);
  EXPECT_FALSE(std::filesystem::exists(Path));
}

}  // namespace
