// Any bytes loaded as an .s16 file either load or raise the model's or the platform's error.

#include <algorithm>

#include "platform/unitFileIO.h"
#include "sprites/unitSpriteFileRoutes.h"
#include "tests/fuzz/FuzzFile.h"

namespace {

// The reader makes up to 64 MiB of zeroes for a file cut short. Inputs that lack more than
// 1 MiB but stay within that bound take the path of smaller ones, only tens of milliseconds
// slower each: left out, the run keeps its speed. Claims past the bound still reach the reader.
bool LacksManyPixelsWithinTheBound(const std::uint8_t* Data, std::size_t Size) {
  if (Size < 6) return false;
  const std::size_t Count = Data[4] | std::size_t(Data[5]) << 8;
  const std::size_t DirectoryEnd = 6 + 8 * Count;
  if (Size < DirectoryEnd) return false;
  std::uint64_t Claimed = 0;
  for (std::size_t Entry = 6; Entry < DirectoryEnd; Entry += 8)
    Claimed += std::uint64_t(Data[Entry + 4] | Data[Entry + 5] << 8) *
               std::uint64_t(Data[Entry + 6] | Data[Entry + 7] << 8) * 2;
  const std::uint64_t Lacking = Claimed - std::min<std::uint64_t>(Claimed, Size - DirectoryEnd);
  return Lacking > (std::uint64_t(1) << 20) && Lacking <= TS16File::MaxMissingPixelBytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  if (LacksManyPixelsWithinTheBound(Data, Size)) return 0;
  const std::string& Path = WriteFuzzFile(Data, Size);
  TS16File File;
  try {
    OpenS16Document(File, Path);
  } catch (const ESpriteError&) {
  } catch (const EInOutError&) {
  }
  return 0;
}
