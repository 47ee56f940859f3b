#include <algorithm>
#include <charconv>
#include <iostream>

#include "platform/unitConsoleWindowServices.h"
#include "sprites/unitFileTypeChoice.h"
#include "sprites/unitSpriteFileRoutes.h"
#include "tools/unitToolCommands.h"

namespace {

bool Contains(const std::vector<std::string>& Names, const std::string& Name) {
  return std::find(Names.begin(), Names.end(), Name) != Names.end();
}

// A batch must not put a file with parts left out in place of a good one unasked: Refusal
// fails the command, unless --keep-going goes on after Notice.
void GoOnOnlyIfTold(const TToolOptions& Options, const std::string& Refusal,
                    const std::string& Notice) {
  if (!Options.Has("--keep-going")) throw std::runtime_error(Refusal);
  std::cerr << ToolName << ": " << Notice << '\n';
}

void RequireWhole(const TToolOptions& Options, bool Whole, const std::string& Path,
                  const char* Format) {
  if (Whole) return;
  const std::string Fault = Path + " does not read as an " + Format +
                            " file: it holds more or fewer bytes than its directory names";
  GoOnOnlyIfTold(Options, Fault + " (--keep-going goes on with what could be read)",
                 Fault + "; what could be read is used.");
}

// ".s16 and .spr": each extension once, in the filters' order.
std::string ExtensionList(const std::vector<std::string>& Extensions) {
  std::vector<std::string> Listed;
  for (const std::string& Extension : Extensions)
    if (!Contains(Listed, Extension)) Listed.push_back(Extension);
  std::string Text;
  for (std::size_t I = 0; I < Listed.size(); ++I)
    Text += (I == 0 ? "." : I + 1 == Listed.size() ? " and ." : ", .") + Listed[I];
  return Text;
}

}  // namespace

void ExpectPositional(const TToolOptions& Options, std::size_t Least, std::size_t Most) {
  const std::size_t Count = Options.Positional.size();
  if (Count < Least || Count > Most) throw EToolUsage("wrong number of arguments");
}

std::string TToolOptions::Get(const std::string& Name, const std::string& Default) const {
  const auto Found = Values.find(Name);
  return Found == Values.end() ? Default : Found->second;
}

TToolOptions ParseToolOptions(const TToolArgs& Args, const std::vector<std::string>& ValueOptions,
                              const std::vector<std::string>& Flags) {
  TToolOptions Options;
  for (std::size_t I = 0; I < Args.size(); ++I) {
    const std::string& Word = Args[I];
    if (Word.rfind("--", 0) != 0) {
      Options.Positional.push_back(Word);
    } else if (Contains(Flags, Word)) {
      Options.Values[Word] = "";
    } else if (Contains(ValueOptions, Word)) {
      if (I + 1 == Args.size()) throw EToolUsage(Word + " needs a value");
      Options.Values[Word] = Args[++I];
    } else {
      throw EToolUsage("unknown option " + Word);
    }
  }
  return Options;
}

int ParseToolInteger(const std::string& Text, const std::string& What) {
  int Value = 0;
  const auto [End, Error] = std::from_chars(Text.data(), Text.data() + Text.size(), Value);
  if (Error != std::errc() || End != Text.data() + Text.size())
    throw EToolUsage(What + " must be a whole number, not \"" + Text + "\"");
  return Value;
}

int SpriteIndex(const TS16File& File, const std::string& IndexText, const std::string& Path) {
  const int Index = ParseToolInteger(IndexText, "INDEX");
  if (Index >= 0 && Index < File.Count()) return Index;
  const int Count = File.Count();
  throw std::runtime_error("sprite " + IndexText + " does not exist: " + Path + " holds " +
                           std::to_string(Count) +
                           (Count == 1   ? " sprite (0)"
                            : Count == 0 ? " sprites"
                                         : " sprites (0-" + std::to_string(Count - 1) + ")"));
}

bool ReadsAsSpr(const TToolOptions& Options) {
  const std::string From = Options.Get("--from", "");
  if (!From.empty() && From != "s16" && From != "spr")
    throw EToolUsage("--from takes s16 or spr, not \"" + From + "\"");
  return From == "spr" || (From.empty() && IsSprFileName(Options.Positional[0]));
}

int LoadSpriteDocument(TS16File& File, const TToolOptions& Options) {
  const std::string& Path = Options.Positional[0];
  if (!ReadsAsSpr(Options)) {
    TFileExtent Extent;
    const int Format = OpenS16Document(File, Path, &Extent);
    RequireWhole(Options, Extent.Whole(), Path, ".s16");
    return Format;
  }
  TConsoleWindowServices Services(ToolName);
  TSprLoader Loader(Services);
  const TSprOpenResult Result = OpenSprDocument(File, Path, Loader);
  if (Result.LeftOut > 0)
    GoOnOnlyIfTold(Options, Result.UnreadText(Path) + " (--keep-going goes on without them)",
                   Result.LeftOutText(Path));
  else
    RequireWhole(Options, Result.Whole, Path, ".spr");
  return SaveFormatSpr;
}

int OutputFilterFor(const std::string& Out, const char* Filter, int Chosen,
                    const std::string& Option) {
  const std::string Extension = NameExtension(Out);
  if (Extension.empty()) return Chosen;
  const std::vector<std::string> Extensions = FilterExtensions(Filter);
  if (!Contains(Extensions, Extension))
    throw EToolUsage("cannot write " + Out + ": it writes " + ExtensionList(Extensions) +
                     " files only");
  const int Picked = ChooseFileType(Out, Extensions, Chosen).FilterIndex;
  if (!Option.empty() && Picked != Chosen)
    throw EToolUsage(Out + " ends in ." + Extension + ", which " + Option + " does not write");
  return Picked;
}

int SaveFormatFor(const std::string& Path, const std::string& To) {
  const int Chosen =
      To.empty()        ? SaveFormatS16_565
      : To == "s16-565" ? SaveFormatS16_565
      : To == "s16-555" ? SaveFormatS16_555
      : To == "spr"     ? SaveFormatSpr
                    : throw EToolUsage("--to takes s16-565, s16-555 or spr, not \"" + To + "\"");
  return OutputFilterFor(Path, SaveFileFilter, Chosen, To.empty() ? "" : "--to " + To);
}
