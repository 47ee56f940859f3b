// The window's save and export dialogs as a user types into them: a typed extension chooses
// what is written; the dialogs say what they do, start beside the open file and keep their
// filters from one run to the next.

#include <filesystem>

#include "sprites/unitBitmapRoutes.h"
#include "sprites/unitSpriteFileRoutes.h"
#include "tests/support/CaseNames.h"
#include "tests/support/WindowFixture.h"

namespace {

// What a file's first bytes say it is, for a document of one 3 x 2 sprite.
std::string WrittenKind(const std::string& Path) {
  const TBytes Bytes = ReadBytes(Path);
  if (Bytes.size() < 16) return "short";
  if (Bytes[0] == 'B' && Bytes[1] == 'M') return "BMP" + std::to_string(Bytes.at(28));
  if (Bytes[0] == 0x89 && Bytes[1] == 'P') return "PNG";
  const std::uint32_t First = Bytes[0] | Bytes[1] << 8 | Bytes[2] << 16 | Bytes[3] << 24;
  return First == 1 ? "S16_565" : First == 0 ? "S16_555" : First == 0x000A0001 ? "SPR" : "other";
}

struct TTypedCase {
  std::string Entry;
  std::string Typed;
  int Filter;
  std::string Written;  // the name
  std::string Kind;
};

class TypedNames : public TWindowTest, public testing::WithParamInterface<TTypedCase> {};

TEST_P(TypedNames, WriteWhatTheirExtensionSaysUnderAnyFilter) {
  const TTypedCase& Case = GetParam();
  Probe().Document().Add(MakeSprite(3, 2, TWords(6, 0x07E0)));
  Window->PopulateImageList();
  Probe().SelectItem(0);
  Services.DialogAnswers.push_back(TDialogAnswer{Dir.File(Case.Typed), Case.Filter});
  Run(Case.Entry);
  EXPECT_TRUE(Services.Shown.empty());
  EXPECT_EQ(WrittenKind(Dir.File(Case.Written)), Case.Kind);
  EXPECT_EQ(std::filesystem::exists(Dir.File(Case.Typed)), Case.Typed == Case.Written);
  if (Case.Entry == "SaveAs1") {
    // Save goes on writing what the name says.
    EXPECT_EQ(Probe().FileName(), Dir.File(Case.Written));
    Run("Save1");
    EXPECT_EQ(WrittenKind(Dir.File(Case.Written)), Case.Kind);
  }
}

INSTANTIATE_TEST_SUITE_P(
    , TypedNames,
    testing::Values(TTypedCase{"SaveAs1", "trap.spr", SaveFormatS16_565, "trap.spr", "SPR"},
                    TTypedCase{"SaveAs1", "kept.S16", SaveFormatS16_555, "kept.S16", "S16_555"},
                    TTypedCase{"SaveAs1", "old.s16", SaveFormatSpr, "old.s16", "S16_565"},
                    TTypedCase{"SaveAs1", "plain", SaveFormatSpr, "plain.spr", "SPR"},
                    TTypedCase{"SaveAs1", "hero.backup", SaveFormatS16_565, "hero.backup.s16",
                               "S16_565"},
                    TTypedCase{"ExportTo1", "hero.png", ExportFilter24Bit, "hero.png", "PNG"},
                    TTypedCase{"ExportTo1", "hero.bmp", ExportFilterPng, "hero.bmp", "BMP24"},
                    TTypedCase{"ExportTo1", "hero.bmp", ExportFilter16Bit, "hero.bmp", "BMP16"},
                    TTypedCase{"ExportTo1", "hero", ExportFilter8Bit, "hero.bmp", "BMP8"}),
    [](const auto& Info) {
      return Info.param.Entry + "_" + CaseName(Info.param.Typed) + "_Filter" +
             std::to_string(Info.param.Filter);
    });

using FileDialogs = TWindowTest;

TEST_F(FileDialogs, SayWhatTheyDoStartBesideTheOpenFileAndKeepTheirFiltersAcrossRuns) {
  std::filesystem::create_directory(Dir.File("art"));
  const std::string Hero = WriteS16("art/hero.s16", {{4, 4}});
  Open(Hero);
  Probe().SelectItem(0);
  Services.DialogAnswers.push_back(TDialogAnswer{Dir.File("elsewhere"), ExportFilterPng});
  for (const char* Entry : {"ExportTo1", "ImportFrom1", "SaveAs1"}) Run(Entry);
  ASSERT_EQ(Services.Dialogs.size(), 4u);
  const std::vector<std::string> Titles = {"Open", "Export To", "Import From", "Save As"};
  for (std::size_t I = 0; I < Titles.size(); ++I) EXPECT_EQ(Services.Dialogs[I].Title, Titles[I]);
  for (std::size_t I = 1; I < 4; ++I) EXPECT_EQ(Services.Dialogs[I].InitialDir, Dir.File("art"));

  // A file saved elsewhere takes the dialogs there; the export keeps its last name.
  Services.DialogAnswers.push_back(TDialogAnswer{Dir.File("moved.s16"), 0});
  Run("SaveAs1");
  Probe().SelectItem(0);
  Run("ExportTo1");
  EXPECT_EQ(Services.Dialogs.back().InitialDir, Dir.Path().string());
  EXPECT_EQ(Probe().ExportDialog().FileName, "elsewhere.png");

  RestartWindow();
  Run("Open1");
  Probe().Document().Add(MakeSprite(1, 1, {1}));
  Window->PopulateImageList();
  Probe().SelectItem(0);
  Run("ExportTo1");
  EXPECT_EQ(Services.Dialogs.back().FilterIndex, ExportFilterPng);
  EXPECT_EQ(Services.Dialogs.back().DefaultExt, "png");
  EXPECT_EQ(Services.Dialogs[Services.Dialogs.size() - 2].FilterIndex, 1) << "Open's own";
}

}  // namespace
