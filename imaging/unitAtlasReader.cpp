#include <cmath>
#include <set>

#include "imaging/unitSheetAtlas.h"
#include "platform/unitJsonValue.h"
#include "sprites/unitBitmapRoutes.h"
#include "sprites/unitS16Handler.h"

namespace {

using TKind = TJsonValue::TKind;

class TAtlasFrameReader {
 public:
  TAtlasFrameReader(const TJsonValue& Value, const std::string& Name) : FName(Name) {
    if (Value.Kind != TKind::Object) Fail("is not an object");
    const TJsonValue* Rotated = Value.Member("rotated");
    if (Rotated && !(Rotated->Kind == TKind::Bool && !Rotated->Bool))
      Fail("is rotated; only frames that are not rotated can be read");
    const TJsonValue* Trimmed = Value.Member("trimmed");
    if (Trimmed && Trimmed->Kind != TKind::Bool)
      Fail("has a \"trimmed\" that is not true or false");
    FFrame.Name = Name;
    FFrame.Trimmed = Trimmed && Trimmed->Bool;
    const TJsonValue& Frame = Field(Value, "frame");
    FFrame.X = Number(Frame, "x", "frame");
    FFrame.Y = Number(Frame, "y", "frame");
    FFrame.Width = Number(Frame, "w", "frame");
    FFrame.Height = Number(Frame, "h", "frame");
    FFrame.SourceWidth = FFrame.Width;
    FFrame.SourceHeight = FFrame.Height;
    if (!FFrame.Trimmed) return;
    const TJsonValue& Place = Field(Value, "spriteSourceSize");
    FFrame.SourceX = Number(Place, "x", "spriteSourceSize");
    FFrame.SourceY = Number(Place, "y", "spriteSourceSize");
    const TJsonValue& Source = Field(Value, "sourceSize");
    FFrame.SourceWidth = Number(Source, "w", "sourceSize");
    FFrame.SourceHeight = Number(Source, "h", "sourceSize");
    if (FFrame.SourceX + FFrame.Width > FFrame.SourceWidth ||
        FFrame.SourceY + FFrame.Height > FFrame.SourceHeight)
      Fail("is trimmed to pixels outside its sourceSize");
  }

  const TAtlasFrame& Frame() const { return FFrame; }

 private:
  [[noreturn]] void Fail(const std::string& What) const {
    throw ESpriteError("The atlas's frame \"" + FName + "\" " + What);
  }

  const TJsonValue& Field(const TJsonValue& Value, const char* Name) const {
    const TJsonValue* Found = Value.Member(Name);
    if (!Found || Found->Kind != TKind::Object) Fail(std::string("has no \"") + Name + "\" object");
    return *Found;
  }

  // A side or place of a sprite: a whole number from 0 to the largest side.
  int Number(const TJsonValue& Object, const char* Name, const char* Where) const {
    const TJsonValue* Found = Object.Member(Name);
    if (!Found || Found->Kind != TKind::Number || Found->Number < 0 ||
        Found->Number > double(MaxImageSide) || std::floor(Found->Number) != Found->Number)
      Fail(std::string("has a ") + Where + "." + Name + " that is no whole number from 0 to " +
           std::to_string(MaxImageSide));
    return int(Found->Number);
  }

  std::string FName;
  TAtlasFrame FFrame;
};

[[noreturn]] void FailAtlas(const std::string& What) {
  throw ESpriteError("The atlas " + What);
}

std::string ArrayFrameName(const TJsonValue& Value, std::size_t Index) {
  const TJsonValue* Name = Value.Member("filename");
  return Name && Name->Kind == TKind::String ? Name->Text
                                             : std::string("#").append(std::to_string(Index));
}

}  // namespace

TSheetAtlas ReadSheetAtlas(std::string_view Json) {
  TJsonValue Root;
  try {
    Root = ParseJson(Json);
  } catch (const EJsonError& Error) {
    throw ESpriteError(std::string("The atlas is not JSON: ") + Error.what());
  }
  const TJsonValue* Frames = Root.Member("frames");
  if (!Frames || (Frames->Kind != TKind::Object && Frames->Kind != TKind::Array))
    FailAtlas("has no \"frames\" object or array");
  if (Frames->Items.size() > std::size_t(TS16File::MaxSprites))
    FailAtlas("has " + std::to_string(Frames->Items.size()) + " frames, more than the " +
              std::to_string(TS16File::MaxSprites) + " sprites a file holds");
  TSheetAtlas Atlas;
  std::set<std::string> Names;
  std::int64_t Pixels = 0;
  for (std::size_t I = 0; I < Frames->Items.size(); ++I) {
    const TJsonValue& Value = Frames->Items[I];
    const bool Hash = Frames->Kind == TKind::Object;
    const std::string Name = Hash ? Frames->Names[I] : ArrayFrameName(Value, I);
    if (Hash && !Names.insert(Name).second) FailAtlas("names the frame \"" + Name + "\" twice");
    Atlas.Frames.push_back(TAtlasFrameReader(Value, Name).Frame());
    const TAtlasFrame& Frame = Atlas.Frames.back();
    Pixels += std::int64_t(Frame.SourceWidth) * Frame.SourceHeight;
    if (Pixels > MaxImagePixels)
      FailAtlas("has frames of more than " + std::to_string(MaxImagePixels) + " pixels together");
  }
  const TJsonValue* Meta = Root.Member("meta");
  const TJsonValue* Image = Meta ? Meta->Member("image") : nullptr;
  if (Image && Image->Kind == TKind::String) Atlas.Image = Image->Text;
  return Atlas;
}
