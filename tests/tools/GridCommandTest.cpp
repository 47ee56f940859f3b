// pelbrook-tool grid: the editor's Cut by Grid on one sprite of a file, written to another.

#include <gtest/gtest.h>

#include "imaging/unitGridCut.h"
#include "sprites/unitSpriteFileRoutes.h"
#include "tests/support/CaseNames.h"
#include "tests/support/SpriteFactory.h"
#include "tests/support/ToolRunner.h"

namespace {

struct TGridRun {
  const char* Name;
  std::vector<std::string> Options;  // after IN 0 OUT
  int Status;
  std::string Out;       // standard output, or the start of standard error on failure
  TGridLayout Editor{};  // on success, what the editor cuts to give the same file
  int SaveFormat = SaveFormatS16_565;
};

class GridCommand : public testing::TestWithParam<TGridRun> {};

TEST_P(GridCommand, WritesWhatTheEditorCutsOrFailsWritingNothing) {
  const TGridRun& Case = GetParam();
  TTempDir Dir;
  // Two cells of 2 x 2 a column apart, the left one black, then a sprite of its own.
  TS16File File;
  File.Add(MakeSprite(5, 2, {0, 0, 0x8410, 3, 4, 0, 0, 0x8410, 0, 0}));
  File.Add(MakeSprite(1, 1, {0x2222}));
  const std::string In = Dir.File("sheet.s16"), Out = Dir.File("cut.s16");
  File.SaveToFile(In);
  std::vector<std::string> Args = {"grid", In, "0", Out};
  Args.insert(Args.end(), Case.Options.begin(), Case.Options.end());
  const TToolRun Run = RunTool(Args);
  EXPECT_EQ(Run.Status, Case.Status) << Run.Err;
  if (Case.Status != 0) {
    EXPECT_EQ(Run.Err.rfind("pelbrook-tool: " + Case.Out, 0), 0u) << Run.Err;
    EXPECT_FALSE(std::filesystem::exists(Out));
    return;
  }
  EXPECT_EQ(Run.Out, Case.Out);
  CutByGrid(File, 0, Case.Editor);
  TNoProgress None;
  SaveDocument(File, Case.SaveFormat, Dir.File("editor.s16"), None);
  EXPECT_EQ(ReadBytes(Out), ReadBytes(Dir.File("editor.s16")));
}

INSTANTIATE_TEST_SUITE_P(
    Runs, GridCommand,
    testing::Values(TGridRun{"SkipsEmptyCells",
                             {"--cell", "2x2", "--spacing", "1"},
                             0,
                             "Cut by Grid: 1 sprite in place of sprite 0\n",
                             {2, 2, 0, 1}},
                    TGridRun{"KeepsEmptyCellsWhenTold",
                             {"--cell", "1X1", "--margin", "1", "--keep-empty", "--to", "s16-555"},
                             0,
                             "Cut by Grid: 4 sprites in place of sprite 0\n",
                             {1, 1, 1, 0, false},
                             SaveFormatS16_555},
                    TGridRun{
                        "CellWithoutHeight", {"--cell", "2"}, 2, "grid: --cell takes WIDTHxHEIGHT"},
                    TGridRun{"NegativeSpacing",
                             {"--cell", "1x1", "--spacing", "-1"},
                             2,
                             "grid: --margin and --spacing cannot be negative"},
                    TGridRun{"EveryCellBlack",
                             {"--cell", "2x1", "--spacing", "3"},
                             1,
                             "Every cell of the grid is entirely black"}),
    [](const auto& Info) { return CaseName(Info.param.Name); });

}  // namespace
