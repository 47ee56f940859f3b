// pelbrook-tool preview as a file manager runs it: the thumbnailer entry's Exec line, split
// without a shell, its codes filled in, on sprite files good and broken.

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QSettings>
#include <filesystem>
#include <string>

#include "tests/support/SpriteFactory.h"
#include "tests/support/TempDir.h"

namespace {

using TSides = std::vector<std::pair<std::uint16_t, std::uint16_t>>;

// A 5-6-5 .s16 file: its directory names Sides, and Words follow it as the pixels.
TBytes S16(const TSides& Sides, const TWords& Words) {
  TLeBytes File;
  File.U32(1).U16(std::uint16_t(Sides.size()));
  for (const auto& [Width, Height] : Sides) File.U32(0).U16(Width).U16(Height);
  return File.Words(Words).Bytes;
}

// n sprites of 8 x 8 red.
TBytes RedSquares(int Count) {
  return S16(TSides(std::size_t(Count), {8, 8}), TWords(std::size_t(Count) * 64, 0xF800));
}

// An .spr file of one 2 x 2 sprite of palette entries Pixels.
TBytes Spr(const TBytes& Pixels) {
  TBytes Bytes = TLeBytes().U16(1).U32(10).U16(2).U16(2).Bytes;
  Bytes.insert(Bytes.end(), Pixels.begin(), Pixels.end());
  return Bytes;
}

struct TPreviewCase {
  std::string Name;
  std::string FileName;
  TBytes File;
  int Status;
  QSize Picture;  // of the PNG written, when it is
};

class ThumbnailerPreview : public testing::Test {
 protected:
  TTempDir Dir;

  // The entry's Exec line as a file manager runs it: split first, then each code replaced
  // by a whole word, so that spaces in the names stay where they are.
  int RunEntry(const std::string& In, const std::string& Out, int Size) {
    QSettings Entry(PELBROOK_THUMBNAILER, QSettings::IniFormat);
    QStringList Words = QProcess::splitCommand(Entry.value("Thumbnailer Entry/Exec").toString());
    for (QString& Word : Words)
      Word = Word == "%i"   ? QString::fromStdString(In)
             : Word == "%o" ? QString::fromStdString(Out)
             : Word == "%s" ? QString::number(Size)
                            : Word;
    EXPECT_EQ(Words.front(), "pelbrook-tool");
    QProcess Tool;
    Tool.start(PELBROOK_TOOL, Words.mid(1));
    Tool.waitForFinished();
    return Tool.exitStatus() == QProcess::NormalExit ? Tool.exitCode() : -1;
  }
};

class PreviewThroughTheThumbnailer : public ThumbnailerPreview,
                                     public testing::WithParamInterface<TPreviewCase> {};

TEST_P(PreviewThroughTheThumbnailer, WritesAPictureWithinTheSizeOrFailsLeavingNone) {
  const std::string In = Dir.File(GetParam().FileName), Out = Dir.File("a preview.png");
  WriteBytes(In, GetParam().File);
  EXPECT_EQ(RunEntry(In, Out, 128), GetParam().Status);
  if (GetParam().Status != 0) {
    EXPECT_FALSE(std::filesystem::exists(Out));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(Dir.Path()), {}), 1);
    return;
  }
  EXPECT_EQ(QImage(QString::fromStdString(Out)).size(), GetParam().Picture);
}

const TWords FourRed(16, 0xF800);

INSTANTIATE_TEST_SUITE_P(
    , PreviewThroughTheThumbnailer,
    testing::Values(
        TPreviewCase{"OneWideSpriteKeepsItsShape",
                     "a wide.s16",
                     S16({{40, 20}}, TWords(800, 0x07E0)),
                     0,
                     {128, 64}},
        TPreviewCase{"FiveSpritesInThreeColumns", "five.s16", RedSquares(5), 0, {126, 84}},
        TPreviewCase{"TwelveSpritesShowTheFirstNine", "twelve.s16", RedSquares(12), 0, {126, 126}},
        TPreviewCase{"AnSprFile", "one.spr", Spr({1, 2, 3, 4}), 0, {128, 128}},
        TPreviewCase{"ASecondSpritePastTheBoundIsLeftOut",
                     "claims.s16",
                     S16({{4, 4}, {65535, 65535}}, FourRed),
                     0,
                     {128, 128}},
        TPreviewCase{"AnEmptyFile", "empty.s16", {}, 1, {}},
        TPreviewCase{"NoSprites", "none.s16", S16({}, {}), 1, {}},
        TPreviewCase{
            "AHeaderClaimingAHugeFirstSprite", "huge.s16", S16({{65535, 65535}}, FourRed), 1, {}},
        TPreviewCase{"PixelsCutShort", "short.s16", S16({{4, 4}}, {0xF800, 0xF800}), 1, {}},
        TPreviewCase{"AnSprSpriteBeyondTheEnd", "short.spr", Spr({1}), 1, {}},
        TPreviewCase{"ASpriteOfNoSize", "nothing.s16", S16({{0, 0}}, {}), 1, {}}),
    [](const auto& Info) { return Info.param.Name; });

// Black, the game's transparent colour, is transparent in the preview; colours stay opaque.
TEST_F(ThumbnailerPreview, BlackStaysTransparent) {
  const std::string In = Dir.File("half.s16"), Out = Dir.File("half.png");
  WriteBytes(In, S16({{2, 1}}, {0, 0xF800}));
  ASSERT_EQ(RunEntry(In, Out, 64), 0);
  const QImage Picture(QString::fromStdString(Out));
  ASSERT_EQ(Picture.size(), QSize(64, 32));
  EXPECT_EQ(qAlpha(Picture.pixel(8, 8)), 0);
  EXPECT_EQ(Picture.pixel(56, 8), qRgba(255, 0, 0, 255));
}

}  // namespace
