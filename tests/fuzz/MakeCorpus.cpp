// Writes the seed corpora of the fuzz targets, OUT/s16, OUT/spr, OUT/bmp, OUT/png,
// OUT/registry and OUT/atlas: valid files of every kind the readers take, and the BMP Suite images
// when their folder is there; and OUT/hostile, files made to exhaust memory or time.

#include <cstdio>
#include <exception>
#include <filesystem>

#include <zlib.h>

#include "imaging/unitSpriteSheet.h"
#include "platform/unitBmpCodec.h"
#include "platform/unitRegistryStore.h"
#include "sprites/unitBitmapRoutes.h"
#include "sprites/unitSpriteFileRoutes.h"
#include "tests/support/RawPng.h"
#include "tests/support/SpriteFactory.h"

namespace {

namespace fs = std::filesystem;

// Black, near-black, pure and mixed colours, an empty sprite and a larger gradient.
void FillDocument(TS16File& File) {
  File.Add(MakeSprite(3, 2, {0, 0x0001, 0x0020, 0xF800, 0x07E0, 0xFFFF}));
  File.Add(MakeSprite(1, 1, {0x2104}));
  File.Add(MakeSprite(0, 5));
  TWords Gradient(16 * 8);
  for (std::size_t I = 0; I < Gradient.size(); ++I) Gradient[I] = std::uint16_t(I * 517);
  File.Add(MakeSprite(16, 8, Gradient));
}

void WriteSpriteFiles(const fs::path& Out) {
  TS16File File, Empty;
  FillDocument(File);
  TNoProgress None;
  SaveDocument(File, SaveFormatS16_565, (Out / "s16" / "565.s16").string(), None);
  SaveDocument(File, SaveFormatS16_555, (Out / "s16" / "555.s16").string(), None);
  SaveDocument(Empty, SaveFormatS16_565, (Out / "s16" / "empty.s16").string(), None);
  SaveDocument(File, SaveFormatSpr, (Out / "spr" / "sprites.spr").string(), None);
  SaveDocument(Empty, SaveFormatSpr, (Out / "spr" / "empty.spr").string(), None);
  // A file cut short inside its pixels, and two entries naming one block.
  const TBytes Whole = ReadBytes((Out / "s16" / "565.s16").string());
  WriteBytes((Out / "s16" / "cut.s16").string(), TBytes(Whole.begin(), Whole.end() - 7));
  WriteBytes((Out / "spr" / "shared.spr").string(),
             TLeBytes().U16(2).U32(18).U16(2).U16(1).U32(18).U16(1).U16(2).U16(0x0710).Bytes);
}

void WriteBmpFiles(const fs::path& Out, const fs::path& Suite, const TS16File& File) {
  const TS16Sprite& Sprite = File.GetSprite(3);
  for (const auto& [Name, Filter] :
       {std::pair{"sprite-24.bmp", ExportFilter24Bit},
        std::pair{"sprite-16.bmp", ExportFilter16Bit}, std::pair{"sprite-8.bmp", ExportFilter8Bit}})
    SaveBmpFile(*MakeExportBitmap(Sprite, Filter), (Out / "bmp" / Name).string());
  if (!fs::is_directory(Suite)) return;
  for (const auto& Entry : fs::recursive_directory_iterator(Suite))
    if (Entry.path().extension() == ".bmp")
      fs::copy_file(Entry.path(),
                    Out / "bmp" /
                        (Entry.path().parent_path().filename().string() + "-" +
                         Entry.path().filename().string()),
                    fs::copy_options::overwrite_existing);
}

// Every colour type at every bit depth it allows, plain and interlaced; the chunks beside the
// pixels; the smallest picture; and headers claiming far more than their data.
void WritePngFiles(const fs::path& Out) {
  const auto Write = [&](const std::string& Name, const TPngBytes& Bytes) {
    WriteBytes((Out / "png" / (Name + ".png")).string(), Bytes);
  };
  const std::pair<int, std::vector<int>> Depths[] = {
      {0, {1, 2, 4, 8, 16}}, {2, {8, 16}}, {3, {1, 2, 4, 8}}, {4, {8, 16}}, {6, {8, 16}}};
  for (const auto& [Type, Bits] : Depths)
    for (const int Depth : Bits)
      for (const bool Interlaced : {false, true})
        Write("type" + std::to_string(Type) + "-" + std::to_string(Depth) +
                  (Interlaced ? "-interlaced" : ""),
              MakeRawPng(13, 11, Depth, Type, Interlaced));
  const TPngBytes Text = {'T', 'i', 't', 'l', 'e', 0, 'a', ' ', 's', 'p', 'r', 'i', 't', 'e'};
  TPngBytes Compressed = {'T', 'i', 't', 'l', 'e', 0, 0};
  const TPngBytes Deflated = ZlibStored({'a', ' ', 's', 'p', 'r', 'i', 't', 'e'});
  Compressed.insert(Compressed.end(), Deflated.begin(), Deflated.end());
  TPngBytes Profile = {'s', 'R', 'G', 'B', 0, 0};
  const TPngBytes Icc = ZlibStored(TPngBytes(132, 0));
  Profile.insert(Profile.end(), Icc.begin(), Icc.end());
  Write("type3-trns", MakeRawPng(5, 4, 8, 3, false, {{"tRNS", {0, 128, 255}}}));
  Write("type0-trns", MakeRawPng(5, 4, 8, 0, false, {{"tRNS", {0, 37}}}));
  Write("type2-trns", MakeRawPng(5, 4, 8, 2, false, {{"tRNS", {0, 37, 0, 74, 0, 111}}}));
  Write("text", MakeRawPng(5, 4, 8, 2, false, {{"tEXt", Text}}));
  Write("ztxt", MakeRawPng(5, 4, 8, 6, false, {{"zTXt", Compressed}}));
  Write("iccp", MakeRawPng(5, 4, 8, 2, false, {{"iCCP", Profile}}));
  Write("1x1", MakeRawPng(1, 1, 8, 6));
  Write("claims-2147483647-squared", TRawPng()
                                         .Header(0x7FFFFFFF, 0x7FFFFFFF, 8, 2)
                                         .Chunk("IDAT", ZlibStored({0, 1, 2, 3}))
                                         .End()
                                         .Bytes);
  Write("claims-65536-by-1",
        TRawPng().Header(65536, 1, 1, 0).Chunk("IDAT", ZlibStored({0, 0})).End().Bytes);
  Write("text-claiming-2gb", TextClaiming2Gb());
  // Huffman blocks, as encoders write the data, for the band reader's inflate.
  for (const int Type : {2, 4, 6}) {
    const TPngBytes Rows = PngRows(40, 30, 8, Type, false);
    TPngBytes Stream(compressBound(uLong(Rows.size())));
    uLongf Size = uLongf(Stream.size());
    compress2(Stream.data(), &Size, Rows.data(), uLong(Rows.size()), 9);
    Stream.resize(Size);
    Write("type" + std::to_string(Type) + "-deflated",
          TRawPng().Header(40, 30, 8, Type).Chunk("IDAT", Stream).End().Bytes);
  }
}

TBytes SprFile(int Count, std::uint32_t Offset, int Width, int Height, std::size_t PixelBytes) {
  TLeBytes Bytes;
  Bytes.U16(std::uint16_t(Count));
  for (int I = 0; I < Count; ++I)
    Bytes.U32(Offset).U16(std::uint16_t(Width)).U16(std::uint16_t(Height));
  Bytes.Bytes.resize(Bytes.Bytes.size() + PixelBytes, 9);
  return Bytes.Bytes;
}

TBytes S16File(int Count, int Width, int Height) {
  TLeBytes Bytes;
  Bytes.U32(1).U16(std::uint16_t(Count));
  for (int I = 0; I < Count; ++I) Bytes.U32(0).U16(std::uint16_t(Width)).U16(std::uint16_t(Height));
  return Bytes.Bytes;
}

// An 8-bit RLE picture whose data are end-of-line codes.
TBytes Rle8Bmp(int Width, int Height, std::size_t DataBytes) {
  const std::uint32_t PixelOffset = 14 + 40 + 1024;
  TLeBytes Bytes;
  Bytes.U16(0x4D42).U32(std::uint32_t(PixelOffset + DataBytes)).U32(0).U32(PixelOffset);
  Bytes.U32(40).U32(std::uint32_t(Width)).U32(std::uint32_t(Height)).U16(1).U16(8).U32(1);
  Bytes.U32(std::uint32_t(DataBytes)).U32(0).U32(0).U32(0).U32(0);
  Bytes.Bytes.resize(Bytes.Bytes.size() + 1024 + DataBytes, 0);
  return Bytes.Bytes;
}

// Files made to hurt, too large to seed the fuzzers with: the memory test opens them as well.
void WriteHostileFiles(const fs::path& Out) {
  const auto Write = [&](const char* Name, const TBytes& Bytes) {
    WriteBytes((Out / "hostile" / Name).string(), Bytes);
  };
  Write("3000-entries-naming-one-600kb-block.spr", SprFile(3000, 24002, 775, 775, 775 * 775));
  Write("ffff.spr", {0xFF, 0xFF});
  Write("65535-sprites-without-size.spr", SprFile(65535, 0, 0, 0, 0));
  Write("pixels-beyond-the-end.spr", SprFile(1, 0xFFFFFFF0, 4, 4, 0));
  Write("directory-of-terabytes.s16", S16File(65535, 65535, 65535));
  Write("cut-short-by-64mib.s16", S16File(1, 4096, 8192));
  Write("rle8-16384-by-16384-in-263kb.bmp", Rle8Bmp(16384, 16384, 269000));
  Write("text-chunk-claiming-2gb-in-70-bytes.png", TextClaiming2Gb());
}

bool WritePreferences(const fs::path& Out) {
  TRegistryStore Store((Out / "registry" / "preferences.reg").string());
  auto Key = Store.CreateKey(PreferencesKeyPath);
  if (!Key) return false;
  std::uint32_t Value = 25;
  for (std::string_view Name :
       {PreferenceName::ThumbnailSize, PreferenceName::FitIntoThumbnailWritten,
        PreferenceName::FasterResampleUpdate, PreferenceName::FasterResampleCode,
        PreferenceName::CopyFormat, PreferenceName::DisableThumbnailGeneration})
    if (!Key->WriteDword(Name, Value++)) return false;
  return true;
}

// The atlases of a sheet of the document, whole and trimmed, in both forms.
void WriteAtlasFiles(const fs::path& Out, const TS16File& File) {
  for (const bool Trim : {false, true}) {
    TSheetOptions Options;
    Options.Trim = Trim;
    TSheetAtlas Atlas = MakeSpriteSheet(File, 0, File.Count() - 1, Options).Atlas;
    Atlas.Image = "sheet.png";
    for (const TAtlasForm Form : {TAtlasForm::Hash, TAtlasForm::Array}) {
      const std::string Json = WriteSheetAtlas(Atlas, Form, "1");
      const std::string Name = std::string(Trim ? "trimmed-" : "whole-") +
                               (Form == TAtlasForm::Hash ? "hash" : "array") + ".json";
      WriteBytes((Out / "atlas" / Name).string(), TBytes(Json.begin(), Json.end()));
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: pelbrook-make-corpus OUT BMPSUITE-FOLDER\n");
    return 2;
  }
  try {
    const fs::path Out = argv[1];
    fs::remove_all(Out);
    for (const char* Kind : {"s16", "spr", "bmp", "png", "registry", "atlas", "hostile"})
      fs::create_directories(Out / Kind);
    WriteSpriteFiles(Out);
    TS16File File;
    FillDocument(File);
    WriteBmpFiles(Out, argv[2], File);
    WritePngFiles(Out);
    WriteAtlasFiles(Out, File);
    WriteHostileFiles(Out);
    if (!WritePreferences(Out)) throw std::runtime_error("Unable to write the preference file");
  } catch (const std::exception& Error) {
    std::fprintf(stderr, "%s\n", Error.what());
    return 1;
  }
  return 0;
}
