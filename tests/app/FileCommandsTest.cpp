// Open, Save and Save As as a user's session goes: through the scripted dialogs, checking the
// list, the title, the status texts and the files written.

#include <QImage>
#include <QTest>
#include <filesystem>

#include "sprites/unitSprLoader.h"
#include "sprites/unitSpriteFileRoutes.h"
#include "tests/support/ScriptedWindowServices.h"
#include "tests/support/WindowFixture.h"

namespace {

TMessageBoxRequest LoadFailure(const std::string& Detail) {
  return {"Error Whilst loading S16 file.",
          "Pelbrook",
          TMsgButtons::Ok,
          TMsgIcon::Exclamation,
          false,
          Detail};
}

std::string Title(const TPelbrookMainWindow& Window) {
  return Window.windowTitle().toStdString();
}

using FileCommands = TWindowTest;

TEST_F(FileCommands, OpeningAnS16FileListsEverySpriteWithItsThumbnail) {
  const std::string Path = WriteS16("three.s16", {{32, 48}, {40, 20}, {10, 10}}, true);
  Open(Path);

  const TMainWindowProbe P = Probe();
  ASSERT_EQ(P.Items().Count(), 3);
  EXPECT_EQ(P.Items().Item(0).Caption, "[0] - 32 by 48");
  EXPECT_EQ(P.Items().Item(1).Caption, "[1] - 40 by 20");
  EXPECT_EQ(P.Items().Item(2).Caption, "[2] - 10 by 10");
  for (int I = 0; I < 3; ++I) EXPECT_EQ(P.Items().Item(I).ImageIndex, I);
  ASSERT_EQ(P.Thumbnails().Count(), 3);
  // Red through 5-5-5 in the file and back, pure red in the picture; the aspect strip of
  // the 40 x 20 sprite lies below its 25 x 12 picture.
  const QImage Wide = P.Thumbnails().Image(1);
  EXPECT_EQ(Wide.size(), QSize(25, 25));
  EXPECT_EQ(Wide.pixelColor(24, 11), QColor(255, 0, 0));
  EXPECT_EQ(P.Document().GetSprite(0).PixelData()[0], 0xF800);

  EXPECT_EQ(Seen.StatusTexts,
            (std::vector<std::string>{"Populating Images List...", "Listbox Updated",
                                      "Generating Thumbnails...", "Thumbnails generated."}));
  EXPECT_EQ(Seen.ProgressValues, (std::vector<int>{-1, 0, 50, 100, 0, 50, 100, -1}));
  EXPECT_TRUE(Seen.MenuDetachedWhileGenerating);
  EXPECT_FALSE(Seen.MenuAttachedWhileGenerating);
  EXPECT_TRUE(Window->MenuAttached());

  EXPECT_EQ(Title(*Window), "The Pelbrook - [" + Path + "]");
  EXPECT_EQ(P.SaveFormat(), 2);
  EXPECT_FALSE(P.Modified());
  EXPECT_TRUE(Services.Shown.empty());
  EXPECT_FALSE(P.Images().selectionModel()->hasSelection());
}

TEST_F(FileCommands, TheFilterNotTheExtensionChoosesTheFormat) {
  TS16File Document;
  Document.Add(MakeSprite(4, 3, TWords(12, 0x001F)));
  Document.Add(MakeSprite(2, 2, TWords(4, 0x07E0)));
  const std::string SprPath = Dir.File("named.s16");
  TNoProgress NoProgress;
  WriteSprFile(Document, SprPath, NoProgress);

  Open(SprPath, 2);
  EXPECT_EQ(Probe().Document().Count(), 2);
  EXPECT_EQ(Probe().SaveFormat(), 3);
  EXPECT_EQ(Title(*Window), "The Pelbrook - [" + SprPath + "]");

  const std::string S16Path = WriteS16("named.spr", {{3, 3}});
  Open(S16Path, 1);
  EXPECT_EQ(Probe().Document().Count(), 1);
  EXPECT_EQ(Probe().SaveFormat(), 1);
  // The dialog keeps its filter between uses and shows the one last chosen.
  EXPECT_EQ(Services.Dialogs.at(1).FilterIndex, 2);
  EXPECT_EQ(Services.Dialogs.at(1).DefaultExt, "spr");
}

TEST_F(FileCommands, AFailedOpenLeavesAnUntitledEmptyDocumentThatSaveCannotWriteOverTheFile) {
  const std::string Good = WriteS16("good.s16", {{8, 8}, {4, 4}});
  Open(Good);
  const TBytes Before = ReadBytes(Good);
  const std::string Broken = Dir.File("broken.s16");
  WriteBytes(Broken, {1, 0, 0, 0, 9});

  Open(Broken);
  EXPECT_EQ(Services.Shown, std::vector<TMessageBoxRequest>{LoadFailure(
                                "Read beyond end of file: " + Broken + " holds only 5 bytes")});
  EXPECT_EQ(Probe().Document().Count(), 0);
  EXPECT_EQ(Probe().Items().Count(), 0);
  EXPECT_EQ(Title(*Window), "The Pelbrook - [Untitled]");
  EXPECT_EQ(Probe().SaveFormat(), 1);

  Run("Save1");  // asks for a name; the user cancels
  EXPECT_EQ(Services.Dialogs.back().Kind, TFileDialogKind::Save);
  EXPECT_EQ(ReadBytes(Good), Before);
}

TEST_F(FileCommands, AnSprFileThatCannotBeReadIsReportedWithItsNameAndLeavesTheDocumentUntitled) {
  const std::string Missing = Dir.File("missing.spr"), Short = Dir.File("short.spr");
  WriteBytes(Short, {1});
  for (const auto& [Path, Detail] : std::vector<std::pair<std::string, std::string>>{
           {Missing, "No such file or directory"},
           {Short, Short + ": the file holds only 1 bytes"}}) {
    Open(WriteS16("good.s16", {{8, 8}}));
    Services.Shown.clear();
    Open(Path, 2);
    ASSERT_EQ(Services.Shown.size(), 1u);
    EXPECT_EQ(Services.Shown[0].Caption, "pelbrook");
    EXPECT_EQ(Services.Shown[0].Icon, TMsgIcon::Stop);
    EXPECT_EQ(Services.Shown[0].Detail, Detail);
    EXPECT_EQ(Probe().Document().Count(), 0);
    EXPECT_EQ(Probe().Items().Count(), 0);
    EXPECT_EQ(Title(*Window), "The Pelbrook - [Untitled]");
  }
}

TEST_F(FileCommands, AnSprFileWithBadSpritesShowsTheReadersMessageOnceThenASummary) {
  const TMessageBoxRequest WronglySized{"Erm, Wrongly sized bitmap?", "Sprite Loader",
                                        TMsgButtons::Ok, TMsgIcon::Stop};
  const auto Summary = [](const std::string& Text) {
    return TMessageBoxRequest{Text, "Sprite Loader", TMsgButtons::Ok, TMsgIcon::Stop};
  };
  struct TCase {
    int Good, WithoutSize, BeyondTheEnd;
    std::vector<TMessageBoxRequest> Boxes;
  };
  const std::string Path = Dir.File("bad.spr");
  const std::vector<TCase> Cases = {
      {2, 1, 0, {WronglySized}},
      {1,
       1000,
       0,
       {WronglySized,
        Summary("1000 of the 1001 sprites in " + Path + " could not be read and were left out.")}},
      {1,
       0,
       1,
       {Summary("1 of the 2 sprites in " + Path + " could not be read and was left out.")}},
  };
  for (const TCase& Case : Cases) {
    TLeBytes Bytes;
    const int Count = Case.Good + Case.WithoutSize + Case.BeyondTheEnd;
    const std::uint32_t Pixels = std::uint32_t(2 + 8 * Count);
    Bytes.U16(std::uint16_t(Count));
    for (int I = 0; I < Case.WithoutSize; ++I) Bytes.U32(Pixels).U16(0).U16(1);
    for (int I = 0; I < Case.BeyondTheEnd; ++I) Bytes.U32(Pixels + 1).U16(1).U16(1);
    for (int I = 0; I < Case.Good; ++I) Bytes.U32(Pixels).U16(1).U16(1);
    Bytes.Bytes.push_back(16);
    WriteBytes(Path, Bytes.Bytes);
    Services.Shown.clear();
    Open(Path, 2);
    EXPECT_EQ(Services.Shown, Case.Boxes) << Count;
    EXPECT_EQ(Probe().Items().Count(), Case.Good);
  }
}

TEST_F(FileCommands, SaveAsAppendsTheExtensionOfTheChosenFilterAndWritesThatFormat) {
  Open(WriteS16("source.s16", {{2, 1}}, false, 0x0020));  // six-bit green of 1

  Services.DialogAnswers.push_back(TDialogAnswer{Dir.File("t1"), 3});
  Run("SaveAs1");
  const std::string SprPath = Dir.File("t1.spr");
  TScriptedWindowServices Quiet;
  TSprLoader Loader(Quiet);
  EXPECT_EQ(Loader.ReadSprCount(ReadBytes(SprPath)), 1);
  EXPECT_EQ(Title(*Window), "The Pelbrook - [" + SprPath + "]");
  EXPECT_EQ(Probe().SaveFormat(), 3);

  ForgetSeen();
  Services.DialogAnswers.push_back(TDialogAnswer{Dir.File("t2"), 2});
  Run("SaveAs1");
  const std::string S16Path = Dir.File("t2.s16");
  EXPECT_EQ(Seen.StatusTexts.front(), "File " + S16Path + " saved.");
  TS16File Written;
  Written.LoadFromFile(S16Path);
  EXPECT_TRUE(Written.Is555);
  // Held in 5-6-5 again, with the green rounded through five bits.
  EXPECT_EQ(Probe().Document().GetSprite(0).PixelData()[0], 0x0040);

  Services.DialogAnswers.push_back(TDialogAnswer{Dir.File("t3"), 1});
  Run("SaveAs1");
  Written.LoadFromFile(Dir.File("t3.s16"));
  EXPECT_FALSE(Written.Is555);
}

TEST_F(FileCommands, SaveWritesTheOpenedLayoutBackAndTellsTheUser) {
  const std::string Path = WriteS16("layout.s16", {{3, 2}}, true);
  Open(Path);
  Window->MarkModified();
  ForgetSeen();
  Run("Save1");
  TS16File Written;
  Written.LoadFromFile(Path);
  EXPECT_TRUE(Written.Is555);
  EXPECT_EQ(Seen.StatusTexts.front(), "File " + Path + " saved.");
  EXPECT_EQ(Title(*Window), "The Pelbrook - [" + Path + "]");
  EXPECT_TRUE(Services.Dialogs.size() == 1);
}

TEST_F(FileCommands, NoCommandRunsWhileAnSprFileIsWritten) {
  Open(WriteS16("three.s16", {{2, 2}, {3, 3}, {4, 4}}));
  bool Pressed = false;
  Services.OnPump = [&] {
    if (Pressed || Probe().StatusText().toStdString().find("T1 Compatibility") == std::string::npos)
      return;
    Pressed = true;
    EXPECT_FALSE(Window->MenuAttached());
    QTest::keyClick(&Probe().Images(), Qt::Key_N, Qt::ControlModifier);
  };
  Services.DialogAnswers.push_back(TDialogAnswer{Dir.File("out.spr"), 3});
  Run("SaveAs1");
  ASSERT_TRUE(Pressed);
  EXPECT_EQ(Probe().Document().Count(), 3);
  TScriptedWindowServices Quiet;
  TSprLoader Loader(Quiet);
  EXPECT_EQ(Loader.ReadSprCount(ReadBytes(Dir.File("out.spr"))), 3);
  EXPECT_TRUE(Window->MenuAttached());
}

TEST_F(FileCommands, AFailedSaveIsShownAndKeepsTheDocumentModified) {
  Open(WriteS16("keep.s16", {{3, 2}}));
  Window->MarkModified();
  const std::string Unwritable = Dir.File("no-such-folder/out.s16");
  Services.DialogAnswers.push_back(TDialogAnswer{Unwritable, 1});
  Run("SaveAs1");
  ASSERT_EQ(Services.Shown.size(), 1u);
  EXPECT_EQ(Services.Shown[0],
            (TMessageBoxRequest{"Unable to save to: " + Unwritable, "pelbrook", TMsgButtons::Ok,
                                TMsgIcon::Stop, false, "No such file or directory"}));
  EXPECT_TRUE(Probe().Modified());
  EXPECT_EQ(Title(*Window), "The Pelbrook - [" + Dir.File("keep.s16") + "] *");
  // The name that could not be written is not kept: Save writes where the title says.
  EXPECT_EQ(Probe().FileName(), Dir.File("keep.s16"));
  EXPECT_EQ(Probe().SaveFormat(), 1);
}

TEST_F(FileCommands, AfterAFailedSaveAsAnUntitledDocumentAsksForANameAgain) {
  Probe().Document().Add(MakeSprite(2, 2));
  Window->MarkModified();
  Services.DialogAnswers.push_back(TDialogAnswer{Dir.File("no-such-folder/out.s16"), 3});
  Run("SaveAs1");
  Run("Save1");  // the dialog comes again; the user cancels it
  ASSERT_EQ(Services.Dialogs.size(), 2u);
  EXPECT_EQ(Services.Dialogs[1].Kind, TFileDialogKind::Save);
  EXPECT_EQ(Services.Shown.size(), 1u);
  EXPECT_EQ(Title(*Window), "The Pelbrook - [Untitled] *");
}

TEST_F(FileCommands, CancellingSaveAsChangesNothing) {
  Window->MarkModified();
  Run("Save1");
  EXPECT_EQ(Services.Dialogs.size(), 1u);
  EXPECT_TRUE(Probe().Modified());
  EXPECT_EQ(Probe().SaveFormat(), 0);
  EXPECT_EQ(Title(*Window), "The Pelbrook - [Untitled] *");
}

struct TUnaccountedFile {
  std::string Name;
  int FilterIndex;
  int BytesChanged;  // cut (negative) or added at the end
  bool AsSpr;        // written as .spr rather than 5-5-5 .s16
  bool Titled;
  std::string Why = {};  // after the path, in the box that says the document is untitled
};

class UnaccountedFiles : public TWindowTest,
                         public testing::WithParamInterface<TUnaccountedFile> {};

TEST_P(UnaccountedFiles, OpenUntitledSoThatSaveAsksForAName) {
  const TUnaccountedFile& Case = GetParam();
  TS16File Document;
  Document.Add(MakeSprite(4, 3, TWords(12, 0x001F)));
  Document.Add(MakeSprite(2, 2, TWords(4, 0x07E0)));
  const std::string Path = Dir.File(Case.AsSpr ? "file.spr" : "file.s16");
  TNoProgress NoProgress;
  SaveDocument(Document, Case.AsSpr ? SaveFormatSpr : SaveFormatS16_555, Path, NoProgress);
  TBytes Bytes = ReadBytes(Path);
  Bytes.resize(std::size_t(int(Bytes.size()) + Case.BytesChanged), 7);
  WriteBytes(Path, Bytes);

  Open(Path, Case.FilterIndex);
  EXPECT_EQ(Title(*Window),
            Case.Titled ? "The Pelbrook - [" + Path + "]" : "The Pelbrook - [Untitled]");
  std::vector<TMessageBoxRequest> Boxes;
  if (!Case.Titled)
    Boxes.push_back(
        {"Opened as Untitled, so that Save does not write over a file it could not "
         "read exactly.",
         "Pelbrook", TMsgButtons::Ok, TMsgIcon::Exclamation, false, Path + Case.Why});
  EXPECT_EQ(Services.Shown, Boxes);
  Run("Save1");  // cancels the Save As dialog when it comes
  EXPECT_EQ(Services.Dialogs.size(), Case.Titled ? 1u : 2u);
  EXPECT_EQ(ReadBytes(Path), Bytes);
}

INSTANTIATE_TEST_SUITE_P(
    , UnaccountedFiles,
    testing::Values(TUnaccountedFile{"S16ThroughTheSprFilter", 2, 0, false, false,
                                     " holds 54 bytes, 52 more than its directory names."},
                    TUnaccountedFile{"S16CutShort", 1, -2, false, false,
                                     " holds 52 bytes, 2 fewer than its directory names; the "
                                     "pixels missing are black."},
                    TUnaccountedFile{"S16WithBytesPastItsPixels", 1, 3, false, false,
                                     " holds 57 bytes, 3 more than its directory names."},
                    TUnaccountedFile{"SprWithBytesPastItsPixels", 2, 3, true, false,
                                     " holds 37 bytes, 3 more than its directory names."},
                    TUnaccountedFile{"WholeS16", 1, 0, false, true},
                    TUnaccountedFile{"WholeSpr", 2, 0, true, true}),
    [](const auto& Info) { return Info.param.Name; });

struct TOpenOverChanges {
  std::string Name;
  TMsgResult Answer;
  bool SaveAsGivesAName;
  bool Saved;
  bool Opened;
};

class OpenOverChanges : public TWindowTest, public testing::WithParamInterface<TOpenOverChanges> {};

TEST_P(OpenOverChanges, AsksAsNewDoesAndOpensOnlyOnceTheChangesAreSafeOrDropped) {
  const std::string Other = WriteS16("other.s16", {{4, 4}, {5, 5}});
  Probe().Document().Add(MakeSprite(2, 2));
  Window->MarkModified();
  Services.Answers = {GetParam().Answer};
  if (GetParam().Answer == TMsgResult::Yes && GetParam().SaveAsGivesAName)
    Services.DialogAnswers.push_back(TDialogAnswer{Dir.File("mine.s16"), 1});
  else if (GetParam().Answer == TMsgResult::Yes)
    Services.DialogAnswers.push_back(std::nullopt);
  Open(Other);

  ASSERT_FALSE(Services.Shown.empty());
  EXPECT_EQ(Services.Shown[0].Text, "This file has been altered. Do you wish to save it?");
  EXPECT_EQ(Services.Shown[0].Buttons, TMsgButtons::YesNoCancel);
  EXPECT_EQ(std::filesystem::exists(Dir.File("mine.s16")), GetParam().Saved);
  EXPECT_EQ(Probe().Document().Count(), GetParam().Opened ? 2 : 1);
  EXPECT_EQ(Probe().Modified(), !GetParam().Opened);
}

INSTANTIATE_TEST_SUITE_P(
    , OpenOverChanges,
    testing::Values(TOpenOverChanges{"Cancel", TMsgResult::Cancel, false, false, false},
                    TOpenOverChanges{"No", TMsgResult::No, false, false, true},
                    TOpenOverChanges{"YesAndSaved", TMsgResult::Yes, true, true, true},
                    TOpenOverChanges{"YesButSaveAsCancelled", TMsgResult::Yes, false, false,
                                     false}),
    [](const auto& Info) { return Info.param.Name; });

}  // namespace
