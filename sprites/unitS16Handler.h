#pragma once
// The sprite model: TS16Sprite (one image of 16-bit words), TS16File (the document, an owned
// list of sprites) and the .s16 file format they are read from and written to.

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/unitColour.h"
#include "platform/unitLargeBlocks.h"

class ESpriteError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The error of a reader whose file's directory names far more pixels than the file justifies.
ESpriteError OversizedDirectoryError(const std::string& Path);

class TS16Sprite {
 public:
  TS16Sprite() = default;
  TS16Sprite(const TS16Sprite&) = delete;
  TS16Sprite& operator=(const TS16Sprite&) = delete;

  std::uint16_t Height() const { return FHeight; }
  std::uint16_t Width() const { return FWidth; }
  bool Is555() const { return FIs555; }
  std::uint16_t* PixelData() { return FPixelData.get(); }
  const std::uint16_t* PixelData() const { return FPixelData.get(); }
  std::size_t PixelCount() const { return FPixelCount; }

  // The buffer is resized to Width x Height words and cleared.
  void SetHeight(std::uint16_t Value);
  void SetWidth(std::uint16_t Value);

  TColour ReadPixel(int X, int Y) const;
  void WritePixel(int X, int Y, TColour Colour);
  // Converts every word between 5-6-5 (false) and 5-5-5 (true).
  void SetFormat(bool Value);
  // Marks the layout of the words without converting them, as a reader that knows it does.
  void SetLayoutFlag(bool Value) { FIs555 = Value; }
  // A deep copy: its own words, the same size and layout.
  std::unique_ptr<TS16Sprite> Clone() const;
  // The same size, layout and words.
  bool SamePixels(const TS16Sprite& Other) const;
  // Copies a Width x Height block of words from X, Y of From to ToX, ToY of this sprite; both
  // blocks must lie inside their sprites.
  void CopyWords(const TS16Sprite& From, int X, int Y, int ToX, int ToY, int Width, int Height);

 private:
  struct TFreeWords {
    std::size_t Count;  // of the words freed
    void operator()(std::uint16_t* Words) const { FreeBlock(Words, Count * sizeof(*Words)); }
  };
  void Resize();
  std::size_t CheckedIndex(int X, int Y) const;

  std::uint16_t FHeight = 0;
  std::uint16_t FWidth = 0;
  bool FIs555 = false;
  std::unique_ptr<std::uint16_t[], TFreeWords> FPixelData;
  std::size_t FPixelCount = 0;
};

// The word conversions of TS16Sprite::SetFormat, one word at a time.
std::uint16_t Word555To565(std::uint16_t Word);
std::uint16_t Word565To555(std::uint16_t Word);

class TS16File {
 public:
  // Neither format's Count field holds more.
  static constexpr int MaxSprites = 65535;
  // How far the pixel data named by a directory may run past the end of the file: a file cut
  // short still loads, but no header makes the load allocate more than this beyond the
  // file's own size.
  static constexpr std::uint64_t MaxMissingPixelBytes = std::uint64_t(64) << 20;

  std::string FilePath;
  bool Is555 = false;

  TS16File() = default;
  TS16File(const TS16File&) = delete;
  TS16File& operator=(const TS16File&) = delete;

  void Clear();
  // True when the file holds exactly the header, the directory and the pixels it names: a file
  // cut short, one with bytes past its pixels, or one of another format is not.
  bool LoadFromFile(const std::string& Path);
  void Save();
  void SaveToFile(const std::string& Path);

  int Add(std::unique_ptr<TS16Sprite> Sprite);
  void Insert(std::unique_ptr<TS16Sprite> Sprite, int Index);
  void Delete(int Index);
  // Take removes Count sprites from Index on and hands them over, in order; Put gives such a
  // run back at Index. Both raise std::out_of_range for a run that does not fit.
  std::vector<std::unique_ptr<TS16Sprite>> Take(int Index, int Count);
  void Put(int Index, std::vector<std::unique_ptr<TS16Sprite>> Run);
  TS16Sprite& GetSprite(int Index) const;
  void SetFormat(bool Value);
  int Count() const { return int(Sprites.size()); }

 private:
  std::vector<std::unique_ptr<TS16Sprite>> Sprites;
};
