#pragma once
// The routes by which documents come from and go to sprite files, shared by the editor's
// Open and Save commands and by pelbrook-tool, so both read and write the same bytes.

#include <cstdint>
#include <string>
#include <vector>

#include "sprites/unitProgress.h"
#include "sprites/unitS16Handler.h"
#include "sprites/unitSprLoader.h"

// SaveFormat values: what "Save" writes.
constexpr int SaveFormatS16_565 = 1;
constexpr int SaveFormatS16_555 = 2;
constexpr int SaveFormatSpr = 3;
// The save dialog's filters, one per SaveFormat in its order.
inline constexpr const char* SaveFileFilter =
    "Tamblings 2 Sprite Files 16bit format  (*.s16)|*.s16|Tamblings 2 Sprite Files 15bit "
    "format  (*.s16)|*.s16|Tamblings 1 Sprite Files (*.spr)|*.spr";

// A name ending in .spr, in any case: what is opened as .spr when no filter says otherwise.
bool IsSprFileName(const std::string& Path);
// A name ending in .s16 or .spr, in any case.
bool IsSpriteFileName(const std::string& Path);

// How a sprite file's size compares with the bytes its directory accounts for.
struct TFileExtent {
  std::uint64_t Held = 0;   // the file's size
  std::uint64_t Named = 0;  // the directory and the pixels it names
  bool Whole() const { return Held == Named; }
  // "PATH holds 98 bytes, 2 fewer than its directory names; the pixels missing are black."
  std::string Text(const std::string& Path) const;
};

// Loads an .s16 file and holds it in 5-6-5; returns the SaveFormat of the file's layout. Raises
// ESpriteError when memory runs out.
// Extent, when given, tells whether the file is exactly what its directory names.
int OpenS16Document(TS16File& File, const std::string& Path, TFileExtent* Extent = nullptr);

// What an .spr open could not read: sprites left out, and how many of those the reader has told
// the user about with its own message (the first one at most).
struct TSprOpenResult {
  int Count = 0;  // the file's
  int LeftOut = 0;
  int Told = 0;
  // Every sprite read, and the file exactly its directory and the pixels it names.
  bool Whole = false;
  TFileExtent Extent;
  // "2 of the 5 sprites in PATH could not be read"
  std::string UnreadText(const std::string& Path) const;
  // The same, then " and were left out."
  std::string LeftOutText(const std::string& Path) const;
};
// The pixels of each .spr entry from Reader's file, read into Block.
TSprPixelSource SprPixelsOf(TFileReader& Reader, std::vector<std::uint8_t>& Block);
// The 5-6-5 sprite of an .spr sprite as the reader gives it.
std::unique_ptr<TS16Sprite> SpriteOfSprBitmap(const TBitmap& Bitmap);
// Reads an .spr file once and loads every sprite it can into 5-6-5 sprites; the reader tells the
// user about the first sprite it leaves out, and keeps quiet about the others. Raises EInOutError
// when the file or its count cannot be read, and ESpriteError when its sprites would hold far
// more pixels than the file justifies, or when memory runs out.
TSprOpenResult OpenSprDocument(TS16File& File, const std::string& Path, TSprLoader& Loader);
// Writes the document in SaveFormat; the document is in 5-6-5 again afterwards.
void SaveDocument(TS16File& File, int SaveFormat, const std::string& FileName,
                  IProgressReport& Progress);
