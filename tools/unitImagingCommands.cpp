// pelbrook-tool's picture subcommands: scaling a BMP file, and the list's thumbnail of a
// sprite.

#include <new>

#include "imaging/resample.h"
#include "imaging/unitFilePreview.h"
#include "imaging/unitThumbnailMaker.h"
#include "platform/qt/unitQtImageFiles.h"
#include "platform/unitBmpCodec.h"
#include "platform/unitErrorReason.h"
#include "platform/unitFileIO.h"
#include "sprites/unitBitmapRoutes.h"
#include "sprites/unitLeadingSprites.h"
#include "tools/unitToolCommands.h"

namespace {

const TFilterRow& FilterNamed(const std::string& Name) {
  for (const TFilterRow& Row : FilterTable)
    if (Lowercase(Row.Name) == Lowercase(Name)) return Row;
  throw EToolUsage(
      "--filter takes box, triangle, hermite, bell, b-spline, lanczos3 or mitchell, "
      "not \"" +
      Name + "\"");
}

// A picture is written as a 24-bit BMP, or as a PNG when its name says so.
bool PictureOutputIsPng(const std::string& Out) {
  return OutputFilterFor(Out, ExportFileFilter, ExportFilter24Bit, "") == ExportFilterPng;
}

int ThumbnailSizeNamed(const std::string& Text) {
  const int Size = ParseToolInteger(Text, "--size");
  if (Size != 25 && Size != 50 && Size != 75 && Size != 100)
    throw EToolUsage("--size takes 25, 50, 75 or 100");
  return Size;
}

int PreviewSizeNamed(const std::string& Text) {
  const int Size = ParseToolInteger(Text, "--size");
  if (Size < MinPreviewSize || Size > MaxPreviewSize)
    throw EToolUsage("--size takes " + std::to_string(MinPreviewSize) + " to " +
                     std::to_string(MaxPreviewSize));
  return Size;
}

}  // namespace

int RunResample(const TToolArgs& Args) {
  const TToolOptions Options = ParseToolOptions(Args, {"--filter"});
  ExpectPositional(Options, 4, 4);
  const TFilterRow& Filter = FilterNamed(Options.Get("--filter", "triangle"));
  const int Width = ParseToolInteger(Options.Positional[2], "WIDTH");
  const int Height = ParseToolInteger(Options.Positional[3], "HEIGHT");
  if (Width < 1 || Height < 1) throw EToolUsage("WIDTH and HEIGHT must be at least 1");
  const std::string& Out = Options.Positional[1];
  const bool AsPng = PictureOutputIsPng(Out);
  const std::unique_ptr<TBitmap> Source = LoadBmpFile(Options.Positional[0]);
  try {
    TBitmap Destination(TPixelFormat::pf24bit, Width, Height);
    ResampleBitmap(*Source, Destination, Filter.Weight, Filter.Support);
    SaveImageFile(Destination, AsPng, Out);
  } catch (const std::bad_alloc&) {
    RaiseWithReason(std::runtime_error("Out of memory"),
                    "scaling " + Options.Positional[0] + " (" + std::to_string(Source->Width()) +
                        " x " + std::to_string(Source->Height()) + ") to " + std::to_string(Width) +
                        " x " + std::to_string(Height));
  }
  return 0;
}

int RunThumbnail(const TToolArgs& Args) {
  const TToolOptions Options =
      ParseToolOptions(Args, {"--size", "--from"}, {"--better", "--square", "--keep-going"});
  ExpectPositional(Options, 3, 3);
  const TThumbnailSettings Settings{ThumbnailSizeNamed(Options.Get("--size", "25")),
                                    !Options.Has("--square"), Options.Has("--better") ? 1 : 0};
  const std::string& Out = Options.Positional[2];
  const bool AsPng = PictureOutputIsPng(Out);
  TS16File File;
  LoadSpriteDocument(File, Options);
  const TThumbnail Thumbnail = MakeThumbnail(
      File.GetSprite(SpriteIndex(File, Options.Positional[1], Options.Positional[0])), Settings);
  // The list would still show the undefined picture; a file of it would only mislead.
  if (!Thumbnail.ResampleError.empty())
    throw std::runtime_error("The Thumbnails may be inaccurate: " + Thumbnail.ResampleError);
  TBitmap Picture = Thumbnail.Image;
  Picture.SetPixelFormat(TPixelFormat::pf24bit);  // the form every viewer reads
  SaveImageFile(Picture, AsPng, Out);
  return 0;
}

int RunPreview(const TToolArgs& Args) {
  const TToolOptions Options = ParseToolOptions(Args, {"--size", "--from"});
  ExpectPositional(Options, 2, 2);
  const int Size = PreviewSizeNamed(Options.Get("--size", "128"));
  const std::string& Out = Options.Positional[1];
  if (OutputFilterFor(Out, ExportFileFilter, ExportFilterPng, "") != ExportFilterPng)
    throw EToolUsage("a preview is written as a PNG: " + Out);
  const auto Sprites = ReadLeadingSprites(Options.Positional[0], ReadsAsSpr(Options),
                                          MaxPreviewSprites, MaxPreviewPixels);
  SaveImageFile(MakePreview(Sprites, Size), true, Out);
  return 0;
}
