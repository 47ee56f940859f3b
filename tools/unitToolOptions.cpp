#include <algorithm>
#include <cctype>
#include <charconv>
#include <iostream>

#include "platform/unitConsoleWindowServices.h"
#include "sprites/unitSpriteFileRoutes.h"
#include "tools/unitToolCommands.h"

namespace {

bool Contains(const std::vector<std::string>& Names, const std::string& Name) {
  return std::find(Names.begin(), Names.end(), Name) != Names.end();
}

}  // namespace

std::string Lowercase(std::string_view Text) {
  std::string Result(Text);
  std::transform(Result.begin(), Result.end(), Result.begin(),
                 [](unsigned char C) { return char(std::tolower(C)); });
  return Result;
}

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

int LoadSpriteDocument(TS16File& File, const TToolOptions& Options) {
  const std::string& Path = Options.Positional[0];
  const std::string From = Options.Get("--from", "");
  if (!From.empty() && From != "s16" && From != "spr")
    throw EToolUsage("--from takes s16 or spr, not \"" + From + "\"");
  const bool AsSpr = From == "spr" || (From.empty() && IsSprFileName(Path));
  if (!AsSpr) return OpenS16Document(File, Path);
  TConsoleWindowServices Services;
  TSprLoader Loader(Services);
  const TSprOpenResult Result = OpenSprDocument(File, Path, Loader);
  if (Result.LeftOut == 0) return SaveFormatSpr;
  // A batch must not put a file with sprites missing in place of a good one unasked.
  if (!Options.Has("--keep-going"))
    throw std::runtime_error(Result.UnreadText(Path) + " (--keep-going goes on without them)");
  std::cerr << Result.LeftOutText(Path) << '\n';
  return SaveFormatSpr;
}

int SaveFormatFor(const std::string& Path, const std::string& To) {
  if (To.empty()) return IsSprFileName(Path) ? SaveFormatSpr : SaveFormatS16_565;
  if (To == "s16-565") return SaveFormatS16_565;
  if (To == "s16-555") return SaveFormatS16_555;
  if (To == "spr") return SaveFormatSpr;
  throw EToolUsage("--to takes s16-565, s16-555 or spr, not \"" + To + "\"");
}
