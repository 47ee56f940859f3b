// Files named outside the open dialog, as a user drops them on the window or names them on the
// command line: sprite files open by their names, pictures come in before the item under the
// drop point.

#include <QApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <fstream>

#include "platform/qt/unitQtImageFiles.h"
#include "sprites/unitBitmapRoutes.h"
#include "sprites/unitSprLoader.h"
#include "tests/support/WindowFixture.h"

namespace {

class DroppedFiles : public TWindowTest {
 protected:
  // Drags the files over the window and drops them on item Item, or below every item for -1;
  // true when the window took the drag.
  bool Drop(const std::vector<std::string>& Paths, int Item = -1) {
    QMimeData Data;
    QList<QUrl> Urls;
    // As file managers offer them: the name's bytes, percent-encoded, whatever their encoding.
    for (const std::string& Path : Paths)
      Urls << QUrl::fromEncoded("file://" + QByteArray::fromStdString(Path).toPercentEncoding("/"));
    Data.setUrls(Urls);
    QListView& Images = Probe().Images();
    const QPoint InView = Item >= 0 ? Images.visualRect(Images.model()->index(Item, 0)).center()
                                    : Images.viewport()->rect().bottomRight() - QPoint(4, 4);
    const QPoint At = Images.viewport()->mapTo(Window.get(), InView);
    // A file manager offers to move its files too; the window only ever copies.
    const Qt::DropActions Offered = Qt::CopyAction | Qt::MoveAction;
    QDragEnterEvent Enter(At, Offered, &Data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(Window.get(), &Enter);
    if (!Enter.isAccepted()) return false;
    EXPECT_EQ(Enter.dropAction(), Qt::CopyAction);
    QDropEvent Dropped(At, Offered, &Data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(Window.get(), &Dropped);
    EXPECT_EQ(Dropped.dropAction(), Qt::CopyAction);
    QApplication::processEvents();  // the files are taken once the drop has ended
    return true;
  }
  // A picture of Width x 1 pixels, written by Export To's route.
  std::string Picture(const std::string& Name, int Width, int FilterIndex) {
    const std::string Path = Dir.File(Name);
    SaveExportFile(*MakeSprite(Width, 1, TWords(std::size_t(Width), 0x07E0)), FilterIndex, Path);
    return Path;
  }
  std::vector<int> Widths() {
    std::vector<int> Result;
    for (int I = 0; I < Probe().Document().Count(); ++I)
      Result.push_back(Probe().Document().GetSprite(I).Width());
    return Result;
  }
};

TEST_F(DroppedFiles, PicturesGoBeforeTheItemUnderTheDropPointInTheOrderDroppedListedOnce) {
  Open(WriteS16("three.s16", {{1, 1}, {2, 1}, {3, 1}}));
  const std::string Bmp = Picture("ten.bmp", 10, ExportFilter24Bit);
  const std::string Png = Picture("twenty.png", 20, ExportFilterPng);
  std::ofstream(Dir.File("broken.bmp")) << "not a bitmap";
  ForgetSeen();

  ASSERT_TRUE(Drop({Bmp, Dir.File("broken.bmp"), Png}, 1));
  EXPECT_EQ(Services.Shown,
            (std::vector<TMessageBoxRequest>{{"Failed during LoadBitmap", "The Pelbrook",
                                              TMsgButtons::Ok, TMsgIcon::Exclamation, false,
                                              Dir.File("broken.bmp") + ": Not a BMP file"}}));
  EXPECT_EQ(Widths(), (std::vector<int>{1, 10, 20, 2, 3}));
  EXPECT_EQ(Probe().Items().Count(), 5);
  EXPECT_EQ(
      std::count(Seen.StatusTexts.begin(), Seen.StatusTexts.end(), "Populating Images List..."), 1);
  EXPECT_EQ(Probe().StatusText().toStdString(), "Image imported from: " + Png);
  EXPECT_EQ(Window->windowTitle().toStdString(),
            "The Pelbrook - [" + Dir.File("three.s16") + "] *");

  ASSERT_TRUE(Drop({Bmp}));
  EXPECT_EQ(Widths().back(), 10);
}

TEST_F(DroppedFiles, ASpriteFileOpensByItsNameAfterTheQuestionAboutUnsavedChanges) {
  TS16File Document;
  Document.Add(MakeSprite(4, 3, TWords(12, 0x001F)));
  // Named in Latin-1, as an older system wrote it: its bytes are no valid UTF-8.
  const std::string Spr = Dir.File("H\xC9RO.SPR");
  TNoProgress NoProgress;
  WriteSprFile(Document, Spr, NoProgress);
  Probe().Document().Add(MakeSprite(2, 2));
  Window->MarkModified();

  Services.Answers = {TMsgResult::Cancel, TMsgResult::No};
  ASSERT_TRUE(Drop({Picture("p.png", 5, ExportFilterPng), Spr}));
  EXPECT_EQ(Widths(), std::vector<int>{2});
  ASSERT_TRUE(Drop({Spr}));
  ASSERT_EQ(Services.Shown.size(), 2u);
  EXPECT_EQ(Services.Shown[1].Text, "This file has been altered. Do you wish to save it?");
  EXPECT_EQ(Widths(), std::vector<int>{4});
  EXPECT_EQ(Probe().SaveFormat(), 3);
  EXPECT_EQ(Probe().FileName(), Spr);
  EXPECT_EQ(Window->windowTitle(), QString::fromStdString("The Pelbrook - [" + Spr + "]"));
}

// Dropped, or named on the command line: Open's messages, and an empty untitled document.
TEST_F(DroppedFiles, AFileThatCannotBeOpenedGivesOpensMessageAndAnEmptyUntitledDocument) {
  const std::string Broken = Dir.File("broken.s16"), Missing = Dir.File("missing.Spr");
  WriteBytes(Broken, {1, 0, 0, 0, 9});
  for (const auto& [Path, Message] : std::vector<std::pair<std::string, TMessageBoxRequest>>{
           {Broken,
            {"Error Whilst loading S16 file.", "Pelbrook", TMsgButtons::Ok, TMsgIcon::Exclamation,
             false, "Read beyond end of file: " + Broken + " holds only 5 bytes"}},
           {Missing,
            {"Cannot open file \"" + Missing + "\"", "pelbrook", TMsgButtons::Ok, TMsgIcon::Stop,
             false, "No such file or directory"}}}) {
    Open(WriteS16("good.s16", {{8, 8}}));
    Services.Shown.clear();
    ASSERT_TRUE(Drop({Path}));
    EXPECT_EQ(Services.Shown, std::vector<TMessageBoxRequest>{Message});
    EXPECT_EQ(Probe().Items().Count(), 0);
    EXPECT_EQ(Window->windowTitle(), "The Pelbrook - [Untitled]");
  }
}

TEST_F(DroppedFiles, OnlyLocalFilesAreTakenAndNothingWhileTheMenuIsOff) {
  EXPECT_FALSE(Drop({}));
  const std::string Bmp = Picture("ten.bmp", 10, ExportFilter24Bit);
  bool Tried = false;
  Services.OnPump = [&] {
    if (Tried || Window->MenuAttached()) return;  // thumbnails are being made
    Tried = true;
    EXPECT_FALSE(Drop({Bmp}));
  };
  Open(WriteS16("two.s16", {{1, 1}, {2, 1}}));
  ASSERT_TRUE(Tried);
  EXPECT_EQ(Widths(), (std::vector<int>{1, 2}));
}

}  // namespace
