// Sprite and BMP files opened by pelbrook-tool within a 2 GiB address space, as a 32-bit process
// has: each one loads, or ends in a message and exit status 1, never in a signal.

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/CaseNames.h"
#include "tests/support/RawPng.h"
#include "tests/support/SpriteFactory.h"
#include "tests/support/ToolRunner.h"

namespace {

constexpr std::uint64_t TwoGiB = std::uint64_t(2) << 30;

// The limit leaves AddressSanitizer no room for its shadow memory.
#ifdef __SANITIZE_ADDRESS__
constexpr bool Sanitized = true;
#else
constexpr bool Sanitized = false;
#endif

// The fuzzers' seed corpora and the hostile files beside them, opened and previewed as either
// sprite format, and the BMP files imported.
TEST(CorpusFiles, LoadOrEndInAMessageWithinTheAddressSpace) {
  if (Sanitized) GTEST_SKIP() << "no room for the sanitizer's shadow memory";
  TTempDir Dir;
  int Files = 0;
  for (const auto& Entry : std::filesystem::recursive_directory_iterator(PELBROOK_CORPUS)) {
    if (!Entry.is_regular_file() || Entry.path().filename() == "made") continue;
    const std::string Path = Entry.path().string();
    ++Files;
    std::vector<std::vector<std::string>> Calls = {
        {"info", Path, "--from", "s16"},
        {"info", Path, "--from", "spr"},
        {"preview", Path, Dir.File("p.png"), "--from", "s16"},
        {"preview", Path, Dir.File("p.png"), "--from", "spr"}};
    if (Entry.path().extension() == ".bmp" || Entry.path().extension() == ".png")
      Calls.push_back({"import", Dir.File("o.s16"), Path});
    for (const auto& Args : Calls) {
      const TToolRun Run = RunToolWithin(TwoGiB, Args);
      EXPECT_TRUE(Run.Status == 0 || (Run.Status == 1 && !Run.Err.empty()))
          << Args[0] << ' ' << Args[1] << ' ' << Args[2] << ": " << Run.Status << ' ' << Run.Err;
    }
  }
  EXPECT_GE(Files, 10);
}

// The address space the tool needs to start and answer --help, to 2 MiB: its libraries'
// mappings, which depend on the build.
std::uint64_t StartingAddressSpace() {
  static const std::uint64_t Found = [] {
    std::uint64_t Low = std::uint64_t(8) << 20, High = TwoGiB;
    while (High - Low > (std::uint64_t(2) << 20)) {
      const std::uint64_t Middle = Low + (High - Low) / 2;
      (RunToolWithin(Middle, {"--help"}).Status == 0 ? High : Low) = Middle;
    }
    return High;
  }();
  return Found;
}

// A 4096 x 4096 sprite: 16 MiB of .spr pixels, 32 MiB of .s16 ones; each open needs at least
// twice that beyond what the tool starts with.
TEST(TooLargeFiles, FailTheOpenWithAMessage) {
  if (Sanitized) GTEST_SKIP() << "no room for the sanitizer's shadow memory";
  TTempDir Dir;
  const std::size_t Pixels = std::size_t(4096) * 4096;
  const auto WithPixels = [](TBytes File, std::size_t Bytes) {
    File.resize(File.size() + Bytes, 9);
    return File;
  };
  const struct {
    const char* Name;
    TBytes Bytes;
    std::uint64_t AddressSpace;
  } Cases[] = {
      // Count 1; offset 10, 4096 (0x1000) by 4096.
      {"big.spr", WithPixels({1, 0, 10, 0, 0, 0, 0, 16, 0, 16}, Pixels), std::uint64_t(24) << 20},
      // Flags 1, count 1; offset 14, 4096 by 4096.
      {"big.s16", WithPixels({1, 0, 0, 0, 1, 0, 14, 0, 0, 0, 0, 16, 0, 16}, 2 * Pixels),
       std::uint64_t(24) << 20}};
  for (const auto& [Name, Bytes, AddressSpace] : Cases) {
    WriteBytes(Dir.File(Name), Bytes);
    const TToolRun Run =
        RunToolWithin(StartingAddressSpace() + AddressSpace, {"info", Dir.File(Name)});
    EXPECT_EQ(Run.Status, 1) << Name;
    EXPECT_EQ(Run.Err, "pelbrook-tool: Not enough memory to open " + Dir.File(Name) + "\n");
  }
}

// Files far larger than the memory the tool may take, holding little or nothing it can use: each
// is read only as far as its format uses, so what it holds loads and the rest says why not.
struct TLargeFile {
  const char* Name;
  TBytes Start;                      // the rest of the file is a hole, read as zeros
  std::vector<std::string> Command;  // FILE stands for the file
  int Status;
  const char* Output;  // part of what the tool prints
};

class LargeFiles : public testing::TestWithParam<TLargeFile> {};

TEST_P(LargeFiles, AreReadOnlyAsFarAsTheFormatUses) {
  if (Sanitized) GTEST_SKIP() << "no room for the sanitizer's shadow memory";
  TTempDir Dir;
  const std::string Path = Dir.File(GetParam().Name);
  WriteBytes(Path, GetParam().Start);
  std::filesystem::resize_file(Path, std::uint64_t(3) << 30);
  std::vector<std::string> Args;
  for (const std::string& Arg : GetParam().Command)
    Args.push_back(Arg == "FILE" ? Path : Arg == "OUT" ? Dir.File("out.s16") : Arg);
  const TToolRun Run = RunToolWithin(StartingAddressSpace() + (std::uint64_t(64) << 20), Args);
  EXPECT_EQ(Run.Status, GetParam().Status) << Run.Err;
  EXPECT_NE((Run.Out + Run.Err).find(GetParam().Output), std::string::npos) << Run.Out << Run.Err;
}

TBytes SmallBmp() {
  TLeBytes Bmp;
  Bmp.U16(0x4D42).U32(58).U32(0).U32(54).U32(40).U32(1).U32(1).U16(1).U16(24).U32(0);
  Bmp.U32(4).U32(0).U32(0).U32(0).U32(0).U32(255);
  return Bmp.Bytes;
}

INSTANTIATE_TEST_SUITE_P(
    , LargeFiles,
    testing::Values(
        TLargeFile{"no-picture.bmp", {}, {"import", "OUT", "FILE"}, 1, "Not a BMP file"},
        TLargeFile{"small-picture-first.bmp", SmallBmp(), {"import", "OUT", "FILE"}, 0, ""},
        TLargeFile{
            "small-picture-first.png", MakeRawPng(2, 2, 8, 2), {"import", "OUT", "FILE"}, 0, ""},
        TLargeFile{"text-claiming-2gb.png",
                   TextClaiming2Gb(),
                   {"import", "OUT", "FILE"},
                   1,
                   "tEXt chunk ends beyond byte 1073741824"},
        // Count 1; offset 10, 1 by 1, one pixel. The bytes after it are none of the sprite's:
        // the tool goes on only when told to.
        TLargeFile{"one-sprite-first.spr",
                   {1, 0, 10, 0, 0, 0, 1, 0, 1, 0, 5},
                   {"info", "FILE", "--from", "spr", "--keep-going"},
                   0,
                   "\n0 1 1\n"}),
    [](const auto& Info) { return CaseName(Info.param.Name); });

}  // namespace
