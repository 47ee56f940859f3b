#include <cstdio>
#include <exception>
#include <filesystem>
#include <functional>
#include <iostream>

#include "imaging/unitExpansionScan.h"
#include "imaging/unitGridCut.h"
#include "platform/qt/unitImageImport.h"
#include "platform/qt/unitQtImageFiles.h"
#include "platform/unitErrorReason.h"
#include "platform/unitFileIO.h"
#include "platform/unitFileStamp.h"
#include "sprites/unitBitmapRoutes.h"
#include "sprites/unitSpriteFileRoutes.h"
#include "tools/unitToolCommands.h"

namespace {

const char* FormatName(int SaveFormat) {
  return SaveFormat == SaveFormatSpr       ? "spr"
         : SaveFormat == SaveFormatS16_555 ? "s16 5-5-5"
                                           : "s16 5-6-5";
}

// Prints the status text of each cut, a line each, as the window shows it; nothing else the
// window would show is wanted in a batch.
class TPrintedCuts : public IExpansionView {
 public:
  void SetStatusText(const std::string& Text) override { FStatusText = Text; }
  void ShowWorkingImage(const TBitmap&) override {}
  void BoxCut(const TCutBox&) override { std::cout << FStatusText << '\n'; }
  void SetProgress(int) override {}

 private:
  std::string FStatusText;
};

// Loads IN, the first word, changes it and saves it as OUT, the last, in the format that --to
// or OUT's name chooses. Where OUT is IN, a change that another program made to it meanwhile
// is not written over.
// ValueOptions and Flags are the subcommand's own, beside --from, --to and --keep-going.
int ChangeDocument(const TToolArgs& Args, std::size_t Words,
                   const std::function<void(TS16File&, const TToolOptions&)>& Change,
                   std::vector<std::string> ValueOptions = {},
                   std::vector<std::string> Flags = {}) {
  ValueOptions.insert(ValueOptions.end(), {"--from", "--to"});
  Flags.push_back("--keep-going");
  const TToolOptions Options = ParseToolOptions(Args, ValueOptions, Flags);
  ExpectPositional(Options, Words, Words);
  const std::string& Out = Options.Positional.back();
  const int Format = SaveFormatFor(Out, Options.Get("--to", ""));
  const std::string& In = Options.Positional.front();
  const TKnownFile Input{In, FileStampOf(In)};
  TS16File File;
  LoadSpriteDocument(File, Options);
  Change(File, Options);
  if (Input.ChangedBeforeSaveTo(Out))
    RaiseWithReason(EInOutError("Unable to save to: " + Out),
                    In + " has been changed by another program since it was read");
  TNoProgress Progress;
  SaveDocument(File, Format, Out, Progress);
  return 0;
}

int ExportFilterNamed(const std::string& Depth) {
  return Depth == "24"    ? ExportFilter24Bit
         : Depth == "16"  ? ExportFilter16Bit
         : Depth == "8"   ? ExportFilter8Bit
         : Depth == "png" ? ExportFilterPng
                          : throw EToolUsage("--depth takes 24, 16, 8 or png");
}

void MakeFolder(const std::filesystem::path& Folder) {
  std::error_code Failure;
  std::filesystem::create_directories(Folder, Failure);
  if (Failure)
    RaiseWithReason(std::runtime_error("Unable to make the folder " + Folder.string()),
                    Failure.message());
}

// --cell WxH, --margin M, --spacing S and --keep-empty.
TGridLayout GridLayoutOf(const TToolOptions& Options) {
  const std::string Cell = Options.Get("--cell", "");
  const std::size_t Times = Cell.find_first_of("xX");
  if (Times == std::string::npos) throw EToolUsage("--cell takes WIDTHxHEIGHT, such as 32x32");
  TGridLayout Layout{ParseToolInteger(Cell.substr(0, Times), "--cell's width"),
                     ParseToolInteger(Cell.substr(Times + 1), "--cell's height"),
                     ParseToolInteger(Options.Get("--margin", "0"), "--margin"),
                     ParseToolInteger(Options.Get("--spacing", "0"), "--spacing"),
                     !Options.Has("--keep-empty")};
  if (Layout.CellWidth < 1 || Layout.CellHeight < 1)
    throw EToolUsage("--cell's width and height must be at least 1");
  if (Layout.Margin < 0 || Layout.Spacing < 0)
    throw EToolUsage("--margin and --spacing cannot be negative");
  return Layout;
}

}  // namespace

int RunInfo(const TToolArgs& Args) {
  const TToolOptions Options = ParseToolOptions(Args, {"--from"}, {"--keep-going"});
  ExpectPositional(Options, 1, 1);
  TS16File File;
  const int Format = LoadSpriteDocument(File, Options);
  std::cout << FormatName(Format) << '\n' << File.Count() << '\n';
  for (int I = 0; I < File.Count(); ++I) {
    const TS16Sprite& Sprite = File.GetSprite(I);
    std::cout << I << ' ' << Sprite.Width() << ' ' << Sprite.Height() << '\n';
  }
  return 0;
}

int RunConvert(const TToolArgs& Args) {
  return ChangeDocument(Args, 2, [](TS16File&, const TToolOptions&) {});
}

int RunExport(const TToolArgs& Args) {
  const TToolOptions Options = ParseToolOptions(Args, {"--from", "--depth"}, {"--keep-going"});
  ExpectPositional(Options, 3, 3);
  const std::string& Out = Options.Positional[2];
  const std::string Depth = Options.Get("--depth", "");
  const int Filter =
      OutputFilterFor(Out, ExportFileFilter, ExportFilterNamed(Depth.empty() ? "24" : Depth),
                      Depth.empty() ? "" : "--depth " + Depth);
  TS16File File;
  LoadSpriteDocument(File, Options);
  SaveExportFile(File.GetSprite(SpriteIndex(File, Options.Positional[1], Options.Positional[0])),
                 Filter, Out);
  return 0;
}

int RunExportAll(const TToolArgs& Args) {
  const TToolOptions Options = ParseToolOptions(Args, {"--from", "--depth"}, {"--keep-going"});
  ExpectPositional(Options, 2, 2);
  const int Filter = ExportFilterNamed(Options.Get("--depth", "24"));
  const char* Extension = Filter == ExportFilterPng ? "png" : "bmp";
  TS16File File;
  LoadSpriteDocument(File, Options);
  const std::filesystem::path Folder(Options.Positional[1]);
  MakeFolder(Folder);
  for (int I = 0; I < File.Count(); ++I) {
    char Name[16];
    std::snprintf(Name, sizeof(Name), "%04d.%s", I, Extension);
    SaveExportFile(File.GetSprite(I), Filter, (Folder / Name).string());
  }
  return 0;
}

int RunImport(const TToolArgs& Args) {
  const TToolOptions Options = ParseToolOptions(Args, {"--to"});
  ExpectPositional(Options, 2, SIZE_MAX);
  const std::string& Out = Options.Positional[0];
  const int Format = SaveFormatFor(Out, Options.Get("--to", ""));
  TS16File File;
  for (std::size_t I = 1; I < Options.Positional.size(); ++I) {
    const std::string& Path = Options.Positional[I];
    std::unique_ptr<TImageImport> Image;
    try {
      Image = std::make_unique<TImageImport>(Path);
    } catch (const std::exception&) {
      std::throw_with_nested(std::runtime_error("Failed during LoadBitmap: " + Path));
    }
    File.Add(Image->MakeSprite());
  }
  TNoProgress Progress;
  SaveDocument(File, Format, Out, Progress);
  return 0;
}

int RunExpand(const TToolArgs& Args) {
  return ChangeDocument(Args, 3, [](TS16File& File, const TToolOptions& Options) {
    TPrintedCuts View;
    TExpansionScan(File, SpriteIndex(File, Options.Positional[1], Options.Positional[0]), View)
        .Run();
  });
}

int RunGrid(const TToolArgs& Args) {
  return ChangeDocument(Args, 3,
                        [](TS16File& File, const TToolOptions& Options) {
                          const TGridLayout Layout = GridLayoutOf(Options);
                          const int Index =
                              SpriteIndex(File, Options.Positional[1], Options.Positional[0]);
                          std::cout << GridCutText(CutByGrid(File, Index, Layout), Index) << '\n';
                        },
                        {"--cell", "--margin", "--spacing"}, {"--keep-empty"});
}
