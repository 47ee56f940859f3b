#include <gtest/gtest.h>

#include <filesystem>

#include "app/unitCommandLine.h"

namespace {

struct TCommandLineCase {
  std::string Name;
  std::vector<std::string> Words;  // after the program's name
  TCommandLinePhase Phase;
  std::optional<int> ExitStatus;
  std::string MessageHas;  // when ExitStatus is set
  std::string FileToOpen;  // relative to the working folder; "" for none
};

class CommandLine : public testing::TestWithParam<TCommandLineCase> {};

TEST_P(CommandLine, AnswersHelpAndVersionAtOnceAndOpensTheFirstFileNamed) {
  const TCommandLineCase& Case = GetParam();
  std::vector<std::string> Arguments = {"pelbrook"};
  Arguments.insert(Arguments.end(), Case.Words.begin(), Case.Words.end());
  const TCommandLine Line = ParseCommandLine(Arguments, Case.Phase);
  EXPECT_EQ(Line.ExitStatus, Case.ExitStatus);
  if (Case.ExitStatus) {
    EXPECT_NE(Line.Message.find(Case.MessageHas), std::string::npos) << Line.Message;
  }
  EXPECT_EQ(Line.FileToOpen, Case.FileToOpen.empty()
                                 ? ""
                                 : (std::filesystem::current_path() / Case.FileToOpen).string());
}

const auto Before = TCommandLinePhase::BeforeWindowSystem;
const auto After = TCommandLinePhase::AfterWindowSystem;

INSTANTIATE_TEST_SUITE_P(
    , CommandLine,
    testing::Values(
        TCommandLineCase{"Help", {"a.s16", "--help"}, Before, 0, "[FILE...]", ""},
        TCommandLineCase{
            "VersionAmongQtsOptions", {"-platform", "offscreen", "-v"}, Before, 0, "\n", ""},
        // Qt's own words are not yet taken out: nothing else is judged before the window system.
        TCommandLineCase{"QtsOptionsWait", {"-reverse", "a.s16"}, Before, std::nullopt, "", ""},
        TCommandLineCase{"NoFile", {}, After, std::nullopt, "", ""},
        TCommandLineCase{
            "FirstOfSeveral", {"sheets/a.SPR", "b.s16"}, After, std::nullopt, "", "sheets/a.SPR"},
        // Named in Latin-1, as an older system wrote it: its bytes are no valid UTF-8.
        TCommandLineCase{"NameNotInUtf8",
                         {"--", "caf\xE9.s16", "caf\xE8.s16"},
                         After,
                         std::nullopt,
                         "",
                         "caf\xE9.s16"},
        TCommandLineCase{"UnknownOption",
                         {"--frobnicate", "a.s16"},
                         After,
                         2,
                         "Unknown option 'frobnicate'",
                         ""}),
    [](const auto& Info) { return Info.param.Name; });

}  // namespace
