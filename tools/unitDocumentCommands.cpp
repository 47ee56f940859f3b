#include <iostream>

#include "platform/unitBmpCodec.h"
#include "sprites/unitBitmapRoutes.h"
#include "sprites/unitSpriteFileRoutes.h"
#include "tools/unitToolCommands.h"

namespace {

const char* FormatName(int SaveFormat) {
  return SaveFormat == SaveFormatSpr       ? "spr"
         : SaveFormat == SaveFormatS16_555 ? "s16 5-5-5"
                                           : "s16 5-6-5";
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
  const TToolOptions Options = ParseToolOptions(Args, {"--from", "--to"}, {"--keep-going"});
  ExpectPositional(Options, 2, 2);
  const std::string& Out = Options.Positional[1];
  const int Format = SaveFormatFor(Out, Options.Get("--to", ""));
  TS16File File;
  LoadSpriteDocument(File, Options);
  TNoProgress Progress;
  SaveDocument(File, Format, Out, Progress);
  return 0;
}

int RunExport(const TToolArgs& Args) {
  const TToolOptions Options = ParseToolOptions(Args, {"--from", "--depth"}, {"--keep-going"});
  ExpectPositional(Options, 3, 3);
  const std::string Depth = Options.Get("--depth", "24");
  const int Filter = Depth == "24"   ? ExportFilter24Bit
                     : Depth == "16" ? ExportFilter16Bit
                     : Depth == "8"  ? ExportFilter8Bit
                                     : throw EToolUsage("--depth takes 24, 16 or 8");
  TS16File File;
  LoadSpriteDocument(File, Options);
  const int Index = ParseToolInteger(Options.Positional[1], "INDEX");
  SaveBmpFile(*MakeExportBitmap(File.GetSprite(Index), Filter), Options.Positional[2]);
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
    std::unique_ptr<TBitmap> Bitmap;
    try {
      Bitmap = LoadBmpFile(Path);
    } catch (const std::exception& Error) {
      throw std::runtime_error("Failed during LoadBitmap: " + Path + ": " + Error.what());
    }
    File.Add(SpriteFromImportedBitmap(*Bitmap));
  }
  TNoProgress Progress;
  SaveDocument(File, Format, Out, Progress);
  return 0;
}
