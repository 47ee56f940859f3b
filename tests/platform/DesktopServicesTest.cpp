#include <gtest/gtest.h>

#include <fstream>

#include "tests/support/ScriptedDesktopServices.h"
#include "tests/support/TempDir.h"

// The cutter's sound beside the program in a build, in the data folder of an install.
TEST(DesktopServices, ADataFileIsFoundBesideTheProgramFirstThenWhereTheInstallPutsIt) {
  struct TCase {
    bool Beside, Installed;
    const char* Found;
  };
  for (const TCase& Case :
       {TCase{true, true, "bin/cutter.wav"}, TCase{false, true, "share/pelbrook/cutter.wav"},
        TCase{false, false, "bin/cutter.wav"}}) {
    TTempDir Dir;
    std::filesystem::create_directories(Dir.Path() / "bin");
    std::filesystem::create_directories(Dir.Path() / "share/pelbrook");
    if (Case.Beside) std::ofstream(Dir.Path() / "bin/cutter.wav") << "RIFF";
    if (Case.Installed) std::ofstream(Dir.Path() / "share/pelbrook/cutter.wav") << "RIFF";
    TScriptedDesktopServices Services(Dir.File("preferences.reg"));
    Services.ProgramFile = Dir.File("bin/pelbrook");
    EXPECT_EQ(Services.ProgramDataFilePath("cutter.wav"), Dir.File(Case.Found)) << Case.Found;
  }
}
