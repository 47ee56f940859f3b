#include <gtest/gtest.h>

#include "imaging/unitExpansionScan.h"
#include "platform/unitBmpCodec.h"
#include "sprites/unitBitmapRoutes.h"
#include "sprites/unitSpriteFileRoutes.h"
#include "tests/imaging/CutterViewRecorder.h"
#include "tests/support/ScriptedWindowServices.h"
#include "tests/support/SheetArt.h"
#include "tests/support/SpriteFactory.h"
#include "tests/support/ToolRunner.h"

namespace {

// A 5-6-5 document of two sprites with black, near-black and bright pixels.
std::string MakeS16(TTempDir& Dir, const std::string& Name, bool Is555 = false) {
  TS16File File;
  File.Add(MakeSprite(3, 2, {0, 0x0001, 0x0020, 0xF800, 0x07E0, 0xFFFF}));
  File.Add(MakeSprite(1, 1, {0x2104}));
  File.Is555 = Is555;
  const std::string Path = Dir.File(Name);
  File.SaveToFile(Path);
  return Path;
}

}  // namespace

TEST(ToolInfo, PrintsFormatCountAndSizes) {
  TTempDir Dir;
  const TToolRun Run = RunTool({"info", MakeS16(Dir, "a.s16", true)});
  EXPECT_EQ(Run.Status, 0) << Run.Err;
  EXPECT_EQ(Run.Out, "s16 5-5-5\n2\n0 3 2\n1 1 1\n");
}

TEST(ToolConvert, WritesExactlyWhatTheSaveRoutesWrite) {
  TTempDir Dir;
  const std::string In = MakeS16(Dir, "in.s16");
  TNoProgress None;
  for (const auto& [To, Format] :
       std::vector<std::pair<std::string, int>>{{"s16-565", SaveFormatS16_565},
                                                {"s16-555", SaveFormatS16_555},
                                                {"spr", SaveFormatSpr}}) {
    const std::string Out = Dir.File("out-" + To);
    const TToolRun Run = RunTool({"convert", In, Out, "--to", To});
    ASSERT_EQ(Run.Status, 0) << Run.Err;
    TS16File Expected;
    OpenS16Document(Expected, In);
    const std::string Reference = Dir.File("ref-" + To);
    SaveDocument(Expected, Format, Reference, None);
    EXPECT_EQ(ReadBytes(Out), ReadBytes(Reference)) << To;
  }
}

TEST(ToolConvert, ChoosesFormatsByNameUnlessTold) {
  TTempDir Dir;
  const std::string In = MakeS16(Dir, "in.s16");
  ASSERT_EQ(RunTool({"convert", In, Dir.File("OUT.SPR")}).Status, 0);
  EXPECT_EQ(RunTool({"info", Dir.File("OUT.SPR")}).Out.substr(0, 4), "spr\n");
  // An .spr file is no whole .s16 file: read as one only when told to go on.
  EXPECT_EQ(RunTool({"info", Dir.File("OUT.SPR"), "--from", "s16"}).Status, 1);
  EXPECT_EQ(
      RunTool({"info", Dir.File("OUT.SPR"), "--from", "s16", "--keep-going"}).Out.substr(0, 4),
      "s16 ");
  ASSERT_EQ(RunTool({"convert", Dir.File("OUT.SPR"), Dir.File("back")}).Status, 0);
  EXPECT_EQ(RunTool({"info", Dir.File("back")}).Out, "s16 5-6-5\n2\n0 3 2\n1 1 1\n");
}

TEST(ToolExportImport, SixteenBitsAndPngComeBackWordForWord) {
  TTempDir Dir;
  const std::string In = MakeS16(Dir, "in.s16");
  const std::string Bmp = Dir.File("frame.bmp"), Png = Dir.File("frame.PNG");
  ASSERT_EQ(RunTool({"export", In, "0", Bmp, "--depth", "16"}).Status, 0);
  ASSERT_EQ(RunTool({"export", In, "0", Png}).Status, 0);
  EXPECT_EQ(LoadBmpFile(Bmp)->PixelFormat(), TPixelFormat::pf16bit);
  const std::string Out = Dir.File("again.s16");
  ASSERT_EQ(RunTool({"import", Out, Bmp, Png}).Status, 0);
  TS16File File;
  File.LoadFromFile(Out);
  ASSERT_EQ(File.Count(), 2);
  for (int I = 0; I < 2; ++I)
    EXPECT_EQ(SpriteWords(File.GetSprite(I)), (TWords{0, 0x0001, 0x0020, 0xF800, 0x07E0, 0xFFFF}));
}

TEST(ToolExportAll, WritesEverySpriteNumberedFromZeroAsExportWritesIt) {
  TTempDir Dir;
  const std::string In = MakeS16(Dir, "in.s16");
  for (const std::string Depth : {"8", "png"}) {
    const std::string Extension = Depth == "png" ? ".png" : ".bmp";
    const std::string Folder = Dir.File("all-" + Depth + "/made");
    const TToolRun Run = RunTool({"export-all", In, Folder, "--depth", Depth});
    ASSERT_EQ(Run.Status, 0) << Run.Err;
    for (const std::string Index : {"0", "1"}) {
      const std::string Single = Dir.File("single" + Extension);
      ASSERT_EQ(RunTool({"export", In, Index, Single, "--depth", Depth}).Status, 0);
      EXPECT_EQ(ReadBytes(Folder + "/000" + Index + Extension), ReadBytes(Single)) << Depth;
    }
    EXPECT_FALSE(std::filesystem::exists(Folder + "/0002" + Extension));
  }
}

TEST(ToolExpand, WritesTheDocumentAsTheEditorLeavesItAndPrintsEachCut) {
  TTempDir Dir;
  TS16File File;
  File.Add(MakeSprite(1, 1, {0x1111}));
  File.Add(DrawSheet({".....", ".a.b.", ".a...", "...c."}));
  File.Add(MakeSprite(1, 1, {0x2222}));
  const std::string In = Dir.File("sheet.s16"), Out = Dir.File("cut.s16");
  File.SaveToFile(In);

  const TToolRun Run = RunTool({"expand", In, "1", Out, "--to", "s16-555"});
  ASSERT_EQ(Run.Status, 0) << Run.Err;
  EXPECT_EQ(Run.Out,
            "Splitting the Bitmap, Pass 1. Found Sprite at: 1,1 - 1,2 - Total now 1\n"
            "Splitting the Bitmap, Pass 1. Found Sprite at: 3,1 - 3,1 - Total now 2\n"
            "Splitting the Bitmap, Pass 2. Found Sprite at: 3,3 - 3,3 - Total now 3\n");
  TRecordedExpansion View;
  TExpansionScan(File, 1, View).Run();
  TNoProgress None;
  SaveDocument(File, SaveFormatS16_555, Dir.File("editor.s16"), None);
  EXPECT_EQ(ReadBytes(Out), ReadBytes(Dir.File("editor.s16")));
  EXPECT_EQ(RunTool({"info", Out}).Out, "s16 5-5-5\n5\n0 1 1\n1 1 2\n2 1 1\n3 1 1\n4 1 1\n");
}

TEST(ToolKeepGoing, SpritesThatCannotBeReadFailTheCommandUnlessToldToGoOn) {
  TTempDir Dir;
  const std::string In = Dir.File("bad.spr"), Out = Dir.File("out.s16");
  TLeBytes Bytes;  // two sprites without a size, then a good one
  Bytes.U16(3).U32(26).U16(0).U16(1).U32(26).U16(0).U16(1).U32(26).U16(1).U16(1).U16(16);
  WriteBytes(In, Bytes.Bytes);
  const std::string Told =
      "pelbrook-tool: Sprite Loader: Erm, Wrongly sized bitmap?\npelbrook-tool: 2 of the 3 "
      "sprites in " +
      In;

  const TToolRun Refused = RunTool({"convert", In, Out});
  EXPECT_EQ(Refused.Status, 1);
  EXPECT_EQ(Refused.Err, Told + " could not be read (--keep-going goes on without them)\n");
  EXPECT_FALSE(std::filesystem::exists(Out));

  const TToolRun Kept = RunTool({"convert", In, Out, "--keep-going"});
  EXPECT_EQ(Kept.Status, 0);
  EXPECT_EQ(Kept.Err, Told + " could not be read and were left out.\n");
  EXPECT_EQ(RunTool({"info", Out}).Out, "s16 5-6-5\n1\n0 1 1\n");
}

TEST(ToolFailures, ExitNonZeroWithTheMessageOnStandardError) {
  TTempDir Dir;
  const std::string In = MakeS16(Dir, "in.s16");
  // A byte more than the directory names: not what an .s16 file of it would be.
  TBytes Longer = ReadBytes(In);
  Longer.push_back(0);
  WriteBytes(Dir.File("longer.s16"), Longer);
  WriteBytes(Dir.File("file"), {});
  struct TCase {
    std::vector<std::string> Args;
    std::string Message;
  };
  const std::vector<TCase> Cases = {
      {{"info", Dir.File("missing.s16")}, "Unable to open file " + Dir.File("missing.s16")},
      {{"info", Dir.File("longer.s16")},
       Dir.File("longer.s16") + " does not read as an .s16 file: it holds more or fewer bytes"},
      {{"export", In, "2", Dir.File("x.bmp")},
       "sprite 2 does not exist: " + In + " holds 2 sprites (0-1)"},
      {{"expand", In, "-1", Dir.File("o.s16")}, "sprite -1 does not exist"},
      {{"import", Dir.File("o.s16"), Dir.File("none.bmp")}, "Failed during LoadBitmap"},
      {{"convert", In, Dir.File("o.s16"), "--to", "s17"}, "--to takes"},
      {{"convert", In, Dir.File("o.bmp")}, "it writes .s16 and .spr files only"},
      {{"convert", In, Dir.File("o.spr"), "--to", "s16-555"},
       "o.spr ends in .spr, which --to s16-555 does not write"},
      {{"export", In, "one", Dir.File("x.bmp")}, "INDEX must be a whole number"},
      {{"export", In, "0", Dir.File("x.png"), "--depth", "16"}, "which --depth 16 does not write"},
      {{"export", In, "0", Dir.File("x.bmp"), "--depth", "png"}, "which --depth png does not"},
      {{"export", In, "0", Dir.File("x.jpg")}, "it writes .bmp and .png files only"},
      {{"export-all", In, Dir.File("file/frames")},
       "Unable to make the folder " + Dir.File("file/frames") + ": Not a directory"},
      {{"frobnicate"}, "unknown subcommand"},
  };
  for (const TCase& Case : Cases) {
    const TToolRun Run = RunTool(Case.Args);
    EXPECT_NE(Run.Status, 0) << Case.Message;
    EXPECT_NE(Run.Err.find(Case.Message), std::string::npos) << Run.Err;
    EXPECT_EQ(Run.Err.rfind("pelbrook-tool: ", 0), 0u) << Run.Err;
  }
  std::vector<std::string> Left = Dir.Entries();
  std::sort(Left.begin(), Left.end());
  EXPECT_EQ(Left, (std::vector<std::string>{"file", "in.s16", "longer.s16"}));
  const TToolRun Help = RunTool({"--help"});
  EXPECT_EQ(Help.Status, 0);
  for (const char* Word : {"info", "convert", "export", "export-all", "import", "expand"})
    EXPECT_NE(Help.Out.find("pelbrook-tool " + std::string(Word)), std::string::npos) << Word;
  EXPECT_NE(Help.Out.find("with --keep-going those"), std::string::npos);
}

TEST(ToolHelp, VersionAndEachSubcommandsOwnUsageGoToStandardOutput) {
  const TToolRun Version = RunTool({"--version"});
  EXPECT_EQ(Version.Status, 0);
  EXPECT_EQ(Version.Out, std::string("pelbrook-tool ") + PELBROOK_VERSION + "\n");
  const TToolRun Usage = RunTool({"export", "--help", "x.s16"});
  EXPECT_EQ(Usage.Status, 0);
  EXPECT_EQ(Usage.Out.rfind("usage: pelbrook-tool export IN INDEX OUT.bmp|OUT.png", 0), 0u)
      << Usage.Out;
  EXPECT_EQ(Usage.Out.find("pelbrook-tool import"), std::string::npos) << "only its own";
}
