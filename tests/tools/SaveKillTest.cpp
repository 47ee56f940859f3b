// Saves killed at random moments: the file is always the old one or the complete new one, and
// no visible temporary file is left. 200 kills of a 50 MB save take about a minute, so the test
// runs only where PELBROOK_LONG_TESTS is set, as .ci/run sets it.

#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <random>
#include <thread>

#include "tests/support/SpriteFactory.h"
#include "tests/support/TempDir.h"

extern char** environ;

namespace {

using namespace std::chrono;

TBytes ReadWhole(const std::string& Path) {
  std::ifstream In(Path, std::ios::binary | std::ios::ate);
  TBytes Bytes(std::size_t(In.tellg()));
  In.seekg(0).read(reinterpret_cast<char*>(Bytes.data()), std::streamsize(Bytes.size()));
  return Bytes;
}

pid_t StartConvert(const std::string& From, const std::string& To) {
  std::string Words[] = {PELBROOK_TOOL, "convert", From, To};
  char* Argv[] = {Words[0].data(), Words[1].data(), Words[2].data(), Words[3].data(), nullptr};
  pid_t Pid = -1;
  return posix_spawn(&Pid, PELBROOK_TOOL, nullptr, nullptr, Argv, environ) == 0 ? Pid : -1;
}

TEST(SaveKill, LeavesTheOldFileOrTheWholeNewOne) {
  if (!std::getenv("PELBROOK_LONG_TESTS"))
    GTEST_SKIP() << "a long test: set PELBROOK_LONG_TESTS to run it";
  const auto Began = steady_clock::now();
  TTempDir Dir;
  // Two versions of a 50 MB document: 50 sprites of 1024 x 512 words.
  const std::string Versions[2] = {Dir.File("a.s16"), Dir.File("b.s16")};
  TBytes Bytes[2];
  for (int V = 0; V < 2; ++V) {
    TS16File File;
    for (int I = 0; I < 50; ++I)
      File.Add(MakeSprite(1024, 512, TWords(1024 * 512, std::uint16_t(0x1111 * (V + 1) + I))));
    File.SaveToFile(Versions[V]);
    Bytes[V] = ReadWhole(Versions[V]);
  }
  const std::string Target = Dir.File("target.s16");
  std::filesystem::copy_file(Versions[0], Target);

  // One whole save, so that the kills spread over its length and a little beyond.
  const auto Start = steady_clock::now();
  int Status = 0;
  ASSERT_EQ(waitpid(StartConvert(Versions[1], Target), &Status, 0) > 0 && Status == 0, true);
  const long WholeSave = duration_cast<microseconds>(steady_clock::now() - Start).count();
  int Current = 1;

  std::mt19937 Random(20240611);
  std::uniform_int_distribution<long> Moment(0, WholeSave * 6 / 5);
  int KeptOld = 0, TookNew = 0, LeftHidden = 0;
  for (int Trial = 0; Trial < 200; ++Trial) {
    const int Next = 1 - Current;
    const pid_t Save = StartConvert(Versions[Next], Target);
    ASSERT_GT(Save, 0);
    std::this_thread::sleep_for(microseconds(Moment(Random)));
    kill(Save, SIGKILL);
    waitpid(Save, &Status, 0);
    const TBytes Now = ReadWhole(Target);
    if (Now == Bytes[Next]) {
      ++TookNew;
      Current = Next;
    } else {
      ASSERT_TRUE(Now == Bytes[Current]) << "trial " << Trial << " left " << Now.size() << " bytes";
      ++KeptOld;
    }
    int Hidden = 0;
    for (const std::string& Name : Dir.Entries()) {
      if (Name == "a.s16" || Name == "b.s16" || Name == "target.s16") continue;
      ASSERT_TRUE(Name.starts_with(".pelbrook-")) << "trial " << Trial << ": " << Name;
      ++Hidden;
    }
    EXPECT_LE(Hidden, 1) << "each save removes what the one killed before it left";
    LeftHidden += Hidden;
  }
  EXPECT_GT(KeptOld, 0);
  EXPECT_GT(TookNew, 0);
  std::cout << "200 killed saves of " << Bytes[0].size() << " bytes (a whole save "
            << WholeSave / 1000 << " ms): " << KeptOld << " left the old file, " << TookNew
            << " the new one, " << LeftHidden << " a hidden temporary file; "
            << duration_cast<seconds>(steady_clock::now() - Began).count() << " s in all\n";
}

}  // namespace
