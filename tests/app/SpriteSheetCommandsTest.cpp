// Export Sprite Sheet… and Import Sprite Sheet… as a user's session goes: the export dialog
// and the file dialogs scripted, checking the document, the history and the files written.

#include <QMenu>
#include <QMenuBar>
#include <random>

#include "tests/support/CaseNames.h"
#include "tests/support/WindowFixture.h"

namespace {

class SpriteSheetCommands : public TWindowTest {
 protected:
  void SetUp() override {
    TWindowTest::SetUp();
    std::mt19937 Random(21);
    for (int I = 0; I < 7; ++I) {
      auto Sprite = MakeSprite(1 + int(Random() % 12), 1 + int(Random() % 12));
      std::generate_n(Sprite->PixelData(), Sprite->PixelCount(),
                      [&] { return Random() % 3 == 0 ? 0 : Random(); });
      Probe().Document().Add(std::move(Sprite));
    }
    Window->PopulateImageList();
  }
  // Confirms the export dialog after Change, and saves the sheet as Name.
  void Export(const std::function<void(TSheetExportSettings&)>& Change, const std::string& Name) {
    Services.SheetExportAnswers.push_back(Change);
    Services.DialogAnswers.push_back(TDialogAnswer{Dir.File(Name)});
    Run("ExportSpriteSheet1");
  }
  void Import(const std::string& Name) {
    Services.DialogAnswers.push_back(TDialogAnswer{Dir.File(Name)});
    Run("ImportSpriteSheet1");
  }
  std::string Text(const std::string& Name) const {
    const TBytes Bytes = ReadBytes(Dir.File(Name));
    return std::string(Bytes.begin(), Bytes.end());
  }
  std::vector<TWords> Sprites() const {
    std::vector<TWords> All;
    for (int I = 0; I < Probe().Document().Count(); ++I)
      All.push_back(SpriteWords(Probe().Document().GetSprite(I)));
    return All;
  }
};

}  // namespace

// The frames come in before the selected item, word for word.
TEST_F(SpriteSheetCommands, ImportGivesTheExportedSpritesBackBeforeTheSelectedItem) {
  const std::vector<TWords> Before = Sprites();
  Export([](TSheetExportSettings& S) { S.Trim = S.MaxRects = true; }, "sheet");
  EXPECT_EQ(
      Probe().StatusText().toStdString(),
      "Sprite sheet exported to: " + Dir.File("sheet.png") + " and " + Dir.File("sheet.json"));
  Probe().SelectItem(2);
  Import("sheet.json");
  ASSERT_TRUE(Services.Shown.empty()) << Services.Shown[0].Text << Services.Shown[0].Detail;
  std::vector<TWords> Expected = Before;
  Expected.insert(Expected.begin() + 2, Before.begin(), Before.end());
  EXPECT_EQ(Sprites(), Expected);
  EXPECT_TRUE(Probe().Modified());
  EXPECT_EQ(Probe().Items().Count(), 14);
}

TEST_F(SpriteSheetCommands, ExportsARangeAndKeepsTheChoicesForTheNextExport) {
  Export(
      [](TSheetExportSettings& S) {
        S.AllSprites = false;
        S.First = 2;
        S.Last = 4;
        S.ArrayForm = true;
      },
      "range");
  const std::string Json = Text("range.json");
  EXPECT_NE(Json.find("\"filename\": \"0002\""), std::string::npos);
  EXPECT_NE(Json.find("\"filename\": \"0004\""), std::string::npos);
  EXPECT_EQ(Json.find("\"0005\""), std::string::npos);
  EXPECT_NE(Json.find("\"image\": \"range.png\""), std::string::npos);
  Run("ExportSpriteSheet1");  // cancelled
  ASSERT_EQ(Services.SheetExportsShown.size(), 2u);
  const TSheetExportSettings& Shown = Services.SheetExportsShown[1];
  EXPECT_EQ(std::tie(Shown.SpriteCount, Shown.AllSprites, Shown.First, Shown.Last, Shown.ArrayForm),
            std::make_tuple(7, false, 2, 4, true));
  ASSERT_EQ(Services.Dialogs.size(), 1u);
  EXPECT_EQ(Services.Dialogs[0].Filter, "PNG Files (*.png)|*.png");
}

TEST_F(SpriteSheetCommands, AsksBeforeReplacingTheAtlasBesideTheSheet) {
  WriteBytes(Dir.File("sheet.json"), {'o', 'l', 'd'});
  Services.Answers.push_back(TMsgResult::No);
  Export([](TSheetExportSettings&) {}, "sheet");
  ASSERT_EQ(Services.Shown.size(), 1u);
  EXPECT_EQ(Services.Shown[0].Text,
            Dir.File("sheet.json") + " already exists.\nDo you want to replace it?");
  EXPECT_EQ(Services.Shown[0].Buttons, TMsgButtons::YesNo);
  EXPECT_EQ(Text("sheet.json"), "old");
  EXPECT_FALSE(std::filesystem::exists(Dir.File("sheet.png")));
}

struct TImportFailure {
  const char* Name;
  std::string Atlas;   // written as a.json; empty: no file
  const char* Named;   // the file the detail names
  const char* Reason;  // found in the detail
};

class SpriteSheetImportFailures : public SpriteSheetCommands,
                                  public testing::WithParamInterface<TImportFailure> {};

TEST_P(SpriteSheetImportFailures, NameTheFileAndTheReasonAndChangeNothing) {
  const TImportFailure& Case = GetParam();
  if (!Case.Atlas.empty())
    WriteBytes(Dir.File("a.json"), TBytes(Case.Atlas.begin(), Case.Atlas.end()));
  WriteBytes(Dir.File("not.png"), {'B', 'M'});
  Import("a.json");
  ASSERT_EQ(Services.Shown.size(), 1u);
  const TMessageBoxRequest& Box = Services.Shown[0];
  EXPECT_EQ(Box.Text, "Unable to import the sprite sheet");
  EXPECT_EQ(Box.Icon, TMsgIcon::Exclamation);
  EXPECT_NE(Box.Detail.find(Dir.File(Case.Named)), std::string::npos) << Box.Detail;
  EXPECT_NE(Box.Detail.find(Case.Reason), std::string::npos) << Box.Detail;
  EXPECT_EQ(Probe().Document().Count(), 7);
  EXPECT_FALSE(Probe().Modified());
}

namespace {

const std::string OneFrame = "\"frames\":{\"a\":{\"frame\":{\"x\":0,\"y\":0,\"w\":1,\"h\":1}}}";

}  // namespace

INSTANTIATE_TEST_SUITE_P(
    , SpriteSheetImportFailures,
    testing::Values(
        TImportFailure{"NoAtlas", "", "a.json", "No such file"},
        TImportFailure{"NoImage", "{" + OneFrame + "}", "a.json", "names no sheet image"},
        TImportFailure{"MissingSheet", "{" + OneFrame + ",\"meta\":{\"image\":\"gone.png\"}}",
                       "gone.png", "No such file"},
        TImportFailure{"SheetNotPng", "{" + OneFrame + ",\"meta\":{\"image\":\"not.png\"}}",
                       "not.png", "The sprite sheet is not a PNG file"},
        TImportFailure{"NoFrames", "{\"frames\":[],\"meta\":{\"image\":\"not.png\"}}", "a.json",
                       "The atlas holds no frames"}),
    [](const testing::TestParamInfo<TImportFailure>& Info) {
      return std::string(Info.param.Name);
    });

// The new entries come after Quit, behind a separator; the ones before stay as they were.
TEST_F(SpriteSheetCommands, EntriesFollowQuitInTheFileMenu) {
  QStringList Names;
  for (QAction* Entry : Window->menuBar()->actions()[0]->menu()->actions())
    Names << Entry->objectName();
  EXPECT_EQ(Names, QStringList({"New1", "Open1", "OpenRecent1", "Save1", "SaveAs1", "N1",
                                "ImportFrom1", "ExportTo1", "N2", "Quit1", "N9",
                                "ExportSpriteSheet1", "ImportSpriteSheet1"}));
  EXPECT_EQ(Probe().Entry("ExportSpriteSheet1").text(), "&Export Sprite Sheet…");
  EXPECT_EQ(Probe().Entry("ImportSpriteSheet1").text(), "&Import Sprite Sheet…");
}
