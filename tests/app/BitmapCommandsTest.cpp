// Import From and Export To as a user's session goes: through the scripted dialogs, checking
// the document, the list, the status texts and the files written.

#include <QImage>
#include <filesystem>
#include <fstream>

#include "platform/unitBmpCodec.h"
#include "sprites/unitBitmapRoutes.h"
#include "tests/support/ToolRunner.h"
#include "tests/support/WindowFixture.h"

namespace {

class BitmapCommands : public TWindowTest {
 protected:
  void SetUp() override {
    TWindowTest::SetUp();
    auto Sprite = MakeSprite(256, 256);
    for (int W = 0; W < 65536; ++W) Sprite->PixelData()[W] = std::uint16_t(W);
    Probe().Document().Add(std::move(Sprite));
    Probe().Document().Add(MakeSprite(3, 2, TWords(6, 0x07E0)));
    Probe().Document().Add(MakeSprite(5, 1, TWords(5, 0x001F)));
    Window->PopulateImageList();
    ForgetSeen();
  }
  // The name is typed without an extension: the filter's is appended.
  std::string Export(int Item, int FilterIndex, const std::string& Name) {
    Probe().SelectItem(Item);
    Services.DialogAnswers.push_back(TDialogAnswer{Dir.File(Name), FilterIndex});
    Run("ExportTo1");
    return Dir.File(Name + (FilterIndex == ExportFilterPng ? ".png" : ".bmp"));
  }
  void Import(const std::string& Path, int FilterIndex = 0) {
    Services.DialogAnswers.push_back(TDialogAnswer{Path, FilterIndex});
    Run("ImportFrom1");
  }
};

TEST_F(BitmapCommands, TheDialogsAreTheFormsOwnAndCancellingThemChangesNothing) {
  Run("ImportFrom1");
  Probe().SelectItem(0);
  Run("ExportTo1");
  ASSERT_EQ(Services.Dialogs.size(), 2u);
  EXPECT_EQ(Services.Dialogs[0].Filter, "Bitmap Files (*.bmp)|*.bmp|PNG Files (*.png)|*.png");
  EXPECT_EQ(Services.Dialogs[0].DefaultExt, "bmp");
  EXPECT_EQ(Services.Dialogs[1].Kind, TFileDialogKind::Save);
  EXPECT_EQ(Services.Dialogs[1].Filter,
            "Bitmap File (24bpp) (*.bmp)|*.bmp|Bitmap File (16bpp) (*.bmp)|*.bmp|T1 Compatible "
            "Bitmap File (8bpp) (*.bmp)|*.bmp|PNG File (32bpp, black transparent) (*.png)|*.png");
  EXPECT_EQ(Services.Dialogs[1].FilterIndex, 1);
  // Cancelled dialogs show nothing and change nothing.
  EXPECT_TRUE(Services.Shown.empty());
  EXPECT_FALSE(Probe().Modified());
}

TEST_F(BitmapCommands, ExportThenImportGivesTheWordsBackAtSixteenAndTwentyFourBitsAndInPng) {
  const std::string Sixteen = Export(0, ExportFilter16Bit, "sixteen");
  EXPECT_EQ(Probe().StatusText().toStdString(), "Export to: " + Sixteen + " completed.");
  const std::string TwentyFour = Export(0, ExportFilter24Bit, "twentyfour");
  const std::string Eight = Export(0, ExportFilter8Bit, "eight");
  const std::string Png = Export(0, ExportFilterPng, "png");
  EXPECT_FALSE(Probe().Modified());
  EXPECT_EQ(LoadBmpFile(Sixteen)->PixelFormat(), TPixelFormat::pf16bit);
  EXPECT_EQ(LoadBmpFile(TwentyFour)->PixelFormat(), TPixelFormat::pf24bit);
  EXPECT_EQ(LoadBmpFile(Eight)->PixelFormat(), TPixelFormat::pf8bit);
  // The PNG has the 24-bit file's colours, black transparent and every other pixel opaque.
  const QImage Rgba(QString::fromStdString(Png));
  ASSERT_EQ(Rgba.format(), QImage::Format_ARGB32);
  const auto Rgb = LoadBmpFile(TwentyFour);
  for (int Y = 0; Y < 256; ++Y)
    for (int X = 0; X < 256; ++X) {
      const TColour Colour = Rgb->GetPixel(X, Y);
      const QRgb Expected =
          Colour == 0 ? qRgba(0, 0, 0, 0) : qRgb(RedOf(Colour), GreenOf(Colour), BlueOf(Colour));
      ASSERT_EQ(Rgba.pixel(X, Y), Expected) << X << "," << Y;
    }
  // pelbrook-tool writes the very same bytes.
  Probe().Document().SaveToFile(Dir.File("document.s16"));
  for (const auto& [Depth, ByEditor] :
       std::vector<std::pair<std::string, std::string>>{{"8", Eight}, {"png", Png}}) {
    const std::string ByTool = Dir.File(Depth == "png" ? "tool.png" : "tool.bmp");
    ASSERT_EQ(RunTool({"export", Dir.File("document.s16"), "0", ByTool, "--depth", Depth}).Status,
              0);
    EXPECT_EQ(ReadBytes(ByTool), ReadBytes(ByEditor)) << Depth;
  }

  Probe().Images().clearSelection();
  Import(Sixteen);
  Import(TwentyFour);
  Import(Dir.File("png"), 2);
  ASSERT_EQ(Probe().Document().Count(), 6);
  const TWords Original = SpriteWords(Probe().Document().GetSprite(0));
  for (int Imported = 3; Imported < 6; ++Imported)
    EXPECT_EQ(SpriteWords(Probe().Document().GetSprite(Imported)), Original) << Imported;
  EXPECT_EQ(Probe().StatusText().toStdString(), "Image imported from: " + Png);
  EXPECT_EQ(Probe().Items().Count(), 6);
  EXPECT_EQ(Window->windowTitle(), "The Pelbrook - [Untitled] *");
}

TEST_F(BitmapCommands, ImportPutsTheImageBeforeTheSelectedItem) {
  const std::string Path = Export(2, ExportFilter24Bit, "blue");
  Probe().SelectItem(1);
  Import(Path);
  ASSERT_EQ(Probe().Document().Count(), 4);
  EXPECT_EQ(Probe().Document().GetSprite(1).Width(), 5);
  EXPECT_EQ(Probe().Document().GetSprite(2).Width(), 3);
  EXPECT_EQ(Probe().Items().Item(1).Caption, "[1] - 5 by 1");
}

TEST_F(BitmapCommands, AnythingThatIsNotAReadableBitmapFailsDuringLoadBitmapSayingWhy) {
  std::ofstream(Dir.File("text.bmp")) << "not a bitmap";
  const std::string Missing = Dir.File("missing.bmp"), Text = Dir.File("text.bmp"),
                    Folder = Dir.File("folder.bmp");
  std::filesystem::create_directory(Folder);
  for (const auto& [Path, Detail] : std::vector<std::pair<std::string, std::string>>{
           {Missing, "Cannot open file \"" + Missing + "\": No such file or directory"},
           {Text, Text + ": Not a BMP file"},
           {Folder, "Cannot open file \"" + Folder + "\": Is a directory"}}) {
    Services.Shown.clear();
    Import(Path);
    const TMessageBoxRequest LoadFailure{
        "Failed during LoadBitmap", "The Pelbrook", TMsgButtons::Ok,
        TMsgIcon::Exclamation,      false,          Detail};
    EXPECT_EQ(Services.Shown, std::vector<TMessageBoxRequest>{LoadFailure});
  }
  EXPECT_EQ(Probe().Document().Count(), 3);
  EXPECT_FALSE(Probe().Modified());
}

TEST_F(BitmapCommands, AFailedExportWritesNothingAndLeavesTheStatusText) {
  Probe().SelectItem(1);
  Services.DialogAnswers.push_back(TDialogAnswer{Dir.File("missing/x.bmp"), 1});
  Run("ExportTo1");
  ASSERT_EQ(Services.Shown.size(), 1u);
  EXPECT_EQ(Services.Shown[0].Icon, TMsgIcon::Stop);
  EXPECT_NE(Probe().StatusText().left(9), "Export to");
}

}  // namespace
