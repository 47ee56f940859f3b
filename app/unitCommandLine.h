#pragma once
// The editor's command line: sprite files to open (the first of them, after start-up),
// --help and --version.

#include <optional>
#include <string>
#include <vector>

// Qt takes its own options (-platform and the like) out of the words when the application
// starts, which needs a window system: before that only --help and --version are answered,
// so that they work where there is no display.
enum class TCommandLinePhase { BeforeWindowSystem, AfterWindowSystem };

struct TCommandLine {
  std::string FileToOpen;         // absolute; empty when none is named
  std::optional<int> ExitStatus;  // the program ends at once with it, after Message
  std::string Message;            // for standard output when ExitStatus is 0, else standard error
};

// Arguments as the program got them, its name first, in the bytes of the file system's names:
// a file's name need not be valid in any encoding.
TCommandLine ParseCommandLine(const std::vector<std::string>& Arguments, TCommandLinePhase Phase);
