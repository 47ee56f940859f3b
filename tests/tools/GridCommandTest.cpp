// pelbrook-tool grid: the editor's Cut by Grid on one sprite of a file, written to another.

#include <gtest/gtest.h>

#include "imaging/unitGridCut.h"
#include "sprites/unitSpriteFileRoutes.h"
#include "tests/support/CaseNames.h"
#include "tests/support/SpriteFactory.h"
#include "tests/support/ToolRunner.h"

namespace {

// A 1 x 1 sprite, then a 5 x 2 sheet of two 2 x 2 cells a column apart (the left one black,
// the right one not), then another 1 x 1 sprite.
std::string WriteSheetFile(TTempDir& Dir) {
  TS16File File;
  File.Add(MakeSprite(1, 1, {0x1111}));
  File.Add(MakeSprite(5, 2,
                      {0, 0, 0x8410, 3, 4,  //
                       0, 0, 0x8410, 0, 0}));
  File.Add(MakeSprite(1, 1, {0x2222}));
  const std::string Path = Dir.File("sheet.s16");
  File.SaveToFile(Path);
  return Path;
}

struct TGridRun {
  const char* Name;
  std::vector<std::string> Options;  // after IN INDEX OUT
  int Status;
  std::string Out;     // the start of standard output, or of standard error on failure
  TGridSpec Editor{};  // on success, what the editor cuts to give the same file
  int SaveFormat = SaveFormatS16_565;
};

class GridCommand : public testing::TestWithParam<TGridRun> {};

TEST_P(GridCommand, WritesWhatTheEditorCutsOrFailsWritingNothing) {
  const TGridRun& Case = GetParam();
  TTempDir Dir;
  const std::string In = WriteSheetFile(Dir), Out = Dir.File("cut.s16");
  std::vector<std::string> Args = {"grid", In, "1", Out};
  Args.insert(Args.end(), Case.Options.begin(), Case.Options.end());
  const TToolRun Run = RunTool(Args);
  EXPECT_EQ(Run.Status, Case.Status) << Run.Err;
  if (Case.Status != 0) {
    EXPECT_EQ(Run.Err.rfind("pelbrook-tool: " + Case.Out, 0), 0u) << Run.Err;
    EXPECT_FALSE(std::filesystem::exists(Out));
    return;
  }
  EXPECT_EQ(Run.Out, Case.Out);
  TS16File File;
  ASSERT_TRUE(File.LoadFromFile(In));
  CutByGrid(File, 1, Case.Editor);
  TNoProgress None;
  SaveDocument(File, Case.SaveFormat, Dir.File("editor.s16"), None);
  EXPECT_EQ(ReadBytes(Out), ReadBytes(Dir.File("editor.s16")));
}

INSTANTIATE_TEST_SUITE_P(
    Runs, GridCommand,
    testing::Values(
        TGridRun{"SkipsEmptyCells",
                 {"--cell", "2x2", "--spacing", "1"},
                 0,
                 "Cut by Grid: 1 sprite in place of sprite 1\n",
                 {2, 2, 0, 1, true}},
        TGridRun{"KeepsEmptyCellsWhenTold",
                 {"--cell", "2X2", "--spacing", "1", "--keep-empty", "--to", "s16-555"},
                 0,
                 "Cut by Grid: 2 sprites in place of sprite 1\n",
                 {2, 2, 0, 1, false},
                 SaveFormatS16_555},
        TGridRun{"MarginFromTheTopLeft",
                 {"--cell", "1x1", "--margin", "1", "--keep-empty"},
                 0,
                 "Cut by Grid: 4 sprites in place of sprite 1\n",
                 {1, 1, 1, 0, false}},
        TGridRun{"CellWithoutHeight", {"--cell", "2"}, 2, "grid: --cell takes WIDTHxHEIGHT"},
        TGridRun{"NoCell", {}, 2, "grid: --cell takes WIDTHxHEIGHT"},
        TGridRun{"ZeroCell", {"--cell", "0x2"}, 2, "grid: --cell's width and height must be"},
        TGridRun{"NegativeSpacing",
                 {"--cell", "1x1", "--spacing", "-1"},
                 2,
                 "grid: --margin and --spacing cannot be negative"},
        TGridRun{
            "NoWholeCell", {"--cell", "6x1"}, 1, "No whole cell of the grid fits in the sprite"},
        TGridRun{"EveryCellBlack",
                 {"--cell", "2x1", "--spacing", "3"},
                 1,
                 "Every cell of the grid is entirely black"}),
    [](const auto& Info) { return CaseName(Info.param.Name); });

}  // namespace
