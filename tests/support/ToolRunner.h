#pragma once
// Runs the built pelbrook-tool as a user would, capturing its exit status and output.

#include <sys/wait.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/support/TempDir.h"

struct TToolRun {
  int Status = -1;
  std::string Out;
  std::string Err;
};

inline std::string ShellQuoted(const std::string& Word) {
  std::string Quoted = "'";
  for (char C : Word) {
    if (C == '\'')
      Quoted += "'\\''";
    else
      Quoted += C;
  }
  Quoted += '\'';
  return Quoted;
}

// Wrapper, when given, runs the tool: {"prlimit", "--fsize=1000"}; Tool, when given, is a copy
// of it to run. The exit status is -1, or above 128, when the tool was killed by a signal.
inline TToolRun RunTool(const std::vector<std::string>& Args,
                        const std::vector<std::string>& Wrapper = {},
                        const std::string& Tool = PELBROOK_TOOL) {
  TTempDir Capture;
  std::string Command;
  for (const std::string& Word : Wrapper) Command.append(ShellQuoted(Word)).append(" ");
  Command.append(ShellQuoted(Tool));
  for (const std::string& Arg : Args) Command.append(" ").append(ShellQuoted(Arg));
  Command.append(" >").append(ShellQuoted(Capture.File("out")));
  Command.append(" 2>").append(ShellQuoted(Capture.File("err")));
  const int Raw = std::system(Command.c_str());
  TToolRun Run;
  Run.Status = WIFEXITED(Raw) ? WEXITSTATUS(Raw) : -1;
  const TBytes Out = ReadBytes(Capture.File("out")), Err = ReadBytes(Capture.File("err"));
  Run.Out.assign(Out.begin(), Out.end());
  Run.Err.assign(Err.begin(), Err.end());
  return Run;
}

// With the process's address space limited to Bytes: memory it cannot have fails its requests.
inline TToolRun RunToolWithin(std::uint64_t Bytes, const std::vector<std::string>& Args) {
  return RunTool(Args, {"prlimit", "--as=" + std::to_string(Bytes)});
}
