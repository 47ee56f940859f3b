// The atlas written as TexturePacker lays it out, which is what the engines' loaders were
// built against: one frame a block, keys in the order their documentation gives them.

#include <cstdio>

#include "imaging/unitSheetAtlas.h"
#include "sprites/unitS16Handler.h"

namespace {

std::string Quoted(std::string_view Text) {
  std::string Out = "\"";
  for (const char C : Text) {
    if (C == '"' || C == '\\') {
      Out += '\\';
      Out += C;
    } else if (static_cast<unsigned char>(C) < 0x20) {
      char Escape[8];
      std::snprintf(Escape, sizeof Escape, "\\u%04x", unsigned(C));
      Out += Escape;
    } else {
      Out += C;
    }
  }
  return Out + '"';
}

std::string Size(std::int64_t Width, std::int64_t Height) {
  return "{\"w\":" + std::to_string(Width) + ",\"h\":" + std::to_string(Height) + "}";
}

std::string Rectangle(int X, int Y, int Width, int Height) {
  return "{\"x\":" + std::to_string(X) + ",\"y\":" + std::to_string(Y) +
         ",\"w\":" + std::to_string(Width) + ",\"h\":" + std::to_string(Height) + "}";
}

std::string FrameFields(const TAtlasFrame& Frame) {
  return "\t\"frame\": " + Rectangle(Frame.X, Frame.Y, Frame.Width, Frame.Height) +
         ",\n\t\"rotated\": false,\n\t\"trimmed\": " + (Frame.Trimmed ? "true" : "false") +
         ",\n\t\"spriteSourceSize\": " +
         Rectangle(Frame.SourceX, Frame.SourceY, Frame.Width, Frame.Height) +
         ",\n\t\"sourceSize\": " + Size(Frame.SourceWidth, Frame.SourceHeight) + "\n}";
}

}  // namespace

std::string FrameName(std::string_view Pattern, int Index) {
  std::string Name;
  bool Numbered = false;
  for (std::size_t I = 0; I < Pattern.size(); ++I) {
    if (Pattern[I] != '{') {
      Name += Pattern[I];
      continue;
    }
    const std::string_view Rest = Pattern.substr(I);
    int Digits = 0;
    if (Rest.starts_with("{n}")) {
      I += 2;
    } else if (Rest.size() >= 5 && Rest.starts_with("{n:") && Rest[3] >= '1' && Rest[3] <= '9' &&
               Rest[4] == '}') {
      Digits = Rest[3] - '0';
      I += 4;
    } else {
      throw ESpriteError("The name pattern \"" + std::string(Pattern) +
                         "\" has a brace that is not {n} or {n:W} (W from 1 to 9)");
    }
    const std::string Number = std::to_string(Index);
    if (int(Number.size()) < Digits) Name.append(std::size_t(Digits) - Number.size(), '0');
    Name += Number;
    Numbered = true;
  }
  if (!Numbered)
    throw ESpriteError("The name pattern \"" + std::string(Pattern) +
                       "\" holds no {n}: every frame would have the same name");
  return Name;
}

std::string WriteSheetAtlas(const TSheetAtlas& Atlas, TAtlasForm Form, std::string_view Version) {
  const bool Hash = Form == TAtlasForm::Hash;
  std::string Json = Hash ? "{\"frames\": {\n" : "{\"frames\": [\n";
  for (std::size_t I = 0; I < Atlas.Frames.size(); ++I) {
    const TAtlasFrame& Frame = Atlas.Frames[I];
    Json += I == 0 ? "\n" : ",\n";
    Json +=
        Hash ? Quoted(Frame.Name) + ":\n{\n" : "{\n\t\"filename\": " + Quoted(Frame.Name) + ",\n";
    Json += FrameFields(Frame);
  }
  Json += Hash ? "},\n" : "],\n";
  Json += "\"meta\": {\n\t\"app\": \"Pelbrook\",\n\t\"version\": " + Quoted(Version) +
          ",\n\t\"image\": " + Quoted(Atlas.Image) +
          ",\n\t\"format\": \"RGBA8888\",\n\t\"size\": " + Size(Atlas.Width, Atlas.Height) +
          ",\n\t\"scale\": \"1\"\n}\n}\n";
  return Json;
}
