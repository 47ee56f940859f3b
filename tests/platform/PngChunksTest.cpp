// The program's own walk over PNG chunks: what it refuses before any decoder sees the bytes,
// what it hands on, and how much of a file it reads.

#include <gtest/gtest.h>

#include "platform/unitFileIO.h"
#include "platform/unitPngChunks.h"
#include "tests/support/CaseNames.h"
#include "tests/support/RawPng.h"
#include "tests/support/SpriteFactory.h"

namespace {

const TPngBytes Good = MakeRawPng(3, 2, 8, 2);

TPngBytes Cut(TPngBytes Bytes, std::size_t Count) {
  Bytes.resize(Bytes.size() - Count);
  return Bytes;
}

TPngBytes WithData(const TPngBytes& Png, const TPngBytes& Data) {
  TPngBytes Bytes = Png;
  Bytes.insert(Bytes.end(), Data.begin(), Data.end());
  return Bytes;
}

struct TRefused {
  const char* Name;
  TPngBytes Bytes;
  const char* Reason;
};

class PngChunkRefusal : public testing::TestWithParam<TRefused> {};

TEST_P(PngChunkRefusal, BeforeAnyDecoderSeesTheBytes) {
  const std::string Text = ErrorText<EPngError>([&] { PngForDecoding(GetParam().Bytes); });
  EXPECT_NE(Text.find(GetParam().Reason), std::string::npos) << Text;
}

INSTANTIATE_TEST_SUITE_P(
    , PngChunkRefusal,
    testing::Values(TRefused{"TextClaiming2GbIn70Bytes", TextClaiming2Gb(),
                             "tEXt chunk at byte 33 claims 2147483647 bytes"},
                    TRefused{"DataCutShort", Cut(Good, 20), "IDAT chunk"},
                    TRefused{"LengthAbove2To31",
                             TRawPng().Header(1, 1, 8, 2).Chunk("IDAT", {}, 0x80000000).Bytes,
                             "claims 2147483648 bytes"},
                    TRefused{"HeaderCutShort", Cut(TRawPng().Header(1, 1, 8, 2).Bytes, 14),
                             "IHDR chunk at byte 8 claims 13 bytes"},
                    TRefused{"SignatureOnly", TRawPng().Bytes, "chunk at byte 8"},
                    TRefused{"NoHeaderFirst", TRawPng().Chunk("IDAT", {}).End().Bytes,
                             "PNG header"},
                    TRefused{"HeaderOfTheWrongLength",
                             TRawPng().Chunk("IHDR", TPngBytes(12)).End().Bytes, "PNG header"},
                    TRefused{"NoPng", {'B', 'M', 0, 0}, "no PNG"}),
    [](const auto& Info) { return CaseName(Info.param.Name); });

TEST(PngChunks, OnlyThePixelChunksGoOnWholeAndInOrder) {
  const TPngBytes Trns = {0, 1, 2};
  const TPngBytes Text = {'a', 0, 'b'};
  const TPngBytes Decorated = WithData(
      MakeRawPng(
          4, 3, 4, 3, true,
          {{"tEXt", Text}, {"tRNS", Trns}, {"zTXt", Text}, {"iCCP", Text}, {"gAMA", {0, 0, 0, 1}}}),
      {'a', 'f', 't', 'e', 'r'});
  const TPngForDecoding Png = PngForDecoding(Decorated);
  EXPECT_EQ(TPngBytes(Png.Bytes.begin(), Png.Bytes.end()),
            MakeRawPng(4, 3, 4, 3, true, {{"tRNS", Trns}}));
  EXPECT_EQ(Png.Header.Width, 4u);
  EXPECT_EQ(Png.Header.Height, 3u);
  EXPECT_EQ(Png.Header.BitDepth, 4);
  EXPECT_TRUE(Png.Header.IsIndexed());
  EXPECT_EQ(Png.Header.Interlace, 1);
}

TEST(PngChunks, AFileIsReadThroughItsEndChunkAndNoFurther) {
  TTempDir Dir;
  const std::string Path = Dir.File("a.png");
  WriteBytes(Path, WithData(Good, TPngBytes(1 << 20, 7)));
  TFileReader Reader;
  Reader.OpenOrThrow(Path);
  const TLargeBytes Bytes = ReadPngFile(Reader, Good.size());
  EXPECT_EQ(TPngBytes(Bytes.begin(), Bytes.end()), Good);
  EXPECT_THROW(ReadPngFile(Reader, Good.size() - 1), EPngError);

  WriteBytes(Path, TextClaiming2Gb());
  Reader.OpenOrThrow(Path);
  EXPECT_THROW(ReadPngFile(Reader, 1 << 20), EPngError);
}

}  // namespace
