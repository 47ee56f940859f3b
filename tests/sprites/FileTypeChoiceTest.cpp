// Which format a typed name under a chosen filter means, for the save and export dialogs and
// the picture outputs of pelbrook-tool alike.

#include <gtest/gtest.h>

#include "sprites/unitBitmapRoutes.h"
#include "sprites/unitFileTypeChoice.h"
#include "sprites/unitSpriteFileRoutes.h"
#include "tests/support/CaseNames.h"

namespace {

struct TChoiceCase {
  const char* Filter;
  std::string Typed;
  int Chosen;
  std::string Path;  // what is written
  int Written;       // the filter whose format it is
};

class FileTypeChoice : public testing::TestWithParam<TChoiceCase> {};

TEST_P(FileTypeChoice, ATypedExtensionPicksTheFormatAndAnyOtherNameTakesTheFiltersOwn) {
  const TChoiceCase& Case = GetParam();
  const TFileTypeChoice Choice =
      ChooseFileType(Case.Typed, FilterExtensions(Case.Filter), Case.Chosen);
  EXPECT_EQ(Choice.Path, Case.Path);
  EXPECT_EQ(Choice.FilterIndex, Case.Written);
}

INSTANTIATE_TEST_SUITE_P(
    , FileTypeChoice,
    testing::Values(
        // Save As: 1 and 2 are .s16 in 5-6-5 and 5-5-5, 3 is .spr.
        TChoiceCase{SaveFileFilter, "/a/trap.spr", SaveFormatS16_565, "/a/trap.spr", SaveFormatSpr},
        TChoiceCase{SaveFileFilter, "/a/TRAP.SPR", SaveFormatS16_555, "/a/TRAP.SPR", SaveFormatSpr},
        TChoiceCase{SaveFileFilter, "/a/x.s16", SaveFormatS16_555, "/a/x.s16", SaveFormatS16_555},
        TChoiceCase{SaveFileFilter, "/a/x.S16", SaveFormatSpr, "/a/x.S16", SaveFormatS16_565},
        TChoiceCase{SaveFileFilter, "/a/x.bmp", SaveFormatSpr, "/a/x.bmp.spr", SaveFormatSpr},
        TChoiceCase{SaveFileFilter, "/a/v1.2/x", SaveFormatS16_555, "/a/v1.2/x.s16",
                    SaveFormatS16_555},
        TChoiceCase{SaveFileFilter, "/a/x.", SaveFormatS16_565, "/a/x.s16", SaveFormatS16_565},
        // Export To: 1 to 3 are BMP at 24, 16 and 8 bits, 4 is PNG.
        TChoiceCase{ExportFileFilter, "hero.png", ExportFilter24Bit, "hero.png", ExportFilterPng},
        TChoiceCase{ExportFileFilter, "hero.bmp", ExportFilterPng, "hero.bmp", ExportFilter24Bit},
        TChoiceCase{ExportFileFilter, "hero.Bmp", ExportFilter8Bit, "hero.Bmp", ExportFilter8Bit},
        TChoiceCase{ExportFileFilter, "hero.s16", ExportFilter16Bit, "hero.s16.bmp",
                    ExportFilter16Bit},
        TChoiceCase{ExportFileFilter, "hero.gif", ExportFilterPng, "hero.gif.png",
                    ExportFilterPng}),
    [](const auto& Info) {
      return CaseName(Info.param.Typed) + "_Filter" + std::to_string(Info.param.Chosen);
    });

TEST(FilterExtensions, EachEntrysPatternGivesItsExtension) {
  EXPECT_EQ(FilterExtensions(SaveFileFilter), (std::vector<std::string>{"s16", "s16", "spr"}));
  EXPECT_EQ(FilterExtensions("Pictures (*.PNG)|*.PNG|All|*"),
            (std::vector<std::string>{"png", ""}));
}

}  // namespace
