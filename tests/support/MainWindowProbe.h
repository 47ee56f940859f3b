#pragma once
// Reads the main window's private members and components, as a test of the window needs to.

#include <QAction>
#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QPushButton>
#include <QScrollArea>
#include <QStatusBar>

#include "app/unitImageList.h"
#include "app/unitPelbrookMainWindow.h"
#include "app/unitProgressPanel.h"
#include "app/unitShapeMarker.h"
#include "app/unitThumbnailListModel.h"
#include "app/unitWorkingImageView.h"
#include "imaging/unitManualCut.h"

class TMainWindowProbe {
 public:
  explicit TMainWindowProbe(TPelbrookMainWindow& Window) : W(Window) {}

  TS16File& Document() const { return *W.SpriteFile; }
  const std::string& FileName() const { return W.FileName; }
  bool Modified() const { return W.Modified; }
  int SaveFormat() const { return W.SaveFormat; }
  int ThumbnailSize() const { return W.ThumbnailSize; }
  bool FitIntoThumbnail() const { return W.FitIntoThumbnail; }
  int UseBetterResample() const { return W.UseBetterResample; }
  bool FasterUpdate() const { return W.FasterUpdate; }
  int CopyFormat() const { return W.CopyFormat; }
  int Progress() const { return W.Progress; }
  const TManualCut* ManualCut() const { return W.FManualCut; }
  TSpriteHistory& History() const { return W.History; }

  QListView& Images() const { return *W.Images; }
  const TThumbnailListModel& Items() const { return *W.ImagesModel; }
  const TImageList& Thumbnails() const { return *W.Thumbnails; }
  QString StatusText() const { return W.StatusPanel1->text(); }
  TProgressPanel& Panel0() const { return *W.StatusPanel0; }
  QScrollArea& AutoCutter() const { return *W.AutoCutter; }
  QScrollArea& ManualScroller() const { return *W.ManualScroller; }
  QScrollArea& ManualScrollBox() const { return *W.ManualScrollBox; }
  TWorkingImageView& AutoCutImg() const { return *W.AutoCutImg; }
  TWorkingImageView& ManualClipper() const { return *W.ManualClipper; }
  TShapeMarker& ShapeMarker() const { return *W.ShapeMarker; }
  QPushButton& FinishButton() const { return *W.FinishButton; }
  QMenu& SplitterMenu() const { return *W.SplitterMenu; }
  const TFileDialog& SaveDialog() const { return W.SaveFile; }
  const TFileDialog& ExportDialog() const { return W.Exportbmp; }

  QAction& Entry(std::string_view Name) const { return *W.MenuEntry(Name).Action; }
  bool Ticked(std::string_view Name) const { return Entry(Name).isChecked(); }
  bool Enabled(std::string_view Name) const { return Entry(Name).isEnabled(); }
  void SelectItem(int Row) const { W.Images->setCurrentIndex(W.Images->model()->index(Row, 0)); }

 private:
  TPelbrookMainWindow& W;
};
