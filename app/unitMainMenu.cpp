#include "app/unitMainMenu.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>
#include <stdexcept>

namespace {

enum class TKind { Top, Item, Submenu, SubItem, Separator, SubSeparator };
enum TGroup { NoGroup, SizeGroup, CopyFormatGroup };

struct TMenuSpec {
  TKind Kind;
  const char* Name;
  const char* Caption;
  const char* Key;
  const char* Hint;
  TGroup Group = NoGroup;
  int Tag = 0;
  bool Checkable = false;
  bool Checked = false;
  bool Disabled = false;
  const char* SecondKey = "";
};

// clang-format off
const TMenuSpec MenuTable[] = {
  {TKind::Top, "File1", "&File", "", "Gives access to commands such as \"New\" and \"Quit\""},
  {TKind::Item, "New1", "&New", "Ctrl+N", "Creates a new sprite file"},
  {TKind::Item, "Open1", "&Open", "Ctrl+O", "Opens an existing sprite file"},
  {TKind::Submenu, "OpenRecent1", "Open &Recent", "", "Opens one of the sprite files used last"},
  {TKind::Item, "Save1", "&Save", "Ctrl+S", "Saves the current sprite file."},
  {TKind::Item, "SaveAs1", "Save &As", "Ctrl+Shift+S",
   "Saves the current sprite file allowing you to change the filename."},
  {TKind::Separator, "N1", "", "", ""},
  {TKind::Item, "ImportFrom1", "Import &From", "Ctrl+I", "Imports an image from a BMP file"},
  {TKind::Item, "ExportTo1", "Export &To", "Ctrl+T",
   "Exports the currently selected sprite to a BMP file"},
  {TKind::Separator, "N2", "", "", ""},
  {TKind::Item, "Quit1", "&Quit", "Ctrl+Q", "Exits the application. Prompts to save dirty files."},
  {TKind::Separator, "N9", "", "", ""},
  {TKind::Item, "ExportSpriteSheet1", "&Export Sprite Sheet…", "",
   "Exports sprites to one PNG picture with a JSON atlas for game engines"},
  {TKind::Item, "ImportSpriteSheet1", "&Import Sprite Sheet…", "",
   "Imports the frames of a sprite sheet's JSON atlas and picture as new sprites"},
  {TKind::Top, "Edit1", "&Edit", "", "Gives access to commands such as \"Cut\" and \"Paste\""},
  {TKind::Item, "Undo1", "&Undo", "Ctrl+Z", "Undoes the last change to the sprite file", NoGroup,
   0, false, false, true},
  {TKind::Item, "Redo1", "&Redo", "Ctrl+Shift+Z", "Redoes the last change that was undone",
   NoGroup, 0, false, false, true, "Ctrl+Y"},
  {TKind::Separator, "N7", "", "", ""},
  {TKind::Item, "Copy1", "&Copy", "Ctrl+C", "Copies the currently selected sprite to the clipboard"},
  {TKind::Item, "Cut1", "C&ut", "Ctrl+X", "Cuts the currently selected sprite to the clipboard"},
  {TKind::Item, "Paste1", "&Paste", "Ctrl+V",
   "Pastes a bitmap from the clipboard into the spritefile as a new image"},
  {TKind::Item, "PasteOver1", "Paste &Over", "Ctrl+O",
   "Pastes over the currently selected sprite with the contents of the clipboard."},
  {TKind::Item, "Delete1", "&Delete", "Del",
   "Deletes the currently selected sprite, leaving the clipboard as it is"},
  {TKind::Separator, "N8", "", "", ""},
  {TKind::Item, "MoveEarlier1", "Move &Earlier", "Ctrl+Shift+Left",
   "Moves the currently selected sprite one place towards the start of the file"},
  {TKind::Item, "MoveLater1", "Move &Later", "Ctrl+Shift+Right",
   "Moves the currently selected sprite one place towards the end of the file"},
  {TKind::Separator, "N3", "", "", ""},
  {TKind::Item, "ExpandSprite1", "&Expand Sprite", "Ctrl+E",
   "Strips padding away from currently selected sprite and creates all the images as seperate "
   "sprites.", NoGroup, 0, false, false, true},
  {TKind::Item, "ExpandManual", "Perform Manual E&xpansion", "Ctrl+M", ""},
  {TKind::Separator, "N10", "", "", ""},
  {TKind::Item, "CutByGrid1", "Cut by &Grid\u2026", "",
   "Cuts the currently selected sprite into the cells of a regular grid, each a separate "
   "sprite.", NoGroup, 0, false, false, true},
  {TKind::Top, "Preferences1", "&Preferences", "",
   "Gives access to all the program's preference settings."},
  {TKind::Submenu, "ThumbnailSize1", "&Thumbnails...", "", "Gives access to the thumbnail settings."},
  {TKind::SubItem, "Off1", "&Off", "F12",
   "If ticked, thumbnails will not be generated. This speeds up display.", NoGroup, 0, true},
  {TKind::SubSeparator, "N6", "", "", ""},
  {TKind::SubItem, "N251", "&25x25 - Recommended", "", "25x25 pixel thumbnails", SizeGroup, 25,
   true, true},
  {TKind::SubItem, "N501", "&50x50", "", "50x50 pixel thumbnails", SizeGroup, 50, true},
  {TKind::SubItem, "N751", "&75x75", "", "75x75 Pixel Thumbnails", SizeGroup, 75, true},
  {TKind::SubItem, "N1001", "&100x100 - Very Slow", "",
   "100x100 pixel thumbnails - only recommended for high-spec machines", SizeGroup, 100, true},
  {TKind::SubSeparator, "N5", "", "", ""},
  {TKind::SubItem, "Scalestosquare1", "&Scales to square", "",
   "Forces the image to be scaled to a square instead of retaining the aspect ratio.", NoGroup,
   0, true},
  {TKind::Item, "FastResample1", "&Faster Update", "",
   "If ticked, prevents the updating of the display during thumbnail generation.", NoGroup, 0,
   true},
  {TKind::Item, "BetterResample1", "&Better Resample", "",
   "If ticked, the program uses a better, but slower resample method.", NoGroup, 0, true},
  {TKind::Separator, "N4", "", "", ""},
  {TKind::Submenu, "Copyformat1", "&Copy format", "",
   "Gives access to the clipboard copy format choices"},
  {TKind::SubItem, "N8bitBMP1", "8 bit BMP", "",
   "Copies sprites to the clipboard as T1 compliant bitmaps", CopyFormatGroup, 1, true},
  {TKind::SubItem, "N15bitBMP1", "15 bit BMP", "",
   "Copies sprites to the clipboard as 15bpp bitmaps", CopyFormatGroup, 2, true},
  {TKind::SubItem, "N16BitBMP1", "16 Bit BMP", "",
   "Copies sprites to the clipboard as 16bpp bitmaps", CopyFormatGroup, 3, true},
  {TKind::SubItem, "N24bitBMP1", "24 bit BMP", "",
   "Copies sprites to the clipboard as 24bpp bitmaps - Not really needed.", CopyFormatGroup, 4,
   true},
  {TKind::Top, "Help1", "&Help", "", ""},
  {TKind::Item, "About1", "&About", "", "Displays information about this version of the Pelbrook"},
};
// clang-format on

}  // namespace

void TMainMenu::Build(QMenuBar* Bar) {
  FBar = Bar;
  FEntries.clear();
  FEntries.reserve(std::size(MenuTable));
  QActionGroup* Groups[3] = {nullptr, new QActionGroup(Bar), new QActionGroup(Bar)};
  int Top = -1;
  QMenu* Submenu = nullptr;
  for (const TMenuSpec& Spec : MenuTable) {
    QAction* Action = nullptr;
    switch (Spec.Kind) {
      case TKind::Top:
        FTopMenus[++Top] = Bar->addMenu(QString::fromUtf8(Spec.Caption));
        Action = FTopMenus[Top]->menuAction();
        break;
      case TKind::Submenu:
        Submenu = FTopMenus[Top]->addMenu(QString::fromUtf8(Spec.Caption));
        Action = Submenu->menuAction();
        break;
      case TKind::Item:
        Action = FTopMenus[Top]->addAction(QString::fromUtf8(Spec.Caption));
        break;
      case TKind::SubItem:
        Action = Submenu->addAction(QString::fromUtf8(Spec.Caption));
        break;
      case TKind::Separator:
        Action = FTopMenus[Top]->addSeparator();
        break;
      case TKind::SubSeparator:
        Action = Submenu->addSeparator();
        break;
    }
    Action->setObjectName(Spec.Name);
    Action->setStatusTip(QString::fromUtf8(Spec.Hint));
    const QKeySequence Key(QString::fromLatin1(Spec.Key));
    const QKeySequence SecondKey(QString::fromLatin1(Spec.SecondKey));
    // The menu shows the key; the window dispatches it, in menu order, by itself.
    Action->setShortcuts(SecondKey.isEmpty() ? QList{Key} : QList{Key, SecondKey});
    Action->setShortcutContext(Qt::WidgetShortcut);
    Action->setCheckable(Spec.Checkable);
    Action->setChecked(Spec.Checked);
    Action->setEnabled(!Spec.Disabled);
    if (Spec.Group != NoGroup) Groups[Spec.Group]->addAction(Action);
    FEntries.push_back(
        {Spec.Name, static_cast<TTopMenu>(Top), Key, SecondKey, Spec.Tag, Action, {}});
  }
}

TMenuEntry& TMainMenu::Entry(std::string_view Name) {
  for (TMenuEntry& Entry : FEntries)
    if (Entry.Name == Name) return Entry;
  throw std::logic_error("No menu entry named " + std::string(Name));
}

TMenuEntry* TMainMenu::EntryWithKey(const QKeySequence& Key) {
  if (Key.isEmpty()) return nullptr;
  for (TMenuEntry& Entry : FEntries)
    if (Entry.Key == Key || Entry.SecondKey == Key) return &Entry;
  return nullptr;
}

QString HintPanelText(const QString& Hint) {
  return Hint.isEmpty() ? QString() : "---===" + Hint + "===---";
}
