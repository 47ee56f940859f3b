// Writes a small .s16 file of a few coloured sprites, so a fresh build has a file to show.

#include <cstdio>
#include <exception>

#include "sprites/unitS16Handler.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: pelbrook-make-sample OUT.s16\n");
    return 2;
  }
  try {
    TS16File File;
    for (int I = 0; I < 6; ++I) {
      auto Sprite = std::make_unique<TS16Sprite>();
      Sprite->SetWidth(std::uint16_t(16 + 8 * I));
      Sprite->SetHeight(std::uint16_t(24 + 4 * I));
      for (int Y = 0; Y < Sprite->Height(); ++Y)
        for (int X = 0; X < Sprite->Width(); ++X) {
          const bool Border = X == 0 || Y == 0;  // black, the transparent background
          Sprite->WritePixel(X, Y, Border ? 0 : MakeColour(40 * I, (8 * X) & 0xFF, (8 * Y) & 0xFF));
        }
      File.Add(std::move(Sprite));
    }
    File.SaveToFile(argv[1]);
  } catch (const std::exception& Error) {
    std::fprintf(stderr, "%s\n", Error.what());
    return 1;
  }
  return 0;
}
