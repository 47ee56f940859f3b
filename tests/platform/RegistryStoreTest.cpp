// The preference store: values through open, create, read and write, the file they leave, the
// files it refuses to replace, and the way stored preferences are taken.

#include <gtest/gtest.h>

#include <map>

#include "platform/unitFileIO.h"
#include "platform/unitRegistryStore.h"
#include "tests/support/FileSizeLimit.h"
#include "tests/support/TempDir.h"

namespace {

namespace Name = PreferenceName;

const std::string KeyLine =
    "[HKEY_LOCAL_MACHINE\\Software\\Quillmoor Technology\\Tamblings 2\\Pelbrook]";

TBytes BytesOf(const std::string& Text) {
  return TBytes(Text.begin(), Text.end());
}

TEST(RegistryStore, FirstWritesCreateFolderAndFileThatReadBack) {
  TTempDir Dir;
  const std::string Path = Dir.File("config/pelbrook/preferences.reg");
  TRegistryStore Store(Path);
  EXPECT_FALSE(Store.OpenKey(PreferencesKeyPath));
  auto Key = Store.CreateKey(PreferencesKeyPath);
  ASSERT_TRUE(Key);
  const std::pair<std::string_view, std::uint32_t> Values[] = {
      {Name::ThumbnailSize, 100},      {Name::FitIntoThumbnailWritten, 0},
      {Name::FasterResampleUpdate, 1}, {Name::FasterResampleCode, 0},
      {Name::CopyFormat, 0xDEADBEEF},  {Name::DisableThumbnailGeneration, 1}};
  for (const auto& [ValueName, Value] : Values) ASSERT_TRUE(Key->WriteDword(ValueName, Value));

  EXPECT_EQ(ReadBytes(Path), BytesOf("REGEDIT4\n\n" + KeyLine +
                                     "\n"
                                     "\"Thumbnail Size\"=dword:00000064\n"
                                     "\"Fit into Thumbnail\"=dword:00000000\n"
                                     "\"Faster Resample Update\"=dword:00000001\n"
                                     "\"Faster Resample Code\"=dword:00000000\n"
                                     "\"Copy Format\"=dword:deadbeef\n"
                                     "\"Disable Thumbnail Generation\"=dword:00000001\n"));
  const auto Reopened = TRegistryStore(Path).OpenKey(PreferencesKeyPath);
  ASSERT_TRUE(Reopened);
  for (const auto& [ValueName, Value] : Values) EXPECT_EQ(Reopened->ReadDword(ValueName), Value);
}

TEST(RegistryStore, NamesInAnyCaseAreOneValueStoredOnce) {
  TTempDir Dir;
  const std::string Path = Dir.File("preferences.reg");
  WriteBytes(Path, BytesOf("REGEDIT4\r\n\r\n"
                           "[hkey_local_machine\\SOFTWARE\\Quillmoor Technology\\Tamblings 2\\"
                           "pelbrook]\r\n"
                           "\"Fit Into Thumbnail\"=dword:00000000\r\n"
                           "\"FIT INTO THUMBNAIL\"=dword:00000000\r\n"));
  auto Key = TRegistryStore(Path).OpenKey(PreferencesKeyPath);
  ASSERT_TRUE(Key);
  EXPECT_EQ(Key->ReadDword(Name::FitIntoThumbnailRead), 0u);
  ASSERT_TRUE(Key->WriteDword(Name::FitIntoThumbnailWritten, 1));
  EXPECT_EQ(Key->ReadDword(Name::FitIntoThumbnailRead), 1u);
  EXPECT_EQ(ReadBytes(Path), BytesOf("REGEDIT4\n\n"
                                     "[hkey_local_machine\\SOFTWARE\\Quillmoor Technology\\"
                                     "Tamblings 2\\pelbrook]\n"
                                     "\"Fit into Thumbnail\"=dword:00000001\n"));
}

TEST(RegistryStore, RewriteKeepsOtherKeysUnknownValuesAndUnparsedLines) {
  TTempDir Dir;
  const std::string Path = Dir.File("preferences.reg");
  const std::string Others =
      "[HKEY_CURRENT_USER\\Software\\Other]\n"
      "\"Thumbnail Size\"=dword:00000032\n\n";
  const std::string Unknown =
      "; kept\n"
      "\"Unknown\"=hex:01,02,\\\n  03,04\n";
  const std::string Unparsed = "not registry syntax\n@=\"default\"\n";
  const std::string Sub =
      "\n" + KeyLine.substr(0, KeyLine.size() - 1) + "\\Sub]\n\"Thumbnail Size\"=dword:00000019\n";
  WriteBytes(Path, BytesOf("REGEDIT4\n\n" + Others + KeyLine + "\n" + Unknown +
                           "\"Copy Format\"=\"6\"\n" + Unparsed + Sub));
  auto Key = TRegistryStore(Path).OpenKey(PreferencesKeyPath);
  ASSERT_TRUE(Key);
  EXPECT_FALSE(Key->ReadDword(Name::ThumbnailSize));
  ASSERT_TRUE(Key->WriteDword(Name::CopyFormat, 3));
  ASSERT_TRUE(Key->WriteDword(Name::ThumbnailSize, 75));
  EXPECT_EQ(ReadBytes(Path), BytesOf("REGEDIT4\n\n" + Others + KeyLine + "\n" + Unknown +
                                     "\"Copy Format\"=dword:00000003\n" + Unparsed +
                                     "\"Thumbnail Size\"=dword:0000004b\n" + Sub));
}

struct TDwordCase {
  std::string Name;
  std::string Data;
  std::optional<std::uint32_t> Expected;
};

class RegistryStoreDword : public testing::TestWithParam<TDwordCase> {};

TEST_P(RegistryStoreDword, ReadsOnlyDwordsAndLeavesTheOthersReadable) {
  TTempDir Dir;
  const std::string Path = Dir.File("preferences.reg");
  WriteBytes(Path, BytesOf("REGEDIT4\r\n\r\n" + KeyLine +
                           "\r\n\"Copy Format\"=dword:00000005\r\n"
                           "\"Thumbnail Size\"=" +
                           GetParam().Data + "\r\n\"Faster Resample Update\"=dword:00000001\r\n"));
  const auto Key = TRegistryStore(Path).OpenKey(PreferencesKeyPath);
  ASSERT_TRUE(Key);
  EXPECT_EQ(Key->ReadDword(Name::ThumbnailSize), GetParam().Expected);
  EXPECT_EQ(Key->ReadDword(Name::CopyFormat), 5u);
  EXPECT_EQ(Key->ReadDword(Name::FasterResampleUpdate), 1u);
}

INSTANTIATE_TEST_SUITE_P(Values, RegistryStoreDword,
                         testing::Values(TDwordCase{"Dword", "dword:0000001e", 30},
                                         TDwordCase{"UpperCaseAndShort", "DWORD:1E", 30},
                                         TDwordCase{"Largest", "dword:ffffffff", 0xFFFFFFFF},
                                         TDwordCase{"String", "\"30\"", std::nullopt},
                                         TDwordCase{"Hex", "hex:1e,00,00,00", std::nullopt},
                                         TDwordCase{"NineDigits", "dword:100000000", std::nullopt},
                                         TDwordCase{"NoDigits", "dword:", std::nullopt},
                                         TDwordCase{"Negative", "dword:-1", std::nullopt},
                                         TDwordCase{"TrailingJunk", "dword:1e junk", std::nullopt},
                                         TDwordCase{"Deletion", "-", std::nullopt}),
                         [](const auto& Info) { return Info.param.Name; });

struct TStringCase {
  std::string Name;
  std::string Data;
  std::optional<std::string> Expected;
};

class RegistryStoreString : public testing::TestWithParam<TStringCase> {};

TEST_P(RegistryStoreString, ReadsOnlyWholeQuotedTexts) {
  TTempDir Dir;
  const std::string Path = Dir.File("preferences.reg");
  WriteBytes(Path,
             BytesOf("REGEDIT4\n\n" + KeyLine + "\n\"Recent File 1\"=" + GetParam().Data + "\n"));
  const auto Key = TRegistryStore(Path).OpenKey(PreferencesKeyPath);
  ASSERT_TRUE(Key);
  EXPECT_EQ(Key->ReadString("recent file 1"), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(Values, RegistryStoreString,
                         testing::Values(TStringCase{"Plain", "\"/art/a.s16\"", "/art/a.s16"},
                                         TStringCase{"Escapes", R"("C:\\art\\\"q\".spr")",
                                                     R"(C:\art\"q".spr)"},
                                         TStringCase{"Empty", "\"\"", ""},
                                         TStringCase{"Dword", "dword:00000001", std::nullopt},
                                         TStringCase{"Unclosed", "\"/art/a.s16", std::nullopt},
                                         TStringCase{"TrailingJunk", "\"a\" b", std::nullopt}),
                         [](const auto& Info) { return Info.param.Name; });

TEST(RegistryStore, StringsAreWrittenEscapedInOneGoAndAbsentTextsRemoved) {
  TTempDir Dir;
  const std::string Path = Dir.File("preferences.reg");
  auto Key = TRegistryStore(Path).CreateKey(PreferencesKeyPath);
  ASSERT_TRUE(Key);
  ASSERT_TRUE(Key->WriteDword(Name::ThumbnailSize, 50));
  ASSERT_TRUE(Key->WriteStrings({{"A", R"(C:\x "y")"}, {"B", "b"}, {"C", std::nullopt}}));
  ASSERT_TRUE(Key->WriteStrings({{"A", "a"}, {"B", std::nullopt}}));
  EXPECT_FALSE(Key->WriteStrings({{"A", "line\nbreak"}}));
  EXPECT_EQ(Key->ReadString("A"), "a");
  ASSERT_TRUE(Key->WriteStrings({{"B", R"(C:\x "y")"}}));
  EXPECT_EQ(ReadBytes(Path), BytesOf("REGEDIT4\n\n" + KeyLine +
                                     "\n\"Thumbnail Size\"=dword:00000032\n\"A\"=\"a\"\n"
                                     R"("B"="C:\\x \"y\"")"
                                     "\n"));
  EXPECT_EQ(TRegistryStore(Path).OpenKey(PreferencesKeyPath)->ReadString("B"), R"(C:\x "y")");
}

struct TRefusalCase {
  std::string Label;
  std::string ExistingName;
  std::string ExistingText;
  std::string StoreName;
  bool Readable;
  std::string Reason;  // after the store's path
  rlim_t FileSizeLimit = RLIM_INFINITY;
};

class RegistryStoreRefusal : public testing::TestWithParam<TRefusalCase> {};

TEST_P(RegistryStoreRefusal, FailsAndLeavesTheOldFileAsItWas) {
  TTempDir Dir;
  const TRefusalCase& Case = GetParam();
  const TBytes Old = BytesOf(Case.ExistingText);
  WriteBytes(Dir.File(Case.ExistingName), Old);
  TRegistryStore Store(Dir.File(Case.StoreName));
  IgnoreFileSizeSignal();
  const TFileSizeLimit Limit(Case.FileSizeLimit);
  EXPECT_FALSE(Store.CreateKey(PreferencesKeyPath));
  const std::string Failure = Dir.File(Case.StoreName) + ": " + Case.Reason;
  EXPECT_EQ(Store.Failure(), Failure);
  auto Key = Store.OpenKey(PreferencesKeyPath);
  ASSERT_EQ(bool(Key), Case.Readable);
  if (Key) {
    EXPECT_EQ(Key->ReadDword(Name::ThumbnailSize), 50u);
    EXPECT_FALSE(Key->WriteDword(Name::ThumbnailSize, 75));
    EXPECT_EQ(Key->Failure(), Failure);
  }
  EXPECT_EQ(ReadBytes(Dir.File(Case.ExistingName)), Old);
  EXPECT_EQ(Dir.Entries(), std::vector<std::string>{Case.ExistingName});
}

const std::string GoodFile = "REGEDIT4\n\n" + KeyLine + "\n\"Thumbnail Size\"=dword:00000032\n";

INSTANTIATE_TEST_SUITE_P(
    Files, RegistryStoreRefusal,
    testing::Values(TRefusalCase{"UnderARegularFile", "plain", "x", "plain/preferences.reg", false,
                                 "Not a directory"},
                    TRefusalCase{"NoRoomForTheNewFile", "preferences.reg", GoodFile,
                                 "preferences.reg", true, "File too large", 16},
                    TRefusalCase{"NotRegedit4", "preferences.reg", "[x]\n" + GoodFile,
                                 "preferences.reg", false, "not a REGEDIT4 file"},
                    TRefusalCase{"Binary", "preferences.reg", GoodFile + std::string(1, '\0'),
                                 "preferences.reg", false, "not a REGEDIT4 file"}),
    [](const auto& Info) { return Info.param.Label; });

struct TPathCase {
  const char* Name;
  const char* Override;
  const char* ConfigHome;
  const char* Home;
  std::string Expected;
};

class RegistryStoreDefaultPath : public testing::TestWithParam<TPathCase> {};

TEST_P(RegistryStoreDefaultPath, FollowsOverrideThenXdgThenHome) {
  const std::map<std::string, const char*> Variables = {
      {"PELBROOK_PREFERENCES", GetParam().Override},
      {"XDG_CONFIG_HOME", GetParam().ConfigHome},
      {"HOME", GetParam().Home}};
  EXPECT_EQ(TRegistryStore::DefaultFilePath([&](const char* Name) { return Variables.at(Name); }),
            GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Environments, RegistryStoreDefaultPath,
    testing::Values(TPathCase{"Override", "/p/prefs.reg", "/x", "/h", "/p/prefs.reg"},
                    TPathCase{"EmptyOverride", "", "/x", "/h", "/x/pelbrook/preferences.reg"},
                    TPathCase{"RelativeConfigHome", nullptr, "relative", "/h",
                              "/h/.config/pelbrook/preferences.reg"},
                    TPathCase{"NoneSet", nullptr, nullptr, nullptr, ""}),
    [](const auto& Info) { return std::string(Info.param.Name); });

TEST(RegistryStorePreferences, TakesDefinedValuesAndDefaultsTheRest) {
  EXPECT_EQ(StoredThumbnailSize(100), 100);
  EXPECT_EQ(StoredThumbnailSize(60), 25);
  EXPECT_EQ(StoredThumbnailSize(std::nullopt), 25);
  EXPECT_EQ(StoredCopyFormat(259), 3);
  EXPECT_EQ(StoredCopyFormat(7), 6);
  EXPECT_EQ(StoredCopyFormat(std::nullopt), 6);
  EXPECT_TRUE(StoredFlag(2, false));
  EXPECT_FALSE(StoredFlag(0, true));
  EXPECT_TRUE(StoredFlag(std::nullopt, true));
}

}  // namespace
