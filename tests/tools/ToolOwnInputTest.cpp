// pelbrook-tool writing over its own input: a change another program made to the file while
// the tool worked is not written over. The tool is held in the middle of its work by its own
// output: a pipe of one page that the test reads only once the file was changed.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "tests/support/SheetArt.h"
#include "tests/support/TempDir.h"

extern char** environ;

namespace {

struct TOwnInputCase {
  std::string Label;
  bool ChangedMeanwhile;
};

void PrintTo(const TOwnInputCase& Case, std::ostream* Out) {
  *Out << Case.Label;
}

// A sheet of 1024 single pixels: the expansion prints about 70 KB, many pages more than the
// pipe holds.
TArt ManySprites() {
  TArt Art(65, std::string(65, '.'));
  for (int Y = 1; Y < 65; Y += 2)
    for (int X = 1; X < 65; X += 2) Art[std::size_t(Y)][std::size_t(X)] = 'a';
  return Art;
}

class ToolOwnInput : public testing::TestWithParam<TOwnInputCase> {};

TEST_P(ToolOwnInput, IsNotWrittenOverWhenAnotherProgramChangedIt) {
  TTempDir Dir;
  const std::string Path = Dir.File("sheet.s16"), Err = Dir.File("err");
  TS16File File;
  File.Add(DrawSheet(ManySprites()));
  File.SaveToFile(Path);
  const TBytes Theirs = {1, 0, 0, 0};

  int Pipe[2];
  ASSERT_EQ(pipe(Pipe), 0);
  ASSERT_EQ(fcntl(Pipe[1], F_SETPIPE_SZ, 4096), 4096);
  posix_spawn_file_actions_t Actions;
  posix_spawn_file_actions_init(&Actions);
  posix_spawn_file_actions_adddup2(&Actions, Pipe[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&Actions, Pipe[0]);
  posix_spawn_file_actions_addopen(&Actions, STDERR_FILENO, Err.c_str(), O_WRONLY | O_CREAT, 0644);
  std::string Words[] = {PELBROOK_TOOL, "expand", Path, "0", Path};
  char* Argv[] = {Words[0].data(), Words[1].data(), Words[2].data(),
                  Words[3].data(), Words[4].data(), nullptr};
  pid_t Tool = -1;
  ASSERT_EQ(posix_spawn(&Tool, PELBROOK_TOOL, &Actions, nullptr, Argv, environ), 0);
  posix_spawn_file_actions_destroy(&Actions);
  close(Pipe[1]);

  // A full pipe: the tool has read the file and is cutting it.
  int Waiting = 0;
  const auto GaveUp = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (ioctl(Pipe[0], FIONREAD, &Waiting) == 0 && Waiting < 4096 &&
         std::chrono::steady_clock::now() < GaveUp)
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  ASSERT_EQ(Waiting, 4096) << "the tool never filled its output";
  if (GetParam().ChangedMeanwhile) WriteBytes(Path, Theirs);
  char Sink[4096];
  while (read(Pipe[0], Sink, sizeof(Sink)) > 0) {
  }
  close(Pipe[0]);
  int Status = 0;
  ASSERT_EQ(waitpid(Tool, &Status, 0), Tool);

  const TBytes Error = ReadBytes(Err);
  if (GetParam().ChangedMeanwhile) {
    EXPECT_EQ(WEXITSTATUS(Status), 1);
    EXPECT_EQ(std::string(Error.begin(), Error.end()),
              "pelbrook-tool: Unable to save to: " + Path + ": " + Path +
                  " has been changed by another program since it was read\n");
    EXPECT_EQ(ReadBytes(Path), Theirs);
  } else {
    EXPECT_EQ(WEXITSTATUS(Status), 0) << std::string(Error.begin(), Error.end());
    TS16File Cut;
    Cut.LoadFromFile(Path);
    EXPECT_EQ(Cut.Count(), 1024);
  }
}

INSTANTIATE_TEST_SUITE_P(Tool, ToolOwnInput,
                         testing::Values(TOwnInputCase{"ChangedMeanwhile", true},
                                         TOwnInputCase{"Untouched", false}),
                         [](const auto& Info) { return Info.param.Label; });

}  // namespace
