#include "platform/qt/unitSheetFiles.h"

#include <filesystem>

#include "platform/png/unitPngRowWriter.h"
#include "platform/qt/unitQtImageFiles.h"
#include "platform/unitFileIO.h"

std::string AtlasPathFor(const std::string& SheetPath) {
  return std::filesystem::path(SheetPath).replace_extension(".json").string();
}

std::string SheetPathOf(const std::string& AtlasPath, const TSheetAtlas& Atlas) {
  if (Atlas.Image.empty()) throw ESpriteError("The atlas names no sheet image (meta.image)");
  return (std::filesystem::path(AtlasPath).parent_path() / Atlas.Image).string();
}

void SaveSpriteSheet(const TS16File& File, int First, int Last, const TSheetOptions& Options,
                     TAtlasForm Form, const std::string& SheetPath, const std::string& AtlasPath,
                     const std::string& Version) {
  TSpriteSheet Sheet = MakeSpriteSheet(File, First, Last, Options);
  Sheet.Atlas.Image = std::filesystem::path(SheetPath).filename().string();
  const std::string Json = WriteSheetAtlas(Sheet.Atlas, Form, Version);
  // Both are written whole before either replaces its old file, so that a full disk leaves the
  // old pair, not a new sheet beside an old atlas.
  TSafeFileWriter Picture, Atlas;
  Picture.CreateOrThrow(SheetPath);
  WritePngOfSprite(*Sheet.Picture, Picture);
  Atlas.CreateOrThrow(AtlasPath);
  Atlas.Write(Json.data(), Json.size());
  Picture.Flush();
  Atlas.Flush();
  Picture.Commit();
  Atlas.Commit();
}

TSheetAtlas LoadSheetAtlas(const std::string& AtlasPath) {
  TFileReader Reader;
  Reader.OpenOrThrow(AtlasPath);
  if (Reader.Size() > MaxAtlasFileSize)
    throw ESpriteError("The atlas file is larger than " + std::to_string(MaxAtlasFileSize) +
                       " bytes");
  std::string Json(std::size_t(Reader.Size()), '\0');
  Reader.Read(Json.data(), Json.size());
  return ReadSheetAtlas(Json);
}

std::vector<std::unique_ptr<TS16Sprite>> LoadSheetSprites(const std::string& SheetPath,
                                                          const TSheetAtlas& Atlas) {
  TFileReader Reader;
  Reader.OpenOrThrow(SheetPath);
  if (!StartsAsPng(Reader)) throw ESpriteError("The sprite sheet is not a PNG file");
  const std::unique_ptr<TS16Sprite> Sheet = ReadPngSprite(Reader);
  return CutSpriteSheet(*Sheet, Atlas);
}
