// pelbrook-tool's sprite sheets: sprites packed onto one PNG with a JSON atlas, and back.

#include <filesystem>

#include "platform/qt/unitSheetFiles.h"
#include "platform/unitFileIO.h"
#include "sprites/unitSpriteFileRoutes.h"
#include "tools/unitToolCommands.h"

namespace {

TSheetPacking PackingNamed(const std::string& Name) {
  return Name == "rows" ? TSheetPacking::Rows
         : Name == "max-rects"
             ? TSheetPacking::MaxRects
             : throw EToolUsage("--packing takes rows or max-rects, not \"" + Name + "\"");
}

int PaddingNamed(const std::string& Text) {
  const int Padding = ParseToolInteger(Text, "--padding");
  if (Padding < 0 || Padding > MaxSheetPadding)
    throw EToolUsage("--padding takes 0 to " + std::to_string(MaxSheetPadding));
  return Padding;
}

// The sprite index an option names, by default Default.
int RangeEnd(const TS16File& File, const TToolOptions& Options, const std::string& Name,
             int Default) {
  return Options.Has(Name) ? SpriteIndex(File, Options.Get(Name, ""), Options.Positional[0])
                           : Default;
}

}  // namespace

// Both names reach one file: the atlas would be written over it.
bool SameFile(const std::string& A, const std::string& B) {
  return std::filesystem::weakly_canonical(A) == std::filesystem::weakly_canonical(B);
}

int RunPack(const TToolArgs& Args) {
  const TToolOptions Options =
      ParseToolOptions(Args, {"--json", "--padding", "--from", "--to", "--packing", "--names"},
                       {"--array", "--pot", "--trim", "--keep-going"});
  ExpectPositional(Options, 2, 2);
  const std::string& Out = Options.Positional[1];
  if (!NameEndsWith(Out, ".png")) throw EToolUsage("the sheet " + Out + " must end in .png");
  const std::string Atlas = Options.Get("--json", AtlasPathFor(Out));
  if (SameFile(Atlas, Out) || SameFile(Atlas, Options.Positional[0]))
    throw EToolUsage("the atlas " + Atlas + " must be a file of its own");
  TSheetOptions Sheet;
  Sheet.Pack.Packing = PackingNamed(Options.Get("--packing", "rows"));
  Sheet.Pack.Padding = PaddingNamed(Options.Get("--padding", "0"));
  Sheet.Pack.PowerOfTwo = Options.Has("--pot");
  Sheet.Trim = Options.Has("--trim");
  Sheet.NamePattern = Options.Get("--names", DefaultFramePattern);
  // --from and --to name sprites here, not formats: IN's format follows its name.
  TToolOptions Input;
  Input.Positional = {Options.Positional[0]};
  if (Options.Has("--keep-going")) Input.Values["--keep-going"] = "";
  TS16File File;
  LoadSpriteDocument(File, Input);
  if (File.Count() == 0) throw std::runtime_error(Options.Positional[0] + " holds no sprites");
  const int First = RangeEnd(File, Options, "--from", 0);
  const int Last = RangeEnd(File, Options, "--to", File.Count() - 1);
  if (First > Last) throw EToolUsage("--from must not come after --to");
  SaveSpriteSheet(File, First, Last, Sheet,
                  Options.Has("--array") ? TAtlasForm::Array : TAtlasForm::Hash, Out, Atlas,
                  PELBROOK_VERSION);
  return 0;
}

int RunUnpack(const TToolArgs& Args) {
  const TToolOptions Options = ParseToolOptions(Args, {"--to"});
  ExpectPositional(Options, 3, 3);
  const std::string& Out = Options.Positional[2];
  const int Format = SaveFormatFor(Out, Options.Get("--to", ""));
  TS16File File;
  for (auto& Sprite :
       LoadSheetSprites(Options.Positional[0], LoadSheetAtlas(Options.Positional[1])))
    File.Add(std::move(Sprite));
  TNoProgress Progress;
  SaveDocument(File, Format, Out, Progress);
  return 0;
}
