#pragma once
// pelbrook-tool's subcommands and what they share: option parsing and the choice of the
// sprite file formats by name or by option.

#include <map>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "sprites/unitS16Handler.h"

using TToolArgs = std::vector<std::string>;

// A call whose words are off; the tool prints the message and the usage.
class EToolUsage : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct TToolOptions {
  std::vector<std::string> Positional;
  std::map<std::string, std::string> Values;  // --name value
  bool Has(const std::string& Name) const { return Values.count(Name) != 0; }
  std::string Get(const std::string& Name, const std::string& Default) const;
};

// Splits Args into positional words and options. ValueOptions take a value; Flags do not;
// any other word starting with "--" is a usage error.
TToolOptions ParseToolOptions(const TToolArgs& Args, const std::vector<std::string>& ValueOptions,
                              const std::vector<std::string>& Flags = {});
int ParseToolInteger(const std::string& Text, const std::string& What);
// Raises EToolUsage unless there are Least to Most positional words.
void ExpectPositional(const TToolOptions& Options, std::size_t Least, std::size_t Most);

// The name every message of the tool starts with, before ": ".
inline constexpr const char* ToolName = "pelbrook-tool";

// Whether the sprite file named by the first positional word is read as .spr: when --from is
// "spr", or when it is absent and the name ends in .spr (any case).
bool ReadsAsSpr(const TToolOptions& Options);
// Loads the sprite file named by the first positional word the way the editor's Open does: as
// .spr when --from is "spr", or when it is absent and the name ends in .spr (any case); as .s16
// otherwise. Sprites of an .spr file that cannot be read, and a file that is not exactly what
// its directory names, fail the load, unless --keep-going goes on with what could be read (and
// says so on standard error). Returns the SaveFormat of what was read.
int LoadSpriteDocument(TS16File& File, const TToolOptions& Options);
// The index that IndexText names; raises an error naming the indices Path's File holds when
// it is none of them.
int SpriteIndex(const TS16File& File, const std::string& IndexText, const std::string& Path);
// The filter index of the dialog filter string Filter that Out is written in, as Save As and
// Export To choose (ChooseFileType), but for a name without an extension, which takes Chosen.
// Raises EToolUsage for an extension none of the filters write, and for one that the option
// given (Option: its words, "--to spr"; empty for none) does not write.
int OutputFilterFor(const std::string& Out, const char* Filter, int Chosen,
                    const std::string& Option);
// The SaveFormat that OUT is written in: the one --to names ("s16-565", "s16-555", "spr"),
// else 5-6-5 .s16, unless OUT's extension names another (see OutputFilterFor).
int SaveFormatFor(const std::string& Path, const std::string& To);

int RunInfo(const TToolArgs& Args);
int RunConvert(const TToolArgs& Args);
int RunExport(const TToolArgs& Args);
int RunExportAll(const TToolArgs& Args);
int RunImport(const TToolArgs& Args);
int RunExpand(const TToolArgs& Args);
int RunGrid(const TToolArgs& Args);
int RunResample(const TToolArgs& Args);
int RunThumbnail(const TToolArgs& Args);
int RunPack(const TToolArgs& Args);
int RunUnpack(const TToolArgs& Args);
int RunPreview(const TToolArgs& Args);
