#include "platform/unitRegistryStore.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "platform/unitErrorReason.h"
#include "platform/unitFileIO.h"

namespace {

constexpr std::string_view Header = "REGEDIT4";
constexpr std::string_view Root = "HKEY_LOCAL_MACHINE\\";
constexpr std::string_view DwordPrefix = "dword:";
constexpr const char* MultiLineName = "a name or text cannot hold a line break";
// Far beyond any export of a few keys; a bigger file is not one of ours and is not loaded.
constexpr std::uint64_t MaxFileSize = 4 << 20;

char LowerAscii(char C) {
  return C >= 'A' && C <= 'Z' ? char(C - 'A' + 'a') : C;
}

bool EqualsIgnoringCase(std::string_view A, std::string_view B) {
  return std::equal(A.begin(), A.end(), B.begin(), B.end(),
                    [](char X, char Y) { return LowerAscii(X) == LowerAscii(Y); });
}

std::string_view Trimmed(std::string_view S) {
  const std::size_t First = S.find_first_not_of(" \t");
  if (First == std::string_view::npos) return {};
  return S.substr(First, S.find_last_not_of(" \t") - First + 1);
}

// A name with a line break would end its own line in the file and corrupt the next.
bool FitsOnOneLine(std::string_view S) {
  return S.find_first_of(std::string_view("\r\n\0", 3)) == std::string_view::npos;
}

bool IsSectionLine(std::string_view Line) {
  return Trimmed(Line).starts_with('[');
}

bool IsSectionOf(std::string_view Line, std::string_view KeyName) {
  Line = Trimmed(Line);
  return Line.size() >= 2 && Line.front() == '[' && Line.back() == ']' &&
         EqualsIgnoringCase(Line.substr(1, Line.size() - 2), KeyName);
}

// A quoted text at the start of S, with \" and \\ escapes: the text and the length it took.
std::optional<std::pair<std::string, std::size_t>> ParseQuoted(std::string_view S) {
  if (!S.starts_with('"')) return std::nullopt;
  std::string Text;
  std::size_t I = 1;
  for (; I < S.size() && S[I] != '"'; ++I) {
    if (S[I] == '\\' && I + 1 < S.size()) ++I;
    Text += S[I];
  }
  if (I == S.size()) return std::nullopt;
  return std::pair{std::move(Text), I + 1};
}

std::string Quoted(std::string_view Text) {
  std::string Line = "\"";
  for (char C : Text) {
    if (C == '"' || C == '\\') Line += '\\';
    Line += C;
  }
  return Line + '"';
}

struct TValueLine {
  std::string Name;
  std::string_view Data;
};

// "name"=data; absent for anything else.
std::optional<TValueLine> ParseValueLine(std::string_view Line) {
  Line = Trimmed(Line);
  auto Name = ParseQuoted(Line);
  if (!Name) return std::nullopt;
  const std::string_view Rest = Trimmed(Line.substr(Name->second));
  if (!Rest.starts_with('=')) return std::nullopt;
  return TValueLine{std::move(Name->first), Trimmed(Rest.substr(1))};
}

std::optional<std::uint32_t> ParseDword(std::string_view Data) {
  if (Data.size() <= DwordPrefix.size() || Data.size() > DwordPrefix.size() + 8 ||
      !EqualsIgnoringCase(Data.substr(0, DwordPrefix.size()), DwordPrefix))
    return std::nullopt;
  std::uint32_t Value = 0;
  const char* Last = Data.data() + Data.size();
  const auto [End, Error] = std::from_chars(Data.data() + DwordPrefix.size(), Last, Value, 16);
  if (Error != std::errc() || End != Last) return std::nullopt;
  return Value;
}

// The whole data is one quoted text.
std::optional<std::string> ParseString(std::string_view Data) {
  auto Text = ParseQuoted(Data);
  if (!Text || Text->second != Data.size()) return std::nullopt;
  return std::move(Text->first);
}

std::string FormatDword(std::string_view Name, std::uint32_t Value) {
  char Digits[9];
  std::snprintf(Digits, sizeof Digits, "%08x", unsigned(Value));
  return Quoted(Name) + "=" + std::string(DwordPrefix) + Digits;
}

std::string FormatString(std::string_view Name, std::string_view Text) {
  return Quoted(Name) + "=" + Quoted(Text);
}

struct TRange {
  std::size_t Begin, End;
};

// The value lines of every section of the key: an import merges repeated sections.
std::vector<TRange> SectionsOf(const TRegistryLines& Lines, std::string_view KeyName) {
  std::vector<TRange> Sections;
  bool Inside = false;
  for (std::size_t I = 0; I < Lines.size(); ++I) {
    if (!IsSectionLine(Lines[I])) continue;
    if (Inside) Sections.back().End = I;
    Inside = IsSectionOf(Lines[I], KeyName);
    if (Inside) Sections.push_back({I + 1, Lines.size()});
  }
  return Sections;
}

std::vector<std::size_t> ValueLinesNamed(const TRegistryLines& Lines, std::string_view KeyName,
                                         std::string_view Name) {
  std::vector<std::size_t> Found;
  for (const TRange& Section : SectionsOf(Lines, KeyName))
    for (std::size_t I = Section.Begin; I < Section.End; ++I)
      if (const auto Value = ParseValueLine(Lines[I]);
          Value && EqualsIgnoringCase(Value->Name, Name))
        Found.push_back(I);
  return Found;
}

void AddSection(TRegistryLines& Lines, std::string_view KeyName) {
  if (!SectionsOf(Lines, KeyName).empty()) return;
  if (!Trimmed(Lines.back()).empty()) Lines.emplace_back();
  std::string Line(1, '[');
  Line.append(KeyName).push_back(']');
  Lines.push_back(std::move(Line));
}

// The first line of the name takes the value and later ones go, so the file holds it once;
// no line removes it.
void SetValue(TRegistryLines& Lines, std::string_view KeyName, std::string_view Name,
              std::optional<std::string> Line) {
  AddSection(Lines, KeyName);
  const std::vector<std::size_t> Found = ValueLinesNamed(Lines, KeyName, Name);
  if (Found.empty()) {
    if (!Line) return;
    const TRange Section = SectionsOf(Lines, KeyName).front();
    std::size_t At = Section.End;
    while (At > Section.Begin && Trimmed(Lines[At - 1]).empty()) --At;
    Lines.insert(Lines.begin() + std::ptrdiff_t(At), std::move(*Line));
    return;
  }
  for (auto It = Found.rbegin(); It + 1 != Found.rend(); ++It)
    Lines.erase(Lines.begin() + std::ptrdiff_t(*It));
  if (Line)
    Lines[Found.front()] = std::move(*Line);
  else
    Lines.erase(Lines.begin() + std::ptrdiff_t(Found.front()));
}

TRegistryLines SplitLines(std::string_view Text) {
  TRegistryLines Lines;
  while (!Text.empty()) {
    const std::size_t End = Text.find('\n');
    std::string_view Line = Text.substr(0, End);
    if (Line.ends_with('\r')) Line.remove_suffix(1);
    Lines.emplace_back(Line);
    Text = End == std::string_view::npos ? std::string_view() : Text.substr(End + 1);
  }
  return Lines;
}

enum class TFileState { Missing, Loaded, Unusable };

struct TLoadedFile {
  TFileState State;
  TRegistryLines Lines;
  std::string Failure = {};  // why it is unusable
};

TLoadedFile Unusable(const std::string& Reason) {
  return {TFileState::Unusable, {}, Reason};
}

// Unusable covers whatever a rewrite could lose or garble: an unreadable or oversized file,
// binary content, another format.
TLoadedFile Load(const std::string& Path) {
  if (Path.empty())
    return Unusable("no file for preferences: neither XDG_CONFIG_HOME nor HOME is set");
  TFileReader Reader;
  if (!Reader.Open(Path))
    return errno == ENOENT ? TLoadedFile{TFileState::Missing, {}} : Unusable(Reader.Failure());
  if (Reader.Size() > MaxFileSize) return Unusable("too large for a preferences file");
  std::string Text(std::size_t(Reader.Size()), '\0');
  if (Reader.ReadUpTo(Text.data(), Text.size()) != Text.size())
    return Unusable("it could not be read whole");
  if (Text.empty()) return {TFileState::Missing, {}};
  constexpr const char* OtherFormat = "not a REGEDIT4 file";
  if (Text.find('\0') != std::string::npos) return Unusable(OtherFormat);
  TRegistryLines Lines = SplitLines(Text);
  if (Trimmed(Lines.front()) != Header) return Unusable(OtherFormat);
  return {TFileState::Loaded, std::move(Lines)};
}

// Why the file could not be replaced, or nothing when it was.
std::string Save(const std::string& Path, const TRegistryLines& Lines) {
  std::string Text;
  for (const std::string& Line : Lines) Text += Line + '\n';
  const std::filesystem::path Folder = std::filesystem::path(Path).parent_path();
  std::error_code Ignored;  // a folder that cannot be made fails the writer
  if (!Folder.empty()) std::filesystem::create_directories(Folder, Ignored);
  TSafeFileWriter Writer;
  if (!Writer.Create(Path)) return Writer.Failure();
  try {
    Writer.Write(Text.data(), Text.size());
    Writer.Commit();
  } catch (const EInOutError& Error) {
    return ErrorReason(Error);
  }
  return {};
}

// Reads the file anew, changes it and replaces it whole; the lines now in the file, or absent
// with Failure saying why.
std::optional<TRegistryLines> Rewrite(const std::string& Path,
                                      const std::function<void(TRegistryLines&)>& Change,
                                      std::string& Failure) {
  TLoadedFile File = Load(Path);
  if (File.State == TFileState::Unusable) {
    Failure = Path.empty() ? File.Failure : Path + ": " + File.Failure;
    return std::nullopt;
  }
  if (File.State == TFileState::Missing) File.Lines = {std::string(Header)};
  Change(File.Lines);
  if (const std::string Reason = Save(Path, File.Lines); !Reason.empty()) {
    Failure = Path + ": " + Reason;
    return std::nullopt;
  }
  Failure.clear();
  return std::move(File.Lines);
}

}  // namespace

TRegistryKey::TRegistryKey(std::string FilePath, std::string KeyName, TRegistryLines Lines)
    : FFilePath(std::move(FilePath)), FKeyName(std::move(KeyName)), FLines(std::move(Lines)) {}

std::optional<std::uint32_t> TRegistryKey::ReadDword(std::string_view Name) const {
  const std::vector<std::size_t> Found = ValueLinesNamed(FLines, FKeyName, Name);
  // The last one counts, as when the file is imported.
  if (Found.empty()) return std::nullopt;
  return ParseDword(ParseValueLine(FLines[Found.back()])->Data);
}

bool TRegistryKey::WriteDword(std::string_view Name, std::uint32_t Value) {
  if (!FitsOnOneLine(Name)) {
    FFailure = MultiLineName;
    return false;
  }
  return RewriteFile(
      [&](TRegistryLines& Lines) { SetValue(Lines, FKeyName, Name, FormatDword(Name, Value)); });
}

std::optional<std::string> TRegistryKey::ReadString(std::string_view Name) const {
  const std::vector<std::size_t> Found = ValueLinesNamed(FLines, FKeyName, Name);
  if (Found.empty()) return std::nullopt;
  return ParseString(ParseValueLine(FLines[Found.back()])->Data);
}

bool TRegistryKey::WriteStrings(const TStringValues& Values) {
  for (const auto& [Name, Text] : Values)
    if (!FitsOnOneLine(Name) || (Text && !FitsOnOneLine(*Text))) {
      FFailure = MultiLineName;
      return false;
    }
  return RewriteFile([&](TRegistryLines& Lines) {
    for (const auto& [Name, Text] : Values)
      SetValue(Lines, FKeyName, Name,
               Text ? std::optional(FormatString(Name, *Text)) : std::nullopt);
  });
}

bool TRegistryKey::RewriteFile(const std::function<void(TRegistryLines&)>& Change) {
  auto Written = Rewrite(FFilePath, Change, FFailure);
  if (!Written) return false;
  FLines = std::move(*Written);
  return true;
}

TRegistryStore::TRegistryStore(std::string FilePath) : FFilePath(std::move(FilePath)) {}

std::string TRegistryStore::DefaultFilePath() {
  return DefaultFilePath([](const char* Name) -> const char* { return std::getenv(Name); });
}

std::string TRegistryStore::DefaultFilePath(const TVariableLookup& Variable) {
  const auto NonEmpty = [&](const char* Name) -> const char* {
    const char* Value = Variable(Name);
    return Value && *Value ? Value : nullptr;
  };
  if (const char* Path = NonEmpty("PELBROOK_PREFERENCES")) return Path;
  std::filesystem::path Config;
  // A relative XDG_CONFIG_HOME is invalid and is ignored.
  if (const char* Xdg = NonEmpty("XDG_CONFIG_HOME"); Xdg && *Xdg == '/')
    Config = Xdg;
  else if (const char* Home = NonEmpty("HOME"))
    Config = std::filesystem::path(Home) / ".config";
  else
    return "";
  return (Config / "pelbrook" / "preferences.reg").string();
}

std::optional<TRegistryKey> TRegistryStore::OpenKey(std::string_view KeyPath) const {
  const std::string KeyName = std::string(Root) + std::string(KeyPath);
  TLoadedFile File = Load(FFilePath);
  if (File.State != TFileState::Loaded || SectionsOf(File.Lines, KeyName).empty())
    return std::nullopt;
  return TRegistryKey(FFilePath, KeyName, std::move(File.Lines));
}

std::optional<TRegistryKey> TRegistryStore::CreateKey(std::string_view KeyPath) {
  if (!FitsOnOneLine(KeyPath)) {
    FFailure = MultiLineName;
    return std::nullopt;
  }
  const std::string KeyName = std::string(Root) + std::string(KeyPath);
  // Writing the file is the one sure test that the values can be written after it.
  auto Written = Rewrite(
      FFilePath, [&](TRegistryLines& Lines) { AddSection(Lines, KeyName); }, FFailure);
  if (!Written) return std::nullopt;
  return TRegistryKey(FFilePath, KeyName, std::move(*Written));
}

int StoredThumbnailSize(std::optional<std::uint32_t> Stored) {
  switch (Stored.value_or(0)) {
    case 25:
    case 50:
    case 75:
    case 100:
      return int(*Stored);
    default:
      return PreferenceDefault::ThumbnailSize;
  }
}

int StoredCopyFormat(std::optional<std::uint32_t> Stored) {
  const std::uint32_t Low = Stored.value_or(0) & 0xFF;
  return Low >= 3 && Low <= 6 ? int(Low) : PreferenceDefault::CopyFormat;
}

bool StoredFlag(std::optional<std::uint32_t> Stored, bool Default) {
  return Stored ? *Stored != 0 : Default;
}
