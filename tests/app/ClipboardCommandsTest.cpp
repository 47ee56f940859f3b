// Copy, Cut, Paste and Paste Over as a user's session goes, on a scripted clipboard that holds
// what the commands put there.

#include "platform/unitBmpCodec.h"
#include "sprites/unitBitmapRoutes.h"
#include "tests/support/BitmapFactory.h"
#include "tests/support/WindowFixture.h"

namespace {

class ClipboardCommands : public TWindowTest {
 protected:
  // Sprites of widths 1, 2, ... each filled with its own number, listed with thumbnails.
  void MakeDocument(int Count) {
    for (int I = 0; I < Count; ++I)
      Probe().Document().Add(
          MakeSprite(I + 1, 3, TWords(std::size_t(I + 1) * 3, std::uint16_t(I + 1))));
    Window->PopulateImageList();
    ForgetSeen();
  }
  std::vector<int> Widths() const {
    std::vector<int> Result;
    for (int I = 0; I < Probe().Document().Count(); ++I)
      Result.push_back(Probe().Document().GetSprite(I).Width());
    return Result;
  }
  std::string Caption(int Item) const { return Probe().Items().Item(Item).Caption.toStdString(); }
};

struct TRefusal {
  std::string Name;
  std::string Entry;
  bool Selected;
  bool Bitmap;
  TMessageBoxRequest Message;
};

std::string RefusalName(const testing::TestParamInfo<TRefusal>& Info) {
  return Info.param.Name;
}

class ClipboardRefusals : public ClipboardCommands, public testing::WithParamInterface<TRefusal> {};

TEST_P(ClipboardRefusals, SayWhyAndChangeNothing) {
  MakeDocument(2);
  if (GetParam().Selected) Probe().SelectItem(1);
  if (GetParam().Bitmap) Services.Clipboard = MakeBitmap(TPixelFormat::pf24bit, 4, 4);
  Run(GetParam().Entry);
  EXPECT_EQ(Services.Shown, std::vector<TMessageBoxRequest>{GetParam().Message});
  EXPECT_EQ(Widths(), (std::vector<int>{1, 2}));
  EXPECT_FALSE(Probe().Modified());
  EXPECT_EQ(Services.ClipboardWrites, 0);
  EXPECT_TRUE(Services.Dialogs.empty());
}

const TMessageBoxRequest NoItem{"This only works if you select an item first", "The Pelbrook",
                                TMsgButtons::Ok, TMsgIcon::Exclamation};
INSTANTIATE_TEST_SUITE_P(
    , ClipboardRefusals,
    testing::Values(TRefusal{"CopyWithoutItem", "Copy1", false, true, NoItem},
                    TRefusal{"CutWithoutItem", "Cut1", false, true, NoItem},
                    TRefusal{"PasteWithoutBitmap",
                             "Paste1",
                             true,
                             false,
                             {"Unable to paste unless bitmap is in clipboard", "The Pelbrook",
                              TMsgButtons::Ok, TMsgIcon::Exclamation}},
                    TRefusal{
                        "PasteOverWithoutItem",
                        "PasteOver1",
                        false,
                        true,
                        {"Sorry, you cannot use this function unless you have an image selected.",
                         "The Pelbrook", TMsgButtons::Ok, TMsgIcon::Information}},
                    TRefusal{"PasteOverWithoutBitmap",
                             "PasteOver1",
                             true,
                             false,
                             {"Sorry, you cannot use this function unless you have a bitmap on the "
                              "clipboard.",
                              "The Pelbrook", TMsgButtons::Ok, TMsgIcon::Information}},
                    TRefusal{"ExportWithoutItem",
                             "ExportTo1",
                             false,
                             true,
                             {"Sorry. You can only exportan image if you have one selected.",
                              "The Pelbrook", TMsgButtons::Ok, TMsgIcon::Stop}}),
    RefusalName);

TEST_F(ClipboardCommands, CopyPutsTheRenderedSpriteOnTheClipboardOnceAndChangesNothing) {
  MakeDocument(3);
  Probe().SelectItem(1);
  Run("N8bitBMP1");
  Run("Copy1");
  ASSERT_TRUE(Services.Clipboard);
  EXPECT_EQ(Services.ClipboardWrites, 1);
  EXPECT_EQ(Services.Clipboard->PixelFormat(), TPixelFormat::pf8bit);
  EXPECT_EQ(Services.Clipboard->Width(), 2);
  EXPECT_EQ(Services.Clipboard->GetPixel(1, 2),
            MakeCopyBitmap(Probe().Document().GetSprite(1), CopyFormat8Bit)->GetPixel(1, 2));
  EXPECT_EQ(Probe().StatusText(), "Sprite Copied to Clipboard Okay");
  EXPECT_FALSE(Probe().Modified());
  EXPECT_EQ(Widths(), (std::vector<int>{1, 2, 3}));
}

TEST_F(ClipboardCommands, CutRenumbersTheCaptionsAndKeepsEveryThumbnail) {
  MakeDocument(10);
  Probe().SelectItem(3);
  Run("Cut1");
  EXPECT_EQ(Services.Clipboard->Width(), 4);
  EXPECT_EQ(Widths(), (std::vector<int>{1, 2, 3, 5, 6, 7, 8, 9, 10}));
  ASSERT_EQ(Probe().Items().Count(), 9);
  EXPECT_EQ(Caption(3), "[3] - 5 by 3");
  EXPECT_EQ(Caption(8), "[8] - 10 by 3");
  EXPECT_EQ(Probe().Items().Item(3).ImageIndex, 4);
  EXPECT_EQ(Probe().Thumbnails().Count(), 10);
  EXPECT_EQ(Seen.StatusTexts, (std::vector<std::string>{"Sprite Copied to Clipboard Okay",
                                                        "Sprite Cut to Clipboard Okay"}));
  EXPECT_EQ(Window->windowTitle().toStdString(), "The Pelbrook - [Untitled] *");

  Probe().Document().Clear();
  Window->PopulateImageList();
  // The only sprite, one without pixels: nothing is left on the clipboard.
  Probe().Document().Add(MakeSprite(0, 5));
  Window->PopulateImageList();
  Probe().SelectItem(0);
  Run("Cut1");
  EXPECT_EQ(Probe().Document().Count(), 0);
  EXPECT_EQ(Probe().Items().Count(), 0);
  EXPECT_FALSE(Services.Clipboard);
}

TEST_F(ClipboardCommands, PasteInsertsBeforeTheSelectionOrAppendsAndClearsTheLowGreenBit) {
  MakeDocument(3);
  // White through 5-5-5: every channel full but green's lowest bit.
  Services.Clipboard = MakeBitmap(TPixelFormat::pf24bit, 7, 5);
  for (int Y = 0; Y < 5; ++Y)
    for (int X = 0; X < 7; ++X) Services.Clipboard->SetPixel(X, Y, X == 0 ? 0 : 0xFFFFFF);
  Run("Paste1");
  EXPECT_EQ(Widths(), (std::vector<int>{1, 2, 3, 7}));
  const TS16Sprite& Pasted = Probe().Document().GetSprite(3);
  EXPECT_EQ(Pasted.PixelData()[0], 0);
  EXPECT_EQ(Pasted.PixelData()[1], 0xFFDF);
  EXPECT_EQ(Probe().Items().Count(), 4);
  EXPECT_EQ(Probe().StatusText(), "Sprite pasted from Clipboard Okay");
  EXPECT_TRUE(Probe().Modified());

  Probe().SelectItem(2);
  Services.ClipboardPalette = true;
  Services.Answers.clear();
  Run("Paste1");
  EXPECT_EQ(Widths(), (std::vector<int>{1, 2, 7, 3, 7}));
  const TMessageBoxRequest PalProvided{"pal provided", "pelbrook", TMsgButtons::Ok, TMsgIcon::None};
  EXPECT_EQ(Services.Shown, std::vector<TMessageBoxRequest>{PalProvided});
}

TEST_F(ClipboardCommands, CopyThenPasteKeepsTheSizeAndTheColoursButTheLowGreenBit) {
  auto Sprite = MakeSprite(256, 256);
  for (int W = 0; W < 65536; ++W) Sprite->PixelData()[W] = std::uint16_t(W);
  Probe().Document().Add(std::move(Sprite));
  Window->PopulateImageList();
  for (const char* Format : {"N15bitBMP1", "N16BitBMP1", "N24bitBMP1"}) {
    Probe().SelectItem(0);
    Run(Format);
    Run("Copy1");
    Probe().Images().clearSelection();
    Run("Paste1");
    const TS16Sprite& Pasted = Probe().Document().GetSprite(Probe().Document().Count() - 1);
    ASSERT_EQ(Pasted.Width(), 256);
    ASSERT_EQ(Pasted.Height(), 256);
    for (int W = 0; W < 65536; ++W) {
      const int P = Pasted.PixelData()[W];
      const int Green = (W >> 5) & 0x3F;
      ASSERT_EQ(P & 0x20, 0) << Format << " word " << W;
      ASSERT_EQ(P == 0, W == 0) << Format << " word " << W;
      if ((W & 0xF81F) == 0) continue;  // green alone may take the substitute grey
      ASSERT_EQ(P & 0xF81F, W & 0xF81F) << Format << " word " << W;
      ASSERT_LE(std::abs(((P >> 5) & 0x3F) - (Green & ~1)), 2) << Format << " word " << W;
    }
  }
}

TEST_F(ClipboardCommands, PasteOverReplacesTheSpriteAndShowsItsNewPictureUnderTheOldCaption) {
  for (const bool ThumbnailsOff : {false, true}) {
    SCOPED_TRACE(ThumbnailsOff);
    Probe().Document().Clear();
    Probe().Document().Add(MakeSprite(10, 10, TWords(100, 0x001F)));
    Probe().Document().Add(MakeSprite(5, 5, TWords(25, 0x001F)));
    Probe().Entry("Off1").setChecked(ThumbnailsOff);
    Window->PopulateImageList();
    const int PicturesBefore = Probe().Thumbnails().Count();
    Probe().SelectItem(0);
    Services.Clipboard = MakeBitmap(TPixelFormat::pf24bit, 40, 30);
    for (int Y = 0; Y < 30; ++Y)
      for (int X = 0; X < 40; ++X) Services.Clipboard->SetPixel(X, Y, 0x0000FF);
    Run("PasteOver1");
    const TS16Sprite& Sprite = Probe().Document().GetSprite(0);
    EXPECT_EQ(Sprite.Width(), 40);
    EXPECT_EQ(Sprite.Height(), 30);
    EXPECT_EQ(Sprite.PixelData()[0], 0xF800);
    EXPECT_EQ(Caption(0), "[0] - 10 by 10");
    EXPECT_EQ(Probe().Thumbnails().Count(), PicturesBefore + 1);
    EXPECT_EQ(Probe().Items().Item(0).ImageIndex, PicturesBefore);
    EXPECT_EQ(Probe().Thumbnails().Image(PicturesBefore).pixelColor(0, 0), QColor(255, 0, 0));
    EXPECT_TRUE(Probe().Modified());
  }
}

TEST_F(ClipboardCommands, AClipboardThatCannotBeReadInsertsNothingAndSaysWhy) {
  MakeDocument(2);
  Services.Clipboard = MakeBitmap(TPixelFormat::pf24bit, 70000, 1);
  Run("Paste1");
  EXPECT_EQ(Widths(), (std::vector<int>{1, 2}));
  EXPECT_FALSE(Probe().Modified());
  ASSERT_EQ(Services.Shown.size(), 1u);
  EXPECT_EQ(Services.Shown[0].Icon, TMsgIcon::Stop);
}

}  // namespace
