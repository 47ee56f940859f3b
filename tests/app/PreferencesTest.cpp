// The stored choices across runs of the window, and what the user is told when they cannot
// be stored.

#include "tests/support/WindowFixture.h"

namespace {

using Preferences = TWindowTest;

std::string StoredText(const TTempDir& Dir) {
  const TBytes Bytes = ReadBytes(Dir.File("preferences.reg"));
  return std::string(Bytes.begin(), Bytes.end());
}

void WriteStore(const TTempDir& Dir, const std::string& Values) {
  const std::string Text =
      "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\Quillmoor Technology\\Tamblings "
      "2\\Pelbrook]\r\n" +
      Values;
  WriteBytes(Dir.File("preferences.reg"), TBytes(Text.begin(), Text.end()));
}

TEST_F(Preferences, AFirstRunHasTheDefaultsAndStoresNothing) {
  const TMainWindowProbe P = Probe();
  EXPECT_EQ(P.ThumbnailSize(), 25);
  EXPECT_TRUE(P.Ticked("N251"));
  EXPECT_TRUE(P.FitIntoThumbnail());
  EXPECT_FALSE(P.Ticked("Scalestosquare1"));
  EXPECT_FALSE(P.Ticked("FastResample1"));
  EXPECT_TRUE(P.Ticked("BetterResample1"));
  EXPECT_EQ(P.UseBetterResample(), 1);
  EXPECT_EQ(P.CopyFormat(), 6);
  EXPECT_TRUE(P.Ticked("N24bitBMP1"));
  EXPECT_FALSE(P.Ticked("Off1"));
  EXPECT_FALSE(std::filesystem::exists(Dir.File("preferences.reg")));
}

TEST_F(Preferences, EveryChoiceSurvivesARestart) {
  Run("N1001");
  Run("Scalestosquare1");
  Run("FastResample1");
  Run("BetterResample1");
  Run("N8bitBMP1");
  Run("Off1");
  RestartWindow();
  const TMainWindowProbe P = Probe();
  EXPECT_EQ(P.ThumbnailSize(), 100);
  EXPECT_TRUE(P.Ticked("N1001"));
  EXPECT_FALSE(P.Ticked("N251"));
  EXPECT_FALSE(P.FitIntoThumbnail());
  EXPECT_TRUE(P.Ticked("Scalestosquare1"));
  EXPECT_TRUE(P.FasterUpdate());
  EXPECT_EQ(P.UseBetterResample(), 0);
  EXPECT_FALSE(P.Ticked("BetterResample1"));
  EXPECT_EQ(P.CopyFormat(), 3);
  EXPECT_TRUE(P.Ticked("N8bitBMP1"));
  EXPECT_TRUE(P.Ticked("Off1"));
  EXPECT_TRUE(Services.Shown.empty());
}

TEST_F(Preferences, TheAspectValueIsOneValueUnderBothSpellingsOfItsName) {
  WriteStore(Dir, "\"Fit Into Thumbnail\"=dword:00000000\r\n");
  RestartWindow();
  EXPECT_TRUE(Probe().Ticked("Scalestosquare1"));
  Run("N501");
  const std::string Text = StoredText(Dir);
  EXPECT_NE(Text.find("\"Fit into Thumbnail\"=dword:00000000"), std::string::npos);
  EXPECT_EQ(Text.find("\"Fit Into Thumbnail\""), std::string::npos);
  RestartWindow();
  EXPECT_TRUE(Probe().Ticked("Scalestosquare1"));
  EXPECT_EQ(Probe().ThumbnailSize(), 50);
}

TEST_F(Preferences, AValueStoredAsTextGivesItsDefaultAndLeavesTheOthers) {
  WriteStore(Dir,
             "\"Thumbnail Size\"=\"50\"\r\n\"Copy Format\"=dword:00000103\r\n"
             "\"Faster Resample Code\"=dword:00000000\r\n");
  RestartWindow();
  EXPECT_EQ(Probe().ThumbnailSize(), 25);
  EXPECT_EQ(Probe().CopyFormat(), 3);  // the low 8 bits of 259
  EXPECT_EQ(Probe().UseBetterResample(), 0);
}

TEST_F(Preferences, AStoreThatCannotBeWrittenIsReportedAndTheChoiceStillHolds) {
  // The store's folder is a file: the key can be neither created nor written.
  WriteBytes(Dir.File("blocked"), {1});
  TScriptedDesktopServices Blocked(Dir.File("blocked/preferences.reg"));
  TPelbrookMainWindow BlockedWindow(Blocked);
  BlockedWindow.RunMenuEntry(BlockedWindow.MenuEntry("N751"));
  const TMessageBoxRequest NoKey{"For some reason, the program was unable to open the Save Key",
                                 "The Pelbrook",
                                 TMsgButtons::Ok,
                                 TMsgIcon::Stop,
                                 false,
                                 Dir.File("blocked/preferences.reg") + ": Not a directory"};
  EXPECT_EQ(Blocked.Shown, std::vector<TMessageBoxRequest>{NoKey});
  EXPECT_EQ(TMainWindowProbe(BlockedWindow).ThumbnailSize(), 75);
}

}  // namespace
