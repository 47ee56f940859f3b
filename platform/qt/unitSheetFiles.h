#pragma once
// Sprite sheets in files: the PNG of the sheet, black transparent as in every PNG export, and
// its JSON atlas, for "Export Sprite Sheet…", "Import Sprite Sheet…" and pelbrook-tool's pack
// and unpack.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "imaging/unitSpriteSheet.h"

// Larger than the atlas of every sprite a file may hold, with long names; bounds what an atlas
// from outside may make the reader take.
constexpr std::uint64_t MaxAtlasFileSize = std::uint64_t(64) << 20;

// The atlas's path for a sheet's: the same name with ".json" in place of its extension.
std::string AtlasPathFor(const std::string& SheetPath);
// The sheet an atlas names (meta.image), in the atlas's folder unless it names another path.
std::string SheetPathOf(const std::string& AtlasPath, const TSheetAtlas& Atlas);

// Writes the sheet of sprites First to Last and its atlas, naming the sheet by its file name.
// Replaces the files only once both new ones are written.
void SaveSpriteSheet(const TS16File& File, int First, int Last, const TSheetOptions& Options,
                     TAtlasForm Form, const std::string& SheetPath, const std::string& AtlasPath,
                     const std::string& Version);

// Reads an atlas file; raises an error that says why it does not read.
TSheetAtlas LoadSheetAtlas(const std::string& AtlasPath);
// The sprites of Atlas's frames cut from the PNG at SheetPath, a pixel less than half opaque
// as black; raises an error that says why.
std::vector<std::unique_ptr<TS16Sprite>> LoadSheetSprites(const std::string& SheetPath,
                                                          const TSheetAtlas& Atlas);
