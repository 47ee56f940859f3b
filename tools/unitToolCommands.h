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
std::string Lowercase(std::string_view Text);

// Loads the sprite file named by the first positional word the way the editor's Open does: as
// .spr when --from is "spr", or when it is absent and the name ends in .spr (any case); as .s16
// otherwise. Sprites of an .spr file that cannot be read fail the load, unless --keep-going
// leaves them out (and says so on standard error). Returns the SaveFormat of what was read.
int LoadSpriteDocument(TS16File& File, const TToolOptions& Options);
// The SaveFormat that --to names ("s16-565", "s16-555", "spr"), or when To is empty the one
// the name implies: .spr for a name ending in .spr, 5-6-5 .s16 otherwise.
int SaveFormatFor(const std::string& Path, const std::string& To);

int RunInfo(const TToolArgs& Args);
int RunConvert(const TToolArgs& Args);
int RunExport(const TToolArgs& Args);
int RunExportAll(const TToolArgs& Args);
int RunImport(const TToolArgs& Args);
int RunExpand(const TToolArgs& Args);
int RunResample(const TToolArgs& Args);
int RunThumbnail(const TToolArgs& Args);
