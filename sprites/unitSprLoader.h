#pragma once
// Tamblings 1 .spr files: 8-bit pixels indexing the fixed palette. Sprites are read one at a
// time from the file's bytes into one shared 8-bit bitmap; the writer converts the document's
// 5-6-5 sprites.

#include <cstdint>
#include <functional>
#include <span>
#include <string>

#include "platform/unitBitmap.h"
#include "platform/unitLargeBlocks.h"
#include "platform/unitWindowServices.h"
#include "sprites/unitProgress.h"
#include "sprites/unitS16Handler.h"

class TFileReader;

using TSprBytes = std::span<const std::uint8_t>;

// Each sprite is read from its own offset, so entries may share a pixel block and a small file
// could name one block thousands of times. The sprites of a file hold at most as many pixels as
// it has bytes after its directory, plus this many for blocks read more than once: the 64 MiB of
// 5-6-5 words an .s16 file may claim beyond its size.
constexpr std::uint64_t MaxSharedSprPixels = TS16File::MaxMissingPixelBytes / 2;

struct TSprEntry {
  std::uint32_t Offset;
  std::uint16_t Width, Height;
  std::uint64_t PixelCount() const { return std::uint64_t(Width) * Height; }
  bool InFile(std::uint64_t FileSize) const {
    return Offset <= FileSize && PixelCount() <= FileSize - Offset;
  }
};

// The pixels of an entry that has a size, as many bytes as it has pixels; raises EInOutError
// when they lie beyond the end of the file.
using TSprPixelSource = std::function<const std::uint8_t*(const TSprEntry&)>;

class TSprLoader {
 public:
  explicit TSprLoader(IWindowServices& Services);

  // Raises EInOutError when the file is too short to hold it.
  int ReadSprCount(TSprBytes File) const;
  // The shared bitmap holding sprite Index, valid until the next read; nullptr when the
  // sprite does not exist or has no size (the user has been told why, unless the reader is
  // quiet). Raises EInOutError when its entry or its pixels lie beyond the end of the file.
  const TBitmap* ReadSprSprite(TSprBytes File, int Index);
  // The same, given the file's first bytes through its directory, and its pixels from Pixels.
  const TBitmap* ReadSprSprite(TSprBytes Directory, int Index, const TSprPixelSource& Pixels);
  // A quiet reader does not tell the user about sprites without a size.
  void SetQuiet(bool Value) { FQuiet = Value; }

 private:
  IWindowServices& FServices;
  TBitmap FSharedBitmap{TPixelFormat::pf8bit};
  bool FQuiet = false;
};

// Raises EInOutError when entry Index lies beyond the end of the file.
TSprEntry ReadSprEntry(TSprBytes File, int Index);
// How many directory entries the file holds whole: the count, or fewer when it is cut short.
int SprEntriesInFile(TSprBytes File);
// The file's first bytes through its directory, or all of a file cut short before its end:
// what the readers above need besides the pixels. Raises EInOutError when it cannot be read.
TLargeBytes ReadSprDirectory(TFileReader& Reader);
// Raises ESpriteError, naming Path, when the sprites that the directory makes readable in a file
// of FileSize bytes hold more pixels than the bound above allows, so nothing is allocated for
// them.
void CheckSprPixelTotal(TSprBytes Directory, std::uint64_t FileSize, const std::string& Path);

// Writes File's sprites (5-6-5) to FileName as an .spr file, reporting progress per sprite.
void WriteSprFile(const TS16File& File, const std::string& FileName, IProgressReport& Progress);
